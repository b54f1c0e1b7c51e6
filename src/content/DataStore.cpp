#include "content/DataStore.h"

#include "content/LogRecord.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <QStandardPaths>
#include <QSysInfo>
#include <QThread>
#include <QTimer>
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

// How long submit() may hold up the window for a lock another program has:
// a write takes a few milliseconds, so a short wait spares most changes a
// retry, and the child notices nothing.
const int submitWaitMs = 20;
// Kept changes are tried again at this pace, slowing down to the longest
// while the folder stays busy or cannot be written.
const int firstRetryMs = 100;
const int longestRetryMs = 3000;

// QLockFile::tryLock(timeout) sleeps 100 ms and more between its tries, far
// longer than another program holds the lock, so it is asked again and again.
bool lock(QLockFile &file, QDeadlineTimer deadline = QDeadlineTimer(3 * staleLockMs))
{
    file.setStaleLockTime(staleLockMs);
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
    // Not damaged: unreadable here, it is left as it is and never written over.
    if (const QString encoding = DataDocument::undecodableEncoding(bytes); !encoding.isEmpty()) {
        if (!m_undecodable.contains(key)) {
            m_undecodable.insert(key);
            const QString tag = QStringLiteral("DataStore::read");
            writeLogRecord(tag,
                { QStringLiteral("file = ") + file.path, QStringLiteral("error = ") + error,
                    QStringLiteral("it is left as it is and not written") },
                tag);
        }
        return Unreadable;
    }
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
    Status status = load(file, false, doc);
    if (status == Damaged) {
        QLockFile guard(file.path + QStringLiteral(".lock"));
        status = lock(guard) ? load(file, true, doc) : Unreadable;
    }
    // What this program changed is seen here at once, written or kept; also
    // over a file that cannot be read, so a learner registered meanwhile can
    // go on (the rescue file holds what was stored).
    const auto kept = m_kept.find(QFileInfo(file.path).absoluteFilePath());
    if (kept == m_kept.end())
        return status;
    if (!doc->hasRoot())
        *doc = file.emptyDocument();
    for (const Change &change : std::as_const(kept->second.changes)) {
        DataDocument trial = *doc;
        if (change(trial) && trial.hasRoot())
            *doc = trial;
    }
    return status;
}

DataStore::DataStore()
    : m_retryMs(firstRetryMs)
{
}

DataStore::~DataStore()
{
    if (!m_kept.empty())
        close(m_closeTried ? 0 : closeWaitMs);
}

DataStore::Attempt DataStore::writeKept(
    const File &file, const Change &extra, QDeadlineTimer deadline, bool *refused)
{
    const QString key = QFileInfo(file.path).absoluteFilePath();
    QDir().mkpath(QFileInfo(key).absolutePath());
    QLockFile guard(file.path + QStringLiteral(".lock"));
    if (!lock(guard, deadline))
        return Busy;
    DataDocument doc;
    const Status status = load(file, true, &doc);
    if (status == Unreadable)
        return Failed;
    if (status == Missing)
        doc = file.emptyDocument();
    bool changed = false;
    const auto kept = m_kept.find(key);
    if (kept != m_kept.end()) {
        // Each on a copy: one that leaves no root must not take the others with it.
        for (const Change &change : std::as_const(kept->second.changes)) {
            DataDocument trial = doc;
            if (change(trial) && trial.hasRoot()) {
                doc = trial;
                changed = true;
            }
        }
    }
    if (extra) {
        DataDocument trial = doc;
        if (extra(trial)) {
            if (trial.hasRoot()) {
                doc = trial;
                changed = true;
            } else if (refused) {
                *refused = true;
            }
        }
    }
    if (changed) {
        if (!writeAtomically(file.path, doc))
            return Failed;
        m_files.insert(key, Known { QByteArray(), doc });
    }
    if (kept != m_kept.end()) {
        for (const QString &rescue : std::as_const(kept->second.rescues))
            QFile::remove(rescue);
        const QString tag = QStringLiteral("DataStore::submit");
        writeLogRecord(tag,
            { QStringLiteral("file = ") + key,
                QStringLiteral("kept changes written = ")
                    + QString::number(kept->second.changes.size()),
                QStringLiteral("kept for ms = ") + QString::number(kept->second.since.elapsed()) },
            tag);
        m_kept.erase(kept);
    }
    return Done;
}

bool DataStore::update(const File &file, const Change &change)
{
    bool refused = false;
    return writeKept(file, change, QDeadlineTimer(3 * staleLockMs), &refused) == Done && !refused;
}

