#pragma once

#include <QObject>
#include <QString>
#include <cstdint>

// Lets tests and benchmarks observe the clips as they are asked for and as
// they start to sound. It only reports; what the child hears is unchanged.
class AudioMonitor : public QObject
{
    Q_OBJECT
public:
    static AudioMonitor *instance();

    // Monotonic time in nanoseconds, the clock of every timestamp here.
    static std::int64_t now();

Q_SIGNALS:
    // On the GUI thread, when a player is started with this file (also for an
    // empty or missing file, which then plays nothing). step: asked for by
    // the end of another clip, as the next step of a spoken sequence, rather
    // than by a key, a timer or a window.
    void clipRequested(const QString &file, bool step);
    // On the player thread, right after the clip began on the voice channel.
    void clipStarted(const QString &file, qint64 nanoseconds);
    // On the player thread, once a clip that started has fallen silent by
    // itself (or was stopped); the time is when the voice channel went quiet.
    // A clip cut off by a newer one reports nothing: it ends where the newer
    // one starts.
    void clipSilent(const QString &file, qint64 nanoseconds);
    // When the sound device was opened (again, with a larger buffer, after
    // it ran dry): a clip started is heard up to frames / frequency later.
    void deviceOpened(int frequency, int frames);
    // On the GUI thread, when free text is handed to the synthesizer.
    void speechRequested(const QString &text);

private:
    AudioMonitor() = default;
};
