#include "BrailleTestCase.h"
#include "users/Score.h"
#include "users/ScoreManager.h"

#include <QSignalSpy>
#include <QtTest>

using namespace BrailleFixture;

// The hidden-item activities: questions, judging, feedback, corrections.
class TestBrailleWidgetTurns : public BrailleTestCase
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { setUpTree(); }
    void init() { setUpWidget(); }
    void cleanup() { tearDownWidget(); }

    void hiddenPointsRound_data();
    void hiddenPointsRound();
    void thirdWrongCorrection_data();
    void thirdWrongCorrection();
    void letterSelection_data();
    void letterSelection();
    void mascotOffAsksAtOnce_data();
    void mascotOffAsksAtOnce();
    void keyBeforeFirstQuestion_data();
    void keyBeforeFirstQuestion();
    void answerDuringPraise();
    void leavingMidSequence();
    void lastInstruction();
    void repeatKey_data();
    void repeatKey();
    void neverTheSameTwice_data();
    void neverTheSameTwice();
    void menuModeMidSentence_data();
    void menuModeMidSentence();
};

void TestBrailleWidgetTurns::hiddenPointsRound_data()
{
    QTest::addColumn<int>("sub");
    QTest::addColumn<QString>("wrongKey");
    QTest::addColumn<QString>("rightKey");
    QTest::addColumn<QString>("screen"); // after the right key
    QTest::addColumn<int>("pause");
    QTest::newRow("cell") << 1 << QString("7") << QString("8") << QString("cell: bra4b") << 3000;
    QTest::newRow("Perkins") << 7 << QString("7") << QString("J") << QString("perkins: per5b") << 0;
}

// Hidden point 4: a wrong key, the right one; then another point (never the
// same twice in a row), three wrong keys, the correction, and the next
// point 3 s after the name started.
void TestBrailleWidgetTurns::hiddenPointsRound()
{
    QFETCH(int, sub);
    QFETCH(QString, wrongKey);
    QFETCH(QString, rightKey);
    QFETCH(QString, screen);
    QFETCH(int, pause);

    const auto seed = seedWhere([](Draws &d) {
        const bool first = d.dot() == 4;
        d.wordOf("4");
        d.encouragement();
        d.praise();
        return first && d.dot() != 1; // the wrong key is dot 1
    });
    Draws draws(seed);
    m_w->setTurnDelayForTesting(pause);
    start(sub, seed);
    draws.dot();
    draws.wordOf("4");
    const QString four = nameOf("4");
    QTRY_COMPARE(clips(),
        (QStringList {
            sub == 1 ? "Puntos escondidos braille.ogg" : "Puntos escondidos perkins.ogg", four }));
    waitIdle();

    mark();
    QStringList expected = { draws.encouragement(), draws.praise() };
    press(wrongKey);
    press(rightKey);
    QCOMPARE(this->screen(), screen);
    const QString second = QString::number(draws.dot());
    QVERIFY(second != "4");
    draws.wordOf(second);
    expected << nameOf(second);
    QTRY_COMPARE(clipsSinceMark(), expected);
    waitIdle();

    for (int i = 0; i < 3; ++i) {
        press(wrongKey);
        waitIdle();
    }
    expected << draws.encouragement() << draws.encouragement() << "te equivocaste en los puntos.ogg"
             << nameOf(second) << nameOf(QString::number(draws.dot()));
    QTRY_COMPARE_WITH_TIMEOUT(clipsSinceMark(), expected, 6000);
    const qint64 waited = m_requestTimes.last() - m_requestTimes.at(m_requestTimes.size() - 2);
    QVERIFY2(waited >= pause && waited < pause + 500, qPrintable(QString::number(waited)));

    const Score *p4 = m_w->scoreManager(sub)->score("P4");
    QCOMPARE(p4->corrects(), 1);
    QCOMPARE(p4->total(), 2);
    QCOMPARE(m_w->scoreManager(sub)->score("P" + second)->total(), 3);
}

