#include "users/LoginFace.h"

#include "content/MediaPaths.h"
#include "users/UserDatabase.h"

#include <QDir>

LoginFace::LoginFace(UserDatabase *database, QWidget *parent)
    : QWidget(parent)
    , m_database(database)
    , m_names(database->userNames())
{
}

void LoginFace::showEvent(QShowEvent *event)
{
    // Another instance (a progress update, the report) may have written the
    // file since this one last read it.
    m_database->load();
    m_names = m_database->userNames();
    QWidget::showEvent(event);
}

QStringList LoginFace::languageNames()
{
    return QDir(MediaPaths::languagesFolderRelative())
        .entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
}

QString LoginFace::registeredName(const QString &name) const
{
    for (const QString &registered : m_names) {
        if (registered.compare(name, Qt::CaseInsensitive) == 0)
            return registered;
    }
    return QString();
}

void LoginFace::logIn(const QString &name, const QString &language)
{
    const User user = m_database->findUser(name);
    if (!user.name.isEmpty())
        Q_EMIT loggedIn(user, language);
}
