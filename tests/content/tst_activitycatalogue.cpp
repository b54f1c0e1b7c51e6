#include "content/ActivityCatalogue.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

class TestActivityCatalogue : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void missingFileGivesAnEmptyCatalogue();
    void damagedFileGivesAnEmptyCatalogue();
    void loadsThreeLevels();
    void fullTitlesKeepTheSpacing_data();
    void fullTitlesKeepTheSpacing();

private:
    void writeCatalogue(const QByteArray &bytes);

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_previousDir;
};

void TestActivityCatalogue::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_previousDir = QDir::currentPath();
    QDir::setCurrent(m_dir->path());
}

void TestActivityCatalogue::cleanup()
{
    QDir::setCurrent(m_previousDir);
    m_dir.reset();
}

void TestActivityCatalogue::writeCatalogue(const QByteArray &bytes)
{
    QDir().mkpath(QStringLiteral("data"));
    QFile file(QStringLiteral("data/activities.xml"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

void TestActivityCatalogue::missingFileGivesAnEmptyCatalogue()
{
    ActivityCatalogue catalogue;
    QVERIFY(catalogue.groups().isEmpty());
    QVERIFY(catalogue.fullTitles().isEmpty());
    QCOMPARE(catalogue.load(), -1);
}

void TestActivityCatalogue::damagedFileGivesAnEmptyCatalogue()
{
    writeCatalogue("<Activities><Group name=\"Braille\"></Activities>");
    ActivityCatalogue catalogue;
    QCOMPARE(catalogue.load(), -1);
    QVERIFY(catalogue.groups().isEmpty());
}

void TestActivityCatalogue::loadsThreeLevels()
{
    writeCatalogue("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                   "<Anything>\n"
                   " <Group name=\"Letras y Numeros\" id=\"1\" instructionAudio=\"ignored.ogg\">\n"
                   "  <!-- a comment is no entry -->\n"
                   "  <Sub name=\"Sonidos de las Letras\" id=\"x\" instructionAudio=\"s.ogg\">\n"
                   "   <Act name=\"Te presento sonidos\" id=\"3\" instructionAudio=\"t.ogg\">\n"
                   "    <Deeper name=\"ignored\"/>\n"
                   "   </Act>\n"
                   "   text is no entry\n"
                   "   <Act name=\"\xc2\xbf"
                   "C\xc3\xb3"
                   "mo suena?\"/>\n"
                   "  </Sub>\n"
                   "  <Sub name=\"Sin actividades\"/>\n"
                   " </Group>\n"
                   " <Group name=\"Sin subgrupos\" id=\"2\"/>\n"
                   "</Anything>\n");
    ActivityCatalogue catalogue;
    QCOMPARE(catalogue.load(), 2);
    const QList<ActivityEntry> &groups = catalogue.groups();
    QCOMPARE(groups.size(), 2);

    const ActivityEntry &letters = groups.first();
    QCOMPARE(letters.id, 1);
    QCOMPARE(letters.name, QStringLiteral("Letras y Numeros"));
    QVERIFY(letters.instructionAudio.isEmpty());
    QVERIFY(letters.hasChildren);
    QCOMPARE(letters.childCount, 2);

    const ActivityEntry &sounds = letters.children.first();
    QCOMPARE(sounds.id, 0);
    QCOMPARE(sounds.instructionAudio, QStringLiteral("s.ogg"));
    QCOMPARE(sounds.childCount, 2);
    const ActivityEntry &presento = sounds.children.first();
    QCOMPARE(presento.id, 3);
    QCOMPARE(presento.instructionAudio, QStringLiteral("t.ogg"));
    QVERIFY(!presento.hasChildren);
    QCOMPARE(presento.childCount, 0);
    QVERIFY(sounds.children.last().instructionAudio.isEmpty());

    QVERIFY(!letters.children.last().hasChildren);
    QVERIFY(!groups.last().hasChildren);

    QCOMPARE(catalogue.fullTitles(),
        QStringList({ "Letras y Numeros -  Sonidos de las Letras - Te presento sonidos",
            "Letras y Numeros -  Sonidos de las Letras - \u00bfC\u00f3mo suena?" }));

    // A default entry.
    const ActivityEntry entry;
    QCOMPARE(entry.id, 0);
    QCOMPARE(entry.name, QStringLiteral("default"));
    QCOMPARE(entry.instructionAudio, QStringLiteral("default"));
    QVERIFY(!entry.hasChildren);
}

void TestActivityCatalogue::fullTitlesKeepTheSpacing_data()
{
    QTest::addColumn<QString>("group");
    QTest::addColumn<QString>("subgroup");
    QTest::addColumn<QString>("activity");
    QTest::addColumn<QString>("title");

    QTest::newRow("braille") << "Braille"
                             << "Cajetin"
                             << "Letras escondidas"
                             << "Braille -  Cajetin - Letras escondidas";
    QTest::newRow("letters") << "Letras y Numeros"
                             << "Sonidos de las Letras"
                             << "Te presento sonidos"
                             << "Letras y Numeros -  Sonidos de las Letras - Te presento sonidos";
}

void TestActivityCatalogue::fullTitlesKeepTheSpacing()
{
    QFETCH(QString, group);
    QFETCH(QString, subgroup);
    QFETCH(QString, activity);
    QFETCH(QString, title);
    writeCatalogue("<Activities><G name=\"" + group.toUtf8() + "\"><S name=\"" + subgroup.toUtf8()
        + "\"><A name=\"" + activity.toUtf8() + "\"/></S></G></Activities>");
    QCOMPARE(ActivityCatalogue().fullTitles(), QStringList { title });
    QCOMPARE(ActivityCatalogue::fullTitle(group, subgroup, activity), title);
}

QTEST_GUILESS_MAIN(TestActivityCatalogue)
#include "tst_activitycatalogue.moc"
