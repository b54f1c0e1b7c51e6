#include "LettersTestCase.h"
#include "audio/AudioThread.h"
#include "users/Score.h"
#include "users/ScoreManager.h"

#include <QDomDocument>
#include <QFile>
#include <QLabel>
#include <QSignalSpy>
#include <QtTest>

using namespace LettersFixture;

// The guessing activities: questions, judging, feedback and turns.
class TestLetrasWidgetTurns : public LettersTestCase
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { setUpTree(); }
    void init() { setUpWidget(); }
    void cleanup() { tearDownWidget(); }

    void comoSuenaRightAndWrong();
    void comoEmpiezaRightAndWrong();
    void letrasEscondidasWithNtildeOnly();
    void objetosEscondidosArticles_data();
    void objetosEscondidosArticles();
    void numerosEscondidosRightAndWrong();

    void turnDelayIsThreeSeconds();
    void vowelSelection();
    void learnedLetterRule();
    void lastInstruction();
    void leavingActivityMidSequence();

    void keyBeforeFirstTarget_data();
    void keyBeforeFirstTarget();
    void noTargetRecordsNothing();
};

void TestLetrasWidgetTurns::comoSuenaRightAndWrong()
{
    QSignalSpy suggestions(m_w.get(), &LetrasWidget::sugerencia);
    Draws draws(5);
    start(1, 5, QStringLiteral("M"));
    QCOMPARE(draws.letterIn("M"), QStringLiteral("M"));
    draws.wordOf("M");
    QTRY_COMPARE(
        clips(), (QStringList { "Como suena.ogg", empty, "Letras/M/Manzana/letter_sound.ogg" }));
    waitIdle();
    QCOMPARE(m_w->targetLetter(), QStringLiteral("M"));

    // N lies left of M on its row: the way to M is to the right.
    mark();
    releaseLetter("N");
    const QString expectedEncouragement = draws.encouragement();
    QTRY_COMPARE(clipsSinceMark(), (QStringList { expectedEncouragement, "derecha.ogg" }));
    waitIdle();
    QCOMPARE(shown("letterLabel"), QString());

    mark();
    releaseLetter("M");
    const QString praise = draws.praise();
    draws.wordOf(draws.letterIn("M"));
    QTRY_COMPARE(clipsSinceMark(),
        (QStringList { praise, "encontraste el sonido.ogg", "Letras/M/Manzana/letter_sound.ogg",
            "de.ogg", empty, "Letras/M/Manzana/name.ogg",
            // the next turn
            empty, "Letras/M/Manzana/letter_sound.ogg" }));
    waitIdle();
    QCOMPARE(screensSinceMark(),
        (QStringList { "||", "||", "M||", "M||", "M||picture", "M|Manzana|picture",
            "M|Manzana|picture", "||" }));

    const Score *m = m_w->scoreSet(1)->score(QStringLiteral("M"));
    QCOMPARE(m->corrects(), 1);
    QCOMPARE(m->total(), 2);
    QCOMPARE(m->consecutive(), 1);
    const QString title = LetrasWidget::activityTitle(1);
    QCOMPARE(suggestions.last(), (QVariantList { title, QStringLiteral("M") }));
    QCOMPARE(suggestions.count(), 4); // activity change, two keys judged, the right one
}

