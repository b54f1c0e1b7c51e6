#include "LanguageFixture.h"
#include "activities/language/EscrituraWidget.h"
#include "audio/StandInSynthesizer.h"

#include <QSignalSpy>
#include <QTextEdit>
#include <QtTest>
#include <memory>

using namespace LanguageFixture;

// Keys in; clips, synthesizer runs and the text box out.
class TestEscrituraWidget : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void speaksWhatWasWritten_data();
    void speaksWhatWasWritten();
    void letterModePlaysTheLetter_data();
    void letterModePlaysTheLetter();
    void keysThatTypeNothing_data();
    void keysThatTypeNothing();
    void everyKeyIsAnswered_data();
    void everyKeyIsAnswered();
    void choosingTheActivitySaysItsInstruction_data();
    void choosingTheActivitySaysItsInstruction();
    void functionKeysChangeMode();
    void escapeTogglesMenuMode();
    void menuStopsTheSynthesizer();
    void leavingDropsWaitingSpeech();

private:
    QString shown() const { return m_w->findChild<QTextEdit *>()->toPlainText(); }
    QStringList clips() const { return clipNames(m_clips->requested); }

    std::unique_ptr<TestSupport::MediaTree> m_tree;
    std::unique_ptr<StandInSynthesizer> m_synthesizer;
    std::unique_ptr<TestSupport::ClipRecorder> m_clips;
    std::unique_ptr<EscrituraWidget> m_w;
};

void TestEscrituraWidget::initTestCase()
{
    m_tree = std::make_unique<TestSupport::MediaTree>();
    setUpTree(*m_tree, QStringLiteral("tone-50ms.ogg"));
}

void TestEscrituraWidget::init()
{
    m_synthesizer = std::make_unique<StandInSynthesizer>();
    m_clips = std::make_unique<TestSupport::ClipRecorder>();
    m_w = std::make_unique<EscrituraWidget>();
}

void TestEscrituraWidget::cleanup()
{
    QVERIFY(waitIdle(m_w.get()));
    QVERIFY(m_synthesizer->waitForCalls(0));
    m_w.reset();
    m_clips.reset();
    m_synthesizer.reset();
}

void TestEscrituraWidget::speaksWhatWasWritten_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QStringList>("spoken");
    QTest::addColumn<QString>("shown");

    QTest::newRow("word mode") << 1 << "hola mundo " << QStringList { "hola", "mundo" }
                               << "hola mundo ";
    // The period and its blank belong to the word.
    QTest::newRow("word mode, period then space")
        << 1 << "hola. " << QStringList { "hola. " } << "hola. ";
    QTest::newRow("word mode, accent") << 1 << "camión " << QStringList { "camión" } << "camión ";
    QTest::newRow("word mode, mended word") << 1 << "cass\ba " << QStringList { "casa" } << "casa ";
    QTest::newRow("sentence mode") << 2 << "mi casa." << QStringList { "mi casa" } << "mi casa.";
    QTest::newRow("text mode, two lines") << 3 << "uno\ndos\n"
                                          << QStringList { "uno\n", "uno\ndos\n" } << "uno\ndos\n";
    QTest::newRow("backspace on the empty box") << 1 << "\b\b" << QStringList() << "";
    QTest::newRow("letter mode speaks no words") << 0 << "a b." << QStringList() << "a b.";
}

void TestEscrituraWidget::speaksWhatWasWritten()
{
    QFETCH(int, mode);
    QFETCH(QString, keys);
    QFETCH(QStringList, spoken);
    QFETCH(QString, shown);
    m_w->setMode(mode);
    type(m_w.get(), keys);
    QVERIFY(m_synthesizer->waitForCalls(spoken.size()));
    QCOMPARE(m_synthesizer->texts(), spoken);
    QCOMPARE(this->shown(), shown);
    QCOMPARE(m_w->document(), shown);
}

