#include "audio/TTS.h"

#include "audio/AudioMonitor.h"
#include "content/LogRecord.h"
#include "content/MediaPaths.h"

#include <QDir>
#include <QFile>
#include <QList>
#include <QPointer>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>

namespace {

struct Synthesizer
{
    QString program; // empty: none found
    QStringList arguments;
    bool latin1 = false; // festival reads Latin-1, espeak-ng UTF-8
};

QStringList &festivalVoiceFolders()
{
    // Festival keeps its voices by language under voices/.
    static QStringList folders = { QStringLiteral("/usr/share/festival/voices/spanish") };
    return folders;
}

bool festivalSpeaksSpanish()
{
    for (const QString &folder : festivalVoiceFolders()) {
        if (!QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot).isEmpty())
            return true;
    }
    return false;
}

// Looked up for every request, so a synthesizer installed while the program
// runs is used from then on.
Synthesizer findSynthesizer()
{
    const QString scratch = MediaPaths::speechScratchFile();
    Synthesizer synthesizer;
    const QString festival = QStandardPaths::findExecutable(QStringLiteral("festival"));
    if (!festival.isEmpty() && festivalSpeaksSpanish()) {
        synthesizer.program = festival;
        synthesizer.arguments = QStringList { QStringLiteral("--tts"), scratch };
        synthesizer.latin1 = true;
        return synthesizer;
    }
    const QString espeak = QStandardPaths::findExecutable(QStringLiteral("espeak-ng"));
    if (!espeak.isEmpty()) {
        synthesizer.program = espeak;
        synthesizer.arguments = QStringList { QStringLiteral("-v"), QStringLiteral("es-419"),
            QStringLiteral("-f"), scratch };
    }
    return synthesizer;
}

bool writeScratchFile(const QString &text, bool latin1)
{
    QFile file(MediaPaths::speechScratchFile());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const QByteArray bytes = latin1 ? text.toLatin1() : text.toUtf8();
    return file.write(bytes) == bytes.size() && file.flush();
}

// One scratch file per working directory, hence one queue per process for
// every owner (login dialog, writing widget, TTS objects).
class SpeechQueue : public QObject
{
public:
    static SpeechQueue *instance()
    {
        // Never destroyed: a synthesizer may end while the process exits.
        static SpeechQueue *queue = new SpeechQueue;
        return queue;
    }

    void add(const QString &text, QObject *owner)
    {
        m_waiting.append(Request { text, owner });
        startNext();
    }

    void dropWaiting(QObject *owner)
    {
        for (int i = m_waiting.size() - 1; i >= 0; --i) {
            if (m_waiting.at(i).owner == owner)
                m_waiting.removeAt(i);
        }
    }

    bool isBusy() const { return m_running || !m_waiting.isEmpty(); }

    int baseLimitMs = 10000;
    // Speech runs at about 70 ms a character; this leaves room for a slow
    // voice and a busy machine.
    int perCharacterLimitMs = 400;

private:
    struct Request
    {
        QString text;
        QPointer<QObject> owner;
    };

    SpeechQueue()
    {
        m_turnLimit.setSingleShot(true);
        connect(&m_turnLimit, &QTimer::timeout, this, [this] { endTurn(m_running); });
    }

    void startNext()
    {
        while (!m_running && !m_waiting.isEmpty()) {
            const Request request = m_waiting.takeFirst();
            if (!request.owner)
                continue;
            const Synthesizer synthesizer = findSynthesizer();
            logChoice(synthesizer);
            if (synthesizer.program.isEmpty()
                || !writeScratchFile(request.text, synthesizer.latin1))
                continue;
            start(synthesizer, request);
        }
    }

    void start(const Synthesizer &synthesizer, const Request &request)
    {
        auto *process = new QProcess(request.owner);
        // Never read: output that nobody reads would fill the pipe or memory.
        // Its complaints go to the program's error log.
        process->setStandardInputFile(QProcess::nullDevice());
        process->setStandardOutputFile(QProcess::nullDevice());
        process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        connect(process, &QProcess::finished, process, &QObject::deleteLater);
        connect(process, &QProcess::finished, this, [this, process] { endTurn(process); });
        connect(
            process, &QProcess::errorOccurred, this, [this, process](QProcess::ProcessError error) {
                if (error != QProcess::FailedToStart)
                    return; // finished() follows
                process->deleteLater();
                endTurn(process);
            });
        // The owner went away and took its synthesizer with it.
        connect(process, &QObject::destroyed, this, [this, process] { endTurn(process); });
        m_running = process;
        // A synthesizer that never ends must not silence every later request.
        m_turnLimit.start(baseLimitMs + perCharacterLimitMs * int(request.text.size()));
        process->start(synthesizer.program, synthesizer.arguments);
    }

    void endTurn(QProcess *process)
    {
        if (!process || process != m_running)
            return;
        m_running = nullptr;
        m_turnLimit.stop();
        // Not from inside the process's own signal or destruction.
        QMetaObject::invokeMethod(
            this, [this] { startNext(); }, Qt::QueuedConnection);
    }

    void logChoice(const Synthesizer &synthesizer)
    {
        const QString choice = synthesizer.program.isEmpty()
            ? QStringLiteral("none (neither festival with a Spanish voice nor espeak-ng was "
                             "found); speech is silent")
            : synthesizer.program + QLatin1Char(' ') + synthesizer.arguments.join(QLatin1Char(' '));
        if (choice == m_loggedChoice)
            return;
        m_loggedChoice = choice;
        writeLogRecord(QStringLiteral("TTS::speak"), { QStringLiteral("synthesizer = ") + choice },
            QStringLiteral("TTS::speak"));
    }

    QList<Request> m_waiting;
    QProcess *m_running = nullptr; // compared only; may already be destroyed
    QTimer m_turnLimit;
    QString m_loggedChoice;
};

} // namespace

TTS::TTS(QObject *parent)
    : QObject(parent)
{
}

void TTS::speak(const QString &text)
{
    say(text, this);
}

void TTS::say(const QString &text, QObject *owner)
{
    Q_EMIT AudioMonitor::instance()->speechRequested(text);
    SpeechQueue::instance()->add(text, owner);
}

void TTS::dropWaiting(QObject *owner)
{
    SpeechQueue::instance()->dropWaiting(owner);
}

void TTS::stop(QObject *owner)
{
    dropWaiting(owner);
    if (!owner)
        return;
    // Every synthesizer is started as a child of its owner; one that has
    // outlived its turn is ended too. Its end passes the turn on.
    const auto synthesizers = owner->findChildren<QProcess *>(Qt::FindDirectChildrenOnly);
    for (QProcess *synthesizer : synthesizers)
        synthesizer->kill();
}

bool TTS::isBusy()
{
    return SpeechQueue::instance()->isBusy();
}

void TTS::setFestivalVoiceFoldersForTesting(const QStringList &folders)
{
    festivalVoiceFolders() = folders;
}

void TTS::setTurnLimitForTesting(int baseMs, int perCharacterMs)
{
    SpeechQueue::instance()->baseLimitMs = baseMs;
    SpeechQueue::instance()->perCharacterLimitMs = perCharacterMs;
}
