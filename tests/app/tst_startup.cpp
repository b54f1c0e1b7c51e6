#include "app/MainWindow.h"
#include "app/StartUp.h"
#include "app/WelcomeDialog.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>
#include <memory>
#include <sys/types.h>
#include <vector>

using StartUp::RunMode;
Q_DECLARE_METATYPE(StartUp::RunMode)

namespace {

class CloseEvents : public QObject
{
public:
    int count = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Close)
            ++count;
        return false;
    }
};

// A window whose close handler says no (as one asking for confirmation would).
class RefusesToClose : public QWidget
{
protected:
    void closeEvent(QCloseEvent *event) override { event->ignore(); }
};

} // namespace

// The command line and the log files, partly through the real executable
// started in a folder of its own.
class TestStartUp : public QObject
{
    Q_OBJECT

private:
    QByteArray usage() const
    {
        return "Usage:\t purimba\nor:\t purimba -full\nor:\t purimba -adm\n";
    }

    static QByteArray readFile(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    struct Run
    {
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
        return { process.exitCode(), process.readAllStandardOutput() };
    }

private Q_SLOTS:
    void commandLine_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<RunMode>("mode");
        QTest::newRow("none") << QStringList() << RunMode::Learner;
        QTest::newRow("-h") << QStringList { "-h" } << RunMode::Usage;
        QTest::newRow("-help") << QStringList { "-help" } << RunMode::Usage;
        QTest::newRow("-adm") << QStringList { "-adm" } << RunMode::Administrator;
        QTest::newRow("-tutor") << QStringList { "-tutor" } << RunMode::Tutor;
        QTest::newRow("-full is named but not accepted")
            << QStringList { "-full" } << RunMode::Usage;
        QTest::newRow("capitals") << QStringList { "-TUTOR" } << RunMode::Usage;
        QTest::newRow("-Adm") << QStringList { "-Adm" } << RunMode::Usage;
        QTest::newRow("empty") << QStringList { "" } << RunMode::Usage;
        QTest::newRow("prefix") << QStringList { "-tut" } << RunMode::Usage;
        QTest::newRow("two") << QStringList { "-tutor", "-adm" } << RunMode::Silent;
        QTest::newRow("three") << QStringList { "a", "b", "c" } << RunMode::Silent;
    }

    void commandLine()
    {
        QFETCH(QStringList, arguments);
        QFETCH(RunMode, mode);
        QList<QByteArray> storage { "purimba" };
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

        const Run first = runPurimba(folder.path(), { argument });
        QCOMPARE(first.exitCode, 0);
        QVERIFY(first.console.isEmpty());
        const Run second = runPurimba(folder.path(), { argument });
        QCOMPARE(second.exitCode, 0);
        QCOMPARE(readFile(folder.filePath(QStringLiteral("pu-debug.txt"))),
            "earlier run\n" + usage() + usage());
        QCOMPARE(readFile(folder.filePath(QStringLiteral("pu-error.txt"))), QByteArray());
    }

    void twoArgumentsExitWithArgcAndWriteNothing()
    {
        QTemporaryDir folder;
        const Run run = runPurimba(folder.path(), { "-tutor", "-adm" });
        QCOMPARE(run.exitCode, 3);
        QVERIFY(run.console.isEmpty());
        QCOMPARE(readFile(folder.filePath(QStringLiteral("pu-debug.txt"))), QByteArray());
        QCOMPARE(runPurimba(folder.path(), { "a", "b", "c" }).exitCode, 4);
    }

