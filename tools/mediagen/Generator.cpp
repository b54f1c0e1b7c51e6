#include "Generator.h"

#include "AnimationMaker.h"
#include "AudioMaker.h"
#include "PictureMaker.h"
#include "Tools.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QSaveFile>
#include <QSet>
#include <QThreadPool>
#include <algorithm>
#include <atomic>
#include <cstdio>

namespace {

// Raise a kind's number whenever the code that makes that kind changes what
// it writes: every file of the kind is then made again.
int kindVersion(const QString &kind)
{
    if (kind == QLatin1String("speech"))
        return 2;
    if (kind == QLatin1String("sound"))
        return 2;
    if (kind == QLatin1String("picture"))
        return 2;
    if (kind == QLatin1String("animation"))
        return 1;
    return 1;
}

const char kManifestName[] = "manifest.txt";

// Replaces target by the finished temporary file in one step.
bool moveIntoPlace(const QString &temporary, const QString &target, QString *error)
{
    if (std::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(target).constData())
        != 0) {
        QFile::remove(temporary);
        *error = QStringLiteral("cannot move %1 into place").arg(target);
        return false;
    }
    return true;
}

QString temporaryFor(const QString &target)
{
    return target + QStringLiteral(".part");
}

} // namespace

Generator::Generator(const Tools &tools, const QString &outputRoot, int threads)
    : m_tools(tools)
    , m_root(outputRoot)
    , m_state(outputRoot + QStringLiteral("/.mediagen"))
    , m_threads(qMax(1, threads))
{
}

QByteArray Generator::fingerprint(const Job &job) const
{
    QCryptographicHash hash(QCryptographicHash::Sha1);
    hash.addData(job.kind.toUtf8());
    hash.addData(QByteArray::number(kindVersion(job.kind)));
    if (job.kind != QLatin1String("file") && job.kind != QLatin1String("picture"))
        hash.addData(m_tools.versions.toUtf8());
    for (const QString &param : job.params) {
        hash.addData("\x1f");
        hash.addData(param.toUtf8());
    }
    return hash.result().toHex();
}

QHash<QString, Generator::Record> Generator::readManifest() const
{
    QHash<QString, Record> records;
    QFile file(m_state + QLatin1Char('/') + QLatin1String(kManifestName));
    if (!file.open(QIODevice::ReadOnly))
        return records;
    // One line per file: fingerprint, size, path (the path may hold blanks).
    while (!file.atEnd()) {
        const QByteArray line = file.readLine().chopped(1);
        const QList<QByteArray> fields = line.split('\t');
        if (fields.size() != 3)
            continue;
        records.insert(
            QString::fromUtf8(fields.at(2)), Record { fields.at(0), fields.at(1).toLongLong() });
    }
    return records;
}

bool Generator::writeManifest(const QHash<QString, Record> &records, QString *error) const
{
    QStringList paths = records.keys();
    std::sort(paths.begin(), paths.end());
    QSaveFile file(m_state + QLatin1Char('/') + QLatin1String(kManifestName));
    if (!file.open(QIODevice::WriteOnly)) {
        *error = file.fileName() + QStringLiteral(": cannot be written");
        return false;
    }
    for (const QString &path : paths) {
        const Record &record = records.value(path);
        file.write(record.fingerprint + '\t' + QByteArray::number(record.size) + '\t'
            + path.toUtf8() + '\n');
    }
    if (!file.commit()) {
        *error = file.fileName() + QStringLiteral(": cannot be written");
        return false;
    }
    return true;
}

bool Generator::produce(const Job &job, const QString &target, QString *error) const
{
    if (job.kind == QLatin1String("speech"))
        return AudioMaker(m_tools).speech(job.params, target, error);
    if (job.kind == QLatin1String("sound"))
        return AudioMaker(m_tools).sound(job.params, target, error);
    if (job.kind == QLatin1String("picture"))
        return PictureMaker::make(job.params, target, error);
    if (job.kind == QLatin1String("animation"))
        return AnimationMaker(m_tools).make(job.params, target, m_state, error);
    if (job.kind == QLatin1String("file")) {
        QFile file(target);
        const QByteArray bytes = job.params.value(0).toUtf8();
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
            || file.write(bytes) != bytes.size()) {
            *error = target + QStringLiteral(": cannot be written");
            return false;
        }
        return true;
    }
    *error = QStringLiteral("unknown kind of file: %1").arg(job.kind);
    return false;
}

