#include "content/ActivityCatalogue.h"

#include "content/MediaPaths.h"

#include <QDomDocument>
#include <QDomElement>
#include <QFile>

namespace {

ActivityEntry entryOf(const QDomElement &element, bool withAudio)
{
    ActivityEntry entry;
    entry.id = element.attribute(QStringLiteral("id")).toInt();
    entry.name = element.attribute(QStringLiteral("name"));
    entry.instructionAudio
        = withAudio ? element.attribute(QStringLiteral("instructionAudio")) : QString();
    return entry;
}

} // namespace

void ActivityEntry::addChild(const ActivityEntry &child)
{
    children.append(child);
    hasChildren = true;
    ++childCount;
}

ActivityCatalogue::ActivityCatalogue()
{
    load();
}

int ActivityCatalogue::load()
{
    m_groups.clear();
    QFile file(MediaPaths::catalogueFile());
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    QDomDocument doc(QStringLiteral("Activities"));
    if (!doc.setContent(&file))
        return -1;

    const QDomElement root = doc.documentElement();
    for (QDomElement e1 = root.firstChildElement(); !e1.isNull(); e1 = e1.nextSiblingElement()) {
        ActivityEntry group = entryOf(e1, false);
        for (QDomElement e2 = e1.firstChildElement(); !e2.isNull(); e2 = e2.nextSiblingElement()) {
            ActivityEntry subgroup = entryOf(e2, true);
            for (QDomElement e3 = e2.firstChildElement(); !e3.isNull();
                 e3 = e3.nextSiblingElement())
                subgroup.addChild(entryOf(e3, true));
            group.addChild(subgroup);
        }
        m_groups.append(group);
    }
    return int(m_groups.size());
}

QString ActivityCatalogue::fullTitle(
    const QString &group, const QString &subgroup, const QString &activity)
{
    return group + QStringLiteral(" -  ") + subgroup + QStringLiteral(" - ") + activity;
}

QStringList ActivityCatalogue::fullTitles() const
{
    QStringList titles;
    for (const ActivityEntry &group : m_groups) {
        for (const ActivityEntry &subgroup : group.children) {
            for (const ActivityEntry &activity : subgroup.children)
                titles.append(fullTitle(group.name, subgroup.name, activity.name));
        }
    }
    return titles;
}