void TestBrailleWidgetTurns::thirdWrongCorrection_data()
{
    QTest::addColumn<int>("sub");
    QTest::addColumn<QString>("item");
    QTest::addColumn<QStringList>("dots");
    QTest::newRow("B on the cell") << 3 << "B" << QStringList { "1", "2" };
    QTest::newRow("B on the brailler") << 9 << "B" << QStringList { "1", "2" };
    QTest::newRow("0 on the cell") << 5 << "0" << QStringList { "2", "4", "5" };
    QTest::newRow("0 on the brailler") << 11 << "0" << QStringList { "2", "4", "5" };
    QTest::newRow("Z, which has no word") << 3 << "Z" << QStringList { "1", "3", "5", "6" };
}

// Three wrong answers in a row: the answer's name, "puntos correctos", its
// dots one by one, and the next question.
void TestBrailleWidgetTurns::thirdWrongCorrection()
{
    QFETCH(int, sub);
    QFETCH(QString, item);
    QFETCH(QStringList, dots);

    const bool letters = sub == 3 || sub == 9;
    const auto seed = letters ? 1u : seedWhere([&](Draws &d) { return d.digit() == item; });
    Draws draws(seed);
    m_w->setMofliAudio(0);
    start(sub, seed, item);
    letters ? draws.letterIn(item) : draws.digit();
    draws.wordOf(item);
    QTRY_COMPARE(clips(), QStringList { nameOf(item) });
    waitIdle();

    mark();
    QStringList expected = { draws.encouragement(), draws.encouragement(),
        "te equivocaste en la letra.ogg", nameOf(item), "puntos correctos.ogg" };
    for (const QString &dot : dots)
        expected << "letters/" + dot + ".ogg";
    const QString next = letters ? draws.letterIn(item) : draws.digit();
    expected << empty << nameOf(next);
    for (int i = 0; i < 3; ++i)
        press("Enter"); // an empty cell is no letter and no digit
    QTRY_COMPARE(clipsSinceMark(), expected);
    waitIdle();
    QCOMPARE(clipsSinceMark(), expected);
    QCOMPARE(m_w->wrongCount(), 0);
    const int total = m_w->scoreManager(sub)->score(MediaPaths::letterDisplay(item))->total();
    QCOMPARE(total, item == "Z" ? 0 : 3); // nothing counts where nothing could be heard
}

void TestBrailleWidgetTurns::letterSelection_data()
{
    QTest::addColumn<QString>("selection");
    QTest::newRow("vowels") << "AEIOU";
    QTest::newRow("vowels, lower case") << "aeiou";
    QTest::newRow("only Ñ") << QStringLiteral("Ñ");
}

// Only selected letters are asked, each sent to the side panel.
void TestBrailleWidgetTurns::letterSelection()
{
    QFETCH(QString, selection);
    QSignalSpy suggestions(m_w.get(), &BrailleWidget::sugerencia);
    Draws draws(17);
    m_w->setMofliAudio(0);
    start(9, 17, selection);
    for (int turn = 0; turn < 12; ++turn) {
        if (turn > 0)
            m_w->slotPickLetter();
        const QString expected = draws.letterIn(selection);
        draws.wordOf(expected);
        QCOMPARE(m_w->hiddenLetter(), expected);
        QCOMPARE(suggestions.last(), (QVariantList { BrailleWidget::activityTitle(9), expected }));
        waitIdle();
    }
}

void TestBrailleWidgetTurns::mascotOffAsksAtOnce_data()
{
    QTest::addColumn<int>("sub");
    for (int sub : { 1, 3, 5, 7, 9, 11 })
        QTest::newRow(qPrintable(QString::number(sub))) << sub;
}

// Without the instruction, the first question is asked at once.
void TestBrailleWidgetTurns::mascotOffAsksAtOnce()
{
    QFETCH(int, sub);
    m_w->setMofliAudio(0);
    start(sub, 3, "B");
    const QString item = sub == 1 || sub == 7 ? QString::number(Draws(3).dot())
        : sub == 5 || sub == 11               ? Draws(3).digit()
                                              : QString("B");
    QTRY_COMPARE(clips(), QStringList { nameOf(item) });
}

void TestBrailleWidgetTurns::keyBeforeFirstQuestion_data()
{
    QTest::addColumn<int>("sub");
    QTest::addColumn<QString>("key");
    QTest::newRow("hidden points") << 1 << "8";
    QTest::newRow("hidden letters") << 9 << "Enter";
    QTest::newRow("hidden numbers") << 5 << "Enter";
}

