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
    if (mode != 0)
        QCOMPARE(clips(), QStringList());
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
    // Keys that mean nothing here are answered with the sleep clip.
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
        QCOMPARE(clips(), mode == 0 ? heard : QStringList());
        QCOMPARE(m_w->document(), QStringLiteral("a"));
        QCOMPARE(m_w->pendingText(), mode == 0 ? QString() : QStringLiteral("a"));
    }
}

// F1 … F4 empty the box, report the mode and name it; the side panel's
// setMode() does the same silently.
void TestEscrituraWidget::functionKeysChangeMode()
{
    QSignalSpy modes(m_w.get(), &EscrituraWidget::modeChanged);
    type(m_w.get(), QStringLiteral("hola"));
    release(m_w.get(), Qt::Key_F4, QString());
    QCOMPARE(m_w->mode(), 3);
    QCOMPARE(shown(), QString());
    type(m_w.get(), QStringLiteral("uno"));
    release(m_w.get(), Qt::Key_F1, QString());
    QCOMPARE(m_w->mode(), 0);
    QCOMPARE(shown(), QString());
    QCOMPARE(clips(), (QStringList { "Modo texto.ogg", "Modo letra.ogg" }));
    m_w->setMode(2);
    QCOMPARE(m_w->mode(), 2);
    QCOMPARE(clips().size(), 2);
    QCOMPARE(modes.size(), 2);
    QCOMPARE(modes.at(0).at(0).toInt(), 3);
    QCOMPARE(modes.at(1).at(0).toInt(), 0);
    // The old mode's word was never finished, so it is never spoken.
    type(m_w.get(), QStringLiteral("dos."));
    QVERIFY(m_synthesizer->waitForCalls(1));
    QCOMPARE(m_synthesizer->texts(), QStringList { "dos" });
}

// Escape twice: "Modo menu", keys for the audible menu, then "Modo normal"
// (the key menu mode itself is the texts reader's, tested there); the writing
// is left as it was and goes on.
void TestEscrituraWidget::escapeTogglesMenuMode()
{
    type(m_w.get(), QStringLiteral("ho"));
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
