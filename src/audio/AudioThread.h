#pragma once

#include <QObject>
#include <QString>
#include <memory>

// Plays one clip on a thread of its own and emits finished() on the GUI
// thread once the voice channel has fallen silent. A missing file, or an
// empty one, finishes at once without sound.
//
// The player owns its thread rather than being one, so nothing but start()
// can set it going, and destroying it never waits for a clip.
class AudioThread : public QObject
{
    Q_OBJECT
public:
    explicit AudioThread(QObject *parent = nullptr);
    // Returns at once: a clip still decoding is dropped, one sounding is cut.
    ~AudioThread() override;

    // The clip to play on the next start(); copied when start() is called.
    QString file;

    // Plays file. Does nothing while the player is running, so the new file
    // is not played and no extra finished() follows.
    void start();
    // Drops the clip under way: it is not played if it has not started (one
    // already sounding goes on until the next clip cuts it), and no
    // finished() follows. A one-shot player deletes itself.
    void cancel();
    // From start() until its finished() has been emitted.
    bool isRunning() const { return m_run != nullptr; }

    // A player for a single clip that deletes itself after its finished().
    // Connect to finished() before calling start().
    static AudioThread *oneShot(const QString &file, QObject *parent = nullptr);
    // Starts a one-shot player nobody waits for.
    static void playOnce(const QString &file, QObject *parent = nullptr);
    // Cancels every player whose parent is owner: all it is saying and every
    // step those clips would lead to.
    static void cancelAll(const QObject *owner);

    // Players now alive, for the clip log: one-shot players that never go
    // away show up here long before they are heard of anywhere else.
    static int instances();

Q_SIGNALS:
    void finished();

private:
    struct Run;
    void runEnded(const std::shared_ptr<Run> &run);
    void release();

    std::shared_ptr<Run> m_run;
    bool m_oneShot = false;
};
