#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <functional>

class AudioThread;
class QTimer;

// What an activity says, as a list of steps spoken one after the other on
// one voice: a question, praise and what follows it, a correction, the
// echoes of the child's keys, the frames of a text. Each clip step starts
// when the one before it has ended (or, for a timed step, after its time),
// so the steps are the activity's only memory of where a sentence stands.
// Playing a new list, or stopping, ends the whole of the old one.
class SpokenSequence : public QObject
{
    Q_OBJECT
public:
    struct Step
    {
        // A clip step asks for its clip; an empty one plays nothing and
        // hands on at once. Any other step only runs action.
        bool isClip = false;
        QString clip;
        std::function<void()> action;
        // For a clip step: >= 0, the next step follows this long after the
        // clip was asked for, whether or not it has ended; the pause
        // before a next question is counted from the last word's start.
        int holdMs = -1;
    };

    // Plays clip; the next step follows its end.
    static Step say(const QString &clip);
    // Plays clip; the next step follows holdMs after it was asked for.
    static Step sayFor(const QString &clip, int holdMs);
    // Runs action where it stands in the list: what to show when the next
    // clip starts or the one before has ended, or what to do at the end.
    static Step then(std::function<void()> action);

    explicit SpokenSequence(QObject *parent);

    // Ends what is under way and plays steps.
    void play(const QList<Step> &steps);
    // Says steps now, cutting off the clip under way, and then goes on with
    // the rest of the list: the echo of a key said over an instruction
    // still leads to the first question. Steps said this way while others
    // said this way sound follow them instead of cutting them, so the
    // echoes of keys typed quickly are each heard. Plays steps when nothing
    // is under way.
    void interject(const QList<Step> &steps);
    // Ends what is under way: no clip is asked for, no step runs, nothing
    // is waited for. A clip already sounding plays out until another one
    // cuts it.
    void stop();

    // A clip is being waited for, or a timed step's time.
    bool isRunning() const;
    // The clip being waited for is this one.
    bool isSaying(const QString &clip) const;

private:
    void advance();
    void cut();

    AudioThread *m_player;
    QTimer *m_hold;
    QList<Step> m_steps;
    int m_next = 0;
    bool m_waitingForClip = false;
    // The steps [start, end) were interjected.
    int m_interjectionStart = 0;
    int m_interjectionEnd = 0;
    // Changes whenever the list is replaced or stopped, so that a step whose
    // action started a new list does not go on with the old one.
    unsigned m_generation = 0;
};
