#include "users/UserDatabase.h"

#include "content/DataStore.h"
#include "content/MediaPaths.h"

namespace {

const QString nameAttribute = QStringLiteral("Name");
const QString createDateAttribute = QStringLiteral("CreateDate");

DataStore::File usersFile()
{
    return { UserDatabase::path(), QStringLiteral("userdb") };
}

qsizetype indexOf(const DataDocument &doc, const QString &name)
{
    for (qsizetype i = 0; i < doc.entries.size(); ++i) {
        const DataDocument::Entry &entry = doc.entries.at(i);
        if (!entry.name.isEmpty() && entry.attribute(nameAttribute) == name)
            return i;
    }
    return -1;
}

} // namespace

UserDatabase::UserDatabase(DataStore *store)
    : m_ownStore(store ? nullptr : new DataStore)
    , m_store(store ? store : m_ownStore.get())
{
    load();
}

UserDatabase::~UserDatabase() = default;

QString UserDatabase::path()
{
    return MediaPaths::dataFile(QStringLiteral("users.xml"));
}

int UserDatabase::load()
{
    m_status = m_store->read(usersFile(), &m_doc);
    switch (m_status) {
    case DataStore::Loaded:
        return 1;
    case DataStore::Damaged:
        return -2;
    default:
        return -1;
    }
}

void UserDatabase::createFile()
{
    m_store->update(usersFile(), [](DataDocument &doc) {
        doc = usersFile().emptyDocument();
        return true;
    });
}

void UserDatabase::change(const std::function<bool(DataDocument &)> &edit)
{
    // Never waits on a busy folder: a change the lock keeps out is written
    // later, and load() already sees it.
    m_store->submit(usersFile(), edit);
    load();
}

QStringList UserDatabase::userNames() const
{
    QStringList names;
    for (const DataDocument::Entry &entry : m_doc.entries) {
        if (!entry.name.isEmpty())
            names.append(entry.attribute(nameAttribute));
    }
    return names;
}

void UserDatabase::addUser(const User &user)
{
    change([user](DataDocument &doc) {
        doc.entries.append(DataDocument::entry(makeElement(user)));
        return true;
    });
}

void UserDatabase::addUser(const QString &name)
{
    addUser(User(name));
}

bool UserDatabase::removeUser(const QString &name)
{
    change([name](DataDocument &doc) {
        const qsizetype i = indexOf(doc, name);
        if (i >= 0)
            doc.entries.removeAt(i);
        return i >= 0;
    });
    return true;
}

bool UserDatabase::wasDeleted(const QString &name) const
{
    return m_status == DataStore::Loaded && indexOf(m_doc, name) < 0;
}

User UserDatabase::findUser(const QString &name) const
{
    User user;
    const qsizetype i = indexOf(m_doc, name);
    if (i >= 0) {
        const DataDocument::Entry &entry = m_doc.entries.at(i);
        user.name = name;
        user.lastAct = entry.attribute(QStringLiteral("LastAct"));
        user.lastSubAct = entry.attribute(QStringLiteral("LastSubAct"));
    }
    return user;
}

bool UserDatabase::updateUser(const User &user)
{
    change([user](DataDocument &doc) {
        // A learner a tutor deleted while logged in stays deleted; a new
        // learner comes in through addUser().
        if (indexOf(doc, user.name) < 0)
            return false;
        DataElement element = makeElement(user);
        // A progress update carries today as creation date; the learner was
        // created on the stored one. Two records of one name (two machines
        // registering at once) become one: the login reads the first, so a
        // stale one left in front would hide the progress written at the end.
        QString created;
        for (qsizetype i = indexOf(doc, user.name); i >= 0; i = indexOf(doc, user.name)) {
            if (created.isEmpty())
                created = doc.entries.at(i).attribute(createDateAttribute);
            doc.entries.removeAt(i);
        }
        for (auto &[attribute, value] : element.attributes) {
            if (attribute == createDateAttribute && !created.isEmpty())
                value = created;
        }
        doc.entries.append(DataDocument::entry(element));
        return true;
    });
    return indexOf(m_doc, user.name) >= 0;
}

DataElement UserDatabase::makeElement(const User &user)
{
    return DataElement(QStringLiteral("User"),
        { { nameAttribute, user.name }, { QStringLiteral("LastAct"), user.lastAct },
            { QStringLiteral("LastSubAct"), user.lastSubAct },
            { createDateAttribute, User::dateText(user.createDate) },
            { QStringLiteral("LastDate"), User::dateText(user.lastDate) } });
}
