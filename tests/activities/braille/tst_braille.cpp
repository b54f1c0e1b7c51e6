#include "activities/braille/Braille.h"

#include <QTest>

namespace {

// Raised dots as a string, e.g. "1245", from a cell.
QString raised(const Braille &cell)
{
    QString dots;
    for (int dot = 1; dot <= 6; ++dot) {
        if (cell.isRaised(dot))
            dots += QString::number(dot);
    }
    return dots;
}

void raise(Braille &cell, const QString &dots)
{
    cell.setDots(false, false, false, false, false, false);
    for (QChar dot : dots)
        cell.raiseDot(dot.digitValue());
}

} // namespace

class TestBraille : public QObject
{
    Q_OBJECT

private slots:
    void letters_data();
    void letters();
    void digits_data();
    void digits();
    void unknownPatterns_data();
    void unknownPatterns();
    void unknownNamesLeaveTheCell_data();
    void unknownNamesLeaveTheCell();
    void mirror_data();
    void mirror();
    void dotsOutsideTheCell();
    void comparisons();
};

void TestBraille::letters_data()
{
    QTest::addColumn<QString>("letter");
    QTest::addColumn<QString>("dots");

    const char *const table[][2] = {
        { "A", "1" },
        { "B", "12" },
        { "C", "14" },
        { "D", "145" },
        { "E", "15" },
        { "F", "124" },
        { "G", "1245" },
        { "H", "125" },
        { "I", "24" },
        { "J", "245" },
        { "K", "13" },
        { "L", "123" },
        { "M", "134" },
        { "N", "1345" },
        { "Ntilde", "12456" },
        { "O", "135" },
        { "P", "1234" },
        { "Q", "12345" },
        { "R", "1235" },
        { "S", "234" },
        { "T", "2345" },
        { "U", "136" },
        { "V", "1236" },
        { "W", "2456" },
        { "X", "1346" },
        { "Y", "13456" },
        { "Z", "1356" },
    };
    for (const auto &row : table)
        QTest::newRow(row[0]) << QString::fromLatin1(row[0]) << QString::fromLatin1(row[1]);
}

void TestBraille::letters()
{
    QFETCH(QString, letter);
    QFETCH(QString, dots);

    Braille cell;
    cell.fromLetter(letter);
    QCOMPARE(raised(cell), dots);

    Braille read;
    raise(read, dots);
    QCOMPARE(read.toLetter(), letter);
}

void TestBraille::digits_data()
{
    QTest::addColumn<QString>("digit");
    QTest::addColumn<QString>("dots");
    QTest::addColumn<QString>("letter");

    QTest::newRow("1") << "1"
                       << "1"
                       << "A";
    QTest::newRow("2") << "2"
                       << "12"
                       << "B";
    QTest::newRow("3") << "3"
                       << "14"
                       << "C";
    QTest::newRow("4") << "4"
                       << "145"
                       << "D";
    QTest::newRow("5") << "5"
                       << "15"
                       << "E";
    QTest::newRow("6") << "6"
                       << "124"
                       << "F";
    QTest::newRow("7") << "7"
                       << "1245"
                       << "G";
    QTest::newRow("8") << "8"
                       << "125"
                       << "H";
    QTest::newRow("9") << "9"
                       << "24"
                       << "I";
    QTest::newRow("0") << "0"
                       << "245"
                       << "J";
}

void TestBraille::digits()
{
    QFETCH(QString, digit);
    QFETCH(QString, dots);
    QFETCH(QString, letter);

    Braille cell;
    cell.fromNumber(digit);
    QCOMPARE(raised(cell), dots);
    QCOMPARE(cell.toNumber(), digit);
    // The same pattern reads as the letter; the caller chooses.
    QCOMPARE(cell.toLetter(), letter);

    Braille fromLetter;
    fromLetter.fromLetter(letter);
    QCOMPARE(fromLetter.toNumber(), digit);
}

