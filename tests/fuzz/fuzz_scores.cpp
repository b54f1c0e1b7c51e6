// scores.xml as a learner's login reads it and the end of an activity
// writes it, for both scoring widgets.
#include "DataChecks.h"
#include "content/DataStore.h"
#include "users/Score.h"
#include "users/ScoreFile.h"
#include "users/ScoreManager.h"

#include <QObject>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input = FuzzSupport::bytes(data, size);
    FuzzSupport::workFolder();
    FuzzSupport::writeFile(ScoreFile::path(), input);
    DataDocument original;
    const bool readable = original.parse(input);
    if (readable)
        DataChecks::requireRoundTrip(original);

    // Every learner the file names, and one it does not.
    QStringList learners = { QStringLiteral("Ana") };
    for (const DataDocument::Entry &entry : std::as_const(original.entries)) {
        if (!entry.name.isEmpty())
            learners.append(ScoreFile::learnerName(entry.name));
    }
    QObject owner;
    auto *letters = new ScoreManager(QStringLiteral("Como Suena"), &owner);
    auto *dots = new ScoreManager(QStringLiteral("Puntos Escondidos Cajetin"), &owner);
    dots->setKind(ScoreManager::Dots);
    const QList<ScoreManager *> managers = { letters, dots };
    DataStore store;
    const ScoreFile letterScores(QStringLiteral("Letters and Numbers"), &store);
    const ScoreFile brailleScores(QStringLiteral("Braille"), &store);
    for (const QString &learner : std::as_const(learners)) {
        letterScores.read(learner, managers);
        brailleScores.read(learner, managers);
    }

    const QString learner = learners.last();
    letters->recordCorrect(QStringLiteral("A"));
    const int corrects = letters->score(QStringLiteral("A"))->corrects();
    const bool written = letterScores.write(learner, managers);
    DataChecks::requireKept(ScoreFile::path(), input, readable);
    FuzzSupport::require(written || learner.isEmpty(), "the scores were not written");
    if (written) {
        letterScores.read(learner, managers);
        FuzzSupport::require(letters->score(QStringLiteral("A"))->corrects() == corrects,
            "the scores written do not read back");
    }
    return 0;
}