void TestLetrasWidgetTurns::comoEmpiezaRightAndWrong()
{
    Draws draws(8);
    start(2, 8, QStringLiteral("B"));
    draws.wordOf(draws.letterIn("B"));
    QTRY_COMPARE(clips(),
        (QStringList {
            "Como empieza.ogg", "el sonido con que empieza.ogg", "Letras/B/Barco/name.ogg" }));
    waitIdle();

    // G lies on the row above B.
    mark();
    releaseLetter("G");
    const QString expectedEncouragement = draws.encouragement();
    QTRY_COMPARE(clipsSinceMark(), (QStringList { expectedEncouragement, "abajo.ogg" }));
    waitIdle();

    mark();
    releaseLetter("B");
    // A right answer leads straight on to the next question.
    const QString expectedPraise = draws.praise();
    QTRY_COMPARE(clipsSinceMark(),
        (QStringList { expectedPraise, "esta palabra empieza con.ogg",
            "Letras/B/Barco/letter_sound.ogg", "el sonido con que empieza.ogg",
            "Letras/B/Barco/name.ogg" }));
    waitIdle();
    // Neither the picture nor the word is shown.
    QCOMPARE(screensSinceMark(), (QStringList { "||", "||", "B||", "B||", "||" }));
    QCOMPARE(m_w->scoreSet(2)->score(QStringLiteral("B"))->corrects(), 1);
    QCOMPARE(m_w->scoreSet(2)->score(QStringLiteral("B"))->total(), 2);
    QCOMPARE(m_w->scoreSet(1)->score(QStringLiteral("B"))->total(), 0);
}

void TestLetrasWidgetTurns::letrasEscondidasWithNtildeOnly()
{
    Draws draws(21);
    start(4, 21, QStringLiteral("\u00d1"));
    draws.wordOf(draws.letterIn(QStringLiteral("\u00d1")));
    const QStringList question = { "escondido en la letra.ogg",
        "Letras/Ntilde/Nandu/letter_name.ogg", "de.ogg", "Letras/Ntilde/Nandu/name.ogg" };
    QTRY_COMPARE(clips(), QStringList { "Letras escondidas.ogg" } + question);
    waitIdle();

    // L is left of Ñ: the way is to the right; the wrong answer counts for Ñ.
    mark();
    releaseLetter("L");
    const QString expectedEncouragement = draws.encouragement();
    QTRY_COMPARE(clipsSinceMark(), (QStringList { expectedEncouragement, "derecha.ogg" }));
    waitIdle();
    QCOMPARE(m_w->scoreSet(4)->score(QStringLiteral("\u00d1"))->total(), 1);

    mark();
    releaseLetter("Ntilde");
    const QString praise = draws.praise();
    QTRY_COMPARE(clipsSinceMark(),
        (QStringList { praise, empty, "Letras/Ntilde/Nandu/letter_name.ogg",
             "Letras/Ntilde/Nandu/sound.ogg", "Letras/Ntilde/Nandu/name.ogg" }
            + question));
    waitIdle();
    QCOMPARE(screensSinceMark(),
        (QStringList { "||", "||", QStringLiteral("Ñ||"), QStringLiteral("Ñ||picture"),
            QStringLiteral("Ñ|Ñandú|picture"), QStringLiteral("Ñ|Ñandú|picture"), "||", "||",
            "||" }));
    const Score *n = m_w->scoreSet(4)->score(QStringLiteral("\u00d1"));
    QCOMPARE(n->corrects(), 1);
    QCOMPARE(n->total(), 2);

    // Every turn asks for Ñ.
    for (int turn = 0; turn < 5; ++turn) {
        m_w->slotPickLetter();
        QCOMPARE(m_w->targetLetter(), QStringLiteral("Ntilde"));
        waitIdle();
    }
}

void TestLetrasWidgetTurns::objetosEscondidosArticles_data()
{
    QTest::addColumn<QString>("letter");
    QTest::addColumn<QString>("article");
    QTest::addColumn<QString>("hidden");
    QTest::addColumn<QString>("found");
    QTest::addColumn<QString>("shownWord");

    QTest::newRow("Manzana") << "M"
                             << "la.ogg"
                             << "escondido en la.ogg"
                             << "encontraste a la.ogg"
                             << "Manzana";
    QTest::newRow("Ciudad") << "C"
                            << "la.ogg"
                            << "escondido en la.ogg"
                            << "encontraste a la.ogg"
                            << "Ciudad";
    QTest::newRow("Leon") << "L"
                          << "el.ogg"
                          << "escondido en el.ogg"
                          << "encontraste a.ogg" << QStringLiteral("León");
    QTest::newRow("Nandu") << "Ntilde"
                           << "el.ogg"
                           << "escondido en el.ogg"
                           << "encontraste a.ogg" << QStringLiteral("Ñandú");
}

