#pragma once

#include <QObject>
#include <QTimer>

class AudioThread;

// The way from the login to the first activity: the mascot's greeting for
// the greeting time (or until Space), then, for a learner, the instruction
// that tells how to reach the audible menu, heard whole. It owns its timers
// and its clips, so stopping it leaves nothing behind that could start an
// activity later.
class Greeting : public QObject
{
    Q_OBJECT
public:
    enum class State {
        Idle, // nobody greeted yet, or the greeting was stopped
        Greeting, // the mascot's greeting, for the greeting time
        MenuInstruction, // the audible-menu instruction and the pause after it
        Started, // the first activity has started: nothing more to do
    };
    Q_ENUM(State)

    explicit Greeting(bool tutor, QObject *parent = nullptr);

    State state() const { return m_state; }
    bool isUnderWay() const
    {
        return m_state == State::Greeting || m_state == State::MenuInstruction;
    }

    // For tests that cannot wait 13 and 5 seconds each time.
    static void setDelaysForTesting(int greetingMs, int menuInstructionMs);

Q_SIGNALS:
    void firstActivity();

public Q_SLOTS:
    // Greets the learner who has just logged in, from the start.
    void start();
    // Cuts the greeting short, or says the instruction again.
    void slotSpace();
    void slotTimer();
    // Silences the greeting and drops its timers; it is over if the first
    // activity had started, and to be given again otherwise.
    void stop();
    // The first activity has started, from the greeting or from a menu:
    // nothing is left for the greeting to start.
    void end();

private:
    void moveOn();
    void startOnceHeard();
    void play(const QString &clip);

    const bool m_tutor;
    State m_state = State::Idle;
    QTimer m_greetingTime;
    QTimer m_instructionPause;
    AudioThread *m_player;
};
