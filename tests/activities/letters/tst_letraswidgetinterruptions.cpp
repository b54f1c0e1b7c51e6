#include "LettersTestCase.h"
#include "users/Score.h"
#include "users/ScoreManager.h"

#include <QtTest>

using namespace LettersFixture;

// A child does not wait for the program to stop talking. Played at the real
// pace, every clip a 300 ms tone, so keys and activity changes land while
// questions, praise and instructions are sounding.
class TestLetrasWidgetInterruptions : public LettersTestCase
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { setUpTree(QStringLiteral("tone-300ms.ogg")); }
    void init() { setUpWidget(); }
    void cleanup() { tearDownWidget(); }

    void rightKeyPressedTwice_data();
    void rightKeyPressedTwice();
    void wrongKeyDuringQuestion_data();
    void wrongKeyDuringQuestion();
    void activityChangeDuringInstruction_data();
    void activityChangeDuringInstruction();
    void meaninglessKeysDuringInstruction_data();
    void meaninglessKeysDuringInstruction();
    void activityChangeDuringTurn_data();
    void activityChangeDuringTurn();
    void menuModeMidSentence_data();
    void menuModeMidSentence();

private:
    // Waits until clip has started to sound for the n-th time.
    void waitStarted(const QString &clip, int n = 1)
    {
        QTRY_VERIFY_WITH_TIMEOUT(startedClips().count(clip) >= n, 5000);
    }
};

const QString question = QStringLiteral("Letras/M/Manzana/letter_sound.ogg");

void TestLetrasWidgetInterruptions::rightKeyPressedTwice_data()
{
    QTest::addColumn<QString>("secondPressDuring");
    QTest::newRow("the question") << QString();
    QTest::newRow("the praise") << QStringLiteral("praise");
    QTest::newRow("the feedback") << QStringLiteral("encontraste el sonido.ogg");
    QTest::newRow("the word") << QStringLiteral("de.ogg");
}

// One right answer, one feedback, one next question, whenever the key comes
// again.
void TestLetrasWidgetInterruptions::rightKeyPressedTwice()
{
    QFETCH(QString, secondPressDuring);
    Draws draws(5);
    start(1, 5, QStringLiteral("M"));
    draws.wordOf(draws.letterIn("M"));
    waitStarted(question);
    mark();
    releaseLetter("M");
    const QString praise = draws.praise();
    if (!secondPressDuring.isEmpty())
        waitStarted(secondPressDuring == QLatin1String("praise") ? praise : secondPressDuring);
    releaseLetter("M");
    waitStarted(question, 2);
    waitIdle();
    QCOMPARE(clipsSinceMark(),
        (QStringList { praise, "encontraste el sonido.ogg", question, "de.ogg", empty,
            "Letras/M/Manzana/name.ogg", empty, question }));
    const Score *m = m_w->scoreSet(1)->score(QStringLiteral("M"));
    QCOMPARE(m->corrects(), 1);
    QCOMPARE(m->total(), 1);
}

void TestLetrasWidgetInterruptions::wrongKeyDuringQuestion_data()
{
    QTest::addColumn<int>("presses");
    QTest::newRow("once") << 1;
    QTest::newRow("twice in a row") << 2;
}

// The rest of the question gives way to the feedback, and the direction to
// the right key is heard.
void TestLetrasWidgetInterruptions::wrongKeyDuringQuestion()
{
    QFETCH(int, presses);
    Draws draws(5);
    start(4, 5, QStringLiteral("M"));
    draws.wordOf(draws.letterIn("M"));
    waitStarted(QStringLiteral("Letras/M/Manzana/letter_name.ogg"));
    mark();
    QStringList expected;
    for (int i = 0; i < presses; ++i) {
        releaseLetter("N");
        expected << draws.encouragement();
    }
    expected << QStringLiteral("derecha.ogg");
    waitStarted(QStringLiteral("derecha.ogg"));
    waitIdle();
    QCOMPARE(clipsSinceMark(), expected);
    QCOMPARE(startedClips().last(), QStringLiteral("derecha.ogg"));
    QCOMPARE(m_w->scoreSet(4)->score(QStringLiteral("M"))->total(), presses);
}

