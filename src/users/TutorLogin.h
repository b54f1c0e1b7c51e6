#pragma once

#include "users/LoginFace.h"

#include <array>

class QComboBox;
class QLineEdit;
class QPushButton;
class QStatusBar;

// The tutor's login: an ordinary form to add, delete and log in learners,
// and to choose the language.
class TutorLogin : public LoginFace
{
    Q_OBJECT
public:
    TutorLogin(UserDatabase *database, QWidget *dialog);

    void logInSelected() override;
    void add() override;
    void remove() override;
    void enableButton(Button button, bool enabled) override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void fillUsers();
    void fillLists();

    QLineEdit *m_nameEdit;
    std::array<QPushButton *, 3> m_buttons; // by Button
    QComboBox *m_userCombo;
    QComboBox *m_languageCombo;
    QStatusBar *m_statusBar;
};
