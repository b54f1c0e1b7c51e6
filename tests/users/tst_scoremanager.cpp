#include "users/Score.h"
#include "users/ScoreManager.h"

#include <QDomDocument>
#include <QDomElement>
#include <QTest>

class TestScoreManager : public QObject
{
    Q_OBJECT

private slots:
    void counters_data();
    void counters();
    void labelLookup_data();
    void labelLookup();
    void unknownLabelChangesNothing();
    void resetKeepsLabels();
    void toElementHoldsTheKindInOrder_data();
    void toElementHoldsTheKindInOrder();
    void loadElementReadsEveryChild();
    void htmlRow_data();
    void htmlRow();
    void textRow_data();
    void textRow();
    void sections_data();
    void sections();
};

// Answers as a string: 'c' a right one, 'w' a wrong one.
void TestScoreManager::counters_data()
{
    QTest::addColumn<QString>("answers");
    QTest::addColumn<int>("corrects");
    QTest::addColumn<int>("total");
    QTest::addColumn<int>("consecutive");
    QTest::addColumn<QString>("performance");
    QTest::addColumn<bool>("mastered");

    QTest::newRow("no answers") << "" << 0 << 0 << 0 << "0.00" << false;
    QTest::newRow("three right after a wrong one") << "wccc" << 3 << 4 << 3 << "75.00" << true;
    QTest::newRow("two right in a row") << "cc" << 2 << 2 << 2 << "100.00" << false;
    QTest::newRow("two of three") << "ccw" << 2 << 3 << 0 << "66.67" << false;
    QTest::newRow("wrong breaks the run") << "cccwc" << 4 << 5 << 1 << "80.00" << false;
    QTest::newRow("one of three") << "wwc" << 1 << 3 << 1 << "33.33" << false;
    QTest::newRow("only wrong") << "www" << 0 << 3 << 0 << "0.00" << false;
}

void TestScoreManager::counters()
{
    QFETCH(QString, answers);
    QFETCH(int, corrects);
    QFETCH(int, total);
    QFETCH(int, consecutive);
    QFETCH(QString, performance);
    QFETCH(bool, mastered);

    ScoreManager manager(QStringLiteral("Como Suena"));
    for (QChar answer : answers) {
        Score *returned = answer == QLatin1Char('c') ? manager.recordCorrect(QStringLiteral("B"))
                                                     : manager.recordWrong(QStringLiteral("B"));
        QCOMPARE(returned, manager.score(QStringLiteral("B")));
    }
    const Score *score = manager.score(QStringLiteral("B"));
    QVERIFY(score);
    QCOMPARE(score->corrects(), corrects);
    QCOMPARE(score->total(), total);
    QCOMPARE(score->consecutive(), consecutive);
    QCOMPARE(score->performanceText(), performance);
    QCOMPARE(score->isMastered(), mastered);
    // Only the asked object counts.
    QCOMPARE(manager.score(QStringLiteral("A"))->total(), 0);
}

void TestScoreManager::labelLookup_data()
{
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("object");

    QTest::newRow("capital") << "A"
                             << "A";
    QTest::newRow("lower case") << "a"
                                << "A";
    QTest::newRow("enye") << "\u00d1"
                          << "\u00d1";
    QTest::newRow("lower-case enye") << "\u00f1"
                                     << "\u00d1";
    QTest::newRow("digit") << "7"
                           << "7";
    QTest::newRow("dot") << "P3"
                         << "P3";
    QTest::newRow("lower-case dot") << "p3"
                                    << "P3";
    QTest::newRow("last letter") << "z"
                                 << "Z";
}

void TestScoreManager::labelLookup()
{
    QFETCH(QString, label);
    QFETCH(QString, object);
    ScoreManager manager(QStringLiteral("Letras Escondidas"));
    const Score *score = manager.score(label);
    QVERIFY(score);
    QCOMPARE(score->object(), object);
}

void TestScoreManager::unknownLabelChangesNothing()
{
    ScoreManager manager(QStringLiteral("Como Suena"));
    const QStringList unknown = { QString(), QStringLiteral("Ntilde"), QStringLiteral("P7"),
        QStringLiteral("10"), QStringLiteral("AB"), QStringLiteral("?") };
    for (const QString &label : unknown) {
        QVERIFY2(!manager.score(label), qPrintable(label));
        QVERIFY(!manager.recordCorrect(label));
        QVERIFY(!manager.recordWrong(label));
        QVERIFY(!manager.setScore(label, 1, 2, 3));
    }
    for (const QString &label : ScoreManager::allLabels())
        QCOMPARE(manager.score(label)->total(), 0);
}

