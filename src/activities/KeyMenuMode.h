#pragma once

#include <QMetaObject>
#include <QObject>
#include <functional>

class AudioThread;
class QWidget;

// The key menu mode every activity widget has. Escape switches it; while it
// is on, the child's keys go to the audible menu. The activity keeps quiet
// all that time, or its next step would cut "Modo menu" and talk over the
// menu the child is listening to; once the mode is off and "Modo normal" has
// been heard, it takes up where it was stopped.
class KeyMenuMode : public QObject
{
    Q_OBJECT
public:
    // stop ends everything the activity is saying or about to say; resume
    // takes it up again, told whether the child released a key while
    // "Modo normal" was being said.
    KeyMenuMode(QWidget *activity, std::function<void()> stop, std::function<void(bool)> resume);

    bool isOn() const { return m_on; }
    // Without a word. What the last Escape was to take up is dropped: an
    // activity chosen or a text started begins afresh.
    void set(bool on);
    // Escape switches the mode; true when the released key belongs to the
    // audible menu (that Escape too), false when it is the activity's.
    bool takesKey(int key);
    // "Modo menu" or "Modo normal", on a player of its own.
    void announce(bool on);

Q_SIGNALS:
    // Escape switched the mode; emitted before it is announced.
    void switched(bool on);

private:
    AudioThread *announcement(bool on);
    void dropResumption();

    QWidget *m_activity;
    std::function<void()> m_stop;
    std::function<void(bool)> m_resume;
    bool m_on = false;
    QMetaObject::Connection m_resumption;
    bool m_keyMeanwhile = false;
};
