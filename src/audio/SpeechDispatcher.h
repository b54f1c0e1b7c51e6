#pragma once

#include <QObject>
#include <QString>

class QThread;
class SpeechDispatcherConnection;

// A connection to the Speech Dispatcher server that the school's screen
// reader uses, so typed text is heard in the voice and at the rate the
// children know. Only the language is set (Spanish); the user's output
// module, voice and rate are left as they are.
//
// Every call into libspeechd runs on a thread of its own: a server that is
// slow or hung never holds up the window. Nothing here waits; the answers
// come back as signals on the caller's thread.
class SpeechDispatcher : public QObject
{
    Q_OBJECT
public:
    explicit SpeechDispatcher(QObject *parent = nullptr);
    ~SpeechDispatcher() override;

    // Where the server is looked for (SPEECHD_ADDRESS, or the user's default
    // socket), as libspeechd writes it; empty when it cannot say.
    static QString address();
    // False when there is certainly no server: its socket does not exist.
    // Never starts one: a school without a server is not given one.
    static bool mayAnswer();

    // Answered by opened().
    void open();
    // Answered by ended(serial) when the server has spoken or cancelled it,
    // or by failed(serial) when the server did not take it even after one
    // new connection.
    void say(int serial, const QString &text);
    // Cancels this program's own messages, never those of other clients.
    void cancel();

Q_SIGNALS:
    void opened(bool ok, const QString &detail);
    void ended(int serial);
    void failed(int serial);

private:
    QThread *m_thread;
    SpeechDispatcherConnection *m_connection;
};
