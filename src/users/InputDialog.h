#pragma once

#include "users/LearnerLogin.h"
#include "users/User.h"

#include <QDialog>

class UserDatabase;

// The login dialog. It shows one of two faces, chosen once from the run mode:
// the learner's login by ear (LearnerLogin) or the tutor's form (TutorLogin).
// Either way it ends by emitting chooseUser() then chooseLanguage() and
// hiding itself.
class InputDialog : public QDialog
{
    Q_OBJECT
public:
    static constexpr int sayNameDelayMs = LearnerLogin::sayNameDelayMs;
    static constexpr int confirmDelayMs = LearnerLogin::confirmDelayMs;

    // database is not owned; the main window shares it.
    InputDialog(UserDatabase *database, bool tutor, QWidget *parent = nullptr);

Q_SIGNALS:
    void chooseUser(const User &user);
    void chooseLanguage(const QString &language);

public Q_SLOTS:
    void slotDisableAdd() { m_face->enableButton(LoginFace::Add, false); }
    void slotEnableAdd() { m_face->enableButton(LoginFace::Add, true); }
    void slotDisableDelete() { m_face->enableButton(LoginFace::Delete, false); }
    void slotEnableDelete() { m_face->enableButton(LoginFace::Delete, true); }
    void slotDisableLogin() { m_face->enableButton(LoginFace::Login, false); }
    void slotEnableLogin() { m_face->enableButton(LoginFace::Login, true); }
    void slotSayWelcome() { m_face->sayWelcome(); }
    void slotSayInstruction() { m_face->sayInstruction(); }
    void slotSayName() { m_face->sayName(); }
    void slotConfirm() { m_face->confirm(); }
    void slotLogin() { m_face->logInSelected(); }
    void slotAdd() { m_face->add(); }
    void slotDelete() { m_face->remove(); }

private:
    LoginFace *m_face;
};
