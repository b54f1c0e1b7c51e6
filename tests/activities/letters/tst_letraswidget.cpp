#include "LettersTestCase.h"
#include "audio/AudioThread.h"
#include "users/Score.h"
#include "users/ScoreManager.h"

#include <QDomDocument>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QSignalSpy>
#include <QtTest>

using namespace LettersFixture;

// The widget, its tables, presentations, keys and scores: keys in, clips and labels out.
class TestLetrasWidget : public LettersTestCase
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { setUpTree(); }
    void init() { setUpWidget(); }
    void cleanup() { tearDownWidget(); }

    void construction();
    void tables_data();
    void tables();
    void gender_data();
    void gender();

    void presentSounds();
    void presentWithSelection();
    void presentNames();
    void presentNumbers();
    void spellWordWithDigits();
    void digitKeys_data();
    void digitKeys();
    void escapeTwice();
    void keysThatMeanNothing_data();
    void keysThatMeanNothing();
    void instructionAndMascot_data();
    void instructionAndMascot();
    void otherGroupLeavesWidgetIdle();

    void letterWithoutWords();
    void digitWithoutWords();
    void numberNameOfOlderTrees_data();
    void numberNameOfOlderTrees();
    void oneShotPlayersReleased();

    void scoresReadBackAfterWrite();
    void scoresKeepOtherLearnersAndTypes();
    void reportsInSetOrder();
};

void TestLetrasWidget::construction()
{
    QCOMPARE(m_w->size(), QSize(560, 500));
    QCOMPARE(m_w->frameStyle(), int(QFrame::Panel | QFrame::Plain));
    QCOMPARE(m_w->focusPolicy(), Qt::StrongFocus);
    QCOMPARE(m_w->palette().color(QPalette::Inactive, QPalette::Window), QColor(Qt::white));

    QLabel *letter = label("letterLabel");
    QLabel *word = label("wordLabel");
    QLabel *picture = label("pictureLabel");
    QVERIFY(letter && word && picture);
    QCOMPARE(letter->pos(), QPoint(30, 40));
    QCOMPARE(letter->font().pointSize(), 170);
    QVERIFY(letter->font().bold());
    QCOMPARE(word->pos(), QPoint(100, 380));
    QCOMPARE(word->font().pointSize(), 50);
    QCOMPARE(picture->geometry(), QRect(240, 50, 300, 300));
    QVERIFY(!letter->isVisibleTo(m_w.get()) && !word->isVisibleTo(m_w.get())
        && !picture->isVisibleTo(m_w.get()));

    // The five sets, with the kinds the reports and the file need.
    const QStringList names = { "Como Suena", "Como Empieza", "", "Letras Escondidas",
        "Objetos Escondidos", "", "Numeros Escondidos" };
    for (int activity = 1; activity <= 7; ++activity) {
        ScoreManager *set = m_w->scoreSet(activity);
        const QString name = names.at(activity - 1);
        QCOMPARE(set ? set->name() : QString(), name);
        if (set)
            QCOMPARE(
                set->kind(), int(activity == 7 ? ScoreManager::Numbers : ScoreManager::Letters));
    }
    QVERIFY(!m_w->scoreSet(0) && !m_w->scoreSet(3) && !m_w->scoreSet(6));
}

