#include "users/UserDatabase.h"

#include "content/MediaPaths.h"
#include "content/XmlDataFile.h"

#include <QDomElement>
#include <utility>

namespace {

const QString rootName = QStringLiteral("userdb");
const QString nameAttribute = QStringLiteral("Name");
const QString createDateAttribute = QStringLiteral("CreateDate");

} // namespace

UserDatabase::UserDatabase()
    : m_elements(QStringLiteral("Users"))
{
    load();
}

QString UserDatabase::path()
{
    return MediaPaths::dataFile(QStringLiteral("users.xml"));
}

int UserDatabase::load()
{
    XmlDataFile file(path(), rootName);
    const XmlDataFile::Status status = file.read(m_doc);
    // A file that can be neither read nor moved aside is never written over.
    m_writable = status != XmlDataFile::Unreadable;
    switch (status) {
    case XmlDataFile::Loaded:
        return 1;
    case XmlDataFile::Damaged:
        return -2;
    default:
        return -1;
    }
}

int UserDatabase::save()
{
    if (!m_writable)
        return -1;
    XmlTopLevel doc = m_doc;
    if (!doc.hasRoot())
        doc = XmlTopLevel(rootName);
    return XmlDataFile(path(), rootName).write(doc) ? 0 : -1;
}

void UserDatabase::createFile()
{
    XmlDataFile(path(), rootName).createEmpty();
}

bool UserDatabase::reload()
{
    XmlDataFile file(path(), rootName);
    if (!file.exists()) {
        createFile();
    }
    load();
    return m_writable && m_doc.hasRoot();
}

QStringList UserDatabase::userNames() const
{
    QStringList names;
    for (const XmlTopLevel::Node &node : m_doc.children) {
        if (node.isElement)
            names.append(node.attribute(nameAttribute));
    }
    return names;
}

qsizetype UserDatabase::indexOf(const QString &name) const
{
    for (qsizetype i = 0; i < m_doc.children.size(); ++i) {
        const XmlTopLevel::Node &node = m_doc.children.at(i);
        if (node.isElement && node.attribute(nameAttribute) == name)
            return i;
    }
    return -1;
}

void UserDatabase::addUser(const User &user)
{
    if (!reload())
        return;
    m_doc.children.append(XmlTopLevel::elementNode(makeElement(user)));
    save();
    load();
}

void UserDatabase::addUser(const QString &name)
{
    addUser(User(name));
}

bool UserDatabase::removeUser(const QString &name)
{
    if (!reload())
        return true;
    const qsizetype i = indexOf(name);
    if (i >= 0)
        m_doc.children.removeAt(i);
    save();
    load();
    return true;
}

User UserDatabase::findUser(const QString &name) const
{
    User user;
    const qsizetype i = indexOf(name);
    if (i >= 0) {
        const XmlTopLevel::Node &node = m_doc.children.at(i);
        user.name = name;
        user.lastAct = node.attribute(QStringLiteral("LastAct"));
        user.lastSubAct = node.attribute(QStringLiteral("LastSubAct"));
    }
    return user;
}

void UserDatabase::updateUser(const User &user)
{
    if (!reload())
        return;
    QDomElement element = makeElement(user);
    const qsizetype i = indexOf(user.name);
    if (i >= 0) {
        // A progress update carries today as creation date; the learner was
        // created on the stored one.
        const QString created = m_doc.children.at(i).attribute(createDateAttribute);
        if (!created.isEmpty())
            element.setAttribute(createDateAttribute, created);
        m_doc.children.removeAt(i);
    }
    m_doc.children.append(XmlTopLevel::elementNode(element));
    save();
    load();
}

QDomElement UserDatabase::makeElement(const User &user)
{
    QDomElement element = m_elements.createElement(QStringLiteral("User"));
    element.setAttribute(nameAttribute, user.name);
    element.setAttribute(QStringLiteral("LastAct"), user.lastAct);
    element.setAttribute(QStringLiteral("LastSubAct"), user.lastSubAct);
    element.setAttribute(createDateAttribute, User::dateText(user.createDate));
    element.setAttribute(QStringLiteral("LastDate"), User::dateText(user.lastDate));
    return element;
}
