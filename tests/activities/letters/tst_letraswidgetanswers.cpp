#include "LettersTestCase.h"
#include "users/Score.h"
#include "users/ScoreManager.h"

#include <QFile>
#include <QtTest>

using namespace LettersFixture;

// The child's ways through a question: letters that sound alike, the repeat
// key, the answer after three mistakes, and questions that never come twice
// in a row.
class TestLetrasWidgetAnswers : public LettersTestCase
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { setUpTree(); }
    void init() { setUpWidget(); }
    void cleanup() { tearDownWidget(); }

    void sameSound_data();
    void sameSound();
    void draws_data();
    void draws();
    void thirdWrong_data();
    void thirdWrong();
    void repeatKey_data();
    void repeatKey();

private:
    QStringList questionOf(int activity, const QString &item) const;
    int totalAnswers() const;
};

// What activity asks about a letter or digit of the fixture tree.
QStringList TestLetrasWidgetAnswers::questionOf(int activity, const QString &item) const
{
    const QString word = (activity == 7 ? "Numeros/" : "Letras/") + item + "/"
        + wordOf(activity == 7 ? numberWords : letterWords, item) + "/";
    switch (activity) {
    case 1:
        return { empty, word + "letter_sound.ogg" };
    case 2:
        return { "el sonido con que empieza.ogg", word + "name.ogg" };
    case 4:
        return { "escondido en la letra.ogg", word + "letter_name.ogg", "de.ogg",
            word + "name.ogg" };
    case 5:
        return { "el.ogg", word + "name.ogg", "escondido en el.ogg" };
    default:
        return { word + "letter_name.ogg" };
    }
}

int TestLetrasWidgetAnswers::totalAnswers() const
{
    int total = 0;
    for (int activity : { 1, 2, 4, 5, 7 }) {
        for (const Score *record : m_w->scoreSet(activity)->scores())
            total += record->total();
    }
    return total;
}

void TestLetrasWidgetAnswers::sameSound_data()
{
    QTest::addColumn<int>("activity");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("soundsFile");
    QTest::addColumn<bool>("right");

    QTest::newRow("1: V sounds as B") << 1 << "B"
                                      << "V" << true << true;
    QTest::newRow("2: K sounds as C") << 2 << "C"
                                      << "K" << true << true;
    QTest::newRow("2: Q sounds as C") << 2 << "C"
                                      << "Q" << true << true;
    QTest::newRow("1: B itself") << 1 << "B"
                                 << "B" << true << true;
    QTest::newRow("1: K is not B") << 1 << "B"
                                   << "K" << true << false;
    QTest::newRow("4: a name is the letter's own") << 4 << "B"
                                                   << "V" << true << false;
    QTest::newRow("5: a name is the letter's own") << 5 << "C"
                                                   << "K" << true << false;
    QTest::newRow("1: no file, every letter alone") << 1 << "B"
                                                    << "V" << false << false;
}

// A letter that sounds as the target answers a sound question, and counts
// as the target's right answer; the letter-name games want the letter.
void TestLetrasWidgetAnswers::sameSound()
{
    QFETCH(int, activity);
    QFETCH(QString, target);
    QFETCH(QString, key);
    QFETCH(bool, soundsFile);
    QFETCH(bool, right);

    const QString file = m_tree->root() + "/media/languages/" + language + "/Letras/sonidos.txt";
    if (!soundsFile)
        QVERIFY(QFile::rename(file, file + ".off"));
    Draws draws(7);
    m_w->setMofliAudio(0);
    start(activity, 7, target);
    m_w->slotLastInstruction(); // the instruction, then the first question
    draws.wordOf(draws.letterIn(target));
    waitIdle();
    mark();
    releaseLetter(key);
    waitIdle();
    if (!soundsFile)
        QVERIFY(QFile::rename(file + ".off", file));

    QCOMPARE(clipsSinceMark().value(0), right ? draws.praise() : draws.encouragement());
    const Score *record = m_w->scoreSet(activity)->score(target);
    QCOMPARE(record->corrects(), right ? 1 : 0);
    QCOMPARE(record->total(), 1);
    QCOMPARE(totalAnswers(), 1);
}

