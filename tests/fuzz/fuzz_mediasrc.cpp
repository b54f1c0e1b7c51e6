// The media sources as the demo generator plans its tree from them: the
// input takes the place of one of settings.txt, sounds.txt, clips.txt or
// suggestions.txt (chosen by its first byte) among the committed sources.
#include "FuzzSupport.h"
#include "mediagen/MediaPlan.h"

#include <QDirIterator>
#include <QGuiApplication>

namespace {

const char *const replaced[] = { "settings.txt", "sounds.txt", "clips.txt", "suggestions.txt" };

// A copy of media-src, made once: the input is written into it and the
// original put back after each run.
QString sources()
{
    static const QString root = [] {
        const QString to = FuzzSupport::workFolder().filePath(QStringLiteral("media-src"));
        QDirIterator it(
            QStringLiteral(PURIMBA_MEDIA_SRC), QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString from = it.next();
            const QString target = to + from.mid(qsizetype(sizeof(PURIMBA_MEDIA_SRC)) - 1);
            QDir().mkpath(QFileInfo(target).absolutePath());
            FuzzSupport::writeFile(target, FuzzSupport::readFile(from));
        }
        return to;
    }();
    return root;
}

// Where the generator would write: relative, and inside the output root.
bool inside(const QString &output)
{
    const QString clean = QDir::cleanPath(output);
    return !output.isEmpty() && QDir::isRelativePath(output) && clean != QLatin1String("..")
        && !clean.startsWith(QLatin1String("../"));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // Pictures are planned with the toolkit's fonts, as the generator does.
    static int argc = 1;
    static char name[] = "fuzz_mediasrc";
    static char *argv[] = { name, nullptr };
    static const QGuiApplication *app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QGuiApplication(argc, argv);
    }();
    Q_UNUSED(app);
    if (size == 0)
        return 0;
    const QString root = sources();
    const QString file = root + QLatin1Char('/') + QLatin1String(replaced[data[0] % 4]);
    const QByteArray original = FuzzSupport::readFile(file);
    FuzzSupport::writeFile(file, FuzzSupport::bytes(data + 1, size - 1));

    MediaPlan plan;
    QString error;
    if (plan.build(root, &error)) {
        for (const Job &job : plan.jobs())
            FuzzSupport::require(inside(job.output), "a file planned outside the output tree");
        for (const QString &folder : plan.folders())
            FuzzSupport::require(inside(folder), "a folder planned outside the output tree");
    } else {
        FuzzSupport::require(!error.isEmpty(), "a source refused without a message");
    }
    FuzzSupport::writeFile(file, original);
    return 0;
}
