#include "bench/Bench.h"

#include <QCoreApplication>
#include <QtGlobal>
#include <algorithm>
#include <cstdio>

namespace Bench {

void report(const char *name, double value, const char *unit)
{
    std::printf("%s: %.2f %s\n", name, value, unit);
    std::fflush(stdout);
}

double median(QVector<double> values)
{
    if (values.isEmpty())
        return 0;
    std::sort(values.begin(), values.end());
    const int middle = int(values.size()) / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

QString fixture(const QString &name)
{
    return QStringLiteral(PURIMBA_FIXTURES "/") + name;
}

} // namespace Bench

int main(int argc, char **argv)
{
    // Real-time playback without a sound card, unless the caller chose a driver.
    if (qEnvironmentVariableIsEmpty("SDL_AUDIODRIVER"))
        qputenv("SDL_AUDIODRIVER", "dummy");
    QCoreApplication app(argc, argv);
    // A group's name alone ("audio", "records", "media", "e2e") runs only that one.
    const QString only = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    if (only.isEmpty() || only == QLatin1String("audio"))
        runAudioBench();
    // Before the media generator, whose thousand processes and files would
    // still be loading the disk and both cores.
    if (only.isEmpty() || only == QLatin1String("records"))
        runRecordsBench();
    if (only.isEmpty() || only == QLatin1String("media"))
        runMediaGenBench();
    if (only.isEmpty() || only == QLatin1String("e2e"))
        runE2eBench();
    return 0;
}
