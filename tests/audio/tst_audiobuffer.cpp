#include "audio/Audio.h"
#include "audio/AudioMonitor.h"
#include "audio/AudioThread.h"
#include "audio/UnderrunWatch.h"
#include "support/TestSupport.h"

#include <QSignalSpy>
#include <QThread>
#include <QtTest>
#include <SDL.h>

using TestSupport::FinishedCounter;
using TestSupport::fixture;

// The mixer's buffer: as small as the device runs with, so that a clip is
// heard soon after the key, and larger once the device runs dry with it.
// SDL's disk driver, paced by a pause of 5 ms after each buffer, stands for a
// sound card.
class TestAudioBuffer : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        qputenv("SDL_DISKAUDIODELAY", "5");
        Audio::instance()->init();
    }
    void underrunsCallForALargerBuffer_data();
    void underrunsCallForALargerBuffer();
    void clipIsHeardWithinSixMilliseconds();
    void deviceRunningDryIsOpenedWithTheNextSize();
};

// Buffers asked for every 5 ms, as "<ms>" while a clip sounds and "<ms>s"
// in silence; the buffer after which a larger one is wanted, or -1.
void TestAudioBuffer::underrunsCallForALargerBuffer_data()
{
    QTest::addColumn<QStringList>("mixed");
    QTest::addColumn<int>("wanted");
    QTest::newRow("steady") << QStringList { "0", "5", "10", "15", "20", "25" } << -1;
    QTest::newRow("jitter within the second buffer")
        << QStringList { "0", "14", "28", "42", "56" } << -1;
    QTest::newRow("three gaps") << QStringList { "0", "30", "60", "90", "95" } << 3;
    QTest::newRow("two gaps") << QStringList { "0", "30", "35", "65", "70" } << -1;
    QTest::newRow("gaps in silence are not heard")
        << QStringList { "0s", "30s", "60s", "90s", "95" } << -1;
    QTest::newRow("a clip after a silence")
        << QStringList { "0s", "500", "530", "560", "590" } << 4;
    QTest::newRow("gaps far apart")
        << QStringList { "0", "30", "35s", "10040s", "10045", "10075", "10080", "10110" } << -1;
    QTest::newRow("counted again after each call")
        << QStringList { "0", "30", "60", "90", "120", "150", "180" } << 3;
}

void TestAudioBuffer::underrunsCallForALargerBuffer()
{
    QFETCH(QStringList, mixed);
    QFETCH(int, wanted);
    UnderrunWatch watch(5'000'000);
    int first = -1;
    int calls = 0;
    for (int i = 0; i < mixed.size(); ++i) {
        QString at = mixed[i];
        const bool sounding = !at.endsWith(QLatin1Char('s'));
        if (!sounding)
            at.chop(1);
        if (watch.mixed(at.toLongLong() * 1'000'000, sounding)) {
            ++calls;
            if (first < 0)
                first = i;
        }
    }
    QCOMPARE(first, wanted);
    if (QByteArray(QTest::currentDataTag()) == "counted again after each call")
        QCOMPARE(calls, 2);
}

// From the start of a clip to its first samples leaving the mixer: one
// buffer at most.
void TestAudioBuffer::clipIsHeardWithinSixMilliseconds()
{
    Audio *audio = Audio::instance();
    QVERIFY2(
        audio->bufferMilliseconds() < 6, qPrintable(QString::number(audio->bufferMilliseconds())));
    QCOMPARE(audio->bufferMilliseconds(), 1000.0 * audio->chunkSize() / audio->frequency());
}

// The mixer is held up while a clip sounds, as a busy machine would hold up a
// device whose buffer is too small: the next clip opens it with a larger one,
// and it plays.
void TestAudioBuffer::deviceRunningDryIsOpenedWithTheNextSize()
{
    Audio *audio = Audio::instance();
    const int before = audio->chunkSize();
    QSignalSpy opened(AudioMonitor::instance(), &AudioMonitor::deviceOpened);
    // The mixer's device: the first opened with SDL_OpenAudioDevice.
    const SDL_AudioDeviceID device = 2;
    QCOMPARE(SDL_GetAudioDeviceStatus(device), SDL_AUDIO_PLAYING);
    AudioThread player;
    FinishedCounter finished(&player);
    player.file = fixture(QStringLiteral("tone-2s.ogg"));
    player.start();
    QTRY_VERIFY(audio->isPlaying());
    // Past its start: a gap right at the start of a clip does not count.
    QThread::msleep(20);
    for (int gap = 0; gap < UnderrunWatch::gapsForLarger; ++gap) {
        SDL_LockAudioDevice(device);
        QThread::msleep(40);
        SDL_UnlockAudioDevice(device);
        QThread::msleep(40);
    }
    audio->stop();
    QVERIFY(finished.waitFor(1));
    QCOMPARE(audio->chunkSize(), before);
    QCOMPARE(opened.size(), 0);

    player.file = fixture(QStringLiteral("tone-50ms.ogg"));
    player.start();
    QVERIFY(finished.waitFor(2));
    QCOMPARE(opened.size(), 1);
    QCOMPARE(opened.at(0).at(1).toInt(), 2 * before);
    QCOMPARE(audio->chunkSize(), 2 * before);
}

QTEST_GUILESS_MAIN(TestAudioBuffer)
#include "tst_audiobuffer.moc"
