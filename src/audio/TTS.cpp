#include "audio/TTS.h"

#include "audio/AudioMonitor.h"
#include "content/LogRecord.h"
#include "content/MediaPaths.h"

#ifdef PURIMBA_HAVE_SPEECHD
#include "audio/SpeechDispatcher.h"
#endif

#include <QDir>
#include <QFile>
#include <QFileInfo>
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

// festival with a Spanish voice, otherwise espeak-ng; empty when neither is
// installed.
Synthesizer findProgram()
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
//
// The synthesizer is chosen at start (or the first request) and kept; it is chosen
// again only when it fails (its program has gone, the server stopped
// answering) or when there was none. A Speech Dispatcher server that answers
// comes first: it speaks in the school's own voice and rate.
class SpeechQueue : public QObject
{
public:
    static SpeechQueue *instance()
    {
        // Never destroyed: a synthesizer may end while the process exits.
        static SpeechQueue *queue = new SpeechQueue;
        return queue;
    }

    void chooseOnce()
    {
        if (m_choice == Choice::None)
            choose(true);
    }

    void add(const QString &text, QObject *owner)
    {
        m_waiting.append(Request { text, owner });
        if (m_choice == Choice::None)
            choose(true);
        startNext();
    }

    void dropWaiting(QObject *owner)
    {
        for (int i = m_waiting.size() - 1; i >= 0; --i) {
            if (m_waiting.at(i).owner == owner)
                m_waiting.removeAt(i);
        }
    }

    // Ends the server's message owner is speaking; processes are ended by
    // the caller.
    void cancelSpoken(QObject *owner)
    {
#ifdef PURIMBA_HAVE_SPEECHD
        if (m_spoken && owner && m_spoken.request.owner == owner)
            dispatcher()->cancel();
#else
        Q_UNUSED(owner);
#endif
    }

    bool isBusy() const
    {
        return m_running || m_spoken || !m_waiting.isEmpty();
    }

    int baseLimitMs = 10000;
    // Speech runs at about 70 ms a character; this leaves room for a slow
    // voice and a busy machine.
    int perCharacterLimitMs = 400;

private:
    enum class Choice { None, Choosing, Dispatcher, Program };

    struct Request
    {
        QString text;
        QPointer<QObject> owner;
    };

    // The request the server is speaking.
    struct Spoken
    {
        int serial = 0;
        Request request;
        explicit operator bool() const { return serial != 0; }
    };

    SpeechQueue()
    {
        m_turnLimit.setSingleShot(true);
        connect(&m_turnLimit, &QTimer::timeout, this, [this] {
            if (m_spoken)
                endSpoken(m_spoken.serial);
            endTurn(m_running);
        });
        m_choiceLimit.setSingleShot(true);
        connect(&m_choiceLimit, &QTimer::timeout, this, [this] {
            // A server that takes the connection and never answers.
            if (m_choice == Choice::Choosing)
                chooseProgram(QStringLiteral("speech-dispatcher = no answer"));
        });
    }

    void choose(bool tryDispatcher)
    {
#ifdef PURIMBA_HAVE_SPEECHD
        // Looking for its socket costs nothing; only a server that may be
        // there is asked, on the dispatcher's thread.
        if (tryDispatcher && SpeechDispatcher::mayAnswer()) {
            m_choice = Choice::Choosing;
            m_choiceLimit.start(choiceLimitMs);
            dispatcher()->open();
            return;
        }
#else
        Q_UNUSED(tryDispatcher);
#endif
        chooseProgram(QString());
    }

    void chooseProgram(const QString &why)
    {
        m_choiceLimit.stop();
        m_program = findProgram();
        m_choice = m_program.program.isEmpty() ? Choice::None : Choice::Program;
        logChoice(m_program.program.isEmpty()
                ? QStringLiteral("none (neither festival with a Spanish voice nor espeak-ng was "
                                 "found); speech is silent")
                : m_program.program + QLatin1Char(' ') + m_program.arguments.join(QLatin1Char(' ')),
            why);
    }