void TestLetrasWidgetAnswers::draws_data()
{
    QTest::addColumn<int>("activity");
    QTest::addColumn<QString>("selection");
    QTest::addColumn<QString>("askable"); // empty: any letter but H

    QTest::newRow("1: H has no sound") << 1 << "AH"
                                       << "A";
    QTest::newRow("2: H has no sound") << 2 << "hae"
                                       << "AE";
    QTest::newRow("4: H has a name") << 4 << "AH"
                                     << "AH";
    QTest::newRow("1: only H counts as no selection") << 1 << "H"
                                                      << "";
    QTest::newRow("5: vowels") << 5 << "AEIOU"
                               << "AEIOU";
    QTest::newRow("7: digits") << 7 << ""
                               << "0123456789";
}

// Thirty questions: only what can be asked is, all of it comes up, and
// nothing is asked twice in a row when there is another thing to ask.
void TestLetrasWidgetAnswers::draws()
{
    QFETCH(int, activity);
    QFETCH(QString, selection);
    QFETCH(QString, askable);

    m_w->setMofliAudio(0);
    start(activity, 13, selection);
    QString previous;
    QSet<QString> asked;
    for (int turn = 0; turn < 30; ++turn) {
        activity == 7 ? m_w->slotPickNumber() : m_w->slotPickLetter();
        const QString item
            = activity == 7 ? m_w->targetNumber() : MediaPaths::letterDisplay(m_w->targetLetter());
        QVERIFY2(askable.isEmpty() ? item != "H" : askable.contains(item), qPrintable(item));
        if (askable.size() != 1)
            QVERIFY2(item != previous, qPrintable(item));
        previous = item;
        asked << item;
        waitIdle();
    }
    if (!askable.isEmpty())
        QCOMPARE(asked.size(), int(askable.size()));
}

void TestLetrasWidgetAnswers::thirdWrong_data()
{
    QTest::addColumn<int>("activity");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("wrongKey");
    QTest::addColumn<QString>("orientation"); // from the wrong key
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("row");
    QTest::addColumn<QString>("side");
    QTest::addColumn<bool>("waiting"); // for the feedback before the next key

    QTest::newRow("1: M's sound") << 1 << "M"
                                  << "N"
                                  << "derecha.ogg"
                                  << "Letras/M/Manzana/letter_sound.ogg"
                                  << "tecla en la fila de abajo.ogg"
                                  << "derecha.ogg" << true;
    QTest::newRow("2: A's sound, keys at once") << 2 << "A"
                                                << "S"
                                                << "izquierda.ogg"
                                                << "Letras/A/Arbol/letter_sound.ogg"
                                                << "tecla en la fila del medio.ogg"
                                                << "izquierda.ogg" << false;
    QTest::newRow("4: B's name") << 4 << "B"
                                 << "V"
                                 << "derecha.ogg"
                                 << "Letras/B/Barco/letter_name.ogg"
                                 << "tecla en la fila de abajo.ogg"
                                 << "izquierda.ogg" << true;
    QTest::newRow("5: Ñ's name, keys at once") << 5 << "Ntilde"
                                               << "L"
                                               << "derecha.ogg"
                                               << "Letras/Ntilde/Nandu/letter_name.ogg"
                                               << "tecla en la fila del medio.ogg"
                                               << "derecha.ogg" << false;
    QTest::newRow("5: O's name") << 5 << "O"
                                 << "P"
                                 << "izquierda.ogg"
                                 << "Letras/O/Oso/letter_name.ogg"
                                 << "tecla en la fila de arriba.ogg"
                                 << "derecha.ogg" << true;
    QTest::newRow("7: the number 2") << 7 << "2"
                                     << "3"
                                     << "izquierda.ogg"
                                     << "Numeros/2/Ojos/letter_name.ogg"
                                     << "tecla en la fila de los numeros.ogg"
                                     << "izquierda.ogg" << true;
}