void TestLetrasWidget::tables_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("in");
    QTest::addColumn<QString>("out");

    QTest::newRow("Zampona") << "accent"
                             << "Zampona" << QStringLiteral("Zampoña");
    QTest::newRow("Yacare") << "accent"
                            << "Yacare" << QStringLiteral("Yacaré");
    QTest::newRow("Xilofono") << "accent"
                              << "Xilofono" << QStringLiteral("Xilófono");
    QTest::newRow("Nandu") << "accent"
                           << "Nandu" << QStringLiteral("Ñandú");
    QTest::newRow("Helicoptero") << "accent"
                                 << "Helicoptero" << QStringLiteral("Helicóptero");
    QTest::newRow("Laud") << "accent"
                          << "Laud" << QStringLiteral("Laúd");
    QTest::newRow("Ninos") << "accent"
                           << "Ninos" << QStringLiteral("Niños");
    QTest::newRow("Nino") << "accent"
                          << "Nino" << QStringLiteral("Niño");
    QTest::newRow("Telefono") << "accent"
                              << "Telefono" << QStringLiteral("Teléfono");
    QTest::newRow("Nu") << "accent"
                        << "Nu" << QStringLiteral("Ñu");
    QTest::newRow("whole name only") << "accent"
                                     << "Leones"
                                     << "Leones";
    QTest::newRow("case-sensitive") << "accent"
                                    << "leon"
                                    << "leon";
    QTest::newRow("not in table") << "accent"
                                  << "Manzana"
                                  << "Manzana";
    QTest::newRow("0") << "number"
                       << "0"
                       << "Cero";
    QTest::newRow("4") << "number"
                       << "4"
                       << "Cuatro";
    QTest::newRow("7") << "number"
                       << "7"
                       << "Siete";
    QTest::newRow("9") << "number"
                       << "9"
                       << "Nueve";
    QTest::newRow("none") << "number"
                          << "none"
                          << "";
    QTest::newRow("10") << "number"
                        << "10"
                        << "";
    QTest::newRow("title 0") << "title"
                             << "0"
                             << "Letras y Numeros -  Sonidos de las Letras - Te presento sonidos";
    QTest::newRow("title 5") << "title"
                             << "5"
                             << "Letras y Numeros -  Nombres de las Letras - Objetos escondidos";
    QTest::newRow("title 7") << "title"
                             << "7"
                             << "Letras y Numeros -  Numeros de las Letras - Numeros escondidos";
    QTest::newRow("title 8") << "title"
                             << "8"
                             << "";
}

void TestLetrasWidget::tables()
{
    QFETCH(QString, kind);
    QFETCH(QString, in);
    QFETCH(QString, out);
    if (kind == QLatin1String("accent"))
        QCOMPARE(m_w->fixCharacters(in), out);
    else if (kind == QLatin1String("number"))
        QCOMPARE(LetrasWidget::numberWord(in), out);
    else
        QCOMPARE(LetrasWidget::activityTitle(in.toInt()), out);
}

void TestLetrasWidget::gender_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<bool>("feminine");
    QTest::newRow("Manzana") << "Manzana" << true;
    QTest::newRow("Ciudad") << "Ciudad" << true;
    QTest::newRow("Leon") << "Leon" << false;
    QTest::newRow("Nandu") << "Nandu" << false;
    QTest::newRow("upper-case A") << "MANZANA" << false;
    QTest::newRow("ends in d only") << "Red" << false;
}

void TestLetrasWidget::gender()
{
    QFETCH(QString, word);
    QFETCH(bool, feminine);
    QCOMPARE(LetrasWidget::isFeminine(word), feminine);
}

void TestLetrasWidget::presentSounds()
{
    QSignalSpy suggestions(m_w.get(), &LetrasWidget::sugerencia);
    m_w->setActivity(0, 0);
    QTRY_COMPARE(clips(), QStringList { "Te presento sonidos.ogg" });
    waitIdle();

    releaseLetter("B");
    QTRY_COMPARE(clips().mid(1),
        (QStringList { "Letras/B/Barco/letter_sound.ogg", "Letras/B/Barco/sound.ogg",
            "Letras/B/Barco/name.ogg" }));
    waitIdle();
    // The letter, then the picture, then the word appear.
    QCOMPARE(m_screens.mid(1), (QStringList { "B||", "B||picture", "B|Barco|picture" }));
    QCOMPARE(screen(), QStringLiteral("B|Barco|picture"));

    mark();
    releaseLetter("Ntilde");
    QTRY_COMPARE(clipsSinceMark(),
        (QStringList { "Letras/Ntilde/Nandu/letter_sound.ogg", "Letras/Ntilde/Nandu/sound.ogg",
            "Letras/Ntilde/Nandu/name.ogg" }));
    QCOMPARE(shown("letterLabel"), QStringLiteral("Ñ"));
    QTRY_COMPARE(shown("wordLabel"), QStringLiteral("Ñandú"));
    QCOMPARE(m_w->currentLetter(), QStringLiteral("Ntilde"));

    const QString title = LetrasWidget::activityTitle(0);
    QCOMPARE(suggestions.count(), 3);
    QCOMPARE(suggestions.at(0), (QVariantList { QString(), QString() }));
    QCOMPARE(suggestions.at(1), (QVariantList { title, QStringLiteral("B") }));
    QCOMPARE(suggestions.at(2), (QVariantList { title, QStringLiteral("Ntilde") }));
}

