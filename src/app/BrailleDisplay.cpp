#include "app/BrailleDisplay.h"

#include "content/LogRecord.h"

#include <QGuiApplication>
#include <QPointer>
#include <QThread>
#include <QtDebug>

#ifdef PURIMBA_HAVE_BRLAPI
#include <QSocketNotifier>
#include <brlapi.h>
#include <cstdlib>
#include <vector>

struct BrailleDisplay::Connection
{
    Connection()
        : memory(std::malloc(brlapi_getHandleSize()))
    {
    }
    ~Connection()
    {
        // Deleted later: it may be the one whose signal is being handled.
        if (notifier) {
            notifier->setEnabled(false);
            notifier->deleteLater();
        }
        if (fd >= 0)
            brlapi__closeConnection(handle());
        std::free(memory);
    }
    brlapi_handle_t *handle() { return static_cast<brlapi_handle_t *>(memory); }

    void *memory;
    int fd = -1;
    unsigned int width = 0;
    QSocketNotifier *notifier = nullptr;
};

namespace {

// BrlAPI's own handler ends the program on an error packet; a display that
// goes wrong must not take the lesson with it.
void BRLAPI_STDCALL reportError(
    brlapi_handle_t *, int error, brlapi_packetType_t type, const void *, size_t)
{
    qWarning("BrlAPI error %d on a request of type %u", error, unsigned(type));
}

QString lastError()
{
    return QString::fromLocal8Bit(brlapi_strerror(&brlapi_error));
}

} // namespace

bool BrailleDisplay::supported()
{
    return true;
}

BrailleDisplay::BrailleDisplay(QObject *parent)
    : QObject(parent)
{
    auto *app = qobject_cast<QGuiApplication *>(QCoreApplication::instance());
    if (app) {
        m_active = app->applicationState() == Qt::ApplicationActive;
        connect(app, &QGuiApplication::applicationStateChanged, this,
            [this](Qt::ApplicationState state) { setActive(state == Qt::ApplicationActive); });
    }
    // With no BRLTTY the socket is missing and this fails at once; a BRLTTY
    // that is there but busy, or a host far away, could keep it waiting,
    // and the lesson must not.
    QPointer<BrailleDisplay> self(this);
    m_opener = QThread::create([self] {
        auto connection = std::make_unique<Connection>();
        brlapi_connectionSettings_t settings;
        connection->fd = brlapi__openConnection(connection->handle(), nullptr, &settings);
        QString error;
        if (connection->fd < 0) {
            error = lastError();
            connection.reset();
        } else {
            brlapi__setExceptionHandler(connection->handle(), reportError);
            unsigned int height = 0;
            if (brlapi__getDisplaySize(connection->handle(), &connection->width, &height) < 0)
                connection->width = 0;
        }
        Connection *result = connection.release();
        // Handed to the display's own thread; it was destroyed meanwhile
        // only after waiting for this thread, so self is checked there.
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [self, result, error] {
                if (self)
                    self->connected(result, error);
                else
                    delete result;
            },
            Qt::QueuedConnection);
    });
    m_opener->start();
}

BrailleDisplay::~BrailleDisplay()
{
    m_opener->wait();
    delete m_opener;
    releaseDisplay();
}

bool BrailleDisplay::isConnected() const
{
    return m_connection != nullptr;
}

void BrailleDisplay::connected(Connection *connection, const QString &error)
{
    m_connection.reset(connection);
    // In the debug log: without BRLTTY this is no error.
    writeLogRecord(QStringLiteral("BrailleDisplay"),
        { m_connection ? QStringLiteral("cells = %1").arg(m_connection->width)
                       : QStringLiteral("no BrlAPI connection: ") + error },
        QStringLiteral("BrailleDisplay"));
    if (m_connection) {
        m_connection->notifier = new QSocketNotifier(m_connection->fd, QSocketNotifier::Read);
        connect(
            m_connection->notifier, &QSocketNotifier::activated, this, &BrailleDisplay::readKeys);
        if (m_active)
            takeDisplay();
    }
    Q_EMIT connectionChecked(isConnected());
}

