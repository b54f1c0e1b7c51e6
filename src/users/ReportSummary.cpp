#include "users/ReportSummary.h"

#include "users/Score.h"
#include "users/ScoreManager.h"

namespace ReportSummary {

namespace {

const QLatin1String mastered("&#x2713;");

struct Look
{
    const char *colour;
    QString mark;
    QString meaning;
};

// Orange, yellow and sky blue stay apart for the usual kinds of colour
// blindness; the marks (a circle filled as far as the learner gets) say the
// same on a black and white page. Black text reads on every one of them.
const Look &look(Level level)
{
    static const Look looks[] = {
        { "#dddddd", QStringLiteral("\u2013"), QStringLiteral("sin respuestas") },
        { "#ec8b5e", QStringLiteral("\u25d4"), QStringLiteral("menos de 50 % correctas") },
        { "#f3e46e", QStringLiteral("\u25d1"), QStringLiteral("de 50 % a menos de 80 %") },
        { "#8ecbef", QStringLiteral("\u25cf"), QStringLiteral("80 % o m\u00e1s") },
    };
    return looks[int(level)];
}

// The level's sign, larger than the text: the circles are small.
QString sign(const Look &shown)
{
    return QStringLiteral("<span style=\"font-size:large\">") + shown.mark
        + QStringLiteral("</span>");
}

// Kept on its lines: a narrow cell would break "P1" in two.
QString cell(const Look &shown, const QString &text)
{
    return QStringLiteral("<td bgcolor=\"") + QLatin1String(shown.colour)
        + QStringLiteral("\" align=\"center\" nowrap>") + text + QStringLiteral("</td>");
}

QString percent(int corrects, int total)
{
    return QString::number(double(corrects) / double(total) * 100.0, 'f', 2);
}

// "3 de 27 letras dominadas": the objects by their name, which also decides
// the ending.
QString masteredOf(int kind, int count, int of)
{
    const QString counted = QString::number(count) + QStringLiteral(" de ") + QString::number(of);
    switch (kind) {
    case ScoreManager::Numbers:
        return counted + QStringLiteral(" n\u00fameros dominados");
    case ScoreManager::Dots:
        return counted + QStringLiteral(" puntos dominados");
    default:
        return counted + QStringLiteral(" letras dominadas");
    }
}

// In two rows of sample and meaning, which fit the narrowest report view.
QString legend()
{
    const auto meaning = [](const QString &text) {
        return QStringLiteral("<td nowrap>") + text + QStringLiteral("&nbsp;&nbsp;&nbsp;</td>");
    };
    QString html = QStringLiteral("<table cellspacing=\"2\" cellpadding=\"2\"><tr>");
    for (Level level : { Level::NotTried, Level::Low, Level::Middle }) {
        const Look &shown = look(level);
        html += cell(shown, sign(shown)) + meaning(shown.meaning);
    }
    const Look &high = look(Level::High);
    html += QStringLiteral("</tr><tr>") + cell(high, sign(high)) + meaning(high.meaning)
        + QStringLiteral("<td align=\"center\"><b>") + mastered + QStringLiteral("</b></td>")
        + meaning(QStringLiteral("dominada: tres correctas seguidas"))
        + QStringLiteral("</tr></table>");
    return html;
}

QString activity(const ScoreManager &manager)
{
    const QVector<Score *> records = manager.scores();
    int corrects = 0;
    int total = 0;
    int masteredCount = 0;
    QString cells;
    for (const Score *record : records) {
        corrects += record->corrects();
        total += record->total();
        if (record->isMastered())
            ++masteredCount;
        const Look &shown = look(level(*record));
        // One sign a line: side by side they would not fit 27 to a row.
        QString marks = sign(shown);
        if (record->isMastered())
            marks += QStringLiteral("<br><b>") + mastered + QStringLiteral("</b>");
        cells += cell(
            shown, QStringLiteral("<b>") + record->object() + QStringLiteral("</b><br>") + marks);
    }
    const QString totals = total == 0
        ? QStringLiteral("sin respuestas todav\u00eda")
        : QString::number(corrects) + QStringLiteral(" de ") + QString::number(total)
            + QStringLiteral(" respuestas correctas (") + percent(corrects, total)
            + QStringLiteral(" %), ") + masteredOf(manager.kind(), masteredCount, records.size());
    // A table of its own for each activity: in a grid shared with the 27
    // letters, a dot's column would be too narrow for "P1".
    return QStringLiteral("<p><b>") + manager.name().toHtmlEscaped() + QStringLiteral("</b>: ")
        + totals + QStringLiteral("</p><table cellspacing=\"2\" cellpadding=\"1\"><tr>") + cells
        + QStringLiteral("</tr></table>");
}

} // namespace

Level level(const Score &score)
{
    if (score.total() == 0)
        return Level::NotTried;
    const double performance = score.performance();
    if (performance < 50.0)
        return Level::Low;
    if (performance < 80.0)
        return Level::Middle;
    return Level::High;
}

QString html(const QList<const ScoreManager *> &managers)
{
    QString html = QStringLiteral("<p><b>Resumen</b></p>") + legend();
    for (const ScoreManager *manager : managers)
        html += activity(*manager);
    // On paper the summary is the first page, the tables follow.
    return html + QStringLiteral("<p style=\"page-break-after:always\"><hr></p>");
}

} // namespace ReportSummary
