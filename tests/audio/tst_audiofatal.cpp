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

    Run play(const QString &file, const QByteArray &driver = "disk", int refuseBelow = 0)
    {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("SDL_AUDIODRIVER"), QString::fromLatin1(driver));
        process.setProcessEnvironment(env);
        QStringList args { file };
        if (refuseBelow > 0)
            args = QStringList { QStringLiteral("--refuse-below"), QString::number(refuseBelow) }
                + args;
        process.start(QStringLiteral(PLAYCLIP), args);
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

    // The smallest buffer the device takes, so that a clip is heard soon
    // after it starts; a device that takes none is the fatal case below.
    void deviceRefusingSmallBuffersOpensWithALargerOne_data()
    {
        QTest::addColumn<QByteArray>("driver");
        QTest::addColumn<int>("refuseBelow");
        QTest::addColumn<QByteArray>("opened");
        QTest::newRow("takes the smallest") << QByteArray("disk") << 1 << QByteArray("buffer 128");
        QTest::newRow("takes 256 and up") << QByteArray("disk") << 200 << QByteArray("buffer 256");
        QTest::newRow("takes only the old size and up")
            << QByteArray("disk") << 1024 << QByteArray("buffer 1024");
        QTest::newRow("takes only the largest")
            << QByteArray("disk") << 2048 << QByteArray("buffer 2048");
        // Its clock is true only with buffers of 512 frames and more.
        QTest::newRow("dummy driver") << QByteArray("dummy") << 1 << QByteArray("buffer 512");
    }

    void deviceRefusingSmallBuffersOpensWithALargerOne()
    {
        QFETCH(QByteArray, driver);
        QFETCH(int, refuseBelow);
        QFETCH(QByteArray, opened);
        const Run run
            = play(TestSupport::fixture(QStringLiteral("tone-50ms.ogg")), driver, refuseBelow);
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.lines, QList<QByteArray> { opened });
    }

    void deviceRefusingEveryBufferEndsWithThreeLineRecord()
    {
        const Run run = play(TestSupport::fixture(QStringLiteral("tone-50ms.ogg")), "disk", 4096);
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(run.lines.size(), 3);
        QCOMPARE(run.lines[0], QByteArray("BEGIN Audio::init"));
        QVERIFY(run.lines[1].startsWith("Mix_GetError =  "));
        QCOMPARE(run.lines[2], QByteArray("END Audio::init"));
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
