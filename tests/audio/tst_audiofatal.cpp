#include "support/TestSupport.h"

#include <QProcess>
#include <QtTest>

// The failures that end the process: each leaves its log record on standard
// output ("pu-debug.txt" in the program) and exits with status 1.
class TestAudioFatal : public QObject
{
    Q_OBJECT

private:
    struct Run
    {
        int exitCode;
        QProcess::ExitStatus status;
        QList<QByteArray> lines;
    };

    Run play(const QString &file, const QByteArray &driver = "disk")
    {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("SDL_AUDIODRIVER"), QString::fromLatin1(driver));
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(PLAYCLIP), { file });
        process.waitForFinished(30000);
        QByteArray out = process.readAllStandardOutput();
        QList<QByteArray> lines = out.split('\n');
        if (!lines.isEmpty() && lines.last().isEmpty())
            lines.removeLast();
        return { process.exitCode(), process.exitStatus(), lines };
    }

private Q_SLOTS:
    void corruptClipEndsWithFourLineRecord()
    {
        const QString corrupt = TestSupport::fixture(QStringLiteral("corrupt.ogg"));
        const Run run = play(corrupt);
        QCOMPARE(run.status, QProcess::NormalExit);
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(run.lines.size(), 4);
        QCOMPARE(run.lines[0], QByteArray("BEGIN AudioClip::AudioClip"));
        QCOMPARE(run.lines[1], "error opening filename = " + corrupt.toLatin1());
        QVERIFY(run.lines[2].startsWith("Mix_GetError =  "));
        QVERIFY(run.lines[2].size() > int(qstrlen("Mix_GetError =  ")));
        QCOMPARE(run.lines[3], QByteArray("END AudioClip::AudioClip"));
    }

    void goodClipPlaysAndLogsNothing()
    {
        const Run run = play(TestSupport::fixture(QStringLiteral("tone-50ms.ogg")));
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.lines.isEmpty());
    }

    void missingAndEmptyFilesAreSilentNotFatal()
    {
        QCOMPARE(play(QStringLiteral("/nonexistent/clip.ogg")).exitCode, 0);
        QCOMPARE(play(QString()).exitCode, 0);
        QVERIFY(play(QString()).lines.isEmpty());
    }

    void deviceThatCannotOpenEndsWithThreeLineRecord()
    {
        const Run run
            = play(TestSupport::fixture(QStringLiteral("tone-50ms.ogg")), "no-such-driver");
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(run.lines.size(), 3);
        QCOMPARE(run.lines[0], QByteArray("BEGIN Audio::init"));
        QVERIFY(run.lines[1].startsWith("Mix_GetError =  "));
        QCOMPARE(run.lines[2], QByteArray("END Audio::init"));
    }
};

QTEST_GUILESS_MAIN(TestAudioFatal)
#include "tst_audiofatal.moc"
