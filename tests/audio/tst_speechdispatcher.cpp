#include "audio/StandInSynthesizer.h"
#include "audio/TTS.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

namespace {

// A Speech Dispatcher server of the test's own, on its own socket, whose one
// output module writes "language|rate|text" lines to a file instead of
// speaking. A text "largo" keeps it busy for half a minute.
class PrivateServer
{
public:
    explicit PrivateServer(const QString &program, const QString &socket)
        : m_socket(socket)
    {
        QDir(m_dir.path()).mkpath(QStringLiteral("conf/modules"));
        write(QStringLiteral("conf/speechd.conf"),
            "LogLevel 1\n"
            "LogDir \""
                + m_dir.path().toUtf8()
                + "\"\n"
                  // The module below plays nothing; no sound device is opened.
                  "AudioOutputMethod \"libao\"\n"
                  "DefaultRate 37\n"
                  "DefaultLanguage \"en\"\n"
                  "AddModule \"writer\" \"sd_generic\" \"writer.conf\"\n"
                  "DefaultModule writer\n");
        write(QStringLiteral("conf/modules/writer.conf"),
            // The module fills in only the first $DATA of the line.
            "GenericExecuteSynth \"t='$DATA'; printf '%s|%s|%s\\\\n' '$LANGUAGE' '$RATE' "
            "\\\"$t\\\" >> "
                + spoken().toUtf8()
                + "; case \\\"$t\\\" in largo) sleep 30;; esac\"\n"
                  "GenericLanguage \"en\" \"en\" \"utf-8\"\n"
                  "GenericLanguage \"es\" \"es\" \"utf-8\"\n"
                  "GenericRateAdd 0\n"
                  "GenericRateMultiply 1\n"
                  "AddVoice \"en\" \"MALE1\" \"en\"\n"
                  "AddVoice \"es\" \"MALE1\" \"es\"\n");
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        // The stand-in synthesizers' PATH has no sleep for the module's shell.
        environment.insert(QStringLiteral("PATH"), QStringLiteral("/usr/bin:/bin"));
        m_server.setProcessEnvironment(environment);
        m_server.setProcessChannelMode(QProcess::MergedChannels);
        m_server.start(program,
            { QStringLiteral("-s"), QStringLiteral("-t"), QStringLiteral("0"), QStringLiteral("-C"),
                m_dir.filePath(QStringLiteral("conf")), QStringLiteral("-S"), m_socket,
                QStringLiteral("-L"), m_dir.path() });
        m_ready
            = QTest::qWaitFor(
                  [&] {
                      return QFile::exists(m_socket) || m_server.state() == QProcess::NotRunning;
                  },
                  10000)
            && QFile::exists(m_socket);
    }

    ~PrivateServer() { stop(); }

    bool ready() const { return m_ready; }
    QString output() { return QString::fromLocal8Bit(m_server.readAll()); }

    void stop()
    {
        if (m_server.state() == QProcess::NotRunning)
            return;
        m_server.terminate();
        if (!m_server.waitForFinished(5000)) {
            m_server.kill();
            m_server.waitForFinished();
        }
        QFile::remove(m_socket);
    }

