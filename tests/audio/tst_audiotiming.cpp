#include "audio/Audio.h"
#include "audio/AudioMonitor.h"
#include "audio/AudioThread.h"
#include "support/TestSupport.h"

#include <QElapsedTimer>
#include <QtTest>

using TestSupport::ClipRecorder;
using TestSupport::FinishedCounter;
using TestSupport::fixture;

// Played at the real pace (SDL's dummy driver): the one voice channel, clips
// cutting each other off, and finished() following the silence.
class TestAudioTiming : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { Audio::instance()->init(); }

    void laterClipCutsEarlierOffAndBothFinishWithIt()
    {
        ClipRecorder clips;
        AudioThread a;
        AudioThread b;
        qint64 aFinished = 0;
        qint64 bFinished = 0;
        connect(&a, &AudioThread::finished, this, [&] { aFinished = AudioMonitor::now(); });
        connect(&b, &AudioThread::finished, this, [&] { bFinished = AudioMonitor::now(); });
        QStringList silent;
        QList<qint64> silentTimes;
        // The connection ends with this case: later cases' clips fall silent too.
        QObject context;
        connect(AudioMonitor::instance(), &AudioMonitor::clipSilent, &context,
            [&](const QString &file, qint64 ns) {
                silent << file;
                silentTimes << ns;
            });

        QElapsedTimer elapsed;
        elapsed.start();
        a.file = fixture(QStringLiteral("tone-2s.ogg"));
        a.start();
        QTRY_COMPARE(clips.started.size(), 1);
        b.file = fixture(QStringLiteral("tone-300ms.ogg"));
        b.start();
        QTRY_VERIFY_WITH_TIMEOUT(aFinished && bFinished, 5000);

        // A was cut short: both ended with B's 300 ms clip, long before 2 s.
        QVERIFY2(elapsed.elapsed() < 1500, qPrintable(QString::number(elapsed.elapsed())));
        const qint64 bStarted = clips.startTimes.at(1);
        QVERIFY(bFinished - bStarted >= 250'000'000);
        QVERIFY(aFinished >= bStarted + 250'000'000);
        QVERIFY(qAbs(aFinished - bFinished) < 100'000'000);
        // Only B fell silent by itself, after its 300 ms; A ended where B began.
        QTRY_COMPARE(silent, QStringList { b.file });
        QVERIFY(silentTimes.at(0) >= bStarted + 250'000'000 && silentTimes.at(0) <= bFinished);
    }

    // The clip asked for last is the one heard, however the two decodes
    // happen to be ordered; the clip it replaced never starts after it.
    void newestClipWinsWhateverTheDecodingOrder()
    {
        const QString longClip = fixture(QStringLiteral("tone-2s.ogg"));
        const QString shortClip = fixture(QStringLiteral("tone-50ms.ogg"));
        for (int round = 0; round < 30; ++round) {
            QElapsedTimer elapsed;
            elapsed.start();
            const QStringList started = TestSupport::playBackToBack(longClip, shortClip);
            QVERIFY2(!started.isEmpty() && started.last() == shortClip,
                qPrintable(started.join(QLatin1Char(' '))));
            QVERIFY2(elapsed.elapsed() < 1500, qPrintable(QString::number(elapsed.elapsed())));
        }
    }

    // Destroying a player whose clip is still being decoded neither waits
    // for the clip nor lets it sound afterwards.
    void destroyingAPlayerBeforeItsClipStartsReturnsAtOnce()
    {
        ClipRecorder clips;
        QElapsedTimer elapsed;
        auto *player = new AudioThread;
        player->file = fixture(QStringLiteral("tone-2s.ogg"));
        player->start();
        elapsed.start();
        delete player;
        QVERIFY2(elapsed.elapsed() < 500, qPrintable(QString::number(elapsed.elapsed())));
        QTest::qWait(200);
        QVERIFY(!Audio::instance()->isPlaying());
    }

    void startTwiceWhilePlayingIsHeardOnce()
    {
        ClipRecorder clips;
        AudioThread player;
        FinishedCounter finished(&player);
        player.file = fixture(QStringLiteral("tone-300ms.ogg"));
        player.start();
        QTRY_COMPARE(clips.started.size(), 1);
        player.file = fixture(QStringLiteral("tone-50ms.ogg"));
        player.start();
        QVERIFY(finished.waitFor(1));
        QTest::qWait(200);
        QCOMPARE(finished.count, 1);
        QCOMPARE(clips.started, QStringList { fixture(QStringLiteral("tone-300ms.ogg")) });
    }

    void finishedFollowsTheSilenceAtOnce()
    {
        AudioThread player;
        qint64 finishedAt = 0;
        connect(&player, &AudioThread::finished, this, [&] { finishedAt = AudioMonitor::now(); });
        player.file = fixture(QStringLiteral("tone-300ms.ogg"));
        player.start();
        QTRY_VERIFY_WITH_TIMEOUT(finishedAt != 0, 5000);
        const qint64 silence = Audio::instance()->lastSilenceNanoseconds();
        QVERIFY(silence != 0 && silence <= finishedAt);
        // Generous bound: an audible gap is what matters, not a benchmark.
        QVERIFY2(finishedAt - silence < 80'000'000,
            qPrintable(QString::number((finishedAt - silence) / 1e6)));
    }
};

QTEST_GUILESS_MAIN(TestAudioTiming)
#include "tst_audiotiming.moc"
