#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>

class AudioThread;

namespace TestSupport {

// A committed fixture file (tests/fixtures/...).
QString fixture(const QString &name);

// A temporary installation: application directory and working directory
// both point at it while it lives, as when the program is started from its
// own folder. Clips added to it are short tones.
class MediaTree
{
public:
    MediaTree();
    ~MediaTree();

    QString root() const { return m_dir.path(); }
    // Copies a fixture clip (a 50 ms tone by default) to root/relativePath,
    // creating the folders on the way.
    QString addClip(
        const QString &relativePath, const QString &fixtureName = QStringLiteral("tone-50ms.ogg"));
    // Writes a file with the given bytes.
    QString addFile(const QString &relativePath, const QByteArray &content);
    QString addFolder(const QString &relativePath);

private:
    QTemporaryDir m_dir;
    QString m_previousWorkingDir;
};

// Starts a writer program that prints the number of each round it has
// finished, one a line; kills it with SIGKILL once it has reported at least
// `rounds`, and returns the last round it reported (-1 when it did not start
// or went silent), for tests of writes cut off half-way.
int killAfterRounds(const QString &program, const QStringList &arguments, int rounds);

// What the process wrote on standard output (the program's "pu-debug.txt")
// while f ran.
QByteArray standardOutputOf(const std::function<void()> &f);

// Starts a player on first and, right after it, another on second; returns
// the clips that started once both players have finished (empty when they
// did not finish within 5 s).
QStringList playBackToBack(const QString &first, const QString &second);

// Records each clip as it is asked for and as it starts to sound, for
// "keys in, clips out" tests. Paths are kept as the players were given them.
class ClipRecorder : public QObject
{
    Q_OBJECT
public:
    ClipRecorder();

    QStringList requested;
    QStringList started;
    QList<qint64> startTimes;

    // The requested clips with everything up to the last "/" removed.
    QStringList requestedNames() const;
    void clear();
};

// Counts a player's finished(). (A QSignalSpy's wait() misses a signal that
// came before the wait began.)
class FinishedCounter : public QObject
{
    Q_OBJECT
public:
    explicit FinishedCounter(AudioThread *player);
    int count = 0;
    // True once count has reached at least n, within timeoutMs.
    bool waitFor(int n, int timeoutMs = 5000);
};

} // namespace TestSupport