void TestLetrasWidgetTurns::objetosEscondidosArticles()
{
    QFETCH(QString, letter);
    QFETCH(QString, article);
    QFETCH(QString, hidden);
    QFETCH(QString, found);
    QFETCH(QString, shownWord);

    const QString selection = MediaPaths::letterDisplay(letter);
    const QString word = QStringLiteral("Letras/") + letter + QLatin1Char('/')
        + wordOf(letterWords, letter) + QLatin1Char('/');
    Draws draws(3);
    start(5, 3, selection);
    draws.wordOf(draws.letterIn(selection));
    const QStringList question = { article, word + "name.ogg", hidden };
    QTRY_COMPARE(clips(), QStringList { "Objetos escondidos.ogg" } + question);
    waitIdle();

    mark();
    releaseLetter(letter == QLatin1String("B") ? "C" : "B");
    const QString encouragement = draws.encouragement();
    QTRY_COMPARE(clipsSinceMark().value(0), encouragement);
    waitIdle();

    mark();
    releaseLetter(letter);
    const QString expectedPraise = draws.praise();
    QTRY_COMPARE(clipsSinceMark(),
        (QStringList { expectedPraise, found, word + "name.ogg", "que vive en.ogg",
             word + "letter_name.ogg", word + "sound.ogg", word + "name.ogg" }
            + question));
    waitIdle();
    // The picture with the word's sound, then the letter it lives in, then the word.
    const QString l = MediaPaths::letterDisplay(letter);
    QCOMPARE(screensSinceMark(),
        (QStringList { "||", "||", "||picture", "||picture", l + "||picture", l + "||picture",
            l + "|" + shownWord + "|picture", l + "|" + shownWord + "|picture", "||", "||" }));
    const Score *record = m_w->scoreSet(5)->score(selection);
    QCOMPARE(record->corrects(), 1);
    QCOMPARE(record->total(), 2);
}

void TestLetrasWidgetTurns::numerosEscondidosRightAndWrong()
{
    // "0" lies right of "9" on the digit row: a child who presses "1"
    // when "0" is asked hears "derecha".
    const unsigned int seed = seedForFirstDigit("0");
    Draws draws(seed);
    start(7, seed);
    QCOMPARE(draws.digit(), QStringLiteral("0"));
    draws.wordOf("0");
    QTRY_COMPARE(
        clips(), (QStringList { "Numeros escondidos.ogg", "Numeros/0/Rosquilla/letter_name.ogg" }));
    waitIdle();

    mark();
    releaseLetter("1");
    const QString expectedEncouragement = draws.encouragement();
    QTRY_COMPARE(clipsSinceMark(), (QStringList { expectedEncouragement, "derecha.ogg" }));
    waitIdle();
    // A letter is no answer and counts nothing.
    releaseLetter("B");
    waitIdle();

    mark();
    releaseLetter("0");
    const QString praise = draws.praise();
    const QString next = draws.digit();
    draws.wordOf(next);
    const QString nextWord = wordOf(numberWords, next);
    const QString nextName = nextWord.isEmpty()
        ? QStringLiteral("letters/") + next + QStringLiteral(".ogg")
        : QStringLiteral("Numeros/") + next + QLatin1Char('/') + nextWord
            + QStringLiteral("/letter_name.ogg");
    QTRY_COMPARE(clipsSinceMark(),
        (QStringList { praise, empty, "Numeros/0/Rosquilla/letter_name.ogg", nextName }));
    waitIdle();
    QCOMPARE(screensSinceMark(), (QStringList { "||", "||", "0||", "0||" }));
    QCOMPARE(screen(), QStringLiteral("||"));
    QCOMPARE(m_w->targetNumber(), next);
    const Score *zero = m_w->scoreSet(7)->score(QStringLiteral("0"));
    QCOMPARE(zero->corrects(), 1);
    QCOMPARE(zero->total(), 2);
    QCOMPARE(m_w->scoreSet(7)->score(QStringLiteral("1"))->total(), 0);
}

