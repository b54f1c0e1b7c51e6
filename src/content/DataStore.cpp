#include "content/DataStore.h"

#include "content/LogRecord.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <QThread>
#include <QVarLengthArray>
#include <cstring>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

// A lock is held for one write, a few milliseconds; one older than this was
// left by a program that hung or by a machine that went down.
const int staleLockMs = 5000;

// QLockFile::tryLock(timeout) sleeps 100 ms and more between its tries, far
// longer than another program holds the lock, so it is asked again and again.
bool lock(QLockFile &file)
{
    file.setStaleLockTime(staleLockMs);
    const QDeadlineTimer deadline(3 * staleLockMs);
    while (!file.tryLock(0)) {
        if (file.error() != QLockFile::LockFailedError || deadline.hasExpired())
            return false;
        QThread::msleep(2);
    }
    return true;
}

// Flushes a folder's entries, so a file renamed into it is still there after
// a power cut. Not every file system can sync a folder; that is no failure.
void syncFolder([[maybe_unused]] const QString &folder)
{
#ifdef Q_OS_UNIX
    const int fd
        = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
#endif
}

bool setAside(const QString &path, const QString &error)
{
    // rename() refuses an existing name, so an older backup is never replaced.
    QString backup = path + QStringLiteral(".damaged");
    bool kept = QFile::rename(path, backup);
    for (int n = 2; !kept && n < 1000; ++n) {
        backup = path + QStringLiteral(".damaged-") + QString::number(n);
        if (!QFileInfo::exists(backup))
            kept = QFile::rename(path, backup);
    }

    if (kept)
        syncFolder(QFileInfo(path).absolutePath());
    const QString tag = QStringLiteral("DataStore::read");
    writeLogRecord(tag,
        { QStringLiteral("file = ") + path, QStringLiteral("error = ") + error,
            kept ? QStringLiteral("kept as = ") + backup
                 : QStringLiteral("could not be moved aside; it is left as it is") },
        tag);
    return kept;
}

// Whether the rest of the open file holds exactly the given pieces, read in
// small pieces into one buffer: a big file that did not change then costs
// no new memory.
bool holdsExactly(
    QFile &file, const std::function<bool(const std::function<bool(QByteArrayView)> &)> &pieces)
{
    QVarLengthArray<char, 64 * 1024> buffer(64 * 1024);
    qsizetype filled = 0;
    qsizetype used = 0;
    const bool same = pieces([&](QByteArrayView piece) {
        while (!piece.isEmpty()) {
            if (used == filled) {
                const qint64 got = file.read(buffer.data(), buffer.size());
                if (got <= 0)
                    return false;
                filled = qsizetype(got);
                used = 0;
            }
            const qsizetype n = qMin(piece.size(), filled - used);
            if (std::memcmp(piece.data(), buffer.constData() + used, size_t(n)) != 0)
                return false;
            used += n;
            piece = piece.sliced(n);
        }
        return true;
    });
    return same && used == filled && file.read(buffer.data(), 1) == 0;
}

bool holdsExactly(QFile &file, const QByteArray &bytes)
{
    return file.size() == bytes.size()
        && holdsExactly(
            file, [&bytes](const std::function<bool(QByteArrayView)> &f) { return f(bytes); });
}

bool holdsExactly(QFile &file, const DataDocument &doc)
{
    return holdsExactly(
        file, [&doc](const std::function<bool(QByteArrayView)> &f) { return doc.forEachPiece(f); });
}

} // namespace

void DataStore::preload(const QString &path)
{
    const QString key = QFileInfo(path).absoluteFilePath();
    if (m_files.contains(key) || m_preloads.count(key))
        return;
    m_preloads[key] = std::async(std::launch::async, [key] {
        Known known;
        QFile source(key);
        if (source.open(QIODevice::ReadOnly)) {
            known.bytes = source.readAll();
            if (source.error() != QFileDevice::NoError || !known.doc.parse(known.bytes))
                known = Known();
        }
        return known;
    });
}

