// Runs a harness over committed inputs with the normal compiler, the way
// libFuzzer replays a file: every file named, and every file inside every
// folder named. The harness aborts on a finding, which fails the test.
#include <QByteArray>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

int main(int argc, char **argv)
{
    QStringList files;
    for (int i = 1; i < argc; ++i) {
        const QString arg = QFile::decodeName(argv[i]);
        if (!QFileInfo(arg).isDir()) {
            files.append(arg);
            continue;
        }
        QDirIterator it(arg, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext())
            files.append(it.next());
    }
    files.sort();
    for (const QString &path : std::as_const(files)) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
            return 1;
        }
        const QByteArray input = file.readAll();
        std::printf("%s\n", qPrintable(path));
        std::fflush(stdout);
        LLVMFuzzerTestOneInput(
            reinterpret_cast<const uint8_t *>(input.constData()), size_t(input.size()));
    }
    std::printf("%lld inputs read\n", static_cast<long long>(files.size()));
    // An empty list means the corpus was not found: that is no pass.
    return files.isEmpty() ? 1 : 0;
}
