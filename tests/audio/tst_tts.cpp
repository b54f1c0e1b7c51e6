#include "audio/StandInSynthesizer.h"
#include "audio/TTS.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QtTest>
#include <cstdio>
#include <functional>
#include <memory>
#include <unistd.h>

namespace {

const QStringList espeakArguments = { "-v", "es-419", "-f", "purimba.txt" };

QByteArray scratchFile()
{
    QFile file(QStringLiteral("purimba.txt"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(none)");
}

} // namespace

class TestTTS : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void speaksExactText_data();
    void speaksExactText();
    void requestsTakeTurns();
    void choosesSpanishSynthesizer_data();
    void choosesSpanishSynthesizer();
    void logsEachChoiceOnce();
    void releasesFinishedProcesses();
    void dropsRequestsNobodyWaitsFor();
    void hungSynthesizerKeepsNoTurn();

private:
    std::unique_ptr<QTemporaryDir> m_work;
    QString m_previousDir;
    QTemporaryDir m_voices;
};

void TestTTS::init()
{
    m_previousDir = QDir::currentPath();
    m_work = std::make_unique<QTemporaryDir>();
    QDir::setCurrent(m_work->path());
    // An empty language folder: festival without a Spanish voice.
    QDir(m_voices.path()).mkpath(QStringLiteral("spanish"));
    TTS::setFestivalVoiceFoldersForTesting({ m_voices.filePath(QStringLiteral("spanish")) });
}

void TestTTS::cleanup()
{
    QTRY_VERIFY_WITH_TIMEOUT(!TTS::isBusy(), 60000);
    QDir(m_voices.path()).removeRecursively();
    QDir::setCurrent(m_previousDir);
    m_work.reset();
}

void TestTTS::speaksExactText_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << QString();
    QTest::newRow("ñ and accent") << QStringLiteral("Ñandú");
    QTest::newRow("accent") << QStringLiteral("camión");
}

// The file holds the text and nothing else, in espeak-ng's UTF-8, and the
// synthesizer is started on it at once.
void TestTTS::speaksExactText()
{
    QFETCH(QString, text);
    StandInSynthesizer synthesizer;
    TTS tts;
    tts.speak(text);
    QCOMPARE(scratchFile(), text.toUtf8());
    QVERIFY(synthesizer.waitForCalls(1));
    const QList<StandInSynthesizer::Call> calls = synthesizer.calls();
    QCOMPARE(calls.size(), 1);
    QCOMPARE(calls.at(0).program, QStringLiteral("espeak-ng"));
    QCOMPARE(calls.at(0).arguments, espeakArguments);
    QCOMPARE(calls.at(0).text, text.toUtf8());
}

// A synthesizer slow to read its file still reads its own text: the second
// request waits for the first synthesizer instead of rewriting the file.
void TestTTS::requestsTakeTurns()
{
    StandInSynthesizer synthesizer({ QStringLiteral("espeak-ng") }, QStringLiteral("0.3"));
    TTS tts;
    tts.speak(QStringLiteral("hola"));
    tts.speak(QStringLiteral("mundo"));
    QVERIFY(synthesizer.waitForCalls(2));
    QCOMPARE(synthesizer.texts(), (QStringList { "hola", "mundo" }));
    QCOMPARE(scratchFile(), QByteArray("mundo"));
}

void TestTTS::choosesSpanishSynthesizer_data()
{
    QTest::addColumn<QStringList>("installed");
    QTest::addColumn<bool>("spanishVoice");
    QTest::addColumn<QString>("program"); // empty: speech is silent
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("bytes");

    const QStringList both = { "festival", "espeak-ng" };
    const QStringList festival = { "--tts", "purimba.txt" };
    const QByteArray latin1("\xd1"
                            "and\xfa");
    const QByteArray utf8("\xc3\x91"
                          "and\xc3\xba");
    QTest::newRow("festival with a Spanish voice")
        << both << true << "festival" << festival << latin1;
    QTest::newRow("festival without one")
        << both << false << "espeak-ng" << espeakArguments << utf8;
    QTest::newRow("only festival, English")
        << QStringList { "festival" } << false << QString() << QStringList() << QByteArray();
    QTest::newRow("none") << QStringList() << false << QString() << QStringList() << QByteArray();
}

