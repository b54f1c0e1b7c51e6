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
    // As the administrator's form stores it, and shows it again.
    const DataStore::Outcome outcome = store.submit(file, [key, text](DataDocument &doc) {
        SuggestionFile::store(doc, key, text);
        return true;
    });
    FuzzSupport::require(outcome != DataStore::Refused, "the suggestion was refused");
    DataChecks::requireKept(path, input, readable);
    DataDocument saved;
    store.read(file, &saved);
    FuzzSupport::require(
        SuggestionFile::find(saved, key, fallback) == text, "the suggestion stored is not shown");
    DataChecks::requireWrittenUnlessUndecodable(outcome == DataStore::Written, input);
    if (outcome == DataStore::Written) {
        DataChecks::requireRoundTrip(saved);
        FuzzSupport::require(SuggestionFile::find(path, key, fallback) == text,
            "the suggestion stored does not read back");
    }
    return 0;
}
