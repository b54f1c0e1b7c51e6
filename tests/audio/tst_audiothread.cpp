#include "audio/Audio.h"
#include "audio/AudioMonitor.h"
#include "audio/AudioThread.h"
#include "support/TestSupport.h"

#include <QPointer>
#include <QtTest>
#include <SDL_mixer.h>

using TestSupport::ClipRecorder;
using TestSupport::FinishedCounter;
using TestSupport::fixture;

// Clips play through SDL's disk driver, faster than real time: these cases
// are about what is played and when finished() comes, not about timing.
class TestAudioThread : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        for (int i = 0; i < 5; ++i)
            Audio::instance()->init();
        int frequency = 0;
        Uint16 format = 0;
        int channels = 0;
        // Mix_QuerySpec counts how often the device was opened.
        QCOMPARE(Mix_QuerySpec(&frequency, &format, &channels), 1);
        QCOMPARE(frequency, 22050);
        QCOMPARE(format, Uint16(AUDIO_S16LSB));
        QCOMPARE(channels, 2);
    }

    void emptyOrMissingFileFinishesWithoutSound_data()
    {
        QTest::addColumn<QString>("file");
        QTest::newRow("empty") << QString();
        QTest::newRow("missing") << QStringLiteral("media/none/clip.ogg");
        QTest::newRow("folder") << QDir::tempPath();
    }

    void emptyOrMissingFileFinishesWithoutSound()
    {
        QFETCH(QString, file);
        ClipRecorder clips;
        AudioThread player;
        FinishedCounter finished(&player);
        player.file = file;
        player.start();
        QVERIFY(finished.waitFor(1));
        QCOMPARE(finished.count, 1);
        QCOMPARE(clips.requested, QStringList { file });
        QVERIFY(clips.started.isEmpty());
    }

    void clipPlaysOnceThenFinishes()
    {
        ClipRecorder clips;
        AudioThread player;
        FinishedCounter finished(&player);
        player.file = fixture(QStringLiteral("tone-300ms.ogg"));
        player.start();
        QVERIFY(finished.waitFor(1));
        QCOMPARE(clips.started, QStringList { player.file });
        QVERIFY(!Audio::instance()->isPlaying());
        QTest::qWait(50);
        QCOMPARE(finished.count, 1);
    }

    void fileIsCopiedAtStart()
    {
        ClipRecorder clips;
        AudioThread player;
        FinishedCounter finished(&player);
        const QString first = fixture(QStringLiteral("tone-300ms.ogg"));
        player.file = first;
        player.start();
        player.file = fixture(QStringLiteral("tone-50ms.ogg"));
        QVERIFY(finished.waitFor(1));
        QCOMPARE(clips.started, QStringList { first });
    }

    // The member-player pattern: each finished() starts the next step.
    void restartFromFinishedSlotPlaysTheNextClip()
    {
        ClipRecorder clips;
        AudioThread player;
        const QStringList steps { fixture(QStringLiteral("tone-50ms.ogg")),
            fixture(QStringLiteral("tone-300ms.ogg")), QString(),
            fixture(QStringLiteral("tone-50ms.ogg")) };
        int next = 1;
        int finishedCount = 0;
        connect(&player, &AudioThread::finished, this, [&] {
            ++finishedCount;
            if (next < steps.size()) {
                player.file = steps[next++];
                player.start();
            }
        });
        player.file = steps[0];
        player.start();
        QTRY_COMPARE_WITH_TIMEOUT(finishedCount, steps.size(), 10000);
        QCOMPARE(clips.requested, steps);
        QCOMPARE(clips.started.size(), 3);
    }

    void longChainOfRestartsNeverStalls()
    {
        AudioThread player;
        int remaining = 40;
        connect(&player, &AudioThread::finished, this, [&] {
            if (--remaining > 0)
                player.start();
        });
        player.file = fixture(QStringLiteral("tone-50ms.ogg"));
        player.start();
        QTRY_COMPARE_WITH_TIMEOUT(remaining, 0, 20000);
    }

    // Players started together decode at the same time on their threads.
    void simultaneousPlayersDecodeSafely()
    {
        const QStringList files { fixture(QStringLiteral("tone-2s.ogg")),
            fixture(QStringLiteral("tone-50ms.ogg")), fixture(QStringLiteral("tone-300ms.ogg")),
            fixture(QStringLiteral("tone-50ms.ogg")) };
        for (int round = 0; round < 25; ++round) {
            int finished = 0;
            for (const QString &file : files) {
                AudioThread *player = AudioThread::oneShot(file, this);
                connect(player, &AudioThread::finished, this, [&finished] { ++finished; });
                player->start();
            }
            QTRY_COMPARE_WITH_TIMEOUT(finished, int(files.size()), 10000);
        }
    }

    // With the fast driver the race between the decodes is at its widest:
    // the clip asked for last must still be the one that sounds last.
    void newestClipWinsOverManyRounds()
    {
        const QString longClip = fixture(QStringLiteral("tone-2s.ogg"));
        const QString shortClip = fixture(QStringLiteral("tone-50ms.ogg"));
        for (int round = 0; round < 300; ++round) {
            const QStringList started = TestSupport::playBackToBack(longClip, shortClip);
            // A may have begun before B was asked for (a busy machine can
            // pause this thread between the two starts), never after B.
            QCOMPARE(started.value(started.size() - 1), shortClip);
            QVERIFY(started.size() <= 2);
        }
    }

    // A cancelled player never reports finished(); a one-shot one is released.
    void cancelledPlayerStaysSilent()
    {
        ClipRecorder clips;
        AudioThread member;
        FinishedCounter memberFinished(&member);
        member.file = fixture(QStringLiteral("tone-300ms.ogg"));
        member.start();
        member.cancel();
        QVERIFY(!member.isRunning());
        QPointer<AudioThread> oneShot
            = AudioThread::oneShot(fixture(QStringLiteral("tone-300ms.ogg")), this);
        FinishedCounter oneShotFinished(oneShot.data());
        oneShot->start();
        oneShot->cancel();
        QTRY_VERIFY(oneShot.isNull());

        // The member player can be started again at once.
        member.file = fixture(QStringLiteral("tone-50ms.ogg"));
        member.start();
        QVERIFY(memberFinished.waitFor(1));
        QTest::qWait(100);
        QCOMPARE(memberFinished.count, 1);
        QCOMPARE(oneShotFinished.count, 0);
        // A busy machine may let a cancelled clip begin before cancel(); it
        // never sounds after the clip asked for since.
        QCOMPARE(clips.started.value(clips.started.size() - 1), member.file);
    }

    void oneShotPlayerIsReleasedAfterFinished()
    {
        QObject owner;
        QPointer<AudioThread> player
            = AudioThread::oneShot(fixture(QStringLiteral("tone-50ms.ogg")), &owner);
        FinishedCounter finished(player.data());
        player->start();
        QVERIFY(finished.waitFor(1));
        QTRY_VERIFY(player.isNull());
        QVERIFY(owner.children().isEmpty());
    }

    void pathOutsideLatin1Plays()
    {
        TestSupport::MediaTree tree;
        const QString clip
            = tree.addClip(QStringLiteral("media/languages/Español/Letras/Ntilde/Ñandú/name.ogg"));
        const QString greek = tree.addClip(QStringLiteral("media/Ελληνικά/λ.ogg"));
        ClipRecorder clips;
        AudioThread player;
        FinishedCounter finished(&player);
        player.file = clip;
        player.start();
        QVERIFY(finished.waitFor(1));
        player.file = greek;
        player.start();
        QVERIFY(finished.waitFor(2));
        QCOMPARE(clips.started, (QStringList { clip, greek }));
    }

    void relativePathIsOpenedAgainstWorkingDirectory()
    {
        TestSupport::MediaTree tree;
        tree.addClip(QStringLiteral("media/system/audio/instructions/bien.ogg"));
        ClipRecorder clips;
        AudioThread player;
        FinishedCounter finished(&player);
        player.file = QStringLiteral("media/system/audio/instructions/bien.ogg");
        player.start();
        QVERIFY(finished.waitFor(1));
        QCOMPARE(clips.started.size(), 1);
    }

    void destroyingARunningPlayerStopsTheClip()
    {
        auto *player = new AudioThread;
        ClipRecorder clips;
        // Long enough to still sound when the player is destroyed, even on
        // the fast driver.
        player->file = fixture(QStringLiteral("tone-2s.ogg"));
        player->start();
        QTRY_COMPARE(clips.started.size(), 1);
        delete player; // must neither hang nor crash
        QVERIFY(!Audio::instance()->isPlaying());
    }
};

QTEST_GUILESS_MAIN(TestAudioThread)
#include "tst_audiothread.moc"