void TestLetrasWidget::presentWithSelection()
{
    m_w->setMofliAudio(0);
    m_w->slotSelectedLetters(QStringLiteral("BCD"));
    m_w->setActivity(0, 0);
    releaseLetter("A");
    QTRY_COMPARE(clips(), QStringList { "durmiendo.ogg" });
    waitIdle();
    QCOMPARE(shown("letterLabel"), QString());
    QVERIFY(!label("pictureLabel")->isVisibleTo(m_w.get()));

    releaseLetter("B");
    QTRY_COMPARE(clips().mid(1),
        (QStringList { "Letras/B/Barco/letter_sound.ogg", "Letras/B/Barco/sound.ogg",
            "Letras/B/Barco/name.ogg" }));
    QCOMPARE(shown("letterLabel"), QStringLiteral("B"));
}

void TestLetrasWidget::presentNames()
{
    m_w->setMofliAudio(0);
    m_w->setActivity(0, 3);
    releaseLetter("L");
    QTRY_COMPARE(clips(),
        (QStringList { "Letras/L/Leon/letter_name.ogg", "Letras/L/Leon/sound.ogg",
            "Letras/L/Leon/name.ogg" }));
    QCOMPARE(shown("letterLabel"), QStringLiteral("L"));
    QTRY_COMPARE(shown("wordLabel"), QStringLiteral("León"));
}

void TestLetrasWidget::presentNumbers()
{
    QSignalSpy suggestions(m_w.get(), &LetrasWidget::sugerencia);
    m_w->setMofliAudio(0);
    m_w->setActivity(0, 6);
    releaseLetter("3");
    QTRY_COMPARE(clips(),
        (QStringList { "Numeros/3/Gatos/letter_name.ogg", "Numeros/3/Gatos/sound.ogg",
            "Numeros/3/Gatos/name.ogg" }));
    QCOMPARE(shown("letterLabel"), QStringLiteral("3"));
    QTRY_COMPARE(shown("wordLabel"), QStringLiteral("Tres"));
    QVERIFY(label("pictureLabel")->isVisibleTo(m_w.get()));
    waitIdle();

    // "0" presents like any digit; a letter means nothing here.
    mark();
    releaseLetter("0");
    QTRY_COMPARE(clipsSinceMark(),
        (QStringList { "Numeros/0/Rosquilla/letter_name.ogg", "Numeros/0/Rosquilla/sound.ogg",
            "Numeros/0/Rosquilla/name.ogg" }));
    QTRY_COMPARE(shown("wordLabel"), QStringLiteral("Cero"));
    waitIdle();
    releaseLetter("A");
    QTRY_COMPARE(clips().last(), QStringLiteral("durmiendo.ogg"));
    // Only the activity change spoke to the side panel.
    QCOMPARE(suggestions.count(), 1);
}

void TestLetrasWidget::spellWordWithDigits()
{
    m_w->setMofliAudio(0);
    m_w->slotPhonemes(true);
    m_w->setActivity(0, 0);
    releaseLetter("Ntilde");
    QTRY_COMPARE(clips().size(), 3);
    waitIdle();

    // "Nandu": digit 2 is its first letter, 6 its last, 7 lies beyond it.
    mark();
    releaseLetter("2");
    releaseLetter("7");
    releaseLetter("6");
    QTRY_COMPARE(clipsSinceMark(), (QStringList { "letters/N.ogg", "letters/U.ogg" }));
    waitIdle();
    // Digits 1 … 9 leave the presentation on screen; 1 says the whole word.
    QCOMPARE(shown("letterLabel"), QStringLiteral("Ñ"));
    releaseLetter("1");
    QTRY_COMPARE(clipsSinceMark().last(), QStringLiteral("Letras/Ntilde/Nandu/name.ogg"));
    waitIdle();
    QCOMPARE(shown("wordLabel"), QStringLiteral("Ñandú"));
    // 0 hides it and says nothing; the next key proves nothing came between.
    releaseLetter("0");
    QCOMPARE(shown("letterLabel"), QString());
    release(Qt::Key_F5);
    QTRY_COMPARE(clipsSinceMark(),
        (QStringList {
            "letters/N.ogg", "letters/U.ogg", "Letras/Ntilde/Nandu/name.ogg", "durmiendo.ogg" }));
}

