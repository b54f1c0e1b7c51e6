#include "users/ReportSummary.h"
#include "users/ScoreManager.h"

#include <QColor>
#include <QGuiApplication>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <QtTest>

namespace {

struct Cell
{
    QString text;
    QColor colour; // invalid when the cell has no background
};

struct Table
{
    QString heading; // the paragraph just above it
    QList<Cell> cells;
};

// The tables of the document as a reader sees them: each with the line
// above it, its cells row by row.
QList<Table> tables(const QTextDocument &document)
{
    QList<Table> found;
    QString heading;
    for (auto it = document.rootFrame()->begin(); !it.atEnd(); ++it) {
        auto *table = qobject_cast<QTextTable *>(it.currentFrame());
        if (!table) {
            if (!it.currentBlock().text().isEmpty())
                heading = it.currentBlock().text();
            continue;
        }
        Table read { heading, {} };
        for (int row = 0; row < table->rows(); ++row) {
            for (int column = 0; column < table->columns(); ++column) {
                const QTextTableCell cell = table->cellAt(row, column);
                QTextCursor cursor = cell.firstCursorPosition();
                cursor.setPosition(cell.lastCursorPosition().position(), QTextCursor::KeepAnchor);
                const QBrush background = cell.format().background();
                read.cells << Cell { cursor.selectedText().replace(QChar::LineSeparator, '\n'),
                    background.style() == Qt::NoBrush ? QColor() : background.color() };
            }
        }
        found << read;
    }
    return found;
}

} // namespace

// The summary at the top of a report, read back as a teacher reads it:
// every cell's colour and mark are those the legend gives for how the learner
// did on its letter, digit or dot.
class TestReportSummary : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void legendTellsLevelsApart();
    void activity_data();
    void activity();

private:
    // The legend's sample cell beside the description containing `meaning`.
    static Cell legendSample(const QList<Cell> &legend, const QString &meaning);
    static QString legendMeaning(const QString &level);
};

Cell TestReportSummary::legendSample(const QList<Cell> &legend, const QString &meaning)
{
    for (int i = 1; i < legend.size(); ++i) {
        if (legend.at(i).text.contains(meaning))
            return legend.at(i - 1);
    }
    return Cell { QStringLiteral("<no legend for %1>").arg(meaning), QColor() };
}

QString TestReportSummary::legendMeaning(const QString &level)
{
    static const QHash<QString, QString> meanings {
        { "none", "sin respuestas" },
        { "low", "menos de 50 %" },
        { "middle", "de 50 % a menos de 80 %" },
        { "high", "80 % o más" },
        { "mastered", "dominada: tres correctas seguidas" },
    };
    return meanings.value(level);
}

void TestReportSummary::legendTellsLevelsApart()
{
    ScoreManager manager(QStringLiteral("Como Suena"));
    QTextDocument document;
    document.setHtml(ReportSummary::html({ &manager }));
    const auto all = tables(document);
    QCOMPARE(all.size(), 2);
    QSet<QString> marks;
    QSet<QRgb> colours;
    for (const char *level : { "none", "low", "middle", "high" }) {
        const Cell sample = legendSample(all.first().cells, legendMeaning(QLatin1String(level)));
        QVERIFY2(sample.colour.isValid(), level);
        QVERIFY2(!sample.text.trimmed().isEmpty(), level);
        marks << sample.text;
        colours << sample.colour.rgb();
    }
    // Colour alone must not carry the meaning, nor the mark alone.
    QCOMPARE(marks.size(), 4);
    QCOMPARE(colours.size(), 4);
    const QColor none = legendSample(all.first().cells, legendMeaning("none")).colour;
    QVERIFY2(none.red() == none.green() && none.green() == none.blue(), "not tried is grey");
    QCOMPARE(legendSample(all.first().cells, legendMeaning("mastered")).text, QStringLiteral("✓"));
}

