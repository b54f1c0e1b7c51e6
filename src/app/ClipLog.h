#pragma once

#include <QObject>
#include <QSet>
#include <QString>

class QWindow;

// A record of what the child did and heard, for real runs: one line per key
// released, clip asked for, clip started, clip fallen silent, text spoken by
// the synthesizer, window shown and window given the keyboard, as
//
//     <monotonic milliseconds> <kind> <what>
//
// with kind one of start, key, request, clip, silent, speak, shown, keys,
// players (the clip players alive, written before a key when their number
// has changed) and device (the rate and buffer the sound device was opened
// with: a clip is heard up to one buffer after its "clip" line). Lines are appended, each with a
// single write, so the file can be read while the program runs and keeps everything up to a crash.
//
// It is how a teacher or developer answers "why did it go silent?": a key
// with nothing after it, a clip asked for that never started, a clip that
// never fell silent.
class ClipLog : public QObject
{
    Q_OBJECT
public:
    // The environment variable naming the log file.
    static constexpr const char *variable = "PURIMBA_CLIP_LOG";

    // Starts logging for the whole application when the variable names a
    // file; otherwise does nothing (no file, no filter) and returns null.
    // Silent when the file cannot be opened: the program runs unlogged.
    static ClipLog *installFromEnvironment(QObject *application);

    ~ClipLog() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    ClipLog(int fd, QObject *parent);
    static void write(int fd, qint64 nanoseconds, const char *kind, const QString &what);
    void windowExposed(QWindow *window);
    // The window's widget's object name, or its class.
    static QString windowName(const QWindow *window);

    const int m_fd;
    // Top-level windows now on screen: an exposure is logged once per showing.
    QSet<QWindow *> m_exposed;
    int m_players = -1; // the count of the last "players" line
};
