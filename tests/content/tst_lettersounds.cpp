#include "content/LetterSounds.h"

#include <QtTest>

// Letters are compared as the program names them ("Ntilde" for Ñ).
class TestLetterSounds : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void parse_data();
    void parse();
};

void TestLetterSounds::parse_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<bool>("alike");
    QTest::addColumn<QString>("silent"); // letters, apart by spaces

    const QString file = QStringLiteral("# comment = B P\nigual = B V\nIGUAL = c, k,q\nmuda = h\n");
    QTest::newRow("a group") << file << "V"
                             << "B" << true << "H";
    QTest::newRow("commas and lower case") << file << "Q"
                                           << "C" << true << "H";
    QTest::newRow("two groups stay apart") << file << "B"
                                           << "C" << false << "H";
    QTest::newRow("a comment names nothing") << file << "B"
                                             << "P" << false << "H";
    QTest::newRow("a letter is itself") << ""
                                        << "H"
                                        << "H" << true << "";
    QTest::newRow("Ñ") << QStringLiteral("igual = ñ N\n") << "N"
                       << "Ntilde" << true << "";
    QTest::newRow("unknown letters dropped")
        << QStringLiteral("igual = B 7 LL\nmuda = ? H\n") << "B"
        << "L" << false << "H";
    QTest::newRow("a line without =") << "B V\nmuda H\n"
                                      << "B"
                                      << "V" << false << "";
    QTest::newRow("Windows line ends") << "igual = S Z\r\nmuda = H U\r\n"
                                       << "Z"
                                       << "S" << true << "H U";
}

void TestLetterSounds::parse()
{
    QFETCH(QString, text);
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(bool, alike);
    QFETCH(QString, silent);

    const LetterSounds sounds = LetterSounds::parse(text);
    QCOMPARE(sounds.soundAlike(a, b), alike);
    QCOMPARE(sounds.soundAlike(b, a), alike);
    QStringList found;
    for (const char *letter : { "A", "B", "H", "N", "Ntilde", "S", "U", "V", "Z" }) {
        if (sounds.isSilent(QLatin1String(letter)))
            found << letter;
    }
    QCOMPARE(found.join(' '), silent);
}

QTEST_GUILESS_MAIN(TestLetterSounds)
#include "tst_lettersounds.moc"