void TestReportSummary::activity_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QStringList>("answers"); // label corrects total consecutive
    QTest::addColumn<int>("cells");
    QTest::addColumn<QStringList>("expected"); // label level [mastered]; the others: none
    QTest::addColumn<QString>("totals");

    const int letters = ScoreManager::Letters;
    QTest::newRow("no answers") << letters << QStringList() << 27 << QStringList()
                                << "Como Suena: sin respuestas todavía";
    QTest::newRow("one wrong answer")
        << letters << QStringList { "B 0 1 0" } << 27 << QStringList { "B low" }
        << "Como Suena: 0 de 1 respuestas correctas (0.00 %), 0 de 27 letras dominadas";
    QTest::newRow("half right") << letters << QStringList { "C 1 2 1" } << 27
                                << QStringList { "C middle" }
                                << "1 de 2 respuestas correctas (50.00 %)";
    QTest::newRow("two of three, two in a row")
        << letters << QStringList { "D 2 3 2" } << 27 << QStringList { "D middle" }
        << "(66.67 %), 0 de 27 letras dominadas";
    QTest::newRow("four of five") << letters << QStringList { "E 4 5 1" } << 27
                                  << QStringList { "E high" } << "(80.00 %)";
    QTest::newRow("two right in a row are not mastered")
        << letters << QStringList { "F 2 2 2" } << 27 << QStringList { "F high" }
        << "2 de 2 respuestas correctas (100.00 %), 0 de 27 letras dominadas";
    QTest::newRow("three in a row after a wrong one")
        << letters << QStringList { "B 3 4 3" } << 27 << QStringList { "B middle mastered" }
        << "3 de 4 respuestas correctas (75.00 %), 1 de 27 letras dominadas";
    QTest::newRow("several letters")
        << letters << QStringList { "A 9 10 5", "Ñ 3 3 3", "Z 1 4 0" } << 27
        << QStringList { "A high mastered", "Ñ high mastered", "Z low" }
        << "13 de 17 respuestas correctas (76.47 %), 2 de 27 letras dominadas";
    QTest::newRow("digits") << int(ScoreManager::Numbers) << QStringList { "0 3 3 3", "9 1 3 0" }
                            << 10 << QStringList { "0 high mastered", "9 low" }
                            << "4 de 6 respuestas correctas (66.67 %), 1 de 10 números dominados";
    QTest::newRow("dots") << int(ScoreManager::Dots) << QStringList { "P3 2 4 0" } << 6
                          << QStringList { "P3 middle" }
                          << "2 de 4 respuestas correctas (50.00 %), 0 de 6 puntos dominados";
    // Every manager holds all 43 records; only those of its kind are its own.
    QTest::newRow("a digit's counters in a letters activity")
        << letters << QStringList { "5 4 4 4" } << 27 << QStringList()
        << "Como Suena: sin respuestas todavía";
}

void TestReportSummary::activity()
{
    QFETCH(int, kind);
    QFETCH(QStringList, answers);
    QFETCH(int, cells);
    QFETCH(QStringList, expected);
    QFETCH(QString, totals);

    ScoreManager manager(QStringLiteral("Como Suena"));
    manager.setKind(kind);
    for (const QString &answer : std::as_const(answers)) {
        const QStringList counters = answer.split(' ');
        manager.setScore(
            counters.at(0), counters.at(1).toInt(), counters.at(2).toInt(), counters.at(3).toInt());
    }
    QTextDocument document;
    document.setHtml(ReportSummary::html({ &manager }));
    const auto all = tables(document);
    QCOMPARE(all.size(), 2);
    const QList<Cell> &legend = all.at(0).cells;

    // The name with the totals, then one cell per object.
    QVERIFY2(all.at(1).heading.contains(totals), qPrintable(all.at(1).heading));
    QCOMPARE(all.at(1).cells.size(), cells);

    QHash<QString, QString> wanted;
    for (const QString &entry : std::as_const(expected))
        wanted.insert(entry.section(' ', 0, 0), entry.section(' ', 1));
    const QString tick = legendSample(legend, legendMeaning("mastered")).text;
    for (const Cell &cell : all.at(1).cells) {
        const QString label = cell.text.section('\n', 0, 0);
        const QString marks = cell.text.section('\n', 1).remove('\n');
        const QString level = wanted.value(label, QStringLiteral("none"));
        const Cell sample = legendSample(legend, legendMeaning(level.section(' ', 0, 0)));
        const QString expectedMarks = sample.text + (level.endsWith("mastered") ? tick : QString());
        QVERIFY2(marks == expectedMarks, qPrintable(label + ": " + marks + " for " + level));
        QVERIFY2(cell.colour == sample.colour, qPrintable(label + " coloured for " + level));
        wanted.remove(label);
    }
    QVERIFY2(wanted.isEmpty(), qPrintable(wanted.keys().join(' ') + " has no cell"));
}

QTEST_MAIN(TestReportSummary)
#include "tst_reportsummary.moc"
