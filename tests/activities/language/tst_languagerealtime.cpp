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
    void readingResumesAfterTheMenu_data();
    void readingResumesAfterTheMenu();

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

void TestLanguageRealTime::readingResumesAfterTheMenu_data()
{
    QTest::addColumn<int>("frame");
    QTest::addColumn<bool>("keyDuringModoNormal");
    QTest::newRow("first frame") << 1 << false;
    QTest::newRow("second frame") << 2 << false;
    // No key acts in the reader: the reading still goes on.
    QTest::newRow("second frame, a key meanwhile") << 2 << true;
}

// Nothing is read in the key menu mode; afterwards the frame cut off is read
// again whole, and the rest of the text after it.
void TestLanguageRealTime::readingResumesAfterTheMenu()
{
    QFETCH(int, frame);
    QFETCH(bool, keyDuringModoNormal);
    TextWidget w;
    w.show();
    w.setTextFolder(textFolder(QStringLiteral("Tres")));
    w.startReading();
    QVERIFY(waitStarted(QStringLiteral("Tres/audio%1.ogg").arg(frame)));
    release(&w, Qt::Key_Escape, QStringLiteral("\x1b"));
    QVERIFY(waitIdle(&w));
    QStringList expected;
    for (int k = 1; k <= frame; ++k)
        expected << QStringLiteral("Tres/audio%1.ogg").arg(k);
    expected << "Modo menu.ogg";
    QCOMPARE(requested(), expected);
    release(&w, Qt::Key_Escape, QStringLiteral("\x1b"));
    if (keyDuringModoNormal) {
        QVERIFY(waitStarted(QStringLiteral("Modo normal.ogg")));
        release(&w, Qt::Key_A, QStringLiteral("a"));
    }
    QVERIFY(waitIdle(&w));
    expected << "Modo normal.ogg";
    for (int k = frame; k <= 3; ++k)
        expected << QStringLiteral("Tres/audio%1.ogg").arg(k);
    QCOMPARE(requested(), expected);
    QCOMPARE(shownPicture(w.findChild<QLabel *>()), QStringLiteral("Tres 3"));
}

QTEST_MAIN(TestLanguageRealTime)
#include "tst_languagerealtime.moc"
