// purimba-mediagen: makes the demo media tree and the activity catalogue
// from the text sources in media-src/.
//
//   purimba-mediagen --sources <media-src> --output <folder> [--jobs N]
//
// writes <folder>/media/... and <folder>/data/activities.xml. Only what
// changed since the last run is made again.

#include "mediagen/Generator.h"
#include "mediagen/MediaPlan.h"
#include "mediagen/Tools.h"

#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QThread>
#include <cstdio>

namespace {

// Qt complains on stderr about a missing XDG_RUNTIME_DIR, which a painting
// tool never uses; everything else goes through.
QtMessageHandler defaultHandler = nullptr;

void quietHandler(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (message.startsWith(QLatin1String("QStandardPaths:")))
        return;
    defaultHandler(type, context, message);
}

} // namespace

int main(int argc, char *argv[])
{
    defaultHandler = qInstallMessageHandler(quietHandler);
    // Painting needs a GUI application but never a screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("purimba-mediagen"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Makes the Purimba demo media tree."));
    parser.addHelpOption();
    const QCommandLineOption sources(QStringLiteral("sources"),
        QStringLiteral("The media-src folder."), QStringLiteral("folder"));
    const QCommandLineOption output(QStringLiteral("output"),
        QStringLiteral("Where media/ and data/ are written."), QStringLiteral("folder"));
    const QCommandLineOption jobs(QStringLiteral("jobs"),
        QStringLiteral("Files made at the same time."), QStringLiteral("n"),
        QString::number(QThread::idealThreadCount()));
    parser.addOptions({ sources, output, jobs });
    parser.process(app);
    if (!parser.isSet(sources) || !parser.isSet(output)) {
        std::fprintf(stderr, "purimba-mediagen: --sources and --output are required\n");
        return 2;
    }

    QElapsedTimer clock;
    clock.start();
    QString error;
    Tools tools;
    MediaPlan plan;
    if (!tools.locate(&error) || !plan.build(parser.value(sources), &error)) {
        std::fprintf(stderr, "purimba-mediagen: %s\n", qPrintable(error));
        return 1;
    }
    Generator generator(tools, parser.value(output), parser.value(jobs).toInt());
    const bool ok = generator.run(plan.jobs(), plan.folders(), &error);
    const Generator::Stats stats = generator.stats();
    std::printf("purimba-mediagen: %d files, %d made, %d copied, %d removed in %.1f s\n",
        stats.files, stats.made, stats.copied, stats.removed, clock.elapsed() / 1000.0);
    if (!ok) {
        std::fprintf(stderr, "purimba-mediagen: failed:\n%s\n", qPrintable(error));
        return 1;
    }
    return 0;
}