void TestLetrasWidgetInterruptions::activityChangeDuringInstruction_data()
{
    QTest::addColumn<int>("after");
    QTest::newRow("at once") << 0;
    QTest::newRow("100 ms") << 100;
    QTest::newRow("200 ms") << 200;
}

// The new instruction is always heard, and only the new activity asks.
void TestLetrasWidgetInterruptions::activityChangeDuringInstruction()
{
    QFETCH(int, after);
    start(1, 5, QStringLiteral("M"));
    QTest::qWait(after);
    m_w->setActivity(0, 2);
    waitStarted(QStringLiteral("Letras/M/Manzana/name.ogg"));
    waitIdle();
    QCOMPARE(clips(),
        (QStringList { "Como suena.ogg", "Como empieza.ogg", "el sonido con que empieza.ogg",
            "Letras/M/Manzana/name.ogg" }));
    QCOMPARE(startedClips().mid(startedClips().indexOf(QStringLiteral("Como empieza.ogg"))),
        (QStringList {
            "Como empieza.ogg", "el sonido con que empieza.ogg", "Letras/M/Manzana/name.ogg" }));
}

void TestLetrasWidgetInterruptions::meaninglessKeysDuringInstruction_data()
{
    QTest::addColumn<QStringList>("keys");
    QTest::newRow("a digit") << QStringList { "5" };
    QTest::newRow("a letter, then a digit") << QStringList { "Q", "5" };
}

// The mascot says once that the key means nothing, and the first question
// still follows the instruction.
void TestLetrasWidgetInterruptions::meaninglessKeysDuringInstruction()
{
    QFETCH(QStringList, keys);
    start(1, 5, QStringLiteral("M"));
    waitStarted(QStringLiteral("Como suena.ogg"));
    for (const QString &key : keys) {
        if (key.at(0).isDigit())
            release(Qt::Key_0 + key.toInt(), key);
        else
            releaseLetter(key);
    }
    waitStarted(question);
    waitIdle();
    QCOMPARE(clips(), (QStringList { "Como suena.ogg", "durmiendo.ogg", empty, question }));
}

void TestLetrasWidgetInterruptions::activityChangeDuringTurn_data()
{
    QTest::addColumn<int>("requestsAfterAnswer");
    QTest::newRow("during the praise") << 1;
    QTest::newRow("during the pause") << 3;
}

// A right answer in "Numeros escondidos", then "Como suena" chosen before
// the next number: no number is named or asked inside the letters activity.
void TestLetrasWidgetInterruptions::activityChangeDuringTurn()
{
    QFETCH(int, requestsAfterAnswer);
    m_w->setTurnDelayForTesting(1000);
    const unsigned int seed = seedForFirstDigit("4");
    start(7, seed);
    waitStarted(QStringLiteral("Numeros/4/Patas/letter_name.ogg"));
    mark();
    releaseLetter("4");
    QTRY_COMPARE(clipsSinceMark().size(), requestsAfterAnswer);
    const QString target = m_w->targetNumber();
    mark();
    m_w->slotSelectedLetters(QStringLiteral("M"));
    m_w->setActivity(0, 1);
    waitStarted(question);
    QTest::qWait(1200); // past the pause the old turn had started
    waitIdle();
    QCOMPARE(clipsSinceMark(), (QStringList { "Como suena.ogg", empty, question }));
    QCOMPARE(m_w->targetNumber(), target);
    QCOMPARE(m_w->targetLetter(), QStringLiteral("M"));
}

const QString questionB = QStringLiteral("Letras/B/Barco/letter_sound.ogg");

