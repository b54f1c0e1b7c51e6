#pragma once

#include "content/DataDocument.h"
#include "users/User.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class DataStore;

// The learners of "data/users.xml": a root "userdb" holding one empty "User"
// element per learner with the attributes "Name", "LastAct", "LastSubAct",
// "CreateDate" and "LastDate". Names are compared exactly.
//
// Each instance reads the file when it is built and after each of its own
// changes. A change (add, remove, update) is made under the file's lock on the
// file as it is at that moment, so it never writes back older activity
// numbers of other learners, nor drops a learner another program added. Given
// the program's store, a fresh instance parses the file only when it changed.
class UserDatabase
{
public:
    explicit UserDatabase(DataStore *store = nullptr);
    ~UserDatabase();

    // 1 when read, -1 when the file is missing or cannot be read, -2 when it
    // is not well-formed (it is then kept aside under a backup name).
    int load();
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
    // Whether the file was read and holds no learner of that name: one a
    // tutor deleted, whose progress and scores are not written back.
    bool wasDeleted(const QString &name) const;
    // Stores the record in place of the first learner of its name, as the
    // last element of the file, keeping the stored creation date. A name the
    // file does not hold (a learner deleted meanwhile) is not added back:
    // false, and nothing is written.
    bool updateUser(const User &user);
    static DataElement makeElement(const User &user);

    static QString path();

private:
    // Changes the file as it is now, then reads it.
    void change(const std::function<bool(DataDocument &)> &edit);

    std::unique_ptr<DataStore> m_ownStore;
    DataStore *m_store;
    DataDocument m_doc;
    int m_status = -1; // the DataStore::Status of the last load()
};
