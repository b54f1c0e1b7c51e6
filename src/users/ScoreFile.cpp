#include "users/ScoreFile.h"

#include "content/DataStore.h"
#include "content/LogRecord.h"
#include "content/MediaPaths.h"
#include "users/Score.h"
#include "users/ScoreManager.h"
#include "users/UserDatabase.h"

#include <pugixml.hpp>
#include <utility>

namespace {

const QString encodedPrefix = QStringLiteral("_-");
const QString typeAttribute = QStringLiteral("type");

DataStore::File scoresFile()
{
    return { ScoreFile::path(), QStringLiteral("Scores") };
}

// XML's name characters (without the colon, which namespaces reserve).
bool isNameStartChar(uint c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || (c >= 0xC0 && c <= 0xD6)
        || (c >= 0xD8 && c <= 0xF6) || (c >= 0xF8 && c <= 0x2FF) || (c >= 0x370 && c <= 0x37D)
        || (c >= 0x37F && c <= 0x1FFF) || (c >= 0x200C && c <= 0x200D)
        || (c >= 0x2070 && c <= 0x218F) || (c >= 0x2C00 && c <= 0x2FEF)
        || (c >= 0x3001 && c <= 0xD7FF) || (c >= 0xF900 && c <= 0xFDCF)
        || (c >= 0xFDF0 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0xEFFFF);
}

bool isNameChar(uint c)
{
    return isNameStartChar(c) || c == '-' || c == '.' || (c >= '0' && c <= '9') || c == 0xB7
        || (c >= 0x300 && c <= 0x36F) || (c >= 0x203F && c <= 0x2040);
}

// Whether text can be a tag name as it is. Names beyond the first plane, and
// U+FEFF, are refused too: XML allows them, but many readers, the toolkit's
// among them, refuse them.
bool isElementName(const QString &text)
{
    const QList<uint> codePoints = text.toUcs4();
    if (codePoints.isEmpty() || !isNameStartChar(codePoints.first()))
        return false;
    for (uint c : codePoints) {
        if (!isNameChar(c) || c > 0xFFFF || c == 0xFEFF)
            return false;
    }
    return true;
}

// '_' opens and closes an escaped code point in hexadecimal, so it is escaped
// itself; keepOthers keeps the name characters outside ASCII readable.
QString encode(const QString &name, bool keepOthers)
{
    QString out = encodedPrefix;
    const QList<uint> codePoints = name.toUcs4();
    for (uint c : codePoints) {
        const bool ascii = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')
            || (c >= '0' && c <= '9') || c == '-' || c == '.';
        if (ascii || (keepOthers && c > 0x7F && isNameChar(c))) {
            DataDocument::appendCodePoint(&out, c);
        } else {
            out += QLatin1Char('_') + QString::number(c, 16).toUpper() + QLatin1Char('_');
        }
    }
    return out;
}

bool matches(const DataDocument::Entry &entry, const QString &type, const QString &learner)
{
    return !entry.name.isEmpty() && entry.attribute(typeAttribute) == type
        && ScoreFile::learnerName(entry.name) == learner;
}

QString valueOf(const pugi::xml_node &node, const char *attribute)
{
    return QString::fromUtf8(node.attribute(attribute).value());
}

} // namespace

ScoreFile::ScoreFile(const QString &type, DataStore *store)
    : m_type(type)
    , m_store(store)
{
}

QString ScoreFile::path()
{
    return MediaPaths::dataFile(QStringLiteral("scores.xml"));
}

QString ScoreFile::tagName(const QString &learner)
{
    if (!learner.startsWith(encodedPrefix) && isElementName(learner))
        return learner;
    const QString readable = encode(learner, true);
    return isElementName(readable) ? readable : encode(learner, false);
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
        DataDocument::appendCodePoint(&name, codePoint);
        i = close;
    }
    return name;
}

DataDocument::Entry ScoreFile::entry(
    const QString &learner, const QList<ScoreManager *> &managers) const
{
    DataElement element(tagName(learner), { { typeAttribute, m_type } });
    for (const ScoreManager *manager : managers) {
        DataElement activity(
            QStringLiteral("Activity"), { { QStringLiteral("name"), manager->name() } });
        const QVector<Score *> records = manager->scores();
        for (const Score *record : records) {
            activity.children.append(DataElement(QStringLiteral("Score"),
                { { QStringLiteral("Object"), record->object() },
                    { QStringLiteral("Corrects"), QString::number(record->corrects()) },
                    { QStringLiteral("Total"), QString::number(record->total()) },
                    { QStringLiteral("Consecutive"), QString::number(record->consecutive()) } }));
        }
        element.children.append(activity);
    }
    return DataDocument::entry(element);
}

bool ScoreFile::write(const QString &learner, const QList<ScoreManager *> &managers) const
{
    if (learner.isEmpty())
        return false;
    DataStore scratch;
    DataStore &store = m_store ? *m_store : scratch;
    // The counters of a learner a tutor deleted while logged in would bring
    // the learner's scores back at the next switch or at close.
    if (UserDatabase(&store).wasDeleted(learner)) {
        const QString tag = QStringLiteral("ScoreFile::write");
        writeLogRecord(tag,
            { QStringLiteral("learner = ") + learner,
                QStringLiteral("not in the users file any more: the scores are not written") },
            tag);
        return false;
    }
    // Never waits on a busy folder: kept, the counters are written later.
    return store.submit(scoresFile(),
               [added = entry(learner, managers), type = m_type, learner](DataDocument &doc) {
                   for (qsizetype i = 0; i < doc.entries.size(); ++i) {
                       if (matches(doc.entries.at(i), type, learner)) {
                           doc.entries.removeAt(i);
                           break;
                       }
                   }
                   doc.entries.append(added);
                   return true;
               })
        != DataStore::Refused;
}

void ScoreFile::read(const QString &learner, const QList<ScoreManager *> &managers) const
{
    for (ScoreManager *manager : managers)
        manager->reset();
    if (learner.isEmpty())
        return;
    DataStore scratch;
    DataDocument doc;
    // Also what this program keeps for a busy, new or unreadable file: the
    // learner's answers of this session go on counting.
    (m_store ? *m_store : scratch).read(scoresFile(), &doc);
    if (!doc.hasRoot())
        return;
    for (const DataDocument::Entry &stored : std::as_const(doc.entries)) {
        pugi::xml_document element;
        if (!matches(stored, m_type, learner)
            || !element.load_buffer(stored.bytes.constData(), size_t(stored.bytes.size())))
            continue;
        for (const pugi::xml_node &activity : element.document_element().children()) {
            const QString name = valueOf(activity, "name");
            for (ScoreManager *manager : managers) {
                if (manager->name() != name)
                    continue;
                // toInt() yields 0 for text that is not a number.
                for (const pugi::xml_node &score : activity.children())
                    manager->setScore(valueOf(score, "Object"), valueOf(score, "Corrects").toInt(),
                        valueOf(score, "Total").toInt(), valueOf(score, "Consecutive").toInt());
            }
        }
    }
}