// The third wrong answer to one question: the answer, where its key is, and
// the next question. A key during that correction is no answer.
void TestLetrasWidgetAnswers::thirdWrong()
{
    QFETCH(int, activity);
    QFETCH(QString, target);
    QFETCH(QString, wrongKey);
    QFETCH(QString, orientation);
    QFETCH(QString, answer);
    QFETCH(QString, row);
    QFETCH(QString, side);
    QFETCH(bool, waiting);

    const bool numbers = activity == 7;
    const unsigned int seed = numbers ? seedForFirstDigit(target) : 3;
    Draws draws(seed);
    start(activity, seed, numbers ? QString() : MediaPaths::letterDisplay(target));
    numbers ? draws.digit() : draws.letterIn(MediaPaths::letterDisplay(target));
    draws.wordOf(target);
    QTRY_COMPARE(clips().mid(1), questionOf(activity, target));
    waitIdle();

    mark();
    QStringList expected;
    for (int i = 0; i < 3; ++i) {
        releaseLetter(wrongKey);
        if (i < 2) {
            expected << draws.encouragement();
            if (waiting) {
                expected << orientation;
                waitIdle();
            }
        }
    }
    releaseLetter(target); // during the correction: no answer
    expected << "te equivocaste en la letra.ogg" << answer << row << side;
    QTRY_VERIFY(m_w->turn() == LetrasWidget::Turn::Asking);
    waitIdle();
    QCOMPARE(clipsSinceMark().mid(0, expected.size()), expected);
    QCOMPARE(screensSinceMark().at(expected.size() - 4).section('|', 0, 0),
        MediaPaths::letterDisplay(target));

    // Then the next question; the same letter when it is the only one.
    const QString next = numbers ? draws.digit() : target;
    QCOMPARE(clipsSinceMark().mid(expected.size()), questionOf(activity, next));
    const Score *record = numbers
        ? m_w->scoreSet(7)->score(target)
        : m_w->scoreSet(activity)->score(MediaPaths::letterDisplay(target));
    QCOMPARE(record->total(), 3);
    QCOMPARE(record->corrects(), 0);
    QCOMPARE(totalAnswers(), 3);
    QCOMPARE(m_w->wrongCount(), 0);
}

void TestLetrasWidgetAnswers::repeatKey_data()
{
    QTest::addColumn<int>("activity");
    QTest::addColumn<bool>("mascot");
    QTest::addColumn<QString>("before"); // "", "right", "three wrong": keys just before
    QTest::addColumn<QString>("repeat"); // "space", "button", "space twice"
    QTest::addColumn<QStringList>("heard");

    const QStringList question4 = { "escondido en la letra.ogg", "Letras/L/Leon/letter_name.ogg",
        "de.ogg", "Letras/L/Leon/name.ogg" };
    const QStringList question1 = { empty, "Letras/L/Leon/letter_sound.ogg" };
    QTest::newRow("4: Space, the question") << 4 << true << ""
                                            << "space" << question4;
    QTest::newRow("4: the button, the question") << 4 << true << ""
                                                 << "button" << question4;
    QTest::newRow("4: Space twice at once, the question from its start")
        << 4 << true << ""
        << "space twice" << QStringList { question4.first() } + question4;
    QTest::newRow("3: Space, the instruction")
        << 3 << false << ""
        << "space" << QStringList { "Te presento nombres.ogg" };
    QTest::newRow("6: Space, the instruction")
        << 6 << false << ""
        << "space" << QStringList { "Te presento numeros.ogg" };
    QTest::newRow("1: Space before any question, the instruction and the question")
        << 1 << false << ""
        << "space" << QStringList { "Como suena.ogg" } + question1;
    QTest::newRow("1: Space during the praise, the next question at once") << 1 << true << "right"
                                                                           << "space" << question1;
    QTest::newRow("1: Space during the correction, the correction again")
        << 1 << true << "three wrong"
        << "space"
        << QStringList { "te equivocaste en la letra.ogg", "Letras/L/Leon/letter_sound.ogg",
               "tecla en la fila del medio.ogg", "derecha.ogg" }
            + question1;
}

// Space, like "Ultima Instruccion", says again what the child needs to
// hear, and is never an answer.
void TestLetrasWidgetAnswers::repeatKey()
{
    QFETCH(int, activity);
    QFETCH(bool, mascot);
    QFETCH(QString, before);
    QFETCH(QString, repeat);
    QFETCH(QStringList, heard);

    m_w->setMofliAudio(mascot ? 2 : 0);
    start(activity, 4, QStringLiteral("L"));
    waitIdle();
    if (before == "right") {
        releaseLetter("L");
    } else if (before == "three wrong") {
        for (int i = 0; i < 3; ++i)
            releaseLetter("K");
    }
    const int answers = totalAnswers();
    mark();
    if (repeat == "button") {
        m_w->slotLastInstruction();
    } else {
        release(Qt::Key_Space, " ");
        if (repeat == "space twice")
            release(Qt::Key_Space, " ");
    }
    waitIdle();
    QCOMPARE(clipsSinceMark(), heard);
    QCOMPARE(totalAnswers(), answers);
}

QTEST_MAIN(TestLetrasWidgetAnswers)
#include "tst_letraswidgetanswers.moc"
