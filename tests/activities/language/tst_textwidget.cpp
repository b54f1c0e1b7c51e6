#include "LanguageFixture.h"
#include "activities/language/TextWidget.h"
#include "audio/AudioMonitor.h"

#include <QSignalSpy>
#include <QtTest>
#include <memory>

using namespace LanguageFixture;

// A text read in, frame clips and pictures out. Each clip is listed with the
// picture on screen when it was asked for.
class TestTextWidget : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void readsUntilAFrameIsMissing_data();
    void readsUntilAFrameIsMissing();
    void hidingEndsTheReading();
    void menuMode();
    void repeatKey_data();
    void repeatKey();

private:
    QString shown() const { return shownPicture(m_w->findChild<QLabel *>()); }
    void read(const QString &title)
    {
        m_w->setTextFolder(textFolder(title));
        m_w->startReading();
    }

    std::unique_ptr<TestSupport::MediaTree> m_tree;
    std::unique_ptr<TestSupport::ClipRecorder> m_clips;
    std::unique_ptr<TextWidget> m_w;
    QStringList m_heard; // clip, then " with " the picture shown
};

void TestTextWidget::initTestCase()
{
    m_tree = std::make_unique<TestSupport::MediaTree>();
    setUpTree(*m_tree, QStringLiteral("tone-50ms.ogg"));
}

void TestTextWidget::init()
{
    m_clips = std::make_unique<TestSupport::ClipRecorder>();
    m_w = std::make_unique<TextWidget>();
    m_w->show();
    m_heard.clear();
    connect(AudioMonitor::instance(), &AudioMonitor::clipRequested, m_w.get(),
        [this](const QString &file) {
            m_heard << clipNames({ file }).value(0) + QStringLiteral(" with ") + shown();
        });
}

void TestTextWidget::cleanup()
{
    QVERIFY(waitIdle(m_w.get()));
    m_w.reset();
    m_clips.reset();
}

void TestTextWidget::readsUntilAFrameIsMissing_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QStringList>("heard");
    QTest::addColumn<QString>("last");
    QTest::newRow("three frames") << "Tres"
                                  << QStringList { "Tres/audio1.ogg with Tres 1",
                                         "Tres/audio2.ogg with Tres 2",
                                         "Tres/audio3.ogg with Tres 3" }
                                  << "Tres 3";
    QTest::newRow("audio2 missing")
        << "Sin audio dos" << QStringList { "Sin audio dos/audio1.ogg with Sin audio dos 1" }
        << "Sin audio dos 1";
    QTest::newRow("no first picture") << "Sin primero" << QStringList() << "";
}

void TestTextWidget::readsUntilAFrameIsMissing()
{
    QFETCH(QString, title);
    QFETCH(QStringList, heard);
    QFETCH(QString, last);
    read(title);
    QVERIFY(waitIdle(m_w.get()));
    QCOMPARE(m_heard, heard);
    QCOMPARE(shown(), last);
    // Read again, from the first frame; a text without one clears the screen.
    m_heard.clear();
    read(QStringLiteral("Tres"));
    QVERIFY(waitIdle(m_w.get()));
    read(title);
    QVERIFY(waitIdle(m_w.get()));
    QCOMPARE(m_heard.mid(3), heard);
    QCOMPARE(shown(), last);
}

// Leaving the page ends the reading, even when the child is back before the
// clip under way has ended.
void TestTextWidget::hidingEndsTheReading()
{
    read(QStringLiteral("Tres"));
    m_w->hide();
    m_w->show();
    QVERIFY(waitIdle(m_w.get()));
    QCOMPARE(m_heard, QStringList { "Tres/audio1.ogg with Tres 1" });
    QCOMPARE(shown(), QStringLiteral("Tres 1"));
}

// Escape toggles the key menu mode of both language widgets: in it every key,
// that Escape too, goes to the audible menu; outside it no key acts here.
void TestTextWidget::menuMode()
{
    QSignalSpy menuMode(m_w.get(), &TextWidget::signalKeyMenuMode);
    QSignalSpy menuKeys(m_w.get(), &TextWidget::signalSayMenu);
    release(m_w.get(), Qt::Key_A, QStringLiteral("a"));
    release(m_w.get(), Qt::Key_Escape, QStringLiteral("\x1b"));
    release(m_w.get(), Qt::Key_A, QStringLiteral("a"));
    release(m_w.get(), Qt::Key_Escape, QStringLiteral("\x1b"));
    release(m_w.get(), Qt::Key_A, QStringLiteral("a"));
    QCOMPARE(m_clips->requestedNames(), (QStringList { "Modo menu.ogg", "Modo normal.ogg" }));
    QCOMPARE(menuMode.size(), 2);
    QCOMPARE(menuKeys.size(), 2);
    QCOMPARE(menuKeys.at(0).at(0).toInt(), int(Qt::Key_Escape));
    QCOMPARE(menuKeys.at(1).at(0).toInt(), int(Qt::Key_A));
    // A new reading starts outside the menu mode, silently.
    release(m_w.get(), Qt::Key_Escape, QStringLiteral("\x1b"));
    QVERIFY(waitIdle(m_w.get()));
    read(QStringLiteral("Sin primero"));
    QVERIFY(!m_w->keyMenuMode());
    QCOMPARE(menuMode.size(), 3);
}

void TestTextWidget::repeatKey_data()
{
    QTest::addColumn<bool>("wait"); // for the end of the text before Space
    QTest::addColumn<QStringList>("heard");
    const QStringList text = { "Tres/audio1.ogg with Tres 1", "Tres/audio2.ogg with Tres 2",
        "Tres/audio3.ogg with Tres 3" };
    QTest::newRow("during the first frame, that frame again")
        << false << QStringList { text.first() } + text;
    QTest::newRow("after the end, the text again") << true << text + text;
}

// Space says again what is being read; any other key still does nothing.
void TestTextWidget::repeatKey()
{
    QFETCH(bool, wait);
    QFETCH(QStringList, heard);
    read(QStringLiteral("Tres"));
    if (wait)
        QVERIFY(waitIdle(m_w.get()));
    release(m_w.get(), Qt::Key_A, QStringLiteral("a"));
    release(m_w.get(), Qt::Key_Space, QStringLiteral(" "));
    QVERIFY(waitIdle(m_w.get()));
    QCOMPARE(m_heard, heard);
}

QTEST_MAIN(TestTextWidget)
#include "tst_textwidget.moc"