void BrailleDisplay::takeDisplay()
{
    if (!m_connection || m_inTty)
        return;
    brlapi_handle_t *handle = m_connection->handle();
    // The terminal this program runs on, as BRLTTY's screen driver knows it
    // (under X, the window path of the session); a BRLTTY without a screen
    // driver has no such terminal, and gives its display at the root.
    if (brlapi__enterTtyMode(handle, BRLAPI_TTY_DEFAULT, nullptr) < 0
        && brlapi__enterTtyModeWithPath(handle, nullptr, 0, nullptr) < 0) {
        qWarning().noquote() << "The braille display cannot be taken:" << lastError();
        return;
    }
    m_inTty = true;
    // Only the braille keys: every other key of the display stays BRLTTY's.
    const brlapi_keyCode_t passDots = BRLAPI_KEY_TYPE_CMD | BRLAPI_KEY_CMD_PASSDOTS;
    if (brlapi__ignoreAllKeys(handle) < 0
        || brlapi__acceptKeys(handle, brlapi_rangeType_command, &passDots, 1) < 0)
        qWarning().noquote() << "The braille display's keys cannot be had:" << lastError();
    write();
}

void BrailleDisplay::releaseDisplay()
{
    if (!m_connection || !m_inTty)
        return;
    m_inTty = false;
    brlapi__leaveTtyMode(m_connection->handle());
}

void BrailleDisplay::write()
{
    if (!m_inTty)
        return;
    std::vector<unsigned char> cells(qMax<size_t>(m_connection->width, m_dots.size()), 0);
    for (int i = 0; i < m_dots.size(); ++i)
        cells[size_t(i)] = m_dots[i];
    cells.resize(m_connection->width);
    if (!cells.empty() && brlapi__writeDots(m_connection->handle(), cells.data()) < 0)
        qWarning().noquote() << "The braille display cannot be written:" << lastError();
}

void BrailleDisplay::readKeys()
{
    brlapi_keyCode_t code = 0;
    int read = 0;
    while ((read = brlapi__readKey(m_connection->handle(), 0, &code)) > 0) {
        if ((code & BRLAPI_KEY_TYPE_MASK) != BRLAPI_KEY_TYPE_CMD
            || (code & BRLAPI_KEY_CMD_BLK_MASK) != BRLAPI_KEY_CMD_PASSDOTS)
            continue;
        const int dots = int(code & BRLAPI_KEY_CMD_ARG_MASK) & 0x3f;
        if (dots == 0)
            Q_EMIT spaceKey();
        for (int dot = 1; dot <= 6; ++dot) {
            if (dots & (1 << (dot - 1)))
                Q_EMIT dotKey(dot);
        }
    }
    if (read < 0) {
        // BRLTTY stopped: the lesson goes on without the display.
        qWarning().noquote() << "The braille display was lost:" << lastError();
        dropConnection();
    }
}

void BrailleDisplay::dropConnection()
{
    m_inTty = false;
    m_connection.reset();
}

#else

struct BrailleDisplay::Connection
{
};

bool BrailleDisplay::supported()
{
    return false;
}

BrailleDisplay::BrailleDisplay(QObject *parent)
    : QObject(parent)
{
    QMetaObject::invokeMethod(
        this, [this] { Q_EMIT connectionChecked(false); }, Qt::QueuedConnection);
}

BrailleDisplay::~BrailleDisplay() = default;

bool BrailleDisplay::isConnected() const
{
    return false;
}

void BrailleDisplay::write() { }
void BrailleDisplay::takeDisplay() { }
void BrailleDisplay::releaseDisplay() { }

#endif

void BrailleDisplay::setDots(const QVector<uint8_t> &dots)
{
    if (dots == m_dots)
        return;
    m_dots = dots;
    write();
}

void BrailleDisplay::setActive(bool active)
{
    m_active = active;
    if (active)
        takeDisplay();
    else
        releaseDisplay();
}
