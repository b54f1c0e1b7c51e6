#pragma once

#include "users/LoginFace.h"

class QLabel;
class QLineEdit;
class QTimer;

// The learner's login, worked by ear: no buttons, only recorded instructions
// and the synthesizer. F1 chooses a registered learner with the arrows, F2
// types a new name; Enter reads a new name back, and once it is confirmed
// (or a registered learner is chosen) logs the learner in.
class LearnerLogin : public LoginFace
{
    Q_OBJECT
public:
    // After Enter, the typed name is said this long after "Escribiste", and
    // checked this long after the name.
    static constexpr int sayNameDelayMs = 1600;
    static constexpr int confirmDelayMs = 2000;

    LearnerLogin(UserDatabase *database, QWidget *dialog);

    void sayWelcome() override;
    void sayName() override;
    void confirm() override;

protected:
    // The dialog's own keys. Presses are swallowed, so Escape cannot hide the
    // login and leave the child in front of an empty window.
    bool eventFilter(QObject *watched, QEvent *event) override;
    // Nothing of the login may speak over the greeting that follows it.
    void hideEvent(QHideEvent *event) override;

private:
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
    void rejectName();
    void acceptLearner();
    void playInstruction(const QString &clip);

    // F1's list of names rather than F2's typed name.
    bool m_choosing = true;
    bool m_welcomed = false;
    ReadBack m_readBackStep = ReadBack::None;
    int m_index = 0;
    QLabel *m_nameLabel;
    QLineEdit *m_typedName;
    // The read-back's next step when it is due: sayName(), then confirm().
    QTimer *m_readBack;
};
