#pragma once

#include "content/XmlTopLevel.h"
#include "users/User.h"

#include <QDomDocument>
#include <QString>
#include <QStringList>

class QDomElement;

// The learners of "data/users.xml": a root "userdb" holding one empty "User"
// element per learner with the attributes "Name", "LastAct", "LastSubAct",
// "CreateDate" and "LastDate". Names are compared exactly.
//
// Each instance reads the file when it is built. The changes (add, remove,
// update) read it again first, so a long-lived instance never writes back
// older activity numbers of other learners, and read it after writing.
class UserDatabase
{
public:
    UserDatabase();

    // 1 when read, -1 when the file cannot be opened, -2 when it is not
    // well-formed (it is then kept aside under a backup name).
    int load();
    // 0, or -1 when nothing could be written.
    int save();
    // The empty file: the XML declaration, "<userdb>" and "</userdb>".
    void createFile();

    QStringList userNames() const;
    // No check for an existing name: the caller decides.
    void addUser(const User &user);
    void addUser(const QString &name);
    // Removes the first learner of that name; always true.
    bool removeUser(const QString &name);
    // The first learner of that name, or a record with the empty name. The
    // dates of the result are today's; stored dates are not read back.
    User findUser(const QString &name) const;
    // Stores the record in place of the first learner of its name, as the
    // last element of the file, keeping the stored creation date.
    void updateUser(const User &user);
    QDomElement makeElement(const User &user);

    static QString path();

private:
    // Reads the file before a change; false when it must not be written over.
    bool reload();
    qsizetype indexOf(const QString &name) const;

    QDomDocument m_elements;
    XmlTopLevel m_doc;
    bool m_writable = true;
};
