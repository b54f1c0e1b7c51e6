#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// One node of the catalogue: a group, a subgroup or an activity.
struct ActivityEntry
{
    int id = 0;
    QString name = QStringLiteral("default");
    QString instructionAudio = QStringLiteral("default");
    bool hasChildren = false;
    QList<ActivityEntry> children;
    int childCount = 0;

    void addChild(const ActivityEntry &child);
};

// The three-level list of activities (group, subgroup, activity) of
// "data/activities.xml", offered by full titles such as
// "Letras y Numeros -  Sonidos de las Letras - Te presento sonidos".
class ActivityCatalogue
{
public:
    // Loads the file at once; a missing or unreadable file leaves the catalogue empty.
    ActivityCatalogue();

    // The number of groups, or -1 when the file cannot be opened or parsed.
    int load();

    const QList<ActivityEntry> &groups() const { return m_groups; }
    // Group + " -  " + subgroup + " - " + activity, for every activity in file order.
    QStringList fullTitles() const;

    static QString fullTitle(
        const QString &group, const QString &subgroup, const QString &activity);

private:
    QList<ActivityEntry> m_groups;
};