// A key during the instruction is answered as a key that means nothing; the
// question still follows and nothing is counted.
void TestBrailleWidgetTurns::keyBeforeFirstQuestion()
{
    QFETCH(int, sub);
    QFETCH(QString, key);
    start(sub, 5, "B");
    press(key);
    QTRY_COMPARE(clips().size(), 3);
    QCOMPARE(clips().at(1), QStringLiteral("durmiendo.ogg"));
    for (int s : { 1, 3, 5, 7, 9, 11 }) {
        for (const Score *record : m_w->scoreManager(s)->scores())
            QCOMPARE(record->total(), 0);
    }
}

// Once answered right, a question is not judged again: Enter on the empty
// cell during the praise is no wrong answer.
void TestBrailleWidgetTurns::answerDuringPraise()
{
    Draws draws(2);
    m_w->setMofliAudio(0);
    start(3, 2, "B");
    draws.wordOf(draws.letterIn("B"));
    QTRY_COMPARE(clips().size(), 1);
    waitIdle();
    mark();
    press("7 4 Enter Enter");
    const QString praise = draws.praise();
    draws.wordOf(draws.letterIn("B"));
    QTRY_COMPARE(clipsSinceMark(), (QStringList { "letters/1.ogg", praise, nameOf("B") }));
    waitIdle();
    QCOMPARE(m_w->scoreManager(3)->score("B")->corrects(), 1);
    QCOMPARE(m_w->scoreManager(3)->score("B")->total(), 1);
}

// A new activity ends the old one's sequences: no question follows the praise.
void TestBrailleWidgetTurns::leavingMidSequence()
{
    m_w->setMofliAudio(0);
    start(1, seedWhere([](Draws &d) { return d.dot() == 4; }));
    waitIdle();
    mark();
    press("8");
    m_w->setActivity(1, 0);
    waitIdle();
    QCOMPARE(clipsSinceMark().size(), 1); // the praise
    QCOMPARE(m_w->scoreManager(1)->score("P4")->corrects(), 1);
}

void TestBrailleWidgetTurns::lastInstruction()
{
    m_w->setMofliAudio(0);
    start(3, 4, "B");
    waitIdle();
    m_w->slotLastInstruction(); // the question again
    m_w->setActivity(1, 8);
    m_w->slotLastInstruction(); // the instruction
    waitIdle();
    QCOMPARE(clips(), (QStringList { nameOf("B"), nameOf("B"), "Formemos letras perkins.ogg" }));
}

void TestBrailleWidgetTurns::repeatKey_data()
{
    QTest::addColumn<int>("sub");
    QTest::addColumn<bool>("mascot");
    QTest::addColumn<QString>("keys"); // pressed at once, once the activity is quiet
    QTest::addColumn<QStringList>("heard");
    QTest::addColumn<QString>("screen");

    const QString b = nameOf("B");
    QTest::newRow("3: the question") << 3 << false << "Space" << QStringList { b } << "cell:";
    QTest::newRow("3: the question, the dots raised stay")
        << 3 << false << "7 Space" << QStringList { "letters/1.ogg", b } << "cell: bra1b";
    QTest::newRow("9: twice, the question from its start")
        << 9 << false << "Space Space" << QStringList { b, b } << "perkins:";
    QTest::newRow("9: before the first question, the instruction and the question")
        << 9 << true << "Space" << QStringList { "Letras escondidas perkins.ogg", b } << "perkins:";
    QTest::newRow("8: the instruction")
        << 8 << false << "Space" << QStringList { "Formemos letras perkins.ogg" } << "perkins:";
}

// Space, the brailler's space key, asks again; it raises no dot, answers
// nothing and clears nothing.
void TestBrailleWidgetTurns::repeatKey()
{
    QFETCH(int, sub);
    QFETCH(bool, mascot);
    QFETCH(QString, keys);
    QFETCH(QStringList, heard);
    QFETCH(QString, screen);

    m_w->setMofliAudio(mascot ? 2 : 0);
    start(sub, 4, "B");
    if (!mascot)
        waitIdle(); // with the mascot, Space comes during the instruction
    mark();
    press(keys);
    waitIdle();
    QCOMPARE(clipsSinceMark(), heard);
    QCOMPARE(this->screen(), screen);
    if (ScoreManager *set = m_w->scoreManager(sub)) {
        for (const Score *record : set->scores())
            QCOMPARE(record->total(), 0);
    }
}

