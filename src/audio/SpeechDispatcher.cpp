#include "audio/SpeechDispatcher.h"

#include <QFileInfo>
#include <QHash>
#include <QThread>
#include <atomic>
#include <cstdlib>
#include <libspeechd.h>

// Lives on the dispatcher's thread; the only object that calls libspeechd.
class SpeechDispatcherConnection : public QObject
{
public:
    explicit SpeechDispatcherConnection(SpeechDispatcher *front)
        : m_front(front)
    {
        s_current = this;
    }

    ~SpeechDispatcherConnection() override
    {
        // The front is going away: nobody is left to tell.
        m_serials.clear();
        close();
        s_current = nullptr;
    }

    void open()
    {
        QString detail;
        const bool ok = connectServer(&detail);
        answer([ok, detail](SpeechDispatcher *front) { Q_EMIT front->opened(ok, detail); });
    }

    void say(int serial, const QByteArray &text)
    {
        int id = m_connection ? spd_say(m_connection, SPD_TEXT, text.constData()) : -1;
        if (id < 0) {
            // The server went away or was restarted: one new connection.
            close();
            QString detail;
            if (connectServer(&detail))
                id = spd_say(m_connection, SPD_TEXT, text.constData());
        }
        if (id < 0) {
            answer([serial](SpeechDispatcher *front) { Q_EMIT front->failed(serial); });
            return;
        }
        m_serials.insert(id, serial);
    }

    void cancel()
    {
        // This connection's messages only: the screen reader's are its own.
        if (m_connection)
            spd_cancel(m_connection);
    }

private:
    bool connectServer(QString *detail)
    {
        char *error = nullptr;
        // No autospawn: a school that runs no server is not given one.
        m_connection
            = spd_open2("purimba", "speech", nullptr, SPD_MODE_THREADED, nullptr, 0, &error);
        if (!m_connection) {
            *detail = QString::fromLocal8Bit(error ? error : "no connection");
            std::free(error);
            return false;
        }
        m_connection->callback_end = &notified;
        m_connection->callback_cancel = &notified;
        if (spd_set_language(m_connection, "es") != 0
            || spd_set_notification_on(m_connection, SPD_END) != 0
            || spd_set_notification_on(m_connection, SPD_CANCEL) != 0) {
            *detail = QStringLiteral("the server did not take the language or notifications");
            close();
            return false;
        }
        return true;
    }

    void close()
    {
        if (m_connection)
            spd_close(m_connection);
        m_connection = nullptr;
        // A new connection numbers its messages anew.
        const QList<int> pending = m_serials.values();
        m_serials.clear();
        for (int serial : pending)
            answer([serial](SpeechDispatcher *front) { Q_EMIT front->ended(serial); });
    }

    void ended(size_t id)
    {
        const auto found = m_serials.constFind(int(id));
        if (found == m_serials.cend())
            return;
        const int serial = found.value();
        m_serials.erase(found);
        answer([serial](SpeechDispatcher *front) { Q_EMIT front->ended(serial); });
    }

    template <typename F> void answer(F signal)
    {
        SpeechDispatcher *front = m_front;
        QMetaObject::invokeMethod(
            front, [front, signal] { signal(front); }, Qt::QueuedConnection);
    }

    // Called on libspeechd's own reader thread; the message is looked up on
    // this object's thread, after the say() that sent it has returned.
    static void notified(size_t id, size_t, SPDNotificationType)
    {
        SpeechDispatcherConnection *connection = s_current;
        if (connection) {
            QMetaObject::invokeMethod(
                connection, [connection, id] { connection->ended(id); }, Qt::QueuedConnection);
        }
    }

    // libspeechd's callbacks carry no pointer of ours; one connection per
    // process.
    static std::atomic<SpeechDispatcherConnection *> s_current;

    SpeechDispatcher *m_front;
    SPDConnection *m_connection = nullptr;
    QHash<int, int> m_serials; // message id -> the caller's serial
};

std::atomic<SpeechDispatcherConnection *> SpeechDispatcherConnection::s_current { nullptr };

SpeechDispatcher::SpeechDispatcher(QObject *parent)
    : QObject(parent)
    , m_thread(new QThread)
    , m_connection(new SpeechDispatcherConnection(this))
{
    m_thread->setObjectName(QStringLiteral("speech-dispatcher"));
    m_connection->moveToThread(m_thread);
    connect(m_thread, &QThread::finished, m_connection, &QObject::deleteLater);
    m_thread->start();
}

SpeechDispatcher::~SpeechDispatcher()
{
    m_thread->quit();
    // A hung server keeps its thread: better than a window that never closes.
    if (m_thread->wait(2000))
        delete m_thread;
}

QString SpeechDispatcher::address()
{
    char *error = nullptr;
    SPDConnectionAddress *address = spd_get_default_address(&error);
    std::free(error);
    if (!address)
        return QString();
    QString text;
    if (address->method == SPD_METHOD_UNIX_SOCKET) {
        text = QStringLiteral("unix_socket:")
            + QString::fromLocal8Bit(address->unix_socket_name ? address->unix_socket_name : "");
    } else {
        text = QStringLiteral("inet_socket:")
            + QString::fromLocal8Bit(address->inet_socket_host ? address->inet_socket_host : "")
            + QLatin1Char(':') + QString::number(address->inet_socket_port);
    }
    SPDConnectionAddress__free(address);
    return text;
}

bool SpeechDispatcher::mayAnswer()
{
    const QString where = address();
    const QLatin1String socket("unix_socket:");
    if (where.startsWith(socket))
        return QFileInfo::exists(where.mid(socket.size()));
    return !where.isEmpty();
}

void SpeechDispatcher::open()
{
    SpeechDispatcherConnection *connection = m_connection;
    QMetaObject::invokeMethod(connection, [connection] { connection->open(); });
}

void SpeechDispatcher::say(int serial, const QString &text)
{
    SpeechDispatcherConnection *connection = m_connection;
    const QByteArray utf8 = text.toUtf8();
    QMetaObject::invokeMethod(
        connection, [connection, serial, utf8] { connection->say(serial, utf8); });
}

void SpeechDispatcher::cancel()
{
    SpeechDispatcherConnection *connection = m_connection;
    QMetaObject::invokeMethod(connection, [connection] { connection->cancel(); });
}