void TestLetrasWidget::digitKeys_data()
{
    QTest::addColumn<int>("activity");
    QTest::addColumn<bool>("sentences");
    QTest::addColumn<bool>("phonemes");
    QTest::addColumn<int>("digit");
    QTest::addColumn<QString>("clip"); // "" when the key says nothing

    QTest::newRow("3: no flag") << 3 << false << false << 1 << "durmiendo.ogg";
    QTest::newRow("3: sentence, 1") << 3 << true << false << 1 << "Letras/L/Leon/sentence.ogg";
    QTest::newRow("3: sentence, 2") << 3 << true << false << 2 << "Letras/L/Leon/sentence1.ogg";
    QTest::newRow("3: sentence, 9") << 3 << true << false << 9 << "Letras/L/Leon/sentence8.ogg";
    QTest::newRow("3: sentence, missing part") << 3 << true << false << 5 << "";
    QTest::newRow("3: sentence, 0") << 3 << true << false << 0 << "";
    QTest::newRow("3: phonemes only") << 3 << false << true << 2 << "";
    QTest::newRow("0: no flag") << 0 << false << false << 1 << "durmiendo.ogg";
    QTest::newRow("0: sentence only") << 0 << true << false << 1 << "";
    QTest::newRow("0: phonemes, 1") << 0 << false << true << 1 << "Letras/L/Leon/name.ogg";
    QTest::newRow("1: sentence") << 1 << true << false << 1 << "";
    QTest::newRow("1: no flag") << 1 << false << false << 1 << "durmiendo.ogg";
    QTest::newRow("2: phonemes") << 2 << false << true << 3 << "";
    QTest::newRow("4: no flag, 0") << 4 << false << false << 0 << "durmiendo.ogg";
}

// Digits outside the number activities, with and without the side panel's
// options; a key with no meaning afterwards marks the end.
void TestLetrasWidget::digitKeys()
{
    QFETCH(int, activity);
    QFETCH(bool, sentences);
    QFETCH(bool, phonemes);
    QFETCH(int, digit);
    QFETCH(QString, clip);

    m_w->setMofliAudio(0);
    m_w->setActivity(0, 3);
    releaseLetter("L");
    QTRY_COMPARE(clips().size(), 3);
    waitIdle();

    m_w->setActivity(0, activity);
    m_w->slotSentences(sentences);
    m_w->slotPhonemes(phonemes);
    mark();
    release(Qt::Key_0 + digit, QString::number(digit));
    waitIdle();
    release(Qt::Key_F5);
    QStringList expected;
    if (!clip.isEmpty())
        expected << clip;
    expected << "durmiendo.ogg";
    QTRY_COMPARE(clipsSinceMark(), expected);
    QCOMPARE(m_w->currentNumber(), QStringLiteral("none"));
}