void TestBrailleWidgetTurns::neverTheSameTwice_data()
{
    QTest::addColumn<int>("sub");
    QTest::addColumn<QString>("selection");
    QTest::newRow("7: points") << 7 << "";
    QTest::newRow("9: two letters") << 9 << "BA";
    QTest::newRow("11: digits") << 11 << "";
}

// Twenty questions on the brailler: never the same one twice in a row (it
// would sound like the echo of the last).
void TestBrailleWidgetTurns::neverTheSameTwice()
{
    QFETCH(int, sub);
    QFETCH(QString, selection);
    m_w->setMofliAudio(0);
    start(sub, 9, selection);
    QString previous;
    for (int turn = 0; turn < 20; ++turn) {
        if (turn > 0)
            sub == 7       ? m_w->slotPickPoint()
                : sub == 9 ? m_w->slotPickLetter()
                           : m_w->slotPickNumber();
        const QString asked = sub == 7 ? QString::number(m_w->hiddenPoint())
            : sub == 9                 ? m_w->hiddenLetter()
                                       : m_w->hiddenNumber();
        QVERIFY2(asked != previous, qPrintable(asked));
        previous = asked;
        waitIdle();
    }
}

void TestBrailleWidgetTurns::menuModeMidSentence_data()
{
    QTest::addColumn<bool>("mascot");
    QTest::addColumn<QString>("keys"); // then the Escapes, at once
    QTest::addColumn<bool>("pause"); // wait for the pause after the correction
    QTest::addColumn<int>("escapes");
    QTest::addColumn<int>("answerDraws"); // before the next question; -1: the first one again
    QTest::newRow("the instruction") << true << "" << false << 1 << -1;
    QTest::newRow("the question") << false << "" << false << 1 << -1;
    QTest::newRow("the praise") << false << "8" << false << 1 << 1;
    QTest::newRow("the praise, Escape thrice") << false << "8" << false << 3 << 1;
    QTest::newRow("the correction") << false << "7 7 7" << false << 1 << 2;
    QTest::newRow("the pause") << false << "7 7 7" << true << 1 << 2;
}

// Hidden point 4. Nothing is asked in the key menu mode; back from it, the
// question cut off is asked again, or the next one after praise or a
// correction.
void TestBrailleWidgetTurns::menuModeMidSentence()
{
    QFETCH(bool, mascot);
    QFETCH(QString, keys);
    QFETCH(bool, pause);
    QFETCH(int, escapes);
    QFETCH(int, answerDraws);
    const auto seed = seedWhere([](Draws &d) {
        const bool first = d.dot() == 4;
        d.wordOf("4");
        Draws afterPraise = d;
        afterPraise.draw(0, 0);
        d.draw(0, 0);
        d.draw(0, 0);
        return first && afterPraise.dot() != 4 && d.dot() != 4;
    });
    Draws draws(seed);
    draws.dot();
    draws.wordOf("4");
    for (int i = 0; i < answerDraws; ++i)
        draws.draw(0, 0);
    const QString asked = answerDraws < 0 ? nameOf("4") : nameOf(QString::number(draws.dot()));
    m_w->setTurnDelayForTesting(1000);
    m_w->setMofliAudio(mascot ? 2 : 0);
    start(1, seed);
    press(keys);
    if (pause) {
        QTRY_COMPARE(clips().size(), 5); // the correction ends with the point's name
        waitIdle();
    }
    mark();
    QStringList expected;
    for (int i = 0; i < escapes; ++i) {
        press("Esc");
        expected << (i % 2 ? "Modo normal.ogg" : "Modo menu.ogg");
    }
    waitIdle();
    QTest::qWait(1100); // past the pause
    QCOMPARE(clipsSinceMark(), expected);
    press("Esc");
    expected << "Modo normal.ogg" << asked;
    QTRY_COMPARE(clipsSinceMark(), expected);
    waitIdle();
    QCOMPARE(clipsSinceMark(), expected);
}

QTEST_MAIN(TestBrailleWidgetTurns)
#include "tst_braillewidgetturns.moc"
