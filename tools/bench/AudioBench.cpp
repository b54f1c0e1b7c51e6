#include "audio/Audio.h"
#include "audio/AudioMonitor.h"
#include "audio/AudioThread.h"
#include "bench/Bench.h"

#include <QEventLoop>
#include <ctime>

namespace {

double processCpuSeconds()
{
    timespec now {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

double millisecondsBetween(qint64 from, qint64 to)
{
    return double(to - from) / 1e6;
}

// Plays file on player and returns when its finished() has run on this thread.
void playAndWait(AudioThread &player, const QString &file)
{
    QEventLoop loop;
    QObject::connect(&player, &AudioThread::finished, &loop, &QEventLoop::quit);
    player.file = file;
    player.start();
    loop.exec();
}

} // namespace

void runAudioBench()
{
    Audio *audio = Audio::instance();
    audio->init();
    AudioThread player;
    const QString twoSeconds = Bench::fixture(QStringLiteral("tone-2s.ogg"));
    const QString shortClip = Bench::fixture(QStringLiteral("tone-300ms.ogg"));

    // CPU while one player waits out a 2 s clip.
    {
        qint64 wallStart = 0;
        double cpuStart = 0;
        auto connection = QObject::connect(
            AudioMonitor::instance(), &AudioMonitor::clipStarted, AudioMonitor::instance(),
            [&](const QString &, qint64 when) {
                wallStart = when;
                cpuStart = processCpuSeconds();
            },
            Qt::DirectConnection);
        playAndWait(player, twoSeconds);
        const double cpu = processCpuSeconds() - cpuStart;
        const double wall = millisecondsBetween(wallStart, AudioMonitor::now()) / 1000;
        QObject::disconnect(connection);
        Bench::report("wait_cpu_percent", 100 * cpu / wall, "%");
    }

    // From the channel falling silent to finished() on the GUI thread.
    {
        QVector<double> delays;
        for (int i = 0; i < 20; ++i) {
            playAndWait(player, shortClip);
            delays << millisecondsBetween(audio->lastSilenceNanoseconds(), AudioMonitor::now());
        }
        Bench::report("finished_delay_ms", Bench::median(delays), "ms");
    }

    // From start() to the clip sounding, decoding included.
    {
        QVector<double> latencies;
        for (int i = 0; i < 10; ++i) {
            qint64 started = 0;
            auto connection = QObject::connect(
                AudioMonitor::instance(), &AudioMonitor::clipStarted, AudioMonitor::instance(),
                [&](const QString &, qint64 when) {
                    started = when;
                    audio->stop();
                },
                Qt::DirectConnection);
            const qint64 asked = AudioMonitor::now();
            playAndWait(player, twoSeconds);
            QObject::disconnect(connection);
            latencies << millisecondsBetween(asked, started);
        }
        Bench::report("start_latency_ms", Bench::median(latencies), "ms");
    }
}
