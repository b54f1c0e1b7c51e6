#include "content/SuggestionFile.h"

#include <QFile>

namespace SuggestionFile {

namespace {
bool matches(const DataDocument::Entry &entry, const DataAttributes &match)
{
    if (entry.name.isEmpty())
        return false;
    for (const auto &pair : match) {
        if (entry.attribute(pair.first) != pair.second)
            return false;
    }
    return true;
}
} // namespace

QString find(const DataDocument &doc, const DataAttributes &match, const QString &fallback)
{
    QString text = fallback;
    for (const DataDocument::Entry &entry : doc.entries) {
        if (matches(entry, match))
            text = entry.text;
    }
    return text;
}

QString find(const QString &path, const DataAttributes &match, const QString &fallback)
{
    QFile file(path);
    DataDocument doc;
    if (!file.open(QIODevice::ReadOnly) || !doc.parse(file.readAll()))
        return fallback;
    return find(doc, match, fallback);
}

void store(DataDocument &doc, const DataAttributes &key, const QString &text)
{
    bool found = false;
    for (DataDocument::Entry &entry : doc.entries) {
        if (!matches(entry, key))
            continue;
        // Its own attributes stay as they are; an element that had no text
        // gets one.
        entry = DataDocument::entry(DataElement(entry.name, entry.attributes, text));
        found = true;
    }
    if (!found)
        doc.entries << DataDocument::entry(DataElement(QStringLiteral("sugerencia"), key, text));
}

} // namespace SuggestionFile
