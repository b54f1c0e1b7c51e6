#include "content/Installation.h"
#include "content/MediaPaths.h"

#include <QTemporaryDir>
#include <QtTest>

// Where media and data are, on a stage folder and in an installed tree laid
// out as the package lays it out: <root>/usr/bin and <root>/usr/share/purimba.
class TestInstallation : public QObject
{
    Q_OBJECT

private:
    static void touch(const QString &path, const QByteArray &bytes = "x")
    {
        QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    static QByteArray read(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    QTemporaryDir m_root;
    QString bin() const { return m_root.filePath(QStringLiteral("usr/bin")); }
    QString shared() const { return m_root.filePath(QStringLiteral("usr/share/purimba")); }

private Q_SLOTS:
    void cleanup()
    {
        MediaPaths::setInstallation(Installation());
        QDir(m_root.path()).removeRecursively();
        QDir().mkpath(m_root.path());
    }

    void layout_data()
    {
        QTest::addColumn<bool>("mediaBesideExecutable");
        QTest::addColumn<bool>("sharedTree");
        QTest::addColumn<QStringList>("environment");
        QTest::addColumn<bool>("installed");
        // Relative to the temporary root; empty for the working directory.
        QTest::addColumn<QString>("dataFolder");

        const QStringList home { QStringLiteral("HOME=@/home") };
        QTest::newRow("stage folder wins over an installed tree")
            << true << true << home << false << QString();
        QTest::newRow("bare folder, as a test executable")
            << false << false << home << false << QString();
        QTest::newRow("installed, home")
            << false << true << home << true << QStringLiteral("home/.local/share/purimba");
        QTest::newRow("installed, XDG_DATA_HOME")
            << false << true << (home + QStringList { QStringLiteral("XDG_DATA_HOME=@/xdg") })
            << true << QStringLiteral("xdg/purimba");
        QTest::newRow("installed, relative XDG_DATA_HOME is ignored")
            << false << true << (home + QStringList { QStringLiteral("XDG_DATA_HOME=xdg") }) << true
            << QStringLiteral("home/.local/share/purimba");
        QTest::newRow("installed, PURIMBA_DATA_DIR wins")
            << false << true
            << (home
                   + QStringList { QStringLiteral("XDG_DATA_HOME=@/xdg"),
                       QStringLiteral("PURIMBA_DATA_DIR=@/aula/compartida/") })
            << true << QStringLiteral("aula/compartida");
    }

    void layout()
    {
        QFETCH(bool, mediaBesideExecutable);
        QFETCH(bool, sharedTree);
        QFETCH(QStringList, environment);
        QFETCH(bool, installed);
        QFETCH(QString, dataFolder);
        QVERIFY(QDir().mkpath(bin()));
        if (mediaBesideExecutable)
            QVERIFY(QDir().mkpath(bin() + QStringLiteral("/media")));
        if (sharedTree)
            QVERIFY(QDir().mkpath(shared() + QStringLiteral("/media")));
        QProcessEnvironment env;
        for (const QString &entry : std::as_const(environment)) {
            const QString value
                = entry.section(QLatin1Char('='), 1).replace(QLatin1Char('@'), m_root.path());
            env.insert(entry.section(QLatin1Char('='), 0, 0), value);
        }

        const Installation found = Installation::detect(bin(), env);
        QCOMPARE(found.isInstalled(), installed);
        QCOMPARE(
            found.dataFolder(), dataFolder.isEmpty() ? QString() : m_root.filePath(dataFolder));
        QCOMPARE(found.mediaRoot(), installed ? shared() : bin());
        QVERIFY(found.makeDataFolder());
        if (installed)
            QVERIFY(QFileInfo(found.dataFolder() + QStringLiteral("/data")).isDir());
    }

    // An installed program reads the installed tree and writes only into its
    // data folder, until the administrator's copy takes the tree's place.
    void pathsFollowTheMediaCopy()
    {
        touch(shared() + QStringLiteral("/media/system/audio/instructions/ayuda.ogg"), "help");
        touch(shared() + QStringLiteral("/media/languages/Español/Letras/A/sugerencias.txt"));
        QVERIFY(QDir().mkpath(bin()));
        QProcessEnvironment env;
        env.insert(QStringLiteral("PURIMBA_DATA_DIR"), m_root.filePath(QStringLiteral("datos")));
        const Installation installation = Installation::detect(bin(), env);
        QVERIFY(installation.makeDataFolder());
        MediaPaths::setInstallation(installation);
        const QString data = m_root.filePath(QStringLiteral("datos"));

        QCOMPARE(MediaPaths::instructionClip(QStringLiteral("ayuda.ogg")),
            shared() + QStringLiteral("/media/system/audio/instructions/ayuda.ogg"));
        QCOMPARE(
            MediaPaths::languagesFolderRelative(), shared() + QStringLiteral("/media/languages"));
        QCOMPARE(MediaPaths::catalogueFile(), shared() + QStringLiteral("/data/activities.xml"));
        QCOMPARE(MediaPaths::dataFile(QStringLiteral("scores.xml")),
            data + QStringLiteral("/data/scores.xml"));
        QCOMPARE(MediaPaths::speechScratchFile(), data + QStringLiteral("/purimba.txt"));
        QCOMPARE(MediaPaths::logFile(QStringLiteral("pu-error.txt")),
            data + QStringLiteral("/pu-error.txt"));
        const QString loose = data + QStringLiteral("/suggestions.txt");
        QCOMPARE(MediaPaths::activitySuggestionsFile(), loose);
        touch(loose, "<suggestions/>");
        // What a copy cut short left behind is not taken for the media.
        touch(data + QStringLiteral("/media.copying/stale.ogg"));
        QVERIFY(!installation.hasMediaCopy());

        QString error;
        QVERIFY2(installation.copyMediaToDataFolder(&error), qPrintable(error));
        QVERIFY(installation.hasMediaCopy());
        QCOMPARE(MediaPaths::letterFolder(QStringLiteral("Español"), QStringLiteral("A")),
            data + QStringLiteral("/media/languages/Español/Letras/A"));
        QCOMPARE(
            read(MediaPaths::instructionClip(QStringLiteral("ayuda.ogg"))), QByteArray("help"));
        QCOMPARE(MediaPaths::activitySuggestionsFile(),
            data + QStringLiteral("/media/system/text/suggestions.txt"));
        QCOMPARE(read(MediaPaths::activitySuggestionsFile()), QByteArray("<suggestions/>"));
        QVERIFY(!QFileInfo::exists(loose));
        QVERIFY(!QFileInfo::exists(data + QStringLiteral("/media.copying")));
        QVERIFY(!QFileInfo::exists(data + QStringLiteral("/media/stale.ogg")));
        // The catalogue is never edited: still the installed one.
        QCOMPARE(MediaPaths::catalogueFile(), shared() + QStringLiteral("/data/activities.xml"));
    }

    // Installed files are read-only; the copy is there to be edited.
    void copyIsWritable()
    {
        const QString clip = shared() + QStringLiteral("/media/system/audio/blank.ogg");
        touch(clip);
        QVERIFY(
            QFile::setPermissions(clip, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
        QVERIFY(QDir().mkpath(bin()));
        QProcessEnvironment env;
        env.insert(QStringLiteral("PURIMBA_DATA_DIR"), m_root.filePath(QStringLiteral("datos")));
        const Installation installation = Installation::detect(bin(), env);
        QVERIFY(installation.makeDataFolder());
        QString error;
        QVERIFY2(installation.copyMediaToDataFolder(&error), qPrintable(error));
        const QString copied
            = m_root.filePath(QStringLiteral("datos/media/system/audio/blank.ogg"));
        QVERIFY(QFile::permissions(copied) & QFile::WriteOwner);
    }
};

QTEST_GUILESS_MAIN(TestInstallation)
#include "tst_installation.moc"