void TestLetrasWidget::escapeTwice()
{
    QSignalSpy modes(m_w.get(), &LetrasWidget::signalKeyMenuMode);
    QSignalSpy menuKeys(m_w.get(), &LetrasWidget::signalSayMenu);
    m_w->setMofliAudio(0);
    m_w->setActivity(0, 0);
    releaseLetter("B");
    QTRY_COMPARE(clips().size(), 3);
    waitIdle();
    mark();

    release(Qt::Key_Escape);
    QTRY_COMPARE(clipsSinceMark(), QStringList { "Modo menu.ogg" });
    QVERIFY(m_w->keyMenuMode());
    waitIdle();
    // In key menu mode a letter only goes to the audible menu.
    releaseLetter("M");
    QCOMPARE(shown("letterLabel"), QStringLiteral("B"));
    release(Qt::Key_Escape);
    QTRY_COMPARE(clipsSinceMark(), (QStringList { "Modo menu.ogg", "Modo normal.ogg" }));
    QVERIFY(!m_w->keyMenuMode());

    QCOMPARE(modes.count(), 2);
    QCOMPARE(modes.at(0).at(0).toBool(), true);
    QCOMPARE(modes.at(1).at(0).toBool(), false);
    QCOMPARE(menuKeys.count(), 2);
    QCOMPARE(menuKeys.at(0).at(0).toInt(), int(Qt::Key_Escape));
    QCOMPARE(menuKeys.at(1).at(0).toInt(), int(Qt::Key_M));

    // The second Escape cleared the screen and the keys, without "durmiendo".
    QCOMPARE(shown("letterLabel"), QString());
    QCOMPARE(shown("wordLabel"), QString());
    QCOMPARE(m_w->currentLetter(), QStringLiteral("none"));
    QCOMPARE(m_w->currentNumber(), QStringLiteral("none"));
    waitIdle();
    release(Qt::Key_F5);
    QTRY_COMPARE(
        clipsSinceMark(), (QStringList { "Modo menu.ogg", "Modo normal.ogg", "durmiendo.ogg" }));

    // The activity area sets the mode without a word.
    m_w->slotSetKeyMenuMode(true);
    releaseLetter("B");
    QCOMPARE(menuKeys.count(), 3);
    QCOMPARE(modes.count(), 2);
    // Changing activity leaves key menu mode.
    m_w->setActivity(0, 0);
    QVERIFY(!m_w->keyMenuMode());
}

void TestLetrasWidget::keysThatMeanNothing_data()
{
    QTest::addColumn<int>("activity");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("autoRepeat");
    QTest::addColumn<bool>("sleeping");

    QTest::newRow("0: F5") << 0 << int(Qt::Key_F5) << "" << false << true;
    QTest::newRow("0: tab") << 0 << int(Qt::Key_Tab) << "\t" << false << true;
    QTest::newRow("3: comma") << 3 << int(Qt::Key_Comma) << "," << false << true;
    QTest::newRow("1: return") << 1 << int(Qt::Key_Return) << "\r" << false << true;
    QTest::newRow("0: Home") << 0 << int(Qt::Key_Home) << "" << false << false;
    QTest::newRow("6: letter") << 6 << int(Qt::Key_A) << "a" << false << true;
    QTest::newRow("7: letter") << 7 << int(Qt::Key_M) << "m" << false << true;
    QTest::newRow("6: Ñ") << 6 << int(Qt::Key_Ntilde) << QStringLiteral("\u00f1") << false << true;
    // A held key repeats its release: only the real release counts.
    QTest::newRow("0: held letter") << 0 << int(Qt::Key_B) << "b" << true << false;
    QTest::newRow("7: held digit") << 7 << int(Qt::Key_3) << "3" << true << false;
}

void TestLetrasWidget::keysThatMeanNothing()
{
    QFETCH(int, activity);
    QFETCH(int, key);
    QFETCH(QString, text);
    QFETCH(bool, autoRepeat);
    QFETCH(bool, sleeping);

    // In "Numeros escondidos" a number is asked first: a letter is still no answer.
    m_w->setMofliAudio(activity == 7 ? 2 : 0);
    start(activity, 11);
    QTRY_COMPARE(clips().size(), activity == 7 ? 2 : 0);
    waitIdle();
    mark();
    QKeyEvent event(QEvent::KeyRelease, key, Qt::NoModifier, text, autoRepeat);
    QCoreApplication::sendEvent(m_w.get(), &event);
    waitIdle();
    QCOMPARE(clipsSinceMark(), sleeping ? QStringList { "durmiendo.ogg" } : QStringList());
    if (activity == 7) {
        for (const Score *record : m_w->scoreSet(7)->scores())
            QCOMPARE(record->total(), 0);
    }
}