void TestTTS::choosesSpanishSynthesizer()
{
    QFETCH(QStringList, installed);
    QFETCH(bool, spanishVoice);
    QFETCH(QString, program);
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, bytes);
    if (spanishVoice)
        QDir(m_voices.path()).mkpath(QStringLiteral("spanish/el_diphone"));
    StandInSynthesizer synthesizer(installed);
    TTS tts;
    tts.speak(QStringLiteral("Ñandú"));
    if (program.isEmpty()) {
        // Nothing started, nothing waiting, nothing left to do.
        QVERIFY(tts.findChildren<QProcess *>().isEmpty());
        QVERIFY(!TTS::isBusy());
        return;
    }
    QVERIFY(synthesizer.waitForCalls(1));
    const StandInSynthesizer::Call call = synthesizer.calls().value(0);
    QCOMPARE(call.program, program);
    QCOMPARE(call.arguments, arguments);
    QCOMPARE(call.text, bytes);
}

// Which synthesizer speaks is written once, and again only when it changes.
void TestTTS::logsEachChoiceOnce()
{
    QString espeak;
    bool spoken = false;
    const QByteArray logged = TestSupport::standardOutputOf([&] {
        TTS tts;
        {
            StandInSynthesizer synthesizer;
            espeak = synthesizer.bin() + QStringLiteral("/espeak-ng");
            tts.speak(QStringLiteral("uno"));
            tts.speak(QStringLiteral("dos"));
            spoken = synthesizer.waitForCalls(2);
        }
        StandInSynthesizer nothing { QStringList() };
        tts.speak(QStringLiteral("tres"));
        tts.speak(QStringLiteral("cuatro"));
    });
    QVERIFY(spoken);
    QCOMPARE(logged,
        QByteArray("BEGIN TTS::speak\nsynthesizer = ") + espeak.toUtf8()
            + " -v es-419 -f purimba.txt\nEND TTS::speak\n"
              "BEGIN TTS::speak\nsynthesizer = none (neither festival with a Spanish voice nor "
              "espeak-ng was found); speech is silent\nEND TTS::speak\n");
}

// A long writing session leaves no process objects behind, and the texts are
// heard in the order they were asked for.
void TestTTS::releasesFinishedProcesses()
{
    StandInSynthesizer synthesizer;
    TTS tts;
    QStringList said;
    for (int i = 0; i < 10; ++i) {
        said << QString::number(i);
        tts.speak(said.last());
    }
    QVERIFY(synthesizer.waitForCalls(10));
    QCOMPARE(synthesizer.texts(), said);
    QTRY_VERIFY(tts.findChildren<QProcess *>().isEmpty());
}

// A request waiting for its turn is dropped with its owner, or when the owner
// withdraws it; the synthesizer already speaking goes on.
void TestTTS::dropsRequestsNobodyWaitsFor()
{
    StandInSynthesizer synthesizer({ QStringLiteral("espeak-ng") }, QStringLiteral("0.2"));
    TTS speaking;
    auto *gone = new TTS;
    TTS withdrawn;
    speaking.speak(QStringLiteral("uno"));
    gone->speak(QStringLiteral("dos"));
    withdrawn.speak(QStringLiteral("tres"));
    delete gone;
    TTS::dropWaiting(&withdrawn);
    TTS::dropWaiting(&speaking);
    speaking.speak(QStringLiteral("cuatro"));
    QVERIFY(synthesizer.waitForCalls(2));
    QCOMPARE(synthesizer.texts(), (QStringList { "uno", "cuatro" }));
}

// A synthesizer that never ends holds the scratch file only for a while.
void TestTTS::hungSynthesizerKeepsNoTurn()
{
    StandInSynthesizer synthesizer;
    TTS::setTurnLimitForTesting(300, 0);
    TTS tts;
    tts.speak(QStringLiteral("cuelga"));
    // Once it has read its text and hangs.
    QTRY_COMPARE_WITH_TIMEOUT(synthesizer.calls().size(), 1, 60000);
    tts.speak(QStringLiteral("sigue"));
    const bool heard = synthesizer.waitForCalls(2);
    TTS::setTurnLimitForTesting(10000, 400);
    const auto processes = tts.findChildren<QProcess *>();
    for (QProcess *process : processes) {
        process->kill();
        process->waitForFinished();
    }
    QVERIFY(heard);
    QCOMPARE(synthesizer.texts(), (QStringList { "cuelga", "sigue" }));
}

QTEST_MAIN(TestTTS)
#include "tst_tts.moc"
