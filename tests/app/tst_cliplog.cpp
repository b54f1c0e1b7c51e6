#include "app/ClipLog.h"
#include "audio/Audio.h"
#include "audio/AudioMonitor.h"
#include "audio/AudioThread.h"
#include "support/TestSupport.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QWidget>
#include <QWindow>
#include <QtTest>
#include <memory>

// The clip log of real runs: off without the variable, and one line per
// event in the format the end-to-end scripts and the benchmark read.
class TestClipLog : public QObject
{
    Q_OBJECT

private:
    static QStringList lines(const QString &path)
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    // The lines of one kind, without their times.
    static QStringList ofKind(const QStringList &log, const QString &kind)
    {
        QStringList found;
        for (const QString &line : log) {
            const QStringList fields = line.split(QLatin1Char(' '));
            if (fields.value(1) == kind)
                found << line.section(QLatin1Char(' '), 2);
        }
        return found;
    }

    static double timeOf(const QStringList &log, const QString &kind)
    {
        for (const QString &line : log) {
            if (line.section(QLatin1Char(' '), 1, 1) == kind)
                return line.section(QLatin1Char(' '), 0, 0).toDouble();
        }
        return -1;
    }

private Q_SLOTS:
    void initTestCase() { Audio::instance()->init(); }

    void nothingWithoutTheVariable()
    {
        QTemporaryDir folder;
        const QString previous = QDir::currentPath();
        QDir::setCurrent(folder.path());
        qunsetenv(ClipLog::variable);
        const int filters = QCoreApplication::instance()->children().size();
        QVERIFY(!ClipLog::installFromEnvironment(QCoreApplication::instance()));
        AudioThread player;
        TestSupport::FinishedCounter finished(&player);
        player.file = TestSupport::fixture(QStringLiteral("tone-50ms.ogg"));
        player.start();
        QVERIFY(finished.waitFor(1));
        QDir::setCurrent(previous);
        QCOMPARE(QCoreApplication::instance()->children().size(), filters);
        QVERIFY(QDir(folder.path()).entryList(QDir::Files).isEmpty());
    }

    // A key, a clip with its request and its silence, the next step of a
    // sequence, speech and a window, each on a line of its own; a second run
    // appends to the same file.
    void oneLinePerEventAppended()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("clips.log"));
        qputenv(ClipLog::variable, QFile::encodeName(path));
        for (int run = 1; run <= 2; ++run) {
            std::unique_ptr<ClipLog> log(ClipLog::installFromEnvironment(nullptr));
            QVERIFY(log);
            QWidget window;
            window.setObjectName(QStringLiteral("learnerWindow"));
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            window.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&window));
            QTest::keyRelease(window.windowHandle(), Qt::Key_F2);
            const QString clip = TestSupport::fixture(QStringLiteral("tone-50ms.ogg"));
            const QString next = TestSupport::fixture(QStringLiteral("tone-300ms.ogg"));
            // The second clip is the next step of a sequence: its end starts it.
            AudioThread player;
            AudioThread step;
            step.file = next;
            connect(&player, &AudioThread::finished, &step, &AudioThread::start);
            TestSupport::FinishedCounter finished(&step);
            player.file = clip;
            player.start();
            QVERIFY(finished.waitFor(1));
            // The same player started again by the test is not a step.
            step.start();
            QVERIFY(finished.waitFor(2));
            Q_EMIT AudioMonitor::instance()->speechRequested(QStringLiteral("Ana\nMaría"));

            const QStringList log1 = lines(path);
            const QRegularExpression format(QStringLiteral(
                "^\\d+\\.\\d{3} "
                "(start|key|request|step|clip|silent|speak|shown|keys|players|device) "
                ".+$"));
            for (const QString &line : log1)
                QVERIFY2(format.match(line).hasMatch(), qPrintable(line));
            QCOMPARE(ofKind(log1, QStringLiteral("start")).size(), run);
            QCOMPARE(ofKind(log1, QStringLiteral("key")).size(), run);
            QCOMPARE(ofKind(log1, QStringLiteral("key")).last(), QStringLiteral("F2"));
            QCOMPARE(ofKind(log1, QStringLiteral("shown")).last(), QStringLiteral("learnerWindow"));
            QCOMPARE(ofKind(log1, QStringLiteral("keys")).last(), QStringLiteral("learnerWindow"));
            QCOMPARE(ofKind(log1, QStringLiteral("request")).mid(2 * (run - 1)),
                QStringList({ clip, next }));
            QCOMPARE(ofKind(log1, QStringLiteral("step")).size(), run);
            QCOMPARE(ofKind(log1, QStringLiteral("step")).last(), next);
            QCOMPARE(ofKind(log1, QStringLiteral("clip")).mid(3 * (run - 1)),
                QStringList({ clip, next, next }));
            QCOMPARE(ofKind(log1, QStringLiteral("silent")).last(), next);
            QCOMPARE(ofKind(log1, QStringLiteral("speak")).last(), QStringLiteral("Ana María"));
            // The device was open before the log: each run still names its buffer.
            QCOMPARE(ofKind(log1, QStringLiteral("device")),
                QStringList(run,
                    QStringLiteral("%1 Hz %2 frames")
                        .arg(Audio::instance()->frequency())
                        .arg(Audio::instance()->chunkSize())));
            if (run == 1) {
                // No player was alive when the key came.
                QCOMPARE(
                    ofKind(log1, QStringLiteral("players")), QStringList { QStringLiteral("0") });
                QVERIFY(timeOf(log1, QStringLiteral("request"))
                    <= timeOf(log1, QStringLiteral("clip")));
                QVERIFY(
                    timeOf(log1, QStringLiteral("clip")) <= timeOf(log1, QStringLiteral("silent")));
            }
        }
        qunsetenv(ClipLog::variable);
    }
};

QTEST_MAIN(TestClipLog)
#include "tst_cliplog.moc"