void TestEscrituraWidget::letterModePlaysTheLetter_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("clip");
    QTest::newRow("letter") << QStringLiteral("a") << QStringLiteral("A.ogg");
    QTest::newRow("capital") << QStringLiteral("B") << QStringLiteral("B.ogg");
    QTest::newRow("ñ") << QStringLiteral("ñ") << QStringLiteral("Ntilde.ogg");
    QTest::newRow("accented vowel") << QStringLiteral("á") << QStringLiteral("A.ogg");
    QTest::newRow("digit with a clip") << QStringLiteral("1") << QStringLiteral("1.ogg");
    QTest::newRow("digit without one") << QStringLiteral("7") << QStringLiteral("sleep.ogg");
    QTest::newRow("letter without one") << QStringLiteral("c") << QStringLiteral("sleep.ogg");
    QTest::newRow("comma") << QStringLiteral(",") << QStringLiteral("sleep.ogg");
}

void TestEscrituraWidget::letterModePlaysTheLetter()
{
    QFETCH(QString, key);
    QFETCH(QString, clip);
    m_w->setMode(0);
    type(m_w.get(), key);
    QCOMPARE(clips(), QStringList { clip });
    QCOMPARE(shown(), key);
}

void TestEscrituraWidget::keysThatTypeNothing_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("autoRepeat");
    QTest::addColumn<QStringList>("heard");
    // Keys that only prepare the next one are silent: the letter typed with
    // them must not be cut off.
    QTest::newRow("shift") << int(Qt::Key_Shift) << "" << false << QStringList();
    QTest::newRow("dead accent") << int(Qt::Key_Dead_Acute) << "" << false << QStringList();
    QTest::newRow("held key") << int(Qt::Key_A) << "a" << true << QStringList();
    QTest::newRow("home") << int(Qt::Key_Home) << "" << false << QStringList();
    // Keys that mean nothing here are answered with the sleep clip, in
    // every mode.
    QTest::newRow("arrow") << int(Qt::Key_Left) << "" << false << QStringList { "sleep.ogg" };
    QTest::newRow("control+c") << int(Qt::Key_C) << "\x03" << false << QStringList { "sleep.ogg" };
}

void TestEscrituraWidget::keysThatTypeNothing()
{
    QFETCH(int, key);
    QFETCH(QString, text);
    QFETCH(bool, autoRepeat);
    QFETCH(QStringList, heard);
    for (int mode : { 0, 1 }) {
        m_w->setMode(mode);
        type(m_w.get(), QStringLiteral("a"));
        m_clips->clear();
        release(m_w.get(), key, text, autoRepeat);
        QCOMPARE(clips(), heard);
        QCOMPARE(m_w->document(), QStringLiteral("a"));
        QCOMPARE(m_w->pendingText(), mode == 0 ? QString() : QStringLiteral("a"));
    }
}

