// A letter's, number's or text's "sugerencias.txt", a file of the media: as
// the main window shows it and as the administrator stores a suggestion in it.
#include "DataChecks.h"
#include "content/DataStore.h"
#include "content/SuggestionFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input = FuzzSupport::bytes(data, size);
    const QDir folder = FuzzSupport::workFolder();
    const QString path = folder.filePath(QStringLiteral("data/sugerencias.txt"));
    FuzzSupport::writeFile(path, input);
    DataDocument original;
    const bool readable = original.parse(input);

    const QString fallback = QStringLiteral("-");
    const DataAttributes key = { { QStringLiteral("activity"), QStringLiteral("Como Suena") } };
    const QString shown = SuggestionFile::find(path, key, fallback);
    FuzzSupport::require(readable || shown == fallback, "a suggestion from an unreadable file");
    FuzzSupport::require(
        FuzzSupport::readFile(path) == input, "showing a suggestion changed the file");
    // Every activity the file names, as the administrator's list offers them.
    for (const DataDocument::Entry &entry : std::as_const(original.entries))
        SuggestionFile::find(original,
            { { QStringLiteral("activity"), entry.attribute(QStringLiteral("activity")) } },
            fallback);

    DataStore store;
    const DataStore::File file { path, QStringLiteral("Sugerencias") };
    const QString text = QStringLiteral("Di la letra <a> & \"b\"\n\tdespacio");
    DataDocument saved;
    const bool written = store.update(file, [&](DataDocument &doc) {
        SuggestionFile::store(doc, key, text);
        saved = doc;
        return true;
    });
    FuzzSupport::require(written, "the suggestion was not stored");
    DataChecks::requireKept(path, input, readable);
    DataChecks::requireRoundTrip(saved);
    FuzzSupport::require(SuggestionFile::find(path, key, fallback) == text,
        "the suggestion stored does not read back");
    return 0;
}
