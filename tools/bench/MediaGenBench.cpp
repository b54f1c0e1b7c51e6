#include "bench/Bench.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <cstdio>

namespace {

// Seconds one run of the generator takes, or -1 when it fails.
double generate(const QString &output)
{
    QProcess generator;
    generator.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer clock;
    clock.start();
    generator.start(QStringLiteral(PURIMBA_MEDIAGEN),
        { QStringLiteral("--sources"), QStringLiteral(PURIMBA_MEDIA_SRC),
            QStringLiteral("--output"), output, QStringLiteral("--jobs"),
            QString::number(QThread::idealThreadCount()) });
    if (!generator.waitForFinished(600000) || generator.exitStatus() != QProcess::NormalExit
        || generator.exitCode() != 0) {
        std::fprintf(stderr, "purimba-mediagen failed\n");
        return -1;
    }
    return clock.elapsed() / 1000.0;
}

} // namespace

// The whole demo tree from nothing, then the run that finds nothing to do
// (what every build pays).
void runMediaGenBench()
{
    QTemporaryDir output;
    const double scratch = generate(output.path());
    if (scratch < 0)
        return;
    Bench::report("mediagen_from_scratch", scratch, "s");
    Bench::report("mediagen_no_change", generate(output.path()), "s");
}