void TestLetrasWidget::instructionAndMascot_data()
{
    QTest::addColumn<int>("activity");
    QTest::addColumn<QString>("instruction");
    QTest::newRow("0") << 0 << "Te presento sonidos.ogg";
    QTest::newRow("3") << 3 << "Te presento nombres.ogg";
    QTest::newRow("6") << 6 << "Te presento numeros.ogg";
    QTest::newRow("1") << 1 << "Como suena.ogg";
    QTest::newRow("7") << 7 << "Numeros escondidos.ogg";
}

// With the mascot's voice off nothing is said and no question is asked;
// with it on, the instruction comes first and the question after it.
void TestLetrasWidget::instructionAndMascot()
{
    QFETCH(int, activity);
    QFETCH(QString, instruction);

    m_w->setMofliAudio(0);
    m_w->setActivity(0, activity);
    release(Qt::Key_F5);
    QTRY_COMPARE(clips(), QStringList { "durmiendo.ogg" });
    waitIdle();
    QVERIFY(m_w->targetWord().isEmpty());

    m_w->setMofliAudio(2);
    mark();
    m_w->setActivity(0, activity);
    QTRY_COMPARE(clipsSinceMark().value(0), instruction);
    waitIdle();
    const bool asks = activity == 1 || activity == 7;
    QCOMPARE(clipsSinceMark().size(), asks ? 3 - (activity == 7 ? 1 : 0) : 1);
}

void TestLetrasWidget::otherGroupLeavesWidgetIdle()
{
    m_w->setMofliAudio(0);
    m_w->setActivity(0, 0);
    releaseLetter("B");
    QTRY_COMPARE(clips().size(), 3);
    waitIdle();
    m_w->setMofliAudio(2);
    m_w->setActivity(1, 1);
    QCOMPARE(shown("letterLabel"), QString());
    QVERIFY(!label("pictureLabel")->isVisibleTo(m_w.get()));
    releaseLetter("B");
    m_w->slotPickLetter();
    m_w->slotLastInstruction();
    waitIdle();
    QCOMPARE(clips().size(), 3);
}

// "Z" has a folder but no word: the letter is still shown and its letter
// clip said; nothing is counted for a word that does not exist.
void TestLetrasWidget::letterWithoutWords()
{
    m_w->setMofliAudio(0);
    m_w->setActivity(0, 0);
    releaseLetter("Z");
    QTRY_COMPARE(clips(), (QStringList { "letters/Z.ogg", empty, empty }));
    QTRY_COMPARE(shown("letterLabel"), QStringLiteral("Z"));
    QCOMPARE(m_w->currentWord(), QString());
    waitIdle();

    m_w->setMofliAudio(2);
    mark();
    Draws draws(9);
    start(1, 9, QStringLiteral("Z"));
    draws.letterIn("Z");
    QTRY_COMPARE(clipsSinceMark(), (QStringList { "Como suena.ogg", empty, "letters/Z.ogg" }));
    waitIdle();
    mark();
    releaseLetter("Z");
    const QString expectedPraise = draws.praise();
    QTRY_COMPARE(clipsSinceMark().mid(0, 6),
        (QStringList { expectedPraise, "encontraste el sonido.ogg", "letters/Z.ogg", "de.ogg",
            empty, empty }));
    waitIdle();
    // No word: an empty picture and an empty word with the letter.
    QCOMPARE(screensSinceMark().mid(0, 6),
        (QStringList { "||", "||", "Z||", "Z||", "Z||empty", "Z||empty" }));
    QCOMPARE(m_w->scoreSet(1)->score(QStringLiteral("Z"))->total(), 0);
}

void TestLetrasWidget::digitWithoutWords()
{
    m_w->setMofliAudio(0);
    m_w->setActivity(0, 6);
    releaseLetter("9");
    QTRY_COMPARE(clips(), (QStringList { "letters/9.ogg", empty, empty }));
    QCOMPARE(shown("letterLabel"), QStringLiteral("9"));
    QTRY_COMPARE(shown("wordLabel"), QStringLiteral("Nueve"));
}

