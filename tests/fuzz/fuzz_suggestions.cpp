// The side panel's "suggestions.txt", one suggestion per activity and
// subactivity: read at start, shown for each activity, saved from the panel.
#include "DataChecks.h"
#include "content/DataStore.h"
#include "content/SuggestionFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input = FuzzSupport::bytes(data, size);
    const QDir folder = FuzzSupport::workFolder();
    const DataStore::File file { folder.filePath(QStringLiteral("data/suggestions.txt")),
        QStringLiteral("Sugerencias"), QStringLiteral("Sugerencias") };
    FuzzSupport::writeFile(file.path, input);
    DataDocument original;
    const bool readable = original.parse(input);

    DataStore store;
    DataDocument doc;
    const DataStore::Status status = store.read(file, &doc);
    FuzzSupport::require((status == DataStore::Loaded) == readable, "read and parse disagree");
    const auto keyOf = [](int activity, int sub) {
        return DataAttributes { { QStringLiteral("activity"), QString::number(activity) },
            { QStringLiteral("subactivity"), QString::number(sub) } };
    };
    for (int activity = 0; activity < 4; ++activity) {
        for (int sub = 0; sub < 4; ++sub)
            SuggestionFile::find(doc, keyOf(activity, sub), QString());
    }

    const QString text = QStringLiteral("Repetir con calma ]]> <!-- -->");
    // As the side panel stores it, and shows it again.
    const DataStore::Outcome outcome = store.submit(file, [keyOf, text](DataDocument &current) {
        SuggestionFile::store(current, keyOf(1, 2), text);
        return true;
    });
    FuzzSupport::require(outcome != DataStore::Refused, "the suggestion was refused");
    DataChecks::requireKept(file.path, input, readable);
    DataDocument saved;
    store.read(file, &saved);
    FuzzSupport::require(SuggestionFile::find(saved, keyOf(1, 2), QString()) == text,
        "the suggestion stored is not shown");
    DataChecks::requireWrittenUnlessUndecodable(outcome == DataStore::Written, input);
    if (outcome == DataStore::Written) {
        DataChecks::requireRoundTrip(saved);
        DataDocument again;
        FuzzSupport::require(DataStore().read(file, &again) == DataStore::Loaded
                && SuggestionFile::find(again, keyOf(1, 2), QString()) == text,
            "the suggestion stored does not read back");
    }
    return 0;
}
