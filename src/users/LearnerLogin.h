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
    void readBack();
    void rejectName();
    void acceptLearner();
    void playInstruction(const QString &clip);

    bool m_choosing = true;
    bool m_confirmed = false;
    bool m_welcomed = false;
    int m_index = 0;
    QLabel *m_nameLabel;
    QLineEdit *m_typedName;
    // The read-back's next step when it is due: sayName(), then confirm().
    QTimer *m_readBack;
    bool m_nameSaid = false;
};