void TestBraille::unknownPatterns_data()
{
    QTest::addColumn<QString>("dots");
    QTest::addColumn<QString>("letter");
    QTest::addColumn<QString>("number");

    QTest::newRow("empty cell") << ""
                                << "-1"
                                << "-1";
    QTest::newRow("all six") << "123456"
                             << "-1"
                             << "-1";
    QTest::newRow("number sign") << "3456"
                                 << "-1"
                                 << "-1";
    QTest::newRow("dot 6 alone") << "6"
                                 << "-1"
                                 << "-1";
    QTest::newRow("K is no digit") << "13"
                                   << "K"
                                   << "-1";
    QTest::newRow("W is no digit") << "2456"
                                   << "W"
                                   << "-1";
    QTest::newRow("enye is no digit") << "12456"
                                      << "Ntilde"
                                      << "-1";
    QTest::newRow("R") << "1235"
                       << "R"
                       << "-1";
}

void TestBraille::unknownPatterns()
{
    QFETCH(QString, dots);
    QFETCH(QString, letter);
    QFETCH(QString, number);
    Braille cell;
    raise(cell, dots);
    QCOMPARE(cell.toLetter(), letter);
    QCOMPARE(cell.toNumber(), number);
    // Reading never changes the cell.
    QCOMPARE(raised(cell), dots);
}

void TestBraille::unknownNamesLeaveTheCell_data()
{
    QTest::addColumn<QString>("name");

    QTest::newRow("lower case") << "a";
    QTest::newRow("empty") << "";
    QTest::newRow("no letter") << "-1";
    QTest::newRow("the character itself") << "\u00d1";
    QTest::newRow("lower-case name") << "ntilde";
    QTest::newRow("two digits") << "10";
    QTest::newRow("digit with a blank") << " 1";
}

void TestBraille::unknownNamesLeaveTheCell()
{
    QFETCH(QString, name);
    Braille cell;
    cell.fromLetter(QStringLiteral("B"));
    cell.fromLetter(name);
    QCOMPARE(raised(cell), QStringLiteral("12"));
    cell.fromNumber(name);
    QCOMPARE(raised(cell), QStringLiteral("12"));
    // Digits are no letters and letters no digits.
    cell.fromLetter(QStringLiteral("1"));
    cell.fromNumber(QStringLiteral("A"));
    QCOMPARE(raised(cell), QStringLiteral("12"));
}

void TestBraille::mirror_data()
{
    QTest::addColumn<QString>("dots");
    QTest::addColumn<QString>("mirrored");

    QTest::newRow("D becomes F") << "145"
                                 << "124";
    QTest::newRow("C stays") << "14"
                             << "14";
    QTest::newRow("A becomes dot 4") << "1"
                                     << "4";
    QTest::newRow("enye") << "12456"
                          << "12345";
    QTest::newRow("left column") << "123"
                                 << "456";
    QTest::newRow("empty") << ""
                           << "";
}

void TestBraille::mirror()
{
    QFETCH(QString, dots);
    QFETCH(QString, mirrored);
    Braille cell;
    raise(cell, dots);
    cell.mirror();
    QCOMPARE(raised(cell), mirrored);
    cell.mirror();
    QCOMPARE(raised(cell), dots);
}

void TestBraille::dotsOutsideTheCell()
{
    Braille cell(true, false, true, false, true, false);
    for (int dot : { 0, 7, -1, 100 }) {
        cell.setDot(dot, true);
        cell.raiseDot(dot);
        cell.lowerDot(dot);
        QVERIFY(!cell.isRaised(dot));
    }
    QCOMPARE(cell.toDotList(), QList<bool>({ true, false, true, false, true, false }));
    cell.lowerDot(3);
    cell.raiseDot(6);
    QCOMPARE(cell.toDotList(), QList<bool>({ true, false, false, false, true, true }));
}

void TestBraille::comparisons()
{
    Braille g;
    g.fromLetter(QStringLiteral("G"));
    QVERIFY(g.equals(true, true, false, true, true, false));
    QVERIFY(!g.equals(true, true, false, true, true, true));
    Braille seven;
    seven.fromNumber(QStringLiteral("7"));
    QVERIFY(g.equals(seven));
    // G is its own mirror image; D is not.
    seven.mirror();
    QVERIFY(g.equals(seven));
    Braille d;
    d.fromLetter(QStringLiteral("D"));
    Braille four;
    four.fromNumber(QStringLiteral("4"));
    QVERIFY(d.equals(four));
    four.mirror();
    QVERIFY(!d.equals(four));
}

QTEST_GUILESS_MAIN(TestBraille)
#include "tst_braille.moc"