// The one test that waits for the real pause between turns.
void TestLetrasWidgetTurns::turnDelayIsThreeSeconds()
{
    m_w->setTurnDelayForTesting(3000);
    const unsigned int seed = seedForFirstDigit("4");
    start(7, seed);
    QTRY_COMPARE(clips().size(), 2);
    waitIdle();
    mark();
    releaseLetter("4");
    QTRY_COMPARE(clipsSinceMark().size(), 3);
    QCOMPARE(clipsSinceMark().last(), QStringLiteral("Numeros/4/Patas/letter_name.ogg"));
    QCOMPARE(shown("letterLabel"), QStringLiteral("4"));
    QTRY_COMPARE_WITH_TIMEOUT(clipsSinceMark().size(), 4, 6000);
    // From the number's name to the next question.
    const qint64 pause = m_requestTimes.at(m_mark + 3) - m_requestTimes.at(m_mark + 2);
    QVERIFY2(pause >= 3000 && pause < 3500, qPrintable(QString::number(pause)));
    QCOMPARE(shown("letterLabel"), QString());
}

// With a selection the learned-letter rule does not apply: every turn asks
// for the first selected letter drawn, learned or not.
void TestLetrasWidgetTurns::vowelSelection()
{
    for (const QString &letter : MediaPaths::alphabet())
        m_w->scoreSet(1)->setScore(MediaPaths::letterDisplay(letter), 3, 3, 3);
    m_w->setMofliAudio(0);
    Draws draws(17);
    m_w->seedRandomForTesting(17);
    m_w->slotSelectedLetters(QStringLiteral("AEIOU"));
    m_w->setActivity(0, 1);
    for (int turn = 0; turn < 12; ++turn) {
        m_w->slotPickLetter();
        const QString expected = draws.letterIn(QStringLiteral("AEIOU"));
        draws.wordOf(expected);
        QCOMPARE(m_w->targetLetter(), expected);
        waitIdle();
    }
}

// Every letter learned: each is passed over four times and asked on the
// fifth draw that hits it; the counters start again after it is asked and
// when the learner changes.
void TestLetrasWidgetTurns::learnedLetterRule()
{
    for (const QString &letter : MediaPaths::alphabet())
        m_w->scoreSet(1)->setScore(MediaPaths::letterDisplay(letter), 3, 3, 3);
    m_w->setMofliAudio(0);
    m_w->setActivity(0, 1);
    Draws draws(29);
    m_w->seedRandomForTesting(29);

    QHash<QString, int> hits;
    QString asked;
    // A letter passed over is not a question: the one asked before stays the
    // one never asked twice in a row.
    auto expectedTurn = [&]() {
        for (;;) {
            draws.asked(asked);
            const QString letter = draws.letter();
            if (++hits[letter] == 5) {
                hits[letter] = 0;
                draws.wordOf(letter);
                return asked = letter;
            }
        }
    };
    for (int turn = 0; turn < 4; ++turn) {
        m_w->slotPickLetter();
        QCOMPARE(m_w->targetLetter(), expectedTurn());
        waitIdle();
    }

    // A letter that is not learned is asked at once.
    m_w->slotSetCurrentUserName(QStringLiteral("Ana"));
    hits.clear();
    draws.asked(asked);
    const QString first = asked = draws.letter();
    m_w->scoreSet(1)->setScore(MediaPaths::letterDisplay(first), 2, 3, 2);
    draws.wordOf(first);
    m_w->slotPickLetter();
    QCOMPARE(m_w->targetLetter(), first);
    waitIdle();

    // Counters were reset by the change of learner.
    m_w->scoreSet(1)->setScore(MediaPaths::letterDisplay(first), 3, 3, 3);
    m_w->slotPickLetter();
    QCOMPARE(m_w->targetLetter(), expectedTurn());
}

