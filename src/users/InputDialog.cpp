#include "users/InputDialog.h"

#include "users/TutorLogin.h"

#include <QVBoxLayout>

InputDialog::InputDialog(UserDatabase *database, bool tutor, QWidget *parent)
    : QDialog(parent)
{
    if (tutor)
        m_face = new TutorLogin(database, this);
    else
        m_face = new LearnerLogin(database, this);
    // The face's own layout keeps the margins.
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(QMargins());
    layout->addWidget(m_face);
    connect(m_face, &LoginFace::loggedIn, this, [this](const User &user, const QString &language) {
        Q_EMIT chooseUser(user);
        Q_EMIT chooseLanguage(language);
        accept();
    });
}
