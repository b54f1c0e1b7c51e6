#include "users/ScoreManager.h"

#include "content/MediaPaths.h"
#include "users/Score.h"

#include <QDomDocument>
#include <QDomElement>
#include <QHash>
#include <utility>

namespace {

constexpr int letterCount = 27;
constexpr int numberCount = 10;
constexpr int dotCount = 6;

struct Labels
{
    QStringList all;
    QHash<QString, int> index;

    Labels()
    {
        for (const QString &letter : MediaPaths::alphabet())
            all.append(MediaPaths::letterDisplay(letter));
        for (char c = '0'; c <= '9'; ++c)
            all.append(QString(QLatin1Char(c)));
        for (int dot = 1; dot <= dotCount; ++dot)
            all.append(QStringLiteral("P") + QString::number(dot));
        for (int i = 0; i < all.size(); ++i)
            index.insert(all.at(i), i);
    }
};

const Labels &labelTable()
{
    static const Labels table;
    return table;
}

// First record and number of records of a kind; an unknown kind reports letters.
void kindRange(int kind, int *first, int *count)
{
    switch (kind) {
    case ScoreManager::Numbers:
        *first = letterCount;
        *count = numberCount;
        break;
    case ScoreManager::Dots:
        *first = letterCount + numberCount;
        *count = dotCount;
        break;
    default:
        *first = 0;
        *count = letterCount;
        break;
    }
}

} // namespace

ScoreManager::ScoreManager(const QString &name, QObject *parent)
    : QObject(parent)
    , m_name(name)
{
    const QStringList &labels = allLabels();
    m_scores.reserve(labels.size());
    for (const QString &label : labels)
        m_scores.append(new Score(label, 0, 0, 0, this));
}

const QStringList &ScoreManager::allLabels()
{
    return labelTable().all;
}

QStringList ScoreManager::labels(int kind)
{
    int first = 0;
    int count = 0;
    kindRange(kind, &first, &count);
    return allLabels().mid(first, count);
}

Score *ScoreManager::score(const QString &label) const
{
    const int i = labelTable().index.value(label.toUpper(), -1);
    return i < 0 ? nullptr : m_scores.at(i);
}

Score *ScoreManager::setScore(const QString &label, int corrects, int total, int consecutive)
{
    Score *record = score(label);
    if (record)
        record->setCounters(corrects, total, consecutive);
    return record;
}

Score *ScoreManager::recordCorrect(const QString &label)
{
    Score *record = score(label);
    if (record)
        record->correct();
    return record;
}

Score *ScoreManager::recordWrong(const QString &label)
{
    Score *record = score(label);
    if (record)
        record->wrong();
    return record;
}

void ScoreManager::reset()
{
    for (Score *record : std::as_const(m_scores))
        record->setCounters(0, 0, 0);
}

QVector<Score *> ScoreManager::scores() const
{
    int first = 0;
    int count = 0;
    kindRange(m_kind, &first, &count);
    return m_scores.mid(first, count);
}

QDomElement ScoreManager::toElement(QDomDocument &doc) const
{
    QDomElement activity = doc.createElement(QStringLiteral("Activity"));
    activity.setAttribute(QStringLiteral("name"), m_name);
    const QVector<Score *> records = scores();
    for (const Score *record : records)
        activity.appendChild(record->toElement(doc));
    return activity;
}

void ScoreManager::loadElement(const QDomElement &activity)
{
    for (QDomElement child = activity.firstChildElement(); !child.isNull();
         child = child.nextSiblingElement()) {
        // toInt() yields 0 for text that is not a number.
        const int total = child.attribute(QStringLiteral("Total")).toInt();
        const int consecutive = child.attribute(QStringLiteral("Consecutive")).toInt();
        const int corrects = child.attribute(QStringLiteral("Corrects")).toInt();
        setScore(child.attribute(QStringLiteral("Object")), corrects, total, consecutive);
    }
}

QString ScoreManager::toHtml() const
{
    QString html = QStringLiteral("<P>Actividad : ") + m_name + QStringLiteral("<br>")
        + QStringLiteral("<table cellpadding=\"5\" cellspacing=\"1\" border=\"1\" width=\"100%\">")
        + QStringLiteral("<tr bgcolor=\"#cccccc\"><td>Objeto</td><td>Correctas</td><td>Total</td>"
                         "<td>Desempe&ntilde;o</td><td>Consecutivas</td><td>Dominio</td></tr>");
    const QVector<Score *> records = scores();
    for (const Score *record : records)
        html += record->toHtmlRow();
    html += QStringLiteral("</table></P><P><HR></P>");
    return html;
}

QString ScoreManager::toText() const
{
    QString text = QStringLiteral("Actividad\t") + m_name + QLatin1Char('\n')
        + QStringLiteral("Objeto\tCorrectas\tTotal\tDesempe&ntilde;o\tConsecutivas\tDominio\n");
    const QVector<Score *> records = scores();
    for (const Score *record : records)
        text += record->toTextRow();
    return text;
}
