#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QString>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

// What every harness needs: the input as bytes, a private working folder
// whose "data/" the readers open, and a failure that libFuzzer reports as a
// crash with the input that caused it.
namespace FuzzSupport {

inline QByteArray bytes(const uint8_t *data, size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
}

// Aborts, so that a broken promise of a reader (a lost file, a file written
// that cannot be read back) is a finding like a crash.
inline void require(bool condition, const char *what)
{
    if (!condition) {
        std::fprintf(stderr, "fuzz check failed: %s\n", what);
        std::abort();
    }
}

// The working folder, made once per process and emptied for every input:
// the readers take relative paths such as "data/users.xml".
inline QDir workFolder()
{
    static const QString path = [] {
        const QString dir = QDir::tempPath() + QStringLiteral("/purimba-fuzz-")
            + QString::number(QCoreApplication::applicationPid());
        QDir().mkpath(dir);
        QDir::setCurrent(dir);
        // Only this process's folder, removed when it ends.
        std::atexit([] { QDir(QDir::currentPath()).removeRecursively(); });
        return dir;
    }();
    QDir data(path + QStringLiteral("/data"));
    data.removeRecursively();
    QDir().mkpath(data.path());
    return QDir(path);
}

inline void writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    require(file.open(QIODevice::WriteOnly) && file.write(content) == content.size(),
        "the input could not be written to the working folder");
}

inline QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace FuzzSupport
