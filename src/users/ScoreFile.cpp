#include "users/ScoreFile.h"

#include "content/MediaPaths.h"
#include "content/XmlDataFile.h"
#include "content/XmlTopLevel.h"
#include "users/ScoreManager.h"

#include <QDomDocument>
#include <QDomElement>
#include <utility>

namespace {

const QString encodedPrefix = QStringLiteral("_-");
const QString rootName = QStringLiteral("Scores");
const QString typeAttribute = QStringLiteral("type");

// '_' opens and closes an escaped code point in hexadecimal, so it is escaped
// itself; keepOthers keeps the name characters outside ASCII readable.
QString encode(const QString &name, bool keepOthers)
{
    QString out = encodedPrefix;
    const QList<uint> codePoints = name.toUcs4();
    for (uint c : codePoints) {
        const bool ascii = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')
            || (c >= '0' && c <= '9') || c == '-' || c == '.';
        if (ascii || (keepOthers && c > 0x7F && XmlDataFile::isNameChar(c))) {
            const char32_t codePoint = c;
            out += QString::fromUcs4(&codePoint, 1);
        } else {
            out += QLatin1Char('_') + QString::number(c, 16).toUpper() + QLatin1Char('_');
        }
    }
    return out;
}

bool matches(const XmlTopLevel::Node &node, const QString &type, const QString &learner)
{
    return node.isElement && node.attribute(typeAttribute) == type
        && ScoreFile::learnerName(node.tagName) == learner;
}

} // namespace

ScoreFile::ScoreFile(const QString &type)
    : m_type(type)
{
}

QString ScoreFile::path()
{
    return MediaPaths::dataFile(QStringLiteral("scores.xml"));
}

QString ScoreFile::tagName(const QString &learner)
{
    if (!learner.startsWith(encodedPrefix) && XmlDataFile::isElementName(learner))
        return learner;
    const QString readable = encode(learner, true);
    return XmlDataFile::isElementName(readable) ? readable : encode(learner, false);
}

QString ScoreFile::learnerName(const QString &tagName)
{
    if (!tagName.startsWith(encodedPrefix))
        return tagName;
    QString name;
    for (qsizetype i = encodedPrefix.size(); i < tagName.size(); ++i) {
        const QChar c = tagName.at(i);
        if (c != QLatin1Char('_')) {
            name += c;
            continue;
        }
        const qsizetype close = tagName.indexOf(QLatin1Char('_'), i + 1);
        bool ok = false;
        const uint codePoint
            = close > i + 1 ? tagName.mid(i + 1, close - i - 1).toUInt(&ok, 16) : 0;
        // Not an encoding this class wrote: a tag written by hand, taken as it is.
        if (!ok || codePoint > 0x10FFFF)
            return tagName;
        const char32_t decoded = codePoint;
        name += QString::fromUcs4(&decoded, 1);
        i = close;
    }
    return name;
}

bool ScoreFile::write(const QString &learner, const QList<ScoreManager *> &managers) const
{
    if (learner.isEmpty())
        return false;
    XmlDataFile file(path(), rootName);
    XmlTopLevel doc;
    const XmlDataFile::Status status = file.readOrCreate(doc);
    if (status != XmlDataFile::Loaded && status != XmlDataFile::Damaged)
        return false;

    for (qsizetype i = 0; i < doc.children.size(); ++i) {
        if (matches(doc.children.at(i), m_type, learner)) {
            doc.children.removeAt(i);
            break;
        }
    }
    QDomDocument scratch;
    QDomElement element = scratch.createElement(tagName(learner));
    element.setAttribute(typeAttribute, m_type);
    for (const ScoreManager *manager : managers)
        element.appendChild(manager->toElement(scratch));
    doc.children.append(XmlTopLevel::elementNode(element));
    return file.write(doc);
}

void ScoreFile::read(const QString &learner, const QList<ScoreManager *> &managers) const
{
    for (ScoreManager *manager : managers)
        manager->reset();
    if (learner.isEmpty())
        return;
    XmlDataFile file(path(), rootName);
    XmlTopLevel doc;
    if (file.read(doc) != XmlDataFile::Loaded)
        return;
    for (const XmlTopLevel::Node &node : std::as_const(doc.children)) {
        if (!matches(node, m_type, learner))
            continue;
        QDomDocument element;
        if (!element.setContent(node.text))
            continue;
        const QDomElement learnerElement = element.documentElement();
        for (QDomElement activity = learnerElement.firstChildElement(); !activity.isNull();
             activity = activity.nextSiblingElement()) {
            const QString name = activity.attribute(QStringLiteral("name"));
            for (ScoreManager *manager : managers) {
                if (manager->name() == name)
                    manager->loadElement(activity);
            }
        }
    }
}