void TestLetrasWidgetInterruptions::menuModeMidSentence_data()
{
    QTest::addColumn<bool>("answered"); // M, right, before the Escape
    QTest::addColumn<QString>("during"); // the clip cut off by "Modo menu"
    QTest::addColumn<QString>("key"); // released during "Modo normal"
    QTest::addColumn<QStringList>("resumed"); // requested after "Modo normal"
    const QString instruction = QStringLiteral("Como suena.ogg");
    const QString found = QStringLiteral("encontraste el sonido.ogg");
    QTest::newRow("the instruction")
        << false << instruction << "" << QStringList { empty, question };
    QTest::newRow("the question") << false << question << "" << QStringList { empty, question };
    QTest::newRow("the praise") << true << "praise"
                                << "" << QStringList { empty, questionB };
    QTest::newRow("the feedback") << true << found << "" << QStringList { empty, questionB };
    QTest::newRow("the pause") << true << "pause"
                               << "" << QStringList { empty, questionB };
    QTest::newRow("the question, a right key")
        << false << question << "M"
        << QStringList { "praise", found, question, "de.ogg", empty, "Letras/M/Manzana/name.ogg",
               empty, questionB };
    QTest::newRow("the question, a wrong key")
        << false << question << "N" << QStringList { "encouragement", "derecha.ogg" };
    QTest::newRow("the question, a key meaning nothing")
        << false << question << "F5" << QStringList { "durmiendo.ogg" };
    QTest::newRow("the instruction, a key meaning nothing")
        << false << instruction << "F5" << QStringList { "durmiendo.ogg", empty, question };
}

// Escape mid-sentence: the activity is silent in the key menu mode, and once
// "Modo normal" has been heard it takes up where it stopped, unless a key
// released meanwhile has been answered instead.
void TestLetrasWidgetInterruptions::menuModeMidSentence()
{
    QFETCH(bool, answered);
    QFETCH(QString, during);
    QFETCH(QString, key);
    QFETCH(QStringList, resumed);
    unsigned int seed = 1;
    for (;; ++seed) { // M is asked first, and B after it
        Draws d(seed);
        const QString first = d.letterIn("MB");
        d.wordOf(first);
        d.praise();
        if (first == "M" && d.letterIn("MB") == "B")
            break;
    }
    Draws draws(seed);
    draws.wordOf(draws.letterIn("MB"));
    const QString praise = Draws(draws).praise();
    const QString encouragement = Draws(draws).encouragement();
    m_w->setTurnDelayForTesting(1000);
    start(1, seed, QStringLiteral("MB"));
    if (answered) {
        waitStarted(question);
        releaseLetter("M");
    }
    if (during == QLatin1String("pause")) {
        waitStarted(QStringLiteral("Letras/M/Manzana/name.ogg"));
        waitIdle();
    } else {
        waitStarted(during == QLatin1String("praise") ? praise : during);
    }
    mark();
    release(Qt::Key_Escape);
    waitIdle();
    QTest::qWait(1100); // past the pause of a turn under way
    QCOMPARE(clipsSinceMark(), QStringList { "Modo menu.ogg" });

    release(Qt::Key_Escape);
    if (!key.isEmpty()) {
        waitStarted(QStringLiteral("Modo normal.ogg"));
        key == QLatin1String("F5") ? release(Qt::Key_F5) : releaseLetter(key);
    }
    QStringList expected = { "Modo menu.ogg", "Modo normal.ogg" };
    for (const QString &clip : resumed)
        expected << (clip == QLatin1String("praise")     ? praise
                : clip == QLatin1String("encouragement") ? encouragement
                                                         : clip);
    QTRY_COMPARE(clipsSinceMark(), expected);
    waitIdle();
    QCOMPARE(clipsSinceMark(), expected);
    const QStringList heard = startedClips();
    QCOMPARE(heard.value(heard.indexOf(QStringLiteral("Modo menu.ogg")) + 1),
        QStringLiteral("Modo normal.ogg"));
}

QTEST_MAIN(TestLetrasWidgetInterruptions)
#include "tst_letraswidgetinterruptions.moc"