    void unopenableLogDoesNotStopTheProgram()
    {
        QTemporaryDir folder;
        // A folder where the log file should be: it cannot be opened.
        QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("pu-debug.txt")));
        const Run run = runPurimba(folder.path(), { "-h" });
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

    // SIGTERM (a logout, a shutdown) and SIGINT close the windows and leave
    // the event loop: the process ends of itself with status 0. All cases run
    // at once, so the welcome dialog's delay is waited for only once.
    void terminationSignalsEndTheEventLoop()
    {
        struct Case
        {
            const char *name;
            QStringList arguments;
            int signalNumber;
            bool afterWelcome;
        };
        const QList<Case> cases = {
            { "learner, welcome dialog, SIGTERM", {}, SIGTERM, false },
            { "learner, welcome dialog, SIGINT", {}, SIGINT, false },
            { "learner, main window, SIGTERM", {}, SIGTERM, true },
            { "learner, main window, SIGINT", {}, SIGINT, true },
            { "administrator, SIGTERM", { "-adm" }, SIGTERM, false },
            { "administrator, SIGINT", { "-adm" }, SIGINT, false },
        };
        struct Running
        {
            QTemporaryDir folder;
            QProcess process;
        };
        std::vector<std::unique_ptr<Running>> runs;
        for (const Case &c : cases) {
            auto run = std::make_unique<Running>();
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(QStringLiteral("SDL_AUDIODRIVER"), QStringLiteral("disk"));
            env.insert(QStringLiteral("SDL_DISKAUDIOFILE"), run->folder.filePath("sound.raw"));
            run->process.setProcessEnvironment(env);
            run->process.setWorkingDirectory(run->folder.path());
            run->process.start(QStringLiteral(PURIMBA_EXECUTABLE), c.arguments);
            QVERIFY2(run->process.waitForStarted(), c.name);
            runs.push_back(std::move(run));
        }
        const auto signal = [&](qsizetype i) {
            ::kill(pid_t(runs[i]->process.processId()), cases[i].signalNumber);
        };
        for (qsizetype i = 0; i < cases.size(); ++i) {
            // The log files are opened once the signals are caught (a signal
            // that comes before the event loop runs is handled when it
            // does); the disk driver's file appears as the welcome dialog
            // opens the sound device.
            const QString ready = cases[i].arguments.contains("-adm")
                ? runs[i]->folder.filePath("pu-error.txt")
                : runs[i]->folder.filePath("sound.raw");
            QVERIFY2(QTest::qWaitFor([&] { return QFile::exists(ready); }, 20000), cases[i].name);
            if (!cases[i].afterWelcome)
                signal(i);
        }
        // No sign of the welcome dialog's end reaches the outside: wait it
        // out. On a machine so slow that it has not ended by then, the case
        // passes as one more signal during the welcome dialog.
        QTest::qWait(WelcomeDialog::closeDelayMs + 2000);
        for (qsizetype i = 0; i < cases.size(); ++i) {
            if (cases[i].afterWelcome)
                signal(i);
        }
        for (qsizetype i = 0; i < cases.size(); ++i) {
            QProcess &process = runs[i]->process;
            // waitForFinished() is false for a process the event loop has
            // already seen end.
            const bool ended
                = process.state() == QProcess::NotRunning || process.waitForFinished(30000);
            if (!ended) {
                process.kill();
                process.waitForFinished();
            }
            QVERIFY2(ended, cases[i].name);
            QVERIFY2(process.exitStatus() == QProcess::NormalExit, cases[i].name);
            QVERIFY2(process.exitCode() == 0, cases[i].name);
        }
    }

    // What closing writes is written in the main window's close handler: the
    // quit path goes through it, and ends the loop even if a window refuses.
    void terminationSignalClosesTheMainWindow()
    {
        StartUp::catchTerminationSignals();
        MainWindow window(false);
        window.show();
        CloseEvents closes;
        window.installEventFilter(&closes);
        RefusesToClose stubborn;
        stubborn.show();
        StartUp::closeOnTerminationSignals({ &window, &stubborn });
        // A safety net for a handler that does not work: the test fails
        // instead of hanging.
        QTimer safetyNet;
        safetyNet.setSingleShot(true);
        connect(&safetyNet, &QTimer::timeout, &safetyNet, [] { QCoreApplication::exit(1); });
        safetyNet.start(20000);
        ::raise(SIGTERM);
        QCOMPARE(QApplication::exec(), 0);
        QCOMPARE(closes.count, 1);
        QVERIFY(!window.isVisible());
        QVERIFY(stubborn.isVisible());
    }

    void administratorModeNeedsNoSoundDevice()
    {
        QTemporaryDir folder;
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("SDL_AUDIODRIVER"), QStringLiteral("no-such-driver"));
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(folder.path());
        process.start(QStringLiteral(PURIMBA_EXECUTABLE), { QStringLiteral("-adm") });
        QVERIFY(process.waitForStarted());
        // Learner mode ends at once on this driver; the administrator stays up.
        QVERIFY(!process.waitForFinished(1500));
        process.kill();
        process.waitForFinished();
        QCOMPARE(readFile(folder.filePath(QStringLiteral("pu-debug.txt"))), QByteArray());
    }
};

QTEST_MAIN(TestStartUp)
#include "tst_startup.moc"
