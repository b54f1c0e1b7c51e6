#pragma once

#include "content/DataDocument.h"

#include <QByteArray>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <functional>
#include <future>
#include <map>
#include <memory>

class QTimer;

// The program's XML data files ("data/users.xml", "data/scores.xml", the
// suggestion files) as this store last read or wrote them, each with its
// parsed document. One store is owned where the program owns its data and
// handed to the classes that read and write the files.
//
// Several programs may share one data folder. Reading takes no lock, since a
// write replaces the whole file in one step; every change is made under a
// lock file beside the data file ("scores.xml.lock") on the file read again
// under that lock, so no process writes back another's learners from an old
// copy. A lock left by a program that ended, or older than a few seconds, is
// taken over.
//
// Nothing a teacher stored may be lost: a crash or a full disk in the middle
// of a write leaves the previous file whole, and a file that does not parse is
// moved aside as "<file>.damaged" (then ".damaged-2", "-3"..., never over an
// older backup), with a log record on standard output, instead of being
// overwritten. A change kept for a busy or failing folder is also written,
// as the whole document it would make, to a rescue file beside the data
// file ("scores.xml.unsaved-<host>-<pid>", else in the user's own data
// folder), removed once the change is written: a crash, or a folder that
// never comes back before the program ends, leaves it there to restore from.
class DataStore
{
public:
    enum Status {
        Loaded,
        Missing, // no file: the document has no root
        Unreadable, // cannot be read or moved aside: it is never written over
        Damaged, // did not parse and was kept aside: the document is the new file's
    };

    struct File
    {
        QString path;
        // The root of the file the program creates ("userdb", "Scores"),
        // after the document type when it has one ("Sugerencias").
        QString rootName;
        QString doctype = QString();

        // The document of a new file: the XML declaration, then the root's
        // start tag and its end tag, each on a line of its own.
        DataDocument emptyDocument() const { return DataDocument(rootName, doctype); }
    };

    enum Outcome {
        Written,
        Kept, // the lock was busy or the write failed: written at the next chance
        Refused, // the change left no root element: nobody could read it back
    };

    using Change = std::function<bool(DataDocument &)>;

    DataStore();
    // Writes what is kept, waiting for the locks a bounded time.
    ~DataStore();
    DataStore(const DataStore &) = delete;
    DataStore &operator=(const DataStore &) = delete;

    // The file's document, parsed again only when the file's bytes are no
    // longer those this store last read or wrote, with the changes this
    // store keeps for it made on it.
    Status read(const File &file, DataDocument *doc);
    // Under the file's lock: reads the file again (a missing or damaged one as
    // the empty document), makes the changes kept for it, lets change edit
    // the document and writes it when change returns true. Waits for the
    // lock, for a dialog that tells whether it was written. False when that
    // write, or the lock, failed; change is then forgotten.
    bool update(const File &file, const Change &change);
    // The same without waiting: when the lock is busy (or the write fails),
    // change is kept, after those kept before, and made later. It may run
    // more than once and long after this call, so it holds copies, not
    // references.
    Outcome submit(const File &file, const Change &change);
    // At close: writes every kept change, waiting for the locks until
    // waitMs have passed. False, with a log record of what is still kept,
    // when some could not be written.
    bool close(int waitMs = closeWaitMs);
    // How many changes are kept, for every file.
    int keptChanges() const;

    // Longer than a stale lock lives, so a hung program's lock is taken over.
    static constexpr int closeWaitMs = 8000;
    // Reads and parses the file at path on a thread of its own, so that its
    // first read() or update() finds it parsed: the score file of a whole
    // school takes a few hundred milliseconds, which a child logging in
    // should not wait for. A file changed since is read again as usual; one
    // that does not parse is left to read(), which keeps it aside.
    void preload(const QString &path);
    // Forgets every document, as a store just made (for measuring first reads).
    void clear();

    // Writes bytes to a temporary file beside path, flushes it to the disk,
    // renames it over path and flushes the folder, so the new name survives a
    // power cut too. False, leaving the previous file, when it cannot.
    static bool writeAtomically(const QString &path, const QByteArray &bytes);
    // The same for a document, written piece by piece: a school's score file
    // is never copied whole into memory to be written.
    static bool writeAtomically(const QString &path, const DataDocument &doc);

private:
    // A file as this store last read it (its bytes, which the entries point
    // into) or wrote it (no bytes: the document is what was written).
    struct Known
    {
        QByteArray bytes;
        DataDocument doc;
    };

    struct KeptChanges
    {
        File file;
        QList<Change> changes;
        QElapsedTimer since;
        // Where the rescue file was written: removed with the changes.
        QStringList rescues;
    };

    enum Attempt { Done, Busy, Failed };

    Status load(const File &file, bool locked, DataDocument *doc);
    // Makes the kept changes of the file, then extra, under its lock, waiting
    // for it until deadline. Refused when extra left no root.
    Attempt writeKept(
        const File &file, const Change &extra, QDeadlineTimer deadline, bool *refused = nullptr);
    void keep(const File &file, const Change &change, bool busy);
    // Writes what the kept changes make of the file as its rescue file.
    void rescue(KeptChanges &kept);
    void retry();

    QHash<QString, Known> m_files;
    // Files in an encoding that cannot be read, logged once.
    QSet<QString> m_undecodable;
    // By absolute path.
    std::map<QString, KeptChanges> m_kept;
    std::unique_ptr<QTimer> m_retry;
    int m_retryMs;
    bool m_closeTried = false;
    // By absolute path; a future's destructor waits for its thread.
    std::map<QString, std::future<Known>> m_preloads;
};