void DataStore::clear()
{
    m_preloads.clear();
    m_files.clear();
}

DataStore::Status DataStore::load(const File &file, bool locked, DataDocument *doc)
{
    *doc = DataDocument();
    const QString key = QFileInfo(file.path).absoluteFilePath();
    if (const auto preloaded = m_preloads.find(key); preloaded != m_preloads.end()) {
        Known known = preloaded->second.get();
        m_preloads.erase(preloaded);
        if (known.doc.hasRoot())
            m_files.insert(key, known);
    }
    QFile source(file.path);
    if (!source.exists()) {
        m_files.remove(key);
        return Missing;
    }
    if (!source.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return Unreadable;
    Known &known = m_files[key];
    if (known.doc.hasRoot()
        && (known.bytes.isEmpty() ? holdsExactly(source, known.doc)
                                  : holdsExactly(source, known.bytes))) {
        *doc = known.doc;
        return Loaded;
    }
    if (!source.seek(0))
        return Unreadable;
    const QByteArray bytes = source.readAll();
    if (source.error() != QFileDevice::NoError)
        return Unreadable;
    QString error;
    if (known.doc.parse(bytes, &error)) {
        known.bytes = bytes;
        *doc = known.doc;
        return Loaded;
    }
    m_files.remove(key);
    // Only under the lock: without it, a writer may have replaced the file
    // with a good one since it was read.
    if (!locked)
        return Damaged;
    if (!setAside(file.path, error))
        return Unreadable;
    *doc = file.emptyDocument();
    return Damaged;
}

DataStore::Status DataStore::read(const File &file, DataDocument *doc)
{
    const Status status = load(file, false, doc);
    if (status != Damaged)
        return status;
    QLockFile guard(file.path + QStringLiteral(".lock"));
    return lock(guard) ? load(file, true, doc) : Unreadable;
}

bool DataStore::update(const File &file, const std::function<bool(DataDocument &)> &change)
{
    QDir().mkpath(QFileInfo(file.path).absolutePath());
    QLockFile guard(file.path + QStringLiteral(".lock"));
    DataDocument doc;
    const Status status = lock(guard) ? load(file, true, &doc) : Unreadable;
    if (status == Unreadable)
        return false;
    if (status == Missing)
        doc = file.emptyDocument();
    if (!change(doc))
        return true;
    if (!doc.hasRoot())
        return false;
    if (!writeAtomically(file.path, doc))
        return false;
    m_files.insert(QFileInfo(file.path).absoluteFilePath(), Known { QByteArray(), doc });
    return true;
}

namespace {

bool writePieces(const QString &path,
    const std::function<bool(const std::function<bool(QByteArrayView)> &)> &pieces)
{
    const QString folder = QFileInfo(path).absolutePath();
    QDir().mkpath(folder);
    // commit() flushes the new file to the disk before it takes the old name;
    // a file not committed is removed with the QSaveFile.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    // Gathered into big writes: one system call per entry is slow.
    QByteArray chunk;
    chunk.reserve(1 << 20);
    const auto flush = [&file, &chunk] {
        const bool done = file.write(chunk) == chunk.size();
        chunk.resize(0);
        return done;
    };
    const bool written = pieces([&file, &chunk, &flush](QByteArrayView piece) {
        if (chunk.size() + piece.size() > chunk.capacity() && !flush())
            return false;
        if (piece.size() >= chunk.capacity())
            return file.write(piece.data(), piece.size()) == piece.size();
        chunk += piece;
        return true;
    });
    if (!written || !flush() || !file.commit())
        return false;
    syncFolder(folder);
    return true;
}

} // namespace

bool DataStore::writeAtomically(const QString &path, const QByteArray &bytes)
{
    return writePieces(
        path, [&bytes](const std::function<bool(QByteArrayView)> &f) { return f(bytes); });
}

bool DataStore::writeAtomically(const QString &path, const DataDocument &doc)
{
    return writePieces(
        path, [&doc](const std::function<bool(QByteArrayView)> &f) { return doc.forEachPiece(f); });
}