    QStringList lines() const
    {
        QFile file(spoken());
        if (!file.open(QIODevice::ReadOnly))
            return QStringList();
        return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    bool waitForLines(int n, int timeoutMs = 10000) const
    {
        return QTest::qWaitFor([&] { return lines().size() >= n; }, timeoutMs);
    }

private:
    QString spoken() const { return m_dir.filePath(QStringLiteral("spoken.txt")); }

    void write(const QString &name, const QByteArray &bytes)
    {
        QFile file(m_dir.filePath(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write the server's configuration");
    }

    QTemporaryDir m_dir;
    QString m_socket;
    QProcess m_server;
    bool m_ready = false;
};

QStringList spanish(const QStringList &texts)
{
    QStringList lines;
    for (const QString &text : texts)
        lines << QStringLiteral("es|0.37|") + text;
    return lines;
}

} // namespace

class TestSpeechDispatcher : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void typedTextInOrder();
    void stopCancelsOwnSpeech();
    void serverGoneAway_data();
    void serverGoneAway();
    void socketNobodyServes();

private:
    std::unique_ptr<PrivateServer> startServer();

    QString m_program;
    std::unique_ptr<QTemporaryDir> m_work;
    QString m_previousDir;
    QString m_socket;
};

void TestSpeechDispatcher::initTestCase()
{
#ifndef PURIMBA_HAVE_SPEECHD
    QSKIP("built without libspeechd (libspeechd-dev was not found)");
#endif
    m_program = QStandardPaths::findExecutable(QStringLiteral("speech-dispatcher"));
    if (m_program.isEmpty())
        QSKIP("speech-dispatcher is not installed");
    TTS::setFestivalVoiceFoldersForTesting(QStringList());
}

void TestSpeechDispatcher::init()
{
    m_previousDir = QDir::currentPath();
    m_work = std::make_unique<QTemporaryDir>();
    QDir::setCurrent(m_work->path());
    // Short: a unix socket's path has a small limit.
    m_socket = m_work->filePath(QStringLiteral("s"));
    qputenv("SPEECHD_ADDRESS", "unix_socket:" + m_socket.toUtf8());
}

void TestSpeechDispatcher::cleanup()
{
    QTRY_VERIFY_WITH_TIMEOUT(!TTS::isBusy(), 30000);
    QDir::setCurrent(m_previousDir);
    m_work.reset();
}

std::unique_ptr<PrivateServer> TestSpeechDispatcher::startServer()
{
    auto server = std::make_unique<PrivateServer>(m_program, m_socket);
    if (!server->ready()) {
        qWarning("%s", qPrintable(server->output()));
        return nullptr;
    }
    return server;
}

// Each text is heard whole, in the order typed, in Spanish and at the rate
// the server was given; espeak-ng, also installed, is never started. The
// scratch file still holds the last text.
void TestSpeechDispatcher::typedTextInOrder()
{
    StandInSynthesizer espeak;
    auto server = startServer();
    if (!server)
        QSKIP("speech-dispatcher did not start here");
    const QStringList texts = { "m", "mamá", "Ñandú", "¿Cómo suena?", "it's" };
    QByteArray logged;
    {
        const QByteArray out = TestSupport::standardOutputOf([&] {
            TTS tts;
            tts.speak(QString()); // nothing to hear, and no reason to leave the server
            for (const QString &text : texts)
                tts.speak(text);
            QVERIFY(server->waitForLines(texts.size()));
            QTRY_VERIFY(!TTS::isBusy());
        });
        logged = out;
    }
    QCOMPARE(server->lines(), spanish(texts));
    QVERIFY(espeak.calls().isEmpty());
    QFile scratch(QStringLiteral("purimba.txt"));
    QVERIFY(scratch.open(QIODevice::ReadOnly));
    QCOMPARE(scratch.readAll(), QByteArray("it's"));
    QCOMPARE(logged.count("synthesizer = speech-dispatcher at unix_socket:" + m_socket.toUtf8()
                 + ", language es\n"),
        1);
}

// Leaving an activity ends what it is saying at once and drops what it had
// yet to say; another owner's speech goes on after it.
void TestSpeechDispatcher::stopCancelsOwnSpeech()
{
    StandInSynthesizer espeak;
    auto server = startServer();
    if (!server)
        QSKIP("speech-dispatcher did not start here");
    TTS leaving;
    TTS next;
    leaving.speak(QStringLiteral("largo"));
    leaving.speak(QStringLiteral("nunca"));
    QVERIFY(server->waitForLines(1));
    QElapsedTimer timer;
    timer.start();
    TTS::stop(&leaving);
    next.speak(QStringLiteral("sigue"));
    // Far less than the half minute "largo" would take.
    QVERIFY(server->waitForLines(2, 5000));
    QVERIFY2(timer.elapsed() < 5000, qPrintable(QString::number(timer.elapsed())));
    QTRY_VERIFY(!TTS::isBusy());
    QCOMPARE(server->lines(), spanish({ "largo", "sigue" }));
    QVERIFY(espeak.calls().isEmpty());
}

void TestSpeechDispatcher::serverGoneAway_data()
{
    QTest::addColumn<bool>("restarted");
    QTest::newRow("restarted: one new connection") << true;
    QTest::newRow("gone: the next synthesizer") << false;
}

// A server that stopped answering is asked once more on a new connection;
// failing that, the text is heard from espeak-ng and the change is logged.
void TestSpeechDispatcher::serverGoneAway()
{
    QFETCH(bool, restarted);
    StandInSynthesizer espeak;
    auto server = startServer();
    if (!server)
        QSKIP("speech-dispatcher did not start here");
    TTS tts;
    const QByteArray logged = TestSupport::standardOutputOf([&] {
        tts.speak(QStringLiteral("uno"));
        QVERIFY(server->waitForLines(1));
        QTRY_VERIFY(!TTS::isBusy());
        server.reset();
        if (restarted) {
            server = startServer();
            QVERIFY(server);
        }
        tts.speak(QStringLiteral("dos"));
        tts.speak(QStringLiteral("tres"));
        if (restarted)
            QVERIFY(server->waitForLines(2));
        QVERIFY(espeak.waitForCalls(restarted ? 0 : 2));
    });
    if (restarted) {
        QCOMPARE(server->lines(), spanish({ "dos", "tres" }));
        QVERIFY(espeak.calls().isEmpty());
        QVERIFY(!logged.contains("stopped answering"));
    } else {
        QCOMPARE(espeak.texts(), (QStringList { "dos", "tres" }));
        QVERIFY2(logged.contains("speech-dispatcher = stopped answering\nsynthesizer = "
                     + espeak.bin().toUtf8() + "/espeak-ng -v es-419"),
            logged.constData());
    }
}

// A socket left behind by a server that has gone: the old order, at once.
void TestSpeechDispatcher::socketNobodyServes()
{
    StandInSynthesizer espeak;
    QFile stale(m_socket);
    QVERIFY(stale.open(QIODevice::WriteOnly));
    stale.close();
    TTS tts;
    const QByteArray logged = TestSupport::standardOutputOf([&] {
        tts.speak(QStringLiteral("hola"));
        QVERIFY(espeak.waitForCalls(1, 10000));
    });
    QCOMPARE(espeak.texts(), QStringList { "hola" });
    QVERIFY2(logged.startsWith("BEGIN TTS::speak\nspeech-dispatcher = "), logged.constData());
}

QTEST_MAIN(TestSpeechDispatcher)
#include "tst_speechdispatcher.moc"
