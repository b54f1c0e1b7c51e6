#pragma once

#include <QDate>
#include <QMetaType>
#include <QString>

// One registered learner, as it travels from the login dialog to the main
// window. The activity numbers are decimal text, empty for a new learner.
struct User
{
    User();
    explicit User(const QString &name);

    QString name;
    QString lastAct;
    QString lastSubAct;
    QDate lastDate;
    QDate createDate;

    // The stored form of the dates: "Tue Dec 8 2026".
    static QString dateText(const QDate &date);
};

Q_DECLARE_METATYPE(User)