void TestScoreManager::resetKeepsLabels()
{
    ScoreManager manager(QStringLiteral("Como Suena"));
    for (const QString &label : ScoreManager::allLabels()) {
        manager.recordCorrect(label);
        manager.recordWrong(label);
        manager.recordCorrect(label);
    }
    manager.reset();
    for (const QString &label : ScoreManager::allLabels()) {
        const Score *score = manager.score(label);
        QCOMPARE(score->object(), label);
        QCOMPARE(score->corrects(), 0);
        QCOMPARE(score->total(), 0);
        QCOMPARE(score->consecutive(), 0);
    }
}

void TestScoreManager::toElementHoldsTheKindInOrder_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QStringList>("objects");

    QStringList letters;
    for (char c = 'A'; c <= 'Z'; ++c) {
        letters << QString(QLatin1Char(c));
        if (c == 'N')
            letters << QStringLiteral("\u00d1");
    }
    QTest::newRow("letters") << int(ScoreManager::Letters) << letters;
    QTest::newRow("numbers") << int(ScoreManager::Numbers)
                             << QStringList { "0", "1", "2", "3", "4", "5", "6", "7", "8", "9" };
    QTest::newRow("dots") << int(ScoreManager::Dots)
                          << QStringList { "P1", "P2", "P3", "P4", "P5", "P6" };
}

void TestScoreManager::toElementHoldsTheKindInOrder()
{
    QFETCH(int, kind);
    QFETCH(QStringList, objects);

    ScoreManager manager(QStringLiteral("Numeros Escondidos"));
    manager.setKind(kind);
    manager.setScore(objects.last(), 2, 5, 1);
    QDomDocument doc;
    const QDomElement activity = manager.toElement(doc);
    QCOMPARE(activity.tagName(), QStringLiteral("Activity"));
    QCOMPARE(activity.attribute(QStringLiteral("name")), QStringLiteral("Numeros Escondidos"));

    QStringList written;
    QDomElement last;
    for (QDomElement score = activity.firstChildElement(); !score.isNull();
         score = score.nextSiblingElement()) {
        QCOMPARE(score.tagName(), QStringLiteral("Score"));
        written << score.attribute(QStringLiteral("Object"));
        last = score;
    }
    QCOMPARE(written, objects);
    QCOMPARE(last.attribute(QStringLiteral("Corrects")), QStringLiteral("2"));
    QCOMPARE(last.attribute(QStringLiteral("Total")), QStringLiteral("5"));
    QCOMPARE(last.attribute(QStringLiteral("Consecutive")), QStringLiteral("1"));
}

void TestScoreManager::loadElementReadsEveryChild()
{
    QDomDocument doc;
    QVERIFY(doc.setContent(
        QByteArray("<Activity name=\"Como Suena\">"
                   " <Score Object=\"b\" Corrects=\"3\" Total=\"4\" Consecutive=\"3\"/>"
                   " <Score Object=\"\xc3\x91\" Corrects=\"x\" Total=\"7\" Consecutive=\"\"/>"
                   " <Whatever Object=\"7\" Corrects=\"1\" Total=\"1\" Consecutive=\"1\"/>"
                   " <Score Object=\"Ntilde\" Corrects=\"9\" Total=\"9\" Consecutive=\"9\"/>"
                   " <Score Object=\"P9\" Corrects=\"9\" Total=\"9\" Consecutive=\"9\"/>"
                   "</Activity>")));
    ScoreManager manager(QStringLiteral("Como Suena"));
    manager.loadElement(doc.documentElement());

    const Score *b = manager.score(QStringLiteral("B"));
    QCOMPARE(b->corrects(), 3);
    QCOMPARE(b->total(), 4);
    QCOMPARE(b->consecutive(), 3);
    // Text that is not a number reads as 0.
    const Score *enye = manager.score(QStringLiteral("\u00d1"));
    QCOMPARE(enye->corrects(), 0);
    QCOMPARE(enye->total(), 7);
    QCOMPARE(enye->consecutive(), 0);
    // Any element child counts, whatever its tag, even outside the kind.
    QCOMPARE(manager.score(QStringLiteral("7"))->total(), 1);
    // Labels of no object touch no record.
    int total = 0;
    for (const QString &label : ScoreManager::allLabels())
        total += manager.score(label)->total();
    QCOMPARE(total, 4 + 7 + 1);
}

