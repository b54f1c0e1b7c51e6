#pragma once

#include "users/User.h"

#include <QStringList>
#include <QWidget>

class UserDatabase;

// What the two faces of the login share: the learners and the languages to
// choose from, and logging the chosen learner in. The login's slots are done
// by the face that has them; the other face ignores them.
class LoginFace : public QWidget
{
    Q_OBJECT
public:
    enum Button { Add, Login, Delete };

    // database is not owned; the main window shares it.
    LoginFace(UserDatabase *database, QWidget *parent);

    virtual void sayWelcome() { }
    // The instruction of the step the child stands at, as often as asked.
    virtual void sayInstruction() { }
    virtual void sayName() { }
    virtual void confirm() { }
    virtual void logInSelected() { }
    virtual void add() { }
    virtual void remove() { }
    virtual void enableButton(Button, bool) { }

Q_SIGNALS:
    void loggedIn(const User &user, const QString &language);

protected:
    // The lists are read again on every showing: a learner added or removed
    // since the last one is offered, and caught by the duplicate check.
    void showEvent(QShowEvent *event) override;
    // The entries of "media/languages", sorted ignoring case.
    static QStringList languageNames();
    bool isRegistered(const QString &name) const
    {
        return m_names.contains(name, Qt::CaseInsensitive);
    }
    // The name as it is registered, compared ignoring case; empty when it
    // is not.
    QString registeredName(const QString &name) const;
    // Only a registered learner is logged in: an empty record has no scores
    // to keep.
    void logIn(const QString &name, const QString &language);

    UserDatabase *const m_database;
    QStringList m_names;
};
