#include "LanguageFixture.h"
#include "activities/language/EscrituraWidget.h"
#include "activities/language/TextWidget.h"
#include "audio/AudioMonitor.h"

#include <QtTest>
#include <memory>

using namespace LanguageFixture;

// A child does not wait for a clip to end. Played at the real pace, every
// clip a 300 ms tone, so keys and new texts land while clips sound.
class TestLanguageRealTime : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init() { m_clips = std::make_unique<TestSupport::ClipRecorder>(); }
    void cleanup() { m_clips.reset(); }

    void typingFastInLetterMode();
    void newTextWhileAFrameSounds();

private:
    QStringList started() const { return clipNames(m_clips->started); }
    QStringList requested() const { return clipNames(m_clips->requested); }
    bool waitStarted(const QString &clip) const
    {
        return QTest::qWaitFor([&] { return started().contains(clip); }, 30000);
    }

    std::unique_ptr<TestSupport::MediaTree> m_tree;
    std::unique_ptr<TestSupport::ClipRecorder> m_clips;
};

void TestLanguageRealTime::initTestCase()
{
    m_tree = std::make_unique<TestSupport::MediaTree>();
    setUpTree(*m_tree, QStringLiteral("tone-300ms.ogg"));
}

// Every key is asked for, the newest is heard, and none is heard after it.
void TestLanguageRealTime::typingFastInLetterMode()
{
    EscrituraWidget w;
    w.setMode(0);
    type(&w, QStringLiteral("a"));
    QVERIFY(waitStarted(QStringLiteral("A.ogg")));
    type(&w, QStringLiteral("b1"));
    QVERIFY(waitStarted(QStringLiteral("1.ogg")));
    QVERIFY(waitIdle(&w));
    QCOMPARE(requested(), (QStringList { "A.ogg", "B.ogg", "1.ogg" }));
    const QStringList heard = started();
    QCOMPARE(heard.first(), QStringLiteral("A.ogg"));
    QCOMPARE(heard.last(), QStringLiteral("1.ogg"));
    QCOMPARE(heard.count(QStringLiteral("1.ogg")), 1);
    QCOMPARE(w.document(), QStringLiteral("ab1"));
}

// The new text's first picture and clip come at once, and the old text's
// clip, cut off, moves nothing on.
void TestLanguageRealTime::newTextWhileAFrameSounds()
{
    TextWidget w;
    w.show();
    QStringList pictures;
    connect(AudioMonitor::instance(), &AudioMonitor::clipRequested, &w,
        [&] { pictures << shownPicture(w.findChild<QLabel *>()); });
    w.setTextFolder(textFolder(QStringLiteral("Tres")));
    w.startReading();
    QVERIFY(waitStarted(QStringLiteral("Tres/audio1.ogg")));
    w.setTextFolder(textFolder(QStringLiteral("Otro")));
    w.startReading();
    QCOMPARE(shownPicture(w.findChild<QLabel *>()), QStringLiteral("Otro 1"));
    QVERIFY(waitIdle(&w));
    const QStringList expected
        = { "Tres/audio1.ogg", "Otro/audio1.ogg", "Otro/audio2.ogg", "Otro/audio3.ogg" };
    QCOMPARE(requested(), expected);
    QCOMPARE(started(), expected);
    QCOMPARE(pictures, (QStringList { "Tres 1", "Otro 1", "Otro 2", "Otro 3" }));
}

QTEST_MAIN(TestLanguageRealTime)
#include "tst_languagerealtime.moc"
