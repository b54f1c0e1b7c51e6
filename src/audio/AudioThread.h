#pragma once

#include <QString>
#include <QThread>

// Plays one clip on a thread of its own and emits finished() on the GUI
// thread once the voice channel has fallen silent. A missing file, or an
// empty one, finishes at once without sound.
class AudioThread : public QThread
{
    Q_OBJECT
public:
    explicit AudioThread(QObject *parent = nullptr);
    ~AudioThread() override;

    // The clip to play on the next start(); copied when start() is called.
    QString file;

    // Hides QThread::start(): does nothing while the player is running, so
    // the new file is not played and no extra finished() follows.
    void start();

    // A player for a single clip that deletes itself after its finished().
    // Connect to finished() before calling start().
    static AudioThread *oneShot(const QString &file, QObject *parent = nullptr);
    // Starts a one-shot player nobody waits for.
    static void playOnce(const QString &file, QObject *parent = nullptr);

protected:
    void run() override;

private:
    QString m_playing;
};