// The keys a child types, and what answers each: clips and synthesizer
// runs, in order, and the text shown.
void TestEscrituraWidget::everyKeyIsAnswered_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QStringList>("heard");
    QTest::addColumn<QStringList>("spoken");
    QTest::addColumn<QString>("shown");

    const QStringList none;
    QTest::newRow("letter mode: a blank is said")
        << 0 << "a b" << QStringList { "A.ogg", "espacio.ogg", "B.ogg" } << none << "a b";
    QTest::newRow("letter mode: a period is said")
        << 0 << "a." << QStringList { "A.ogg", "punto.ogg" } << none << "a.";
    QTest::newRow("letter mode: a new line without a clip, by the synthesizer")
        << 0 << "a\n"
        << QStringList { "A.ogg" } << QStringList { "nueva línea" } << "a\n";
    QTest::newRow("word mode: each letter, then the word")
        << 1 << "ab a " << QStringList { "A.ogg", "B.ogg", "A.ogg" } << QStringList { "ab", "a" }
        << "ab a ";
    QTest::newRow("word mode: a blank with no word before it")
        << 1 << " " << QStringList { "espacio.ogg" } << none << " ";
    QTest::newRow("sentence mode: letters and blanks, then the sentence")
        << 2 << "a b." << QStringList { "A.ogg", "espacio.ogg", "B.ogg" } << QStringList { "a b" }
        << "a b.";
    QTest::newRow("letter mode: backspace says the letter removed")
        << 0 << "ab\b" << QStringList { "A.ogg", "B.ogg", "B.ogg" } << none << "a";
    QTest::newRow("letter mode: backspace removes a blank")
        << 0 << "a \b" << QStringList { "A.ogg", "espacio.ogg", "espacio.ogg" } << none << "a";
    QTest::newRow("word mode: the mended word is read")
        << 1 << "ba\bb\ba " << QStringList { "B.ogg", "A.ogg", "A.ogg", "B.ogg", "B.ogg", "A.ogg" }
        << QStringList { "ba" } << "ba ";
    QTest::newRow("backspace on the empty box")
        << 1 << "\b" << QStringList { "sleep.ogg" } << none << "";
    QTest::newRow("accent on a") << 0 << "´a" << QStringList { "A.ogg" } << none << "á";
    QTest::newRow("accent on a capital, Shift let go between")
        << 0 << "´^A" << QStringList { "A.ogg" } << none << "Á";
    QTest::newRow("accent in a word")
        << 1 << "b´a " << QStringList { "B.ogg", "A.ogg" } << QStringList { "bá" } << "bá ";
    QTest::newRow("diaeresis") << 1 << "b¨u " << QStringList { "B.ogg", "sleep.ogg" }
                               << QStringList { "bü" } << "bü ";
    QTest::newRow("tilde on n") << 0 << "˜n" << QStringList { "Ntilde.ogg" } << none << "ñ";
    QTest::newRow("accent that goes on nothing")
        << 0 << "´b" << QStringList { "B.ogg" } << none << "b";
    QTest::newRow("accent then backspace")
        << 0 << "a´\b" << QStringList { "A.ogg", "A.ogg" } << none << "";
}

void TestEscrituraWidget::everyKeyIsAnswered()
{
    QFETCH(int, mode);
    QFETCH(QString, keys);
    QFETCH(QStringList, heard);
    QFETCH(QStringList, spoken);
    QFETCH(QString, shown);
    m_w->setMode(mode);
    // All keys at once: each arrives while the clip of the one before sounds.
    type(m_w.get(), keys);
    QCOMPARE(clips(), heard);
    QVERIFY(m_synthesizer->waitForCalls(spoken.size()));
    QCOMPARE(m_synthesizer->texts(), spoken);
    QCOMPARE(this->shown(), shown);
}

// Choosing the activity says its instruction, then the mode; a key typed
// meanwhile is answered at once, and what it cut off is not said after it.
void TestEscrituraWidget::choosingTheActivitySaysItsInstruction_data()
{
    QTest::addColumn<int>("group");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QStringList>("heard");

    QTest::newRow("nothing typed")
        << 3 << "" << QStringList { "instructions/Escribir.ogg", "menus/Modo palabra.ogg" };
    QTest::newRow("a letter over the instruction")
        << 3 << "a" << QStringList { "instructions/Escribir.ogg", "letters/A.ogg" };
    QTest::newRow("a mode over the instruction")
        << 3 << "F1" << QStringList { "instructions/Escribir.ogg", "menus/Modo letra.ogg" };
    QTest::newRow("another group's address") << 0 << "" << QStringList();
}

void TestEscrituraWidget::choosingTheActivitySaysItsInstruction()
{
    QFETCH(int, group);
    QFETCH(QString, keys);
    QFETCH(QStringList, heard);
    m_w->show();
    m_w->setActivity(group, 0);
    if (keys == QLatin1String("F1"))
        release(m_w.get(), Qt::Key_F1, QString());
    else
        type(m_w.get(), keys);
    QVERIFY(waitIdle(m_w.get()));
    QStringList names;
    for (const QString &path : m_clips->requested)
        names << path.section(QLatin1Char('/'), -2);
    QCOMPARE(names, heard);
}

