// activities.xml as the menus read it: the catalogue and its full titles.
#include "FuzzSupport.h"
#include "content/ActivityCatalogue.h"
#include "content/MediaPaths.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input = FuzzSupport::bytes(data, size);
    FuzzSupport::workFolder();
    const QString path = MediaPaths::dataFile(QStringLiteral("activities.xml"));
    FuzzSupport::writeFile(path, input);
    const ActivityCatalogue catalogue;
    const QStringList titles = catalogue.fullTitles();
    qsizetype activities = 0;
    for (const ActivityEntry &group : catalogue.groups()) {
        FuzzSupport::require(group.childCount == group.children.size(), "a group miscounts");
        for (const ActivityEntry &subgroup : group.children)
            activities += subgroup.children.size();
    }
    FuzzSupport::require(titles.size() == activities, "a title per activity");
    FuzzSupport::require(FuzzSupport::readFile(path) == input, "the catalogue was changed");
    return 0;
}
