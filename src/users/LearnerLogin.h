#pragma once

#include "users/LoginFace.h"

class QLabel;
class QLineEdit;
class QTimer;

// The learner's login, worked by ear: no buttons, only recorded instructions
// and the synthesizer. F1 chooses a registered learner with the arrows, F2
// types a new name; Enter reads a new name back, and once it is confirmed
// (or a registered learner is chosen, or the name typed is one already
// registered) logs the learner in. A key that means nothing where the child
// stands, and a quiet of reminderMs, are answered with the instruction of
// that step.
class LearnerLogin : public LoginFace
{
    Q_OBJECT
public:
    // After Enter, the typed name is said this long after "Escribiste", and
    // checked this long after the name.
    static constexpr int sayNameDelayMs = 1600;
    static constexpr int confirmDelayMs = 2000;
    // A child left in silence this long hears the instruction again.
    static constexpr int reminderMs = 15000;

    LearnerLogin(UserDatabase *database, QWidget *dialog);

    void sayWelcome() override;
    void sayName() override;
    void confirm() override;
    void sayInstruction() override;

    // For tests that cannot wait 15 seconds each time; 0 restores the delay.
    static void setReminderForTesting(int ms);

protected:
    // The dialog's own keys. Presses are swallowed, so Escape cannot hide the
    // login and leave the child in front of an empty window.
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    // Nothing of the login may speak over the greeting that follows it.
    void hideEvent(QHideEvent *event) override;

private:
    // Where the child stands: nothing chosen yet, F1's list of names, or
    // F2's typed name.
    enum class Step { Welcome, Choosing, Typing };

    // Where the read-back of a typed name stands.
    enum class ReadBack {
        None, // nothing read back, or the name changed since
        Escribiste, // "Escribiste" is said; the name follows
        NameSaid, // the name is said; the check follows
        Confirmed, // "Verifica nombre": a second Enter creates the learner
    };

    void readBack();
    // A new key stops a read-back still under way: what it would confirm is
    // no longer what the child typed, or no longer what the child wants. A
    // confirmed name stays confirmed.
    void stopReadBack();
    void acceptLearner();
    // Logs the registered learner name in, in the first language.
    void logInLearner(const QString &name);
    void playInstruction(const QString &clip);
    void say(const QString &text);
    // Whatever the login says or the child presses starts the quiet afresh.
    void restartReminder();

    Step m_step = Step::Welcome;
    bool m_welcomed = false;
    ReadBack m_readBackStep = ReadBack::None;
    int m_index = 0;
    QLabel *m_nameLabel;
    QLineEdit *m_typedName;
    // The read-back's next step when it is due: sayName(), then confirm().
    QTimer *m_readBack;
    QTimer *m_reminder;
};
