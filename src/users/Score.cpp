#include "users/Score.h"

#include <QDomDocument>
#include <QDomElement>

Score::Score(QObject *parent)
    : QObject(parent)
{
}

Score::Score(const QString &object, int corrects, int total, int consecutive, QObject *parent)
    : QObject(parent)
    , m_corrects(corrects)
    , m_total(total)
    , m_consecutive(consecutive)
    , m_object(object)
{
}

void Score::setCounters(int corrects, int total, int consecutive)
{
    m_corrects = corrects;
    m_total = total;
    m_consecutive = consecutive;
}

void Score::correct()
{
    ++m_corrects;
    ++m_total;
    ++m_consecutive;
}

void Score::wrong()
{
    ++m_total;
    m_consecutive = 0;
}

double Score::performance() const
{
    if (m_total == 0)
        return 0;
    return double(m_corrects) / double(m_total) * 100.0;
}

QString Score::performanceText() const
{
    return QString::number(performance(), 'f', 2);
}

QDomElement Score::toElement(QDomDocument &doc) const
{
    QDomElement element = doc.createElement(QStringLiteral("Score"));
    element.setAttribute(QStringLiteral("Object"), m_object);
    element.setAttribute(QStringLiteral("Corrects"), m_corrects);
    element.setAttribute(QStringLiteral("Total"), m_total);
    element.setAttribute(QStringLiteral("Consecutive"), m_consecutive);
    return element;
}

QString Score::toHtmlRow() const
{
    const QString center = QStringLiteral("</td><td align=\"center\">");
    QString row = QStringLiteral("<tr><td>") + m_object + center + QString::number(m_corrects)
        + center + QString::number(m_total) + QStringLiteral("</td>");
    row += QStringLiteral("<td align=\"center\">") + performanceText()
        + QStringLiteral("%</td><td align=\"center\">") + QString::number(m_consecutive) + center;
    row += isMastered() ? QStringLiteral("<font color=\"green\">&radic;</font>")
                        : QStringLiteral("<font color=\"red\">&times;</font>");
    row += QStringLiteral("</td></tr>");
    return row;
}

QString Score::toTextRow() const
{
    const QChar tab(QLatin1Char('\t'));
    return m_object + tab + QString::number(m_corrects) + tab + QString::number(m_total) + tab
        + performanceText() + tab + QString::number(m_consecutive) + tab
        + (isMastered() ? QStringLiteral("YES") : QStringLiteral("NO")) + QLatin1Char('\n');
}
