#include "content/MediaPaths.h"
#include "support/TestSupport.h"

#include <QtTest>

class TestMediaPaths : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Set before the data functions run, which precede init().
    void initTestCase() { MediaPaths::setApplicationDir(QStringLiteral("/opt/purimba/")); }
    void cleanupTestCase() { MediaPaths::setApplicationDir(QString()); }

    void pathRules_data()
    {
        using namespace MediaPaths;
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("expected");
        const QString es = QStringLiteral("Español");
        QTest::newRow("language root")
            << languageRoot(es) << QStringLiteral("/opt/purimba/media/languages/Español");
        QTest::newRow("letter folder Ñ")
            << letterFolder(es, QStringLiteral("Ntilde"))
            << QStringLiteral("/opt/purimba/media/languages/Español/Letras/Ntilde");
        QTest::newRow("number folder")
            << numberFolder(es, QStringLiteral("7"))
            << QStringLiteral("/opt/purimba/media/languages/Español/Numeros/7");
        QTest::newRow("word file")
            << wordFile(letterFolder(es, QStringLiteral("Ntilde")), QStringLiteral("Nandu"),
                   QStringLiteral("image.jpg"))
            << QStringLiteral("/opt/purimba/media/languages/Español/Letras/Ntilde/Nandu/image.jpg");
        QTest::newRow("suggestions of a letter")
            << suggestionsFile(es,
                   QStringLiteral("Letras y Numeros -  Sonidos de las Letras - "
                                  "Como suena"),
                   QStringLiteral("Ntilde"))
            << QStringLiteral("/opt/purimba/media/languages/Español/Letras/Ntilde/sugerencias.txt");
        QTest::newRow("suggestions of a number, presentation")
            << suggestionsFile(es,
                   QStringLiteral("Letras y Numeros -  Numeros - Te presento numeros"),
                   QStringLiteral("3"))
            << QStringLiteral("/opt/purimba/media/languages/Español/Numeros/3/sugerencias.txt");
        QTest::newRow("suggestions of a number, hidden numbers")
            << suggestionsFile(es,
                   QStringLiteral("Letras y Numeros -  Numeros - Numeros escondidos"),
                   QStringLiteral("0"))
            << QStringLiteral("/opt/purimba/media/languages/Español/Numeros/0/sugerencias.txt");
        QTest::newRow("suggestions of a text")
            << textSuggestionsFile(es, QStringLiteral("Cuentos"), QStringLiteral("La liebre"))
            << QStringLiteral(
                   "/opt/purimba/media/languages/Español/Textos/Cuentos/La liebre/sugerencias.txt");
        QTest::newRow("text frame")
            << textFile(es, QStringLiteral("Poesias"), QStringLiteral("Luna"),
                   QStringLiteral("audio10.ogg"))
            << QStringLiteral(
                   "/opt/purimba/media/languages/Español/Textos/Poesias/Luna/audio10.ogg");
        QTest::newRow("letter clip")
            << letterClip(QStringLiteral("Ntilde"))
            << QStringLiteral("/opt/purimba/media/system/audio/letters/Ntilde.ogg");
        QTest::newRow("instruction clip, working directory")
            << instructionClip(QStringLiteral("Modo menu.ogg"))
            << QStringLiteral("media/system/audio/instructions/Modo menu.ogg");
        QTest::newRow("greeting, application directory")
            << greetingClip()
            << QStringLiteral("/opt/purimba/media/system/audio/instructions/Saludo de mofli.ogg");
        QTest::newRow("menu clip")
            << menuClip(QStringLiteral("Letras y Numeros.ogg"))
            << QStringLiteral("/opt/purimba/media/system/audio/menus/Letras y Numeros.ogg");
        QTest::newRow("system clip") << systemClip(QStringLiteral("blank.ogg"))
                                     << QStringLiteral("/opt/purimba/media/system/audio/blank.ogg");
        QTest::newRow("ui file") << uiFile(QStringLiteral("braille/bra1b.jpg"))
                                 << QStringLiteral(
                                        "/opt/purimba/media/system/ui/braille/bra1b.jpg");
        QTest::newRow("system text")
            << systemTextFile(QStringLiteral("suggestions.txt"))
            << QStringLiteral("/opt/purimba/media/system/text/suggestions.txt");
        QTest::newRow("data file")
            << dataFile(QStringLiteral("scores.xml")) << QStringLiteral("data/scores.xml");
        QTest::newRow("languages, working directory")
            << languagesFolderRelative() << QStringLiteral("media/languages");
        QTest::newRow("suggestions of a digit")
            << numberSuggestionsFile(es, QStringLiteral("9"))
            << QStringLiteral("/opt/purimba/media/languages/Español/Numeros/9/sugerencias.txt");
        QTest::newRow("suggestions of Ñ for every activity")
            << letterSuggestionsFile(es, QStringLiteral("Ntilde"))
            << suggestionsFile(es, QStringLiteral("Braille -  Cajetin - Formemos letras"),
                   QStringLiteral("Ntilde"));
    }

    void pathRules()
    {
        QFETCH(QString, path);
        QFETCH(QString, expected);
        QCOMPARE(path, expected);
    }

    void realApplicationDirectoryWhenNotOverridden()
    {
        MediaPaths::setApplicationDir(QString());
        QCOMPARE(MediaPaths::applicationDir(), QCoreApplication::applicationDirPath());
        MediaPaths::setApplicationDir(QStringLiteral("/opt/purimba"));
    }

    void wordsAreTheSubfoldersOnly()
    {
        TestSupport::MediaTree tree;
        const QString folder
            = MediaPaths::letterFolder(QStringLiteral("Español"), QStringLiteral("M"));
        tree.addFolder(QStringLiteral("media/languages/Español/Letras/M/Manzana"));
        tree.addFolder(QStringLiteral("media/languages/Español/Letras/M/Mono"));
        tree.addFile(QStringLiteral("media/languages/Español/Letras/M/sugerencias.txt"), "x");
        tree.addFile(QStringLiteral("media/languages/Español/Letras/M/Mesa"), "stray file");
        QCOMPARE(MediaPaths::listWords(folder),
            (QStringList { QStringLiteral("Manzana"), QStringLiteral("Mono") }));
        QVERIFY(MediaPaths::listWords(folder + QStringLiteral("/none")).isEmpty());
        QCOMPARE(MediaPaths::listEntries(folder).size(), 4);
    }

    void letterStrings()
    {
        const QStringList &letters = MediaPaths::alphabet();
        QCOMPARE(letters.size(), 27);
        QCOMPARE(letters.first(), QStringLiteral("A"));
        QCOMPARE(letters.at(13), QStringLiteral("N"));
        QCOMPARE(letters.at(14), QStringLiteral("Ntilde"));
        QCOMPARE(letters.at(15), QStringLiteral("O"));
        QCOMPARE(letters.last(), QStringLiteral("Z"));
        QCOMPARE(MediaPaths::letterDisplay(QStringLiteral("Ntilde")), QStringLiteral("Ñ"));
        QCOMPARE(MediaPaths::letterDisplay(QStringLiteral("N")), QStringLiteral("N"));
        QCOMPARE(MediaPaths::letterFolderName(QStringLiteral("Ñ")), QStringLiteral("Ntilde"));
        QCOMPARE(MediaPaths::letterFolderName(QStringLiteral("Z")), QStringLiteral("Z"));
    }

    void folderNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("valid");
        QTest::newRow("word") << QStringLiteral("Zampona") << true;
        QTest::newRow("accents and blanks") << QStringLiteral("Los tres cerditos ñ") << true;
        QTest::newRow("dots inside") << QStringLiteral("a..b") << true;
        QTest::newRow("empty") << QString() << false;
        QTest::newRow("dot") << QStringLiteral(".") << false;
        QTest::newRow("dot dot") << QStringLiteral("..") << false;
        QTest::newRow("parent path") << QStringLiteral("../x") << false;
        QTest::newRow("separator") << QStringLiteral("a/b") << false;
        QTest::newRow("absolute") << QStringLiteral("/etc") << false;
        QTest::newRow("backslash") << QStringLiteral("a\\b") << false;
    }

    void folderNames()
    {
        QFETCH(QString, name);
        QFETCH(bool, valid);
        QCOMPARE(MediaPaths::isFolderName(name), valid);
    }

    // Trees made before the administrator wrote "letter_name.ogg" for numbers
    // hold the spoken name as "letter_sound.ogg" only.
    void numberNameFallsBackToLetterSound()
    {
        TestSupport::MediaTree tree;
        const QString folder
            = MediaPaths::numberFolder(QStringLiteral("Español"), QStringLiteral("2"));
        tree.addClip(QStringLiteral("media/languages/Español/Numeros/2/Dos/letter_sound.ogg"));
        QCOMPARE(MediaPaths::numberNameClip(folder, QStringLiteral("Dos")),
            folder + QStringLiteral("/Dos/letter_sound.ogg"));
        tree.addClip(QStringLiteral("media/languages/Español/Numeros/2/Dos/letter_name.ogg"));
        QCOMPARE(MediaPaths::numberNameClip(folder, QStringLiteral("Dos")),
            folder + QStringLiteral("/Dos/letter_name.ogg"));
    }
};

QTEST_GUILESS_MAIN(TestMediaPaths)
#include "tst_mediapaths.moc"
