#include "app/StartUp.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using StartUp::RunMode;
Q_DECLARE_METATYPE(StartUp::RunMode)

// The command line and the log files, partly through the real executable
// started in a folder of its own.
class TestStartUp : public QObject
{
    Q_OBJECT

private:
    QByteArray usage() const { return "Usage:\t purimba\nor:\t purimba -full\nor:\t purimba -adm\n"; }

    static QByteArray readFile(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    struct Run {
        int exitCode;
        QByteArray console;
    };

    static Run runPurimba(const QString &folder, const QStringList &arguments,
                          const QString &audioDriver = QStringLiteral("disk"))
    {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("SDL_AUDIODRIVER"), audioDriver);
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(folder);
        process.start(QStringLiteral(PURIMBA_EXECUTABLE), arguments);
        if (!process.waitForFinished(30000))
            process.kill();
        return {process.exitCode(), process.readAllStandardOutput()};
    }

private Q_SLOTS:
    void commandLine_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<RunMode>("mode");
        QTest::newRow("none") << QStringList() << RunMode::Learner;
        QTest::newRow("-h") << QStringList{"-h"} << RunMode::Usage;
        QTest::newRow("-help") << QStringList{"-help"} << RunMode::Usage;
        QTest::newRow("-adm") << QStringList{"-adm"} << RunMode::Administrator;
        QTest::newRow("-tutor") << QStringList{"-tutor"} << RunMode::Tutor;
        QTest::newRow("-full is named but not accepted") << QStringList{"-full"} << RunMode::Usage;
        QTest::newRow("capitals") << QStringList{"-TUTOR"} << RunMode::Usage;
        QTest::newRow("-Adm") << QStringList{"-Adm"} << RunMode::Usage;
        QTest::newRow("empty") << QStringList{""} << RunMode::Usage;
        QTest::newRow("prefix") << QStringList{"-tut"} << RunMode::Usage;
        QTest::newRow("two") << QStringList{"-tutor", "-adm"} << RunMode::Silent;
        QTest::newRow("three") << QStringList{"a", "b", "c"} << RunMode::Silent;
    }

    void commandLine()
    {
        QFETCH(QStringList, arguments);
        QFETCH(RunMode, mode);
        QList<QByteArray> storage{"purimba"};
        for (const QString &a : arguments)
            storage << a.toUtf8();
        QVector<const char *> argv;
        for (const QByteArray &a : storage)
            argv << a.constData();
        QCOMPARE(StartUp::parseCommandLine(int(argv.size()), argv.constData()), mode);
    }

    void usageGoesToTheDebugLogAndIsAppended_data()
    {
        QTest::addColumn<QString>("argument");
        QTest::newRow("-h") << QStringLiteral("-h");
        QTest::newRow("-help") << QStringLiteral("-help");
        QTest::newRow("-full") << QStringLiteral("-full");
        QTest::newRow("-ADM") << QStringLiteral("-ADM");
    }

    void usageGoesToTheDebugLogAndIsAppended()
    {
        QFETCH(QString, argument);
        QTemporaryDir folder;
        QFile earlier(folder.filePath(QStringLiteral("pu-debug.txt")));
        QVERIFY(earlier.open(QIODevice::WriteOnly));
        earlier.write("earlier run\n");
        earlier.close();

        const Run first = runPurimba(folder.path(), {argument});
        QCOMPARE(first.exitCode, 0);
        QVERIFY(first.console.isEmpty());
        const Run second = runPurimba(folder.path(), {argument});
        QCOMPARE(second.exitCode, 0);
        QCOMPARE(readFile(folder.filePath(QStringLiteral("pu-debug.txt"))),
                 "earlier run\n" + usage() + usage());
        QCOMPARE(readFile(folder.filePath(QStringLiteral("pu-error.txt"))), QByteArray());
    }

    void twoArgumentsExitWithArgcAndWriteNothing()
    {
        QTemporaryDir folder;
        const Run run = runPurimba(folder.path(), {"-tutor", "-adm"});
        QCOMPARE(run.exitCode, 3);
        QVERIFY(run.console.isEmpty());
        QCOMPARE(readFile(folder.filePath(QStringLiteral("pu-debug.txt"))), QByteArray());
        QCOMPARE(runPurimba(folder.path(), {"a", "b", "c"}).exitCode, 4);
    }

    void unopenableLogDoesNotStopTheProgram()
    {
        QTemporaryDir folder;
        // A folder where the log file should be: it cannot be opened.
        QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("pu-debug.txt")));
        const Run run = runPurimba(folder.path(), {"-h"});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.console, usage());
    }

    void learnerModeWithoutSoundDeviceEndsWithRecord()
    {
        QTemporaryDir folder;
        const Run run = runPurimba(folder.path(), {}, QStringLiteral("no-such-driver"));
        QCOMPARE(run.exitCode, 1);
        const QByteArray log = readFile(folder.filePath(QStringLiteral("pu-debug.txt")));
        QVERIFY2(log.startsWith("BEGIN Audio::init\nMix_GetError =  "), log.constData());
        QVERIFY(log.endsWith("END Audio::init\n"));
    }

    void terminationSignalEndsLearnerMode()
    {
        QTemporaryDir folder;
        const QString soundFile = folder.filePath(QStringLiteral("sound.raw"));
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("SDL_AUDIODRIVER"), QStringLiteral("disk"));
        env.insert(QStringLiteral("SDL_DISKAUDIOFILE"), soundFile);
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(folder.path());
        process.start(QStringLiteral(PURIMBA_EXECUTABLE), QStringList());
        QVERIFY(process.waitForStarted());
        // The disk driver creates its file when the device opens.
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(soundFile), 10000);
        process.terminate();
        const bool ended = process.waitForFinished(5000);
        if (!ended) {
            process.kill();
            process.waitForFinished();
        }
        QVERIFY(ended);
    }

    void administratorModeNeedsNoSoundDevice()
    {
        QTemporaryDir folder;
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("SDL_AUDIODRIVER"), QStringLiteral("no-such-driver"));
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(folder.path());
        process.start(QStringLiteral(PURIMBA_EXECUTABLE), {QStringLiteral("-adm")});
        QVERIFY(process.waitForStarted());
        // Learner mode ends at once on this driver; the administrator stays up.
        QVERIFY(!process.waitForFinished(1500));
        process.kill();
        process.waitForFinished();
        QCOMPARE(readFile(folder.filePath(QStringLiteral("pu-debug.txt"))), QByteArray());
    }
};

QTEST_GUILESS_MAIN(TestStartUp)
#include "tst_startup.moc"
