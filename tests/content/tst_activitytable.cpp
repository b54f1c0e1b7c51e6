// The activity table agrees with itself, with the catalogue of the demo
// installation and with its media tree: every clip it names is there.

#include "content/ActivityCatalogue.h"
#include "content/ActivityTable.h"
#include "content/MediaPaths.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QtTest>

using namespace ActivityTable;

class TestActivityTable : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        m_root = QStringLiteral(PURIMBA_DEMO_DIR);
        QVERIFY2(QFileInfo(m_root + QStringLiteral("/media")).isDir(),
            "no demo tree: build the demo_media target first");
        // An installation started from its own folder: both roots are the tree.
        MediaPaths::setApplicationDir(m_root);
        m_previousDir = QDir::currentPath();
        QVERIFY(QDir::setCurrent(m_root));
    }
    void cleanupTestCase()
    {
        QDir::setCurrent(m_previousDir);
        MediaPaths::setApplicationDir(QString());
    }

    // Addresses are unique and numbered without gaps; only the guessing
    // activities count answers, each in a set of its own.
    void addressesAndScoreSets()
    {
        QSet<QString> scoreSets;
        int listed = 0;
        for (int number = 0; number < groups().size(); ++number) {
            const QList<const Activity *> activities = inGroup(number);
            QVERIFY2(!activities.isEmpty(), groups().at(number).clip);
            listed += int(activities.size());
            for (int sub = 0; sub < activities.size(); ++sub) {
                const Activity *activity = activities.at(sub);
                QCOMPARE(activity->sub, sub);
                QCOMPARE(find(number, sub), activity);
                const bool guessing
                    = activity->turn == Turn::Guessing && (number == Letters || number == Braille);
                QCOMPARE(activity->isScored(), guessing);
                if (guessing) {
                    QVERIFY2(
                        !scoreSets.contains(QLatin1String(activity->scoreSet)), activity->scoreSet);
                    scoreSets.insert(QLatin1String(activity->scoreSet));
                }
            }
        }
        // No record outside the groups.
        QCOMPARE(listed, int(all().size()));
    }

    // Each catalogue activity is the record at its address, with the same
    // title and instruction; each record with a title is catalogued.
    void agreesWithTheCatalogue()
    {
        ActivityCatalogue catalogue;
        QVERIFY(!catalogue.groups().isEmpty());
        int catalogued = 0;
        for (const ActivityEntry &group : catalogue.groups()) {
            for (const ActivityEntry &subgroup : group.children) {
                for (const ActivityEntry &entry : subgroup.children) {
                    const QString title
                        = ActivityCatalogue::fullTitle(group.name, subgroup.name, entry.name);
                    const Activity *activity = find(group.id, entry.id);
                    QVERIFY2(activity, qPrintable(title));
                    QCOMPARE(QString::fromUtf8(activity->title), title);
                    QCOMPARE(QString::fromUtf8(activity->instruction), entry.instructionAudio);
                    ++catalogued;
                }
            }
        }
        const QStringList titles = catalogue.fullTitles();
        int titled = 0;
        for (const Activity &activity : all()) {
            if (*activity.title == '\0')
                continue;
            ++titled;
            QVERIFY2(titles.contains(QString::fromUtf8(activity.title)), activity.title);
        }
        QCOMPARE(titled, catalogued);
    }

    void clipExists_data()
    {
        QTest::addColumn<QString>("path");
        QSet<QString> paths;
        auto add = [&paths](const QString &path) {
            if (!paths.contains(path))
                QTest::newRow(qPrintable(path)) << path;
            paths.insert(path);
        };
        auto menuClip
            = [](const char *name) { return MediaPaths::menuClip(QString::fromUtf8(name)); };
        for (int group = 0; group < groups().size(); ++group) {
            add(menuClip(groups().at(group).clip));
            for (const Menu &submenu : submenus(group))
                add(menuClip(submenu.clip));
        }
        for (const Activity &activity : all()) {
            if (*activity.menuClip)
                add(menuClip(activity.menuClip));
            if (*activity.instruction)
                add(MediaPaths::instructionClip(QString::fromUtf8(activity.instruction)));
        }
    }

    void clipExists()
    {
        QFETCH(QString, path);
        QVERIFY(QFileInfo(path).isFile());
    }

private:
    QString m_root;
    QString m_previousDir;
};

QTEST_GUILESS_MAIN(TestActivityTable)
#include "tst_activitytable.moc"