    void startNext()
    {
        while (!m_running && !m_spoken && !m_waiting.isEmpty()) {
            if (m_choice == Choice::Choosing)
                return;
            const Request request = m_waiting.takeFirst();
            if (!request.owner || m_choice == Choice::None)
                continue;
#ifdef PURIMBA_HAVE_SPEECHD
            if (m_choice == Choice::Dispatcher) {
                // Kept as it always was, for whoever looks at what was said.
                writeScratchFile(request.text, false);
                if (request.text.trimmed().isEmpty())
                    continue; // nothing to hear; the server would refuse it
                speak(request);
                continue;
            }
#endif
            if (!QFileInfo(m_program.program).isExecutable()) {
                // Uninstalled while the program ran: choose again.
                m_waiting.prepend(request);
                choose(true);
                continue;
            }
            if (!writeScratchFile(request.text, m_program.latin1))
                continue;
            start(m_program, request);
        }
    }

#ifdef PURIMBA_HAVE_SPEECHD
    SpeechDispatcher *dispatcher()
    {
        if (!m_dispatcher) {
            m_dispatcher = new SpeechDispatcher(this);
            connect(m_dispatcher, &SpeechDispatcher::opened, this,
                [this](bool ok, const QString &detail) {
                    if (m_choice != Choice::Choosing)
                        return; // too late: another was chosen
                    if (!ok) {
                        chooseProgram(QStringLiteral("speech-dispatcher = ") + detail);
                    } else {
                        m_choiceLimit.stop();
                        m_choice = Choice::Dispatcher;
                        logChoice(QStringLiteral("speech-dispatcher at ")
                                + SpeechDispatcher::address() + QStringLiteral(", language es"),
                            QString());
                    }
                    startNext();
                });
            connect(m_dispatcher, &SpeechDispatcher::ended, this, &SpeechQueue::endSpoken);
            connect(m_dispatcher, &SpeechDispatcher::failed, this, [this](int serial) {
                if (serial != m_spoken.serial)
                    return;
                // Heard by the next synthesizer instead.
                m_waiting.prepend(m_spoken.request);
                endSpoken(serial);
                chooseProgram(QStringLiteral("speech-dispatcher = stopped answering"));
            });
        }
        return m_dispatcher;
    }

    void speak(const Request &request)
    {
        m_spoken.serial = ++m_lastSerial;
        m_spoken.request = request;
        // What the owner started ends with it, as its process would.
        m_ownerGone
            = connect(request.owner, &QObject::destroyed, this, [this, serial = m_spoken.serial] {
                  if (serial == m_spoken.serial)
                      dispatcher()->cancel();
              });
        m_turnLimit.start(baseLimitMs + perCharacterLimitMs * int(request.text.size()));
        dispatcher()->say(m_spoken.serial, request.text);
    }
#endif

    void endSpoken(int serial)
    {
        if (!m_spoken || serial != m_spoken.serial)
            return;
        disconnect(m_ownerGone);
        m_spoken = Spoken();
        m_turnLimit.stop();
        QMetaObject::invokeMethod(
            this, [this] { startNext(); }, Qt::QueuedConnection);
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
                // The next request chooses again.
                m_choice = Choice::None;
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

    // Each choice is written once, with why the one before it was left.
    void logChoice(const QString &choice, const QString &why)
    {
        if (choice == m_loggedChoice)
            return;
        m_loggedChoice = choice;
        QStringList details;
        if (!why.isEmpty())
            details << why;
        details << QStringLiteral("synthesizer = ") + choice;
        writeLogRecord(QStringLiteral("TTS::speak"), details, QStringLiteral("TTS::speak"));
    }

    // Long enough for a busy machine to connect to a local server.
    static constexpr int choiceLimitMs = 5000;

    QList<Request> m_waiting;
    Choice m_choice = Choice::None;
    Synthesizer m_program;
    QProcess *m_running = nullptr; // compared only; may already be destroyed
    Spoken m_spoken;
    int m_lastSerial = 0;
    QMetaObject::Connection m_ownerGone;
    QTimer m_turnLimit;
    QTimer m_choiceLimit;
    QString m_loggedChoice;
#ifdef PURIMBA_HAVE_SPEECHD
    SpeechDispatcher *m_dispatcher = nullptr;
#endif
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
    SpeechQueue::instance()->cancelSpoken(owner);
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

void TTS::choose()
{
    SpeechQueue::instance()->chooseOnce();
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