void TestLetrasWidget::numberNameOfOlderTrees_data()
{
    ActivityFixture::nameClipRows();
}

// A number folder holding only one of the two name clips is heard, both when
// the number is presented and when it is asked.
void TestLetrasWidget::numberNameOfOlderTrees()
{
    QFETCH(QString, file);
    const ActivityFixture::OnlyNameClip only(
        m_tree.get(), "media/languages/" + language + "/Numeros/8/Pulpo", file);
    const QString heard = "Numeros/8/Pulpo/" + file;

    m_w->setMofliAudio(0);
    m_w->setActivity(0, 6);
    releaseLetter("8");
    QTRY_COMPARE(clips().value(0), heard);
    waitIdle();

    mark();
    m_w->setMofliAudio(2);
    start(7, seedForFirstDigit("8"));
    QTRY_COMPARE(clipsSinceMark(), (QStringList { "Numeros escondidos.ogg", heard }));
}

void TestLetrasWidget::oneShotPlayersReleased()
{
    const int players = int(m_w->findChildren<AudioThread *>().size());
    start(1, 12, QStringLiteral("B"));
    QTRY_COMPARE(clips().size(), 3);
    waitIdle();
    for (int i = 0; i < 5; ++i) {
        releaseLetter("C");
        waitIdle();
    }
    releaseLetter("B"); // the last word is said on a one-shot player
    m_w->slotSayMenuMode(true);
    waitIdle();
    QTRY_COMPARE(int(m_w->findChildren<AudioThread *>().size()), players);
}