DataStore::Outcome DataStore::submit(const File &file, const Change &change)
{
    bool refused = false;
    const Attempt attempt = writeKept(file, change, QDeadlineTimer(submitWaitMs), &refused);
    if (refused)
        return Refused;
    if (attempt == Done)
        return Written;
    keep(file, change, attempt == Busy);
    return Kept;
}

void DataStore::keep(const File &file, const Change &change, bool busy)
{
    const QString key = QFileInfo(file.path).absoluteFilePath();
    KeptChanges &kept = m_kept[key];
    if (kept.changes.isEmpty()) {
        kept.file = file;
        kept.file.path = key;
        kept.since.start();
        const QString tag = QStringLiteral("DataStore::submit");
        writeLogRecord(tag,
            { QStringLiteral("file = ") + key,
                busy ? QStringLiteral("the lock is held by another program")
                     : QStringLiteral("the file cannot be read or written"),
                QStringLiteral("the change is kept and written later") },
            tag);
    }
    kept.changes.append(change);
    rescue(kept);
    // Without an event loop (a tool, a test) the next change or close() writes it.
    if (!QCoreApplication::instance())
        return;
    if (!m_retry) {
        m_retry = std::make_unique<QTimer>();
        m_retry->setSingleShot(true);
        QObject::connect(m_retry.get(), &QTimer::timeout, m_retry.get(), [this] { retry(); });
    }
    if (!m_retry->isActive())
        m_retry->start(m_retryMs);
}

void DataStore::rescue(KeptChanges &kept)
{
    const auto known = m_files.constFind(kept.file.path);
    DataDocument doc
        = known != m_files.cend() && known->doc.hasRoot() ? known->doc : kept.file.emptyDocument();
    for (const Change &change : std::as_const(kept.changes)) {
        DataDocument trial = doc;
        if (change(trial) && trial.hasRoot())
            doc = trial;
    }
    const QFileInfo data(kept.file.path);
    const QString name = data.fileName() + QStringLiteral(".unsaved-") + QSysInfo::machineHostName()
        + QLatin1Char('-') + QString::number(QCoreApplication::applicationPid());
    // Beside the data file, where the teacher finds it; the user's own folder
    // when the data folder cannot be written at all.
    const QStringList places { data.absolutePath(),
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
            + QStringLiteral("/purimba/unsaved") };
    for (const QString &place : places) {
        const QString path = place + QLatin1Char('/') + name;
        if (writeAtomically(path, doc)) {
            if (!kept.rescues.contains(path))
                kept.rescues.append(path);
            return;
        }
    }
    const QString tag = QStringLiteral("DataStore::submit");
    writeLogRecord(tag,
        { QStringLiteral("file = ") + kept.file.path,
            QStringLiteral("no rescue file could be written; the change lives in memory only") },
        tag);
}

void DataStore::retry()
{
    QList<File> files;
    for (const auto &[key, kept] : m_kept)
        files.append(kept.file);
    for (const File &file : std::as_const(files))
        writeKept(file, Change(), QDeadlineTimer(submitWaitMs));
    if (m_kept.empty()) {
        m_retryMs = firstRetryMs;
        return;
    }
    m_retryMs = qMin(2 * m_retryMs, longestRetryMs);
    m_retry->start(m_retryMs);
}

bool DataStore::close(int waitMs)
{
    m_closeTried = true;
    if (m_retry)
        m_retry->stop();
    const QDeadlineTimer deadline(waitMs);
    QList<File> files;
    for (const auto &[key, kept] : m_kept)
        files.append(kept.file);
    for (const File &file : std::as_const(files))
        writeKept(file, Change(), deadline);
    for (const auto &[key, kept] : m_kept) {
        const QString tag = QStringLiteral("DataStore::close");
        writeLogRecord(tag,
            { QStringLiteral("file = ") + key,
                QStringLiteral("changes not written = ") + QString::number(kept.changes.size()),
                QStringLiteral("waited ms = ") + QString::number(waitMs),
                kept.rescues.isEmpty()
                    ? QStringLiteral("no rescue file could be written; they are lost")
                    : QStringLiteral("they are kept in = ") + kept.rescues.last() },
            tag);
    }
    return m_kept.empty();
}

int DataStore::keptChanges() const
{
    int count = 0;
    for (const auto &[key, kept] : m_kept)
        count += int(kept.changes.size());
    return count;
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
