#include "app/ClipLog.h"

#include "audio/Audio.h"
#include "audio/AudioMonitor.h"
#include "audio/AudioThread.h"

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QKeySequence>
#include <QWidget>
#include <QWindow>
#include <fcntl.h>
#include <unistd.h>

ClipLog *ClipLog::installFromEnvironment(QObject *application)
{
    const QString path = qEnvironmentVariable(variable);
    if (path.isEmpty())
        return nullptr;
    const int fd = ::open(
        QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0)
        return nullptr;
    return new ClipLog(fd, application);
}

ClipLog::ClipLog(int fd, QObject *parent)
    : QObject(parent)
    , m_fd(fd)
{
    write(fd, AudioMonitor::now(), "start", QString::number(QCoreApplication::applicationPid()));
    AudioMonitor *monitor = AudioMonitor::instance();
    // Direct: the player threads write their own lines, at the moment the
    // clip starts or falls silent, whatever the GUI thread is busy with. The
    // lambdas hold the descriptor, not this, so a line under way on a player
    // thread while the log is destroyed is still written safely.
    connect(
        monitor, &AudioMonitor::clipRequested, this,
        [fd](const QString &file, bool step) {
            write(fd, AudioMonitor::now(), step ? "step" : "request", file);
        },
        Qt::DirectConnection);
    connect(
        monitor, &AudioMonitor::clipStarted, this,
        [fd](const QString &file, qint64 ns) { write(fd, ns, "clip", file); },
        Qt::DirectConnection);
    connect(
        monitor, &AudioMonitor::clipSilent, this,
        [fd](const QString &file, qint64 ns) { write(fd, ns, "silent", file); },
        Qt::DirectConnection);
    // How much later than its "clip" line a clip is heard: one buffer.
    const auto device = [fd](int frequency, int frames) {
        write(fd, AudioMonitor::now(), "device",
            QStringLiteral("%1 Hz %2 frames").arg(frequency).arg(frames));
    };
    if (const Audio *audio = Audio::instance(); audio->isOpen())
        device(audio->frequency(), audio->chunkSize());
    connect(monitor, &AudioMonitor::deviceOpened, this, device, Qt::DirectConnection);
    connect(
        monitor, &AudioMonitor::speechRequested, this,
        [fd](const QString &text) { write(fd, AudioMonitor::now(), "speak", text); },
        Qt::DirectConnection);
    QCoreApplication::instance()->installEventFilter(this);
    // Which window the next key goes to: a script waits for this line
    // before it presses keys meant for a window that has just opened.
    connect(qApp, &QGuiApplication::focusWindowChanged, this, [this](QWindow *window) {
        if (window)
            write(m_fd, AudioMonitor::now(), "keys", windowName(window));
    });
}

// The descriptor stays open until the process ends: a player thread may be
// writing its last line as the application goes away.
ClipLog::~ClipLog() = default;

void ClipLog::write(int fd, qint64 nanoseconds, const char *kind, const QString &what)
{
    // Microseconds shown, so that figures of a few milliseconds keep their digits.
    const qint64 micro = nanoseconds / 1000;
    QByteArray line = QByteArray::number(micro / 1000) + '.'
        + QByteArray::number(micro % 1000).rightJustified(3, '0') + ' ' + kind + ' ';
    // One event, one line, whatever the text holds.
    QString flat = what;
    flat.replace(QLatin1Char('\n'), QLatin1Char(' '));
    line += flat.toUtf8() + '\n';
    // One write of a whole line to a file opened for appending: lines from
    // the player threads never interleave with ours.
    [[maybe_unused]] const ssize_t written = ::write(fd, line.constData(), size_t(line.size()));
}

bool ClipLog::eventFilter(QObject *watched, QEvent *event)
{
    // A key travels from its window to the focus widget and up to its
    // parents, passing this filter at every step; the window sees it once.
    if (!watched->isWindowType())
        return false;
    switch (event->type()) {
    case QEvent::KeyRelease: {
        const auto *key = static_cast<QKeyEvent *>(event);
        QString name = QKeySequence(key->key()).toString(QKeySequence::PortableText);
        if (name.isEmpty())
            name = QStringLiteral("0x") + QString::number(key->key(), 16);
        if (key->isAutoRepeat())
            name += QStringLiteral(" (repeat)");
        // Before the key is handled: at a key pressed in silence, what is
        // still alive from before is what never went away.
        const int players = AudioThread::instances();
        if (players != m_players) {
            m_players = players;
            write(m_fd, AudioMonitor::now(), "players", QString::number(players));
        }
        write(m_fd, AudioMonitor::now(), "key", name);
        break;
    }
    case QEvent::Expose:
        windowExposed(static_cast<QWindow *>(watched));
        break;
    case QEvent::Hide:
        m_exposed.remove(static_cast<QWindow *>(watched));
        break;
    default:
        break;
    }
    return false;
}

void ClipLog::windowExposed(QWindow *window)
{
    if (!window->isExposed()) {
        m_exposed.remove(window);
        return;
    }
    if (m_exposed.contains(window))
        return;
    m_exposed.insert(window);
    connect(window, &QObject::destroyed, this, [this, window] { m_exposed.remove(window); });
    write(m_fd, AudioMonitor::now(), "shown", windowName(window));
}

QString ClipLog::windowName(const QWindow *window)
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (widget->windowHandle() == window) {
            return widget->objectName().isEmpty()
                ? QString::fromLatin1(widget->metaObject()->className())
                : widget->objectName();
        }
    }
    return window->objectName();
}
