#pragma once

#include "users/User.h"

#include <QDialog>
#include <QStringList>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStatusBar;
class QTimer;
class UserDatabase;

// The login dialog. Learner face: no buttons, worked by ear (F1 choose an
// existing learner with the arrows, F2 type a new name, Enter to accept).
// Tutor face: an ordinary form to add, delete and log in learners. Either way
// it ends by emitting chooseUser() then chooseLanguage() and hiding itself.
class InputDialog : public QDialog
{
    Q_OBJECT
public:
    // After Enter, the typed name is said this long after "Escribiste", and
    // checked this long after the name.
    static constexpr int sayNameDelayMs = 1600;
    static constexpr int confirmDelayMs = 2000;

    // database is not owned; the main window shares it.
    InputDialog(UserDatabase *database, bool tutor, QWidget *parent = nullptr);
    ~InputDialog() override;

Q_SIGNALS:
    void chooseUser(const User &user);
    void chooseLanguage(const QString &language);

public Q_SLOTS:
    void slotDisableAdd();
    void slotEnableAdd();
    void slotDisableDelete();
    void slotEnableDelete();
    void slotDisableLogin();
    void slotEnableLogin();
    void slotSayWelcome();
    void slotSayName();
    void slotConfirm();
    void slotLogin();
    void slotAdd();
    void slotDelete();

protected:
    // The lists are read again on every showing: a learner added or removed
    // since the last one is offered, and caught by the duplicate check.
    void showEvent(QShowEvent *event) override;
    // The learner face swallows presses, so Escape cannot hide the login and
    // leave the child in front of an empty window.
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;

private:
    void buildLearnerFace();
    void buildTutorFace();
    void refreshLists();
    void fillUserCombo();
    // The entries of "media/languages", sorted ignoring case.
    static QStringList languageNames();
    // True when the name is registered, ignoring case.
    bool isRegistered(const QString &name) const;
    void acceptLearner();
    void readBack();
    // A new key stops a read-back still under way: what it would confirm is
    // no longer what the child typed, or no longer what the child wants.
    void stopReadBack();
    void rejectName();
    void logIn(const QString &name, const QString &language);
    void playInstruction(const QString &clip);

    UserDatabase *m_database;
    const bool m_tutor;
    bool m_choosing = true;
    bool m_confirmed = false;
    bool m_welcomed = false;
    int m_index = 0;
    QStringList m_names;

    // Learner face.
    QLabel *m_nameLabel = nullptr;
    QLineEdit *m_typedName = nullptr;
    QTimer *m_sayNameTimer = nullptr;
    QTimer *m_confirmTimer = nullptr;

    // Tutor face.
    QLineEdit *m_nameEdit = nullptr;
    QPushButton *m_addButton = nullptr;
    QPushButton *m_loginButton = nullptr;
    QPushButton *m_deleteButton = nullptr;
    QComboBox *m_userCombo = nullptr;
    QComboBox *m_languageCombo = nullptr;
    QStatusBar *m_statusBar = nullptr;
};