void TestLetrasWidgetTurns::lastInstruction()
{
    // Activity 4: the question again, from its first clip.
    start(4, 4, QStringLiteral("L"));
    const QStringList question = { "escondido en la letra.ogg", "Letras/L/Leon/letter_name.ogg",
        "de.ogg", "Letras/L/Leon/name.ogg" };
    QTRY_COMPARE(clips(), QStringList { "Letras escondidas.ogg" } + question);
    waitIdle();
    mark();
    m_w->slotLastInstruction();
    QTRY_COMPARE(clipsSinceMark(), question);
    waitIdle();

    // Activity 3: its instruction.
    m_w->setMofliAudio(0);
    m_w->setActivity(0, 3);
    mark();
    m_w->slotLastInstruction();
    QTRY_COMPARE(clipsSinceMark(), QStringList { "Te presento nombres.ogg" });
    waitIdle();

    // Activity 6 has no question of its own: its instruction, not the number
    // of the last turn of 7.
    const unsigned int seed = seedForFirstDigit("2");
    m_w->setMofliAudio(2);
    start(7, seed);
    QTRY_COMPARE(clipsSinceMark().size(), 3);
    waitIdle();
    m_w->setMofliAudio(0);
    m_w->setActivity(0, 6);
    mark();
    m_w->slotLastInstruction();
    QTRY_COMPARE(clipsSinceMark(), QStringList { "Te presento numeros.ogg" });
}

// Changing activity ends the old activity's sequence: of it only the
// answer remains, counted where it was given.
void TestLetrasWidgetTurns::leavingActivityMidSequence()
{
    Draws draws(6);
    start(1, 6, QStringLiteral("M"));
    draws.wordOf(draws.letterIn("M"));
    QTRY_COMPARE(clips().size(), 3);
    waitIdle();
    mark();
    releaseLetter("M");
    m_w->setMofliAudio(0);
    m_w->setActivity(0, 2);
    waitIdle();
    QCOMPARE(clipsSinceMark(), QStringList { draws.praise() });
    QCOMPARE(m_w->scoreSet(1)->score(QStringLiteral("M"))->corrects(), 1);
    QCOMPARE(m_w->scoreSet(2)->score(QStringLiteral("M"))->total(), 0);
}

void TestLetrasWidgetTurns::keyBeforeFirstTarget_data()
{
    QTest::addColumn<int>("previous");
    QTest::addColumn<int>("activity");
    QTest::addColumn<QString>("key");
    QTest::newRow("1 after 7") << 7 << 1 << "A";
    QTest::newRow("2 after 1") << 1 << 2 << "B";
    QTest::newRow("4 after 5") << 5 << 4 << "Ntilde";
    QTest::newRow("5 after 4") << 4 << 5 << "M";
    QTest::newRow("7 after 1") << 1 << 7 << "3";
}

// No question has been asked in this activity yet: the key means nothing,
// also when another activity asked something before.
void TestLetrasWidgetTurns::keyBeforeFirstTarget()
{
    QFETCH(int, previous);
    QFETCH(int, activity);
    QFETCH(QString, key);

    start(previous, 2);
    QTRY_VERIFY(clips().size() >= 2);
    waitIdle();
    m_w->setMofliAudio(0);
    m_w->setActivity(0, activity);
    mark();
    releaseLetter(key);
    QTRY_COMPARE(clipsSinceMark(), QStringList { "durmiendo.ogg" });
    for (int a : { 1, 2, 4, 5, 7 }) {
        for (const Score *record : m_w->scoreSet(a)->scores())
            QCOMPARE(record->total(), 0);
    }
}

// Judged with nothing asked yet (the feedback slots called on their own):
// the answer is spoken to but counted nowhere.
void TestLetrasWidgetTurns::noTargetRecordsNothing()
{
    m_w->setMofliAudio(0);
    for (int activity : { 1, 7 }) {
        m_w->setActivity(0, activity);
        mark();
        m_w->slotWrong();
        QTRY_COMPARE(clipsSinceMark().size(), 1);
        waitIdle();
        m_w->slotCorrect();
        for (const Score *record : m_w->scoreSet(activity)->scores())
            QCOMPARE(record->total(), 0);
        waitIdle();
    }
}

QTEST_MAIN(TestLetrasWidgetTurns)
#include "tst_letraswidgetturns.moc"
