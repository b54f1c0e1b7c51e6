// users.xml as the login reads and the program changes it: the learners are
// listed and looked up, one learner's progress is stored.
#include "DataChecks.h"
#include "content/DataStore.h"
#include "users/UserDatabase.h"

#include <QSet>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input = FuzzSupport::bytes(data, size);
    FuzzSupport::workFolder();
    FuzzSupport::writeFile(UserDatabase::path(), input);
    DataDocument original;
    const bool readable = original.parse(input);
    if (readable)
        DataChecks::requireRoundTrip(original);

    DataStore store;
    UserDatabase users(&store);
    const QStringList names = users.userNames();
    for (const QString &name : names)
        users.findUser(name);
    QString name = QStringLiteral("Ana");
    for (const QString &stored : names) {
        if (!stored.isEmpty()) {
            name = stored;
            break;
        }
    }
    // A learner the file does not hold is registered first, as the login
    // does: progress alone never brings a name (back) into the file.
    if (!names.contains(name))
        users.addUser(User(name));
    User learner(name);
    learner.lastAct = QStringLiteral("2");
    learner.lastSubAct = QStringLiteral("3");
    users.updateUser(learner);

    DataChecks::requireKept(UserDatabase::path(), input, readable);
    UserDatabase after(&store);
    const QStringList stored = after.userNames();
    if (readable) {
        FuzzSupport::require(QSet<QString>(stored.begin(), stored.end())
                                 .contains(QSet<QString>(names.begin(), names.end())),
            "a learner was lost");
    }
    FuzzSupport::require(after.findUser(learner.name).lastSubAct == learner.lastSubAct,
        "the learner's progress was not stored");
    return 0;
}
