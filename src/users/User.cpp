#include "users/User.h"

User::User()
    : User(QString())
{
}

User::User(const QString &name)
    : name(name)
    , lastDate(QDate::currentDate())
    , createDate(QDate::currentDate())
{
}

QString User::dateText(const QDate &date)
{
    // Qt::TextDate is the same on every machine, whatever the locale.
    return date.toString(Qt::TextDate);
}