int Generator::removeUnplanned(const QStringList &planned, const QStringList &folders) const
{
    const QSet<QString> keep(planned.cbegin(), planned.cend());
    int removed = 0;
    for (const QString &top : { QStringLiteral("media"), QStringLiteral("data") }) {
        const QString base = m_root + QLatin1Char('/') + top;
        QDirIterator files(base, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (files.hasNext()) {
            const QString path = files.next();
            const QString relative = path.mid(m_root.size() + 1);
            if (!keep.contains(relative) && QFile::remove(path))
                ++removed;
        }
        // Folders left empty by removed words or texts would be taken for
        // words; the longest paths go first so nested empties disappear too.
        QStringList dirs;
        QDirIterator walk(base, QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
        while (walk.hasNext())
            dirs.append(walk.next());
        std::sort(dirs.begin(), dirs.end(),
            [](const QString &a, const QString &b) { return a.size() > b.size(); });
        for (const QString &dir : std::as_const(dirs)) {
            if (!folders.contains(dir.mid(m_root.size() + 1)))
                QDir().rmdir(dir); // fails, as it should, while the folder holds anything
        }
    }
    return removed;
}

bool Generator::run(const QList<Job> &jobs, const QStringList &folders, QString *error)
{
    m_stats = Stats();
    m_stats.files = int(jobs.size());
    if (!QDir().mkpath(m_state)) {
        *error = m_state + QStringLiteral(": cannot be created");
        return false;
    }
    const QHash<QString, Record> previous = readManifest();

    // Group the planned files by fingerprint; note which are already right.
    QHash<QByteArray, QList<int>> stale;
    QHash<QByteArray, QString> done; // fingerprint -> a file that already has it
    QList<QByteArray> order;
    QHash<QString, Record> current;
    QStringList planned;
    for (int i = 0; i < jobs.size(); ++i) {
        const Job &job = jobs.at(i);
        const QByteArray print = fingerprint(job);
        const QString path = m_root + QLatin1Char('/') + job.output;
        planned.append(job.output);
        const Record old = previous.value(job.output);
        const QFileInfo info(path);
        if (old.fingerprint == print && info.exists() && info.size() == old.size) {
            current.insert(job.output, old);
            done.insert(print, path);
            continue;
        }
        if (!stale.contains(print))
            order.append(print);
        stale[print].append(i);
    }

    QMutex lock;
    QStringList failures;
    std::atomic<int> made(0);
    std::atomic<int> copied(0);
    QThreadPool pool;
    pool.setMaxThreadCount(m_threads);
    for (const QByteArray &print : std::as_const(order)) {
        const QList<int> indexes = stale.value(print);
        const QString source = done.value(print);
        pool.start([&, print, indexes, source]() {
            QString problem;
            QString origin = source;
            QList<int> toCopy = indexes;
            for (int index : indexes) {
                QDir().mkpath(QFileInfo(m_root + QLatin1Char('/') + jobs.at(index).output).path());
            }
            if (origin.isEmpty()) {
                const Job &first = jobs.at(toCopy.takeFirst());
                const QString target = m_root + QLatin1Char('/') + first.output;
                const QString temporary = temporaryFor(target);
                if (!produce(first, temporary, &problem)
                    || !moveIntoPlace(temporary, target, &problem)) {
                    QFile::remove(temporary);
                    QMutexLocker locked(&lock);
                    failures.append(first.output + QStringLiteral(": ") + problem);
                    return;
                }
                ++made;
                origin = target;
                QMutexLocker locked(&lock);
                current.insert(first.output, Record { print, QFileInfo(target).size() });
            }
            for (int index : std::as_const(toCopy)) {
                const Job &job = jobs.at(index);
                const QString target = m_root + QLatin1Char('/') + job.output;
                const QString temporary = temporaryFor(target);
                QFile::remove(temporary);
                if (!QFile::copy(origin, temporary)
                    || !moveIntoPlace(temporary, target, &problem)) {
                    QMutexLocker locked(&lock);
                    failures.append(job.output + QStringLiteral(": cannot copy ") + origin);
                    continue;
                }
                ++copied;
                QMutexLocker locked(&lock);
                current.insert(job.output, Record { print, QFileInfo(target).size() });
            }
        });
    }
    pool.waitForDone();

    for (const QString &folder : folders)
        QDir().mkpath(m_root + QLatin1Char('/') + folder);
    m_stats.made = made;
    m_stats.copied = copied;
    m_stats.removed = removeUnplanned(planned, folders);

    // What was made stays recorded even when other files failed.
    QString manifestError;
    const bool recorded = writeManifest(current, &manifestError);
    if (!failures.isEmpty()) {
        failures.sort();
        *error = failures.join(QLatin1Char('\n'));
        return false;
    }
    if (!recorded) {
        *error = manifestError;
        return false;
    }
    return true;
}