void TestScoreManager::htmlRow_data()
{
    QTest::addColumn<int>("corrects");
    QTest::addColumn<int>("total");
    QTest::addColumn<int>("consecutive");
    QTest::addColumn<QString>("row");

    QTest::newRow("no answers")
        << 0 << 0 << 0
        << "<tr><td>\u00d1</td><td align=\"center\">0</td><td align=\"center\">0</td>"
           "<td align=\"center\">0.00%</td><td align=\"center\">0</td><td align=\"center\">"
           "<font color=\"red\">&times;</font></td></tr>";
    QTest::newRow("mastered")
        << 3 << 4 << 3
        << "<tr><td>\u00d1</td><td align=\"center\">3</td><td align=\"center\">4</td>"
           "<td align=\"center\">75.00%</td><td align=\"center\">3</td><td align=\"center\">"
           "<font color=\"green\">&radic;</font></td></tr>";
    QTest::newRow("two in a row")
        << 2 << 3 << 2
        << "<tr><td>\u00d1</td><td align=\"center\">2</td><td align=\"center\">3</td>"
           "<td align=\"center\">66.67%</td><td align=\"center\">2</td><td align=\"center\">"
           "<font color=\"red\">&times;</font></td></tr>";
}

void TestScoreManager::htmlRow()
{
    QFETCH(int, corrects);
    QFETCH(int, total);
    QFETCH(int, consecutive);
    QFETCH(QString, row);
    const Score score(QStringLiteral("\u00d1"), corrects, total, consecutive);
    QCOMPARE(score.toHtmlRow(), row);
}

void TestScoreManager::textRow_data()
{
    QTest::addColumn<int>("corrects");
    QTest::addColumn<int>("total");
    QTest::addColumn<int>("consecutive");
    QTest::addColumn<QString>("line");

    QTest::newRow("no answers") << 0 << 0 << 0 << "P2\t0\t0\t0.00\t0\tNO\n";
    QTest::newRow("mastered") << 3 << 4 << 3 << "P2\t3\t4\t75.00\t3\tYES\n";
    QTest::newRow("one third") << 1 << 3 << 1 << "P2\t1\t3\t33.33\t1\tNO\n";
}

void TestScoreManager::textRow()
{
    QFETCH(int, corrects);
    QFETCH(int, total);
    QFETCH(int, consecutive);
    QFETCH(QString, line);
    const Score score(QStringLiteral("P2"), corrects, total, consecutive);
    QCOMPARE(score.toTextRow(), line);
}

void TestScoreManager::sections_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("last");

    QTest::newRow("letters") << int(ScoreManager::Letters) << 27 << "A"
                             << "Z";
    QTest::newRow("numbers") << int(ScoreManager::Numbers) << 10 << "0"
                             << "9";
    QTest::newRow("dots") << int(ScoreManager::Dots) << 6 << "P1"
                          << "P6";
}

void TestScoreManager::sections()
{
    QFETCH(int, kind);
    QFETCH(int, rows);
    QFETCH(QString, first);
    QFETCH(QString, last);

    ScoreManager manager(QStringLiteral("Numeros Escondidos"));
    manager.setKind(kind);

    const QString html = manager.toHtml();
    QVERIFY(html.startsWith(
        QStringLiteral("<P>Actividad : Numeros Escondidos<br>"
                       "<table cellpadding=\"5\" cellspacing=\"1\" border=\"1\" width=\"100%\">"
                       "<tr bgcolor=\"#cccccc\"><td>Objeto</td><td>Correctas</td><td>Total</td>"
                       "<td>Desempe&ntilde;o</td><td>Consecutivas</td><td>Dominio</td></tr>")));
    QVERIFY(html.endsWith(QStringLiteral("</table></P><P><HR></P>")));
    QCOMPARE(html.count(QStringLiteral("<tr><td>")), rows);
    QVERIFY(html.contains(QStringLiteral("<tr><td>") + first + QStringLiteral("</td>")));
    QVERIFY(html.contains(QStringLiteral("<tr><td>") + last + QStringLiteral("</td>")));

    const QStringList lines = manager.toText().split(QLatin1Char('\n'));
    QCOMPARE(
        lines.size(), rows + 3); // title, header, rows, and the empty rest after the last line feed
    QCOMPARE(lines.at(0), QStringLiteral("Actividad\tNumeros Escondidos"));
    QCOMPARE(lines.at(1),
        QStringLiteral("Objeto\tCorrectas\tTotal\tDesempe&ntilde;o\tConsecutivas\tDominio"));
    QCOMPARE(lines.at(2), first + QStringLiteral("\t0\t0\t0.00\t0\tNO"));
    QCOMPARE(lines.at(rows + 1), last + QStringLiteral("\t0\t0\t0.00\t0\tNO"));
    QVERIFY(lines.last().isEmpty());
}

QTEST_GUILESS_MAIN(TestScoreManager)
#include "tst_scoremanager.moc"