// F1 … F4 keep the text, report the mode and name it; the side panel's
// setMode() empties it silently.
void TestEscrituraWidget::functionKeysChangeMode()
{
    QSignalSpy modes(m_w.get(), &EscrituraWidget::modeChanged);
    type(m_w.get(), QStringLiteral("hola"));
    m_clips->clear();
    release(m_w.get(), Qt::Key_F4, QString());
    QCOMPARE(m_w->mode(), 3);
    QCOMPARE(shown(), QStringLiteral("hola"));
    type(m_w.get(), QStringLiteral("\n"));
    QVERIFY(m_synthesizer->waitForCalls(1));
    QCOMPARE(m_synthesizer->texts(), QStringList { "hola\n" });
    release(m_w.get(), Qt::Key_F1, QString());
    QCOMPARE(m_w->mode(), 0);
    QCOMPARE(shown(), QStringLiteral("hola\n"));
    QCOMPARE(clips(), (QStringList { "Modo texto.ogg", "Modo letra.ogg" }));
    m_w->setMode(2);
    QCOMPARE(m_w->mode(), 2);
    QCOMPARE(shown(), QString());
    QCOMPARE(clips().size(), 2);
    QCOMPARE(modes.size(), 2);
    QCOMPARE(modes.at(0).at(0).toInt(), 3);
    QCOMPARE(modes.at(1).at(0).toInt(), 0);
    // The old mode's word was never finished, so it is never spoken.
    type(m_w.get(), QStringLiteral("dos."));
    QVERIFY(m_synthesizer->waitForCalls(2));
    QCOMPARE(m_synthesizer->texts(), (QStringList { "hola\n", "dos" }));
}

// Escape twice: "Modo menu", keys for the audible menu, then "Modo normal"
// (the key menu mode itself is the texts reader's, tested there); the writing
// is left as it was and goes on.
void TestEscrituraWidget::escapeTogglesMenuMode()
{
    type(m_w.get(), QStringLiteral("ho"));
    m_clips->clear();
    release(m_w.get(), Qt::Key_Escape, QStringLiteral("\x1b"));
    type(m_w.get(), QStringLiteral("x "));
    release(m_w.get(), Qt::Key_Escape, QStringLiteral("\x1b"));
    QCOMPARE(clips(), (QStringList { "Modo menu.ogg", "Modo normal.ogg" }));
    QCOMPARE(shown(), QStringLiteral("ho"));
    type(m_w.get(), QStringLiteral("la "));
    QVERIFY(m_synthesizer->waitForCalls(1));
    QCOMPARE(m_synthesizer->texts(), QStringList { "hola" });
}

// The synthesizer does not speak over the menu: the word it is speaking is
// cut off, the next one dropped, and neither is said again afterwards.
void TestEscrituraWidget::menuStopsTheSynthesizer()
{
    type(m_w.get(), QStringLiteral("cuelga hola "));
    QTRY_COMPARE_WITH_TIMEOUT(m_synthesizer->calls().size(), 1, 60000);
    QVERIFY(waitIdle(m_w.get()));
    m_clips->clear();
    release(m_w.get(), Qt::Key_Escape, QStringLiteral("\x1b"));
    QTRY_VERIFY(!TTS::isBusy());
    release(m_w.get(), Qt::Key_Escape, QStringLiteral("\x1b"));
    QVERIFY(waitIdle(m_w.get()));
    QCOMPARE(clips(), (QStringList { "Modo menu.ogg", "Modo normal.ogg" }));
    QCOMPARE(m_synthesizer->texts(), QStringList { "cuelga" });
}

// Words still waiting for the synthesizer are not spoken inside the next
// activity; the one being spoken is finished.
void TestEscrituraWidget::leavingDropsWaitingSpeech()
{
    StandInSynthesizer slow({ QStringLiteral("espeak-ng") }, QStringLiteral("0.3"));
    m_w->show();
    type(m_w.get(), QStringLiteral("uno dos tres "));
    m_w->hide();
    QVERIFY(slow.waitForCalls(1));
    QCOMPARE(slow.texts(), QStringList { "uno" });
}

QTEST_MAIN(TestEscrituraWidget)
#include "tst_escriturawidget.moc"