void TestLetrasWidget::scoresReadBackAfterWrite()
{
    m_w->slotSetCurrentUserName(QStringLiteral("Ana"));
    m_w->slotReadScores();
    m_w->scoreSet(1)->setScore(QStringLiteral("\u00d1"), 4, 6, 3);
    m_w->scoreSet(2)->setScore(QStringLiteral("B"), 1, 1, 1);
    m_w->scoreSet(4)->setScore(QStringLiteral("Z"), 0, 2, 0);
    m_w->scoreSet(5)->setScore(QStringLiteral("M"), 7, 9, 2);
    m_w->scoreSet(7)->setScore(QStringLiteral("0"), 5, 5, 5);
    m_w->slotWriteScores();

    LetrasWidget other;
    other.slotSetCurrentUserName(QStringLiteral("Ana"));
    other.slotReadScores();
    auto counters = [](const Score *s) {
        return QList<int> { s->corrects(), s->total(), s->consecutive() };
    };
    QCOMPARE(
        counters(other.scoreSet(1)->score(QStringLiteral("\u00d1"))), (QList<int> { 4, 6, 3 }));
    QCOMPARE(counters(other.scoreSet(2)->score(QStringLiteral("B"))), (QList<int> { 1, 1, 1 }));
    QCOMPARE(counters(other.scoreSet(4)->score(QStringLiteral("Z"))), (QList<int> { 0, 2, 0 }));
    QCOMPARE(counters(other.scoreSet(5)->score(QStringLiteral("M"))), (QList<int> { 7, 9, 2 }));
    QCOMPARE(counters(other.scoreSet(7)->score(QStringLiteral("0"))), (QList<int> { 5, 5, 5 }));
    QCOMPARE(counters(other.scoreSet(1)->score(QStringLiteral("A"))), (QList<int> { 0, 0, 0 }));

    // The file holds the five sets in report order, each with its objects.
    QFile file(MediaPaths::dataFile(QStringLiteral("scores.xml")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QDomDocument doc;
    QVERIFY(doc.setContent(&file));
    const QDomElement ana = doc.documentElement().firstChildElement(QStringLiteral("Ana"));
    QCOMPARE(ana.attribute(QStringLiteral("type")), QStringLiteral("Letters and Numbers"));
    QStringList names;
    QList<int> counts;
    for (QDomElement a = ana.firstChildElement(); !a.isNull(); a = a.nextSiblingElement()) {
        names << a.attribute(QStringLiteral("name"));
        counts << int(a.elementsByTagName(QStringLiteral("Score")).size());
    }
    QCOMPARE(names,
        (QStringList { "Como Suena", "Como Empieza", "Letras Escondidas", "Objetos Escondidos",
            "Numeros Escondidos" }));
    QCOMPARE(counts, (QList<int> { 27, 27, 27, 27, 10 }));

    // Another learner starts from zero, even after Ana was loaded.
    other.slotSetCurrentUserName(QStringLiteral("Beto"));
    other.slotReadScores();
    QCOMPARE(counters(other.scoreSet(5)->score(QStringLiteral("M"))), (QList<int> { 0, 0, 0 }));
}

void TestLetrasWidget::scoresKeepOtherLearnersAndTypes()
{
    const QByteArray before
        = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Scores>\n"
          " <Ana type=\"Braille\">\n  <Activity name=\"Puntos Escondidos Cajetin\"/>\n </Ana>\n"
          " <Ana type=\"Letters and Numbers\">\n  <Activity name=\"Como Suena\">\n"
          "   <Score Object=\"A\" Corrects=\"2\" Total=\"3\" Consecutive=\"1\"/>\n"
          "  </Activity>\n </Ana>\n"
          " <Beto type=\"Letters and Numbers\">\n  <Activity name=\"Como Suena\">\n"
          "   <Score Object=\"B\" Corrects=\"1\" Total=\"1\" Consecutive=\"1\"/>\n"
          "  </Activity>\n </Beto>\n</Scores>\n";
    m_tree->addFile(QStringLiteral("data/scores.xml"), before);

    m_w->slotSetCurrentUserName(QStringLiteral("Ana"));
    m_w->slotReadScores();
    QCOMPARE(m_w->scoreSet(1)->score(QStringLiteral("A"))->corrects(), 2);
    m_w->scoreSet(1)->recordCorrect(QStringLiteral("A"));
    m_w->slotWriteScores();

    QFile file(MediaPaths::dataFile(QStringLiteral("scores.xml")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QDomDocument doc;
    QVERIFY(doc.setContent(&file));
    QStringList elements;
    for (QDomElement e = doc.documentElement().firstChildElement(); !e.isNull();
         e = e.nextSiblingElement())
        elements << e.tagName() + QLatin1Char('/') + e.attribute(QStringLiteral("type"));
    // Ana's letters element was replaced and moved to the end.
    QCOMPARE(elements,
        (QStringList { "Ana/Braille", "Beto/Letters and Numbers", "Ana/Letters and Numbers" }));

    LetrasWidget beto;
    beto.slotSetCurrentUserName(QStringLiteral("Beto"));
    beto.slotReadScores();
    QCOMPARE(beto.scoreSet(1)->score(QStringLiteral("B"))->corrects(), 1);
    LetrasWidget ana;
    ana.slotSetCurrentUserName(QStringLiteral("Ana"));
    ana.slotReadScores();
    QCOMPARE(ana.scoreSet(1)->score(QStringLiteral("A"))->corrects(), 3);
}

void TestLetrasWidget::reportsInSetOrder()
{
    m_w->scoreSet(7)->setScore(QStringLiteral("3"), 1, 2, 1);
    const QString html = m_w->scoreToHTML();
    const QString text = m_w->scoreToExcel();
    const QList<ScoreManager *> order = { m_w->scoreSet(1), m_w->scoreSet(2), m_w->scoreSet(4),
        m_w->scoreSet(5), m_w->scoreSet(7) };
    QString expectedHtml;
    QString expectedText;
    for (ScoreManager *set : order) {
        expectedHtml += set->toHtml();
        expectedText += set->toText();
    }
    QCOMPARE(html, expectedHtml);
    QCOMPARE(text, expectedText);
    int last = -1;
    for (const char *name : { "Como Suena", "Como Empieza", "Letras Escondidas",
             "Objetos Escondidos", "Numeros Escondidos" }) {
        const int at = int(text.indexOf(QLatin1String(name)));
        QVERIFY2(at > last, name);
        last = at;
    }
}

QTEST_MAIN(TestLetrasWidget)
#include "tst_letraswidget.moc"
