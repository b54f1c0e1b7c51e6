#include "app/Greeting.h"

#include "audio/AudioThread.h"
#include "content/MediaPaths.h"

namespace {
int greetingMs = 13000;
int menuInstructionMs = 5000;
}

void Greeting::setDelaysForTesting(int greeting, int menuInstruction)
{
    greetingMs = greeting;
    menuInstructionMs = menuInstruction;
}

Greeting::Greeting(bool tutor, QObject *parent)
    : QObject(parent)
    , m_tutor(tutor)
    , m_player(new AudioThread(this))
{
    for (QTimer *timer : { &m_greetingTime, &m_instructionPause }) {
        timer->setSingleShot(true);
        // A coarse timer may fire up to 5 % early: 650 ms into the greeting.
        timer->setTimerType(Qt::PreciseTimer);
    }
    connect(&m_greetingTime, &QTimer::timeout, this, &Greeting::slotTimer);
    connect(&m_instructionPause, &QTimer::timeout, this, &Greeting::startOnceHeard);
    connect(m_player, &AudioThread::finished, this, &Greeting::startOnceHeard);
}

void Greeting::start()
{
    stop();
    m_state = State::Greeting;
    play(MediaPaths::greetingClip());
    m_greetingTime.start(greetingMs);
}

void Greeting::slotSpace()
{
    if (isUnderWay())
        moveOn();
}

void Greeting::slotTimer()
{
    if (m_state == State::Greeting)
        moveOn();
}

void Greeting::moveOn()
{
    m_greetingTime.stop();
    if (m_tutor) {
        end();
        Q_EMIT firstActivity();
        return;
    }
    m_state = State::MenuInstruction;
    play(MediaPaths::instructionClip(QStringLiteral("para menu audible.ogg")));
    m_instructionPause.start(menuInstructionMs);
}

// The instruction ends with how to ask for help (F12): the activity's first
// clip would cut it off.
void Greeting::startOnceHeard()
{
    if (m_state != State::MenuInstruction || m_instructionPause.isActive() || m_player->isRunning())
        return;
    end();
    Q_EMIT firstActivity();
}

void Greeting::stop()
{
    m_greetingTime.stop();
    m_instructionPause.stop();
    m_player->cancel();
    if (m_state != State::Started)
        m_state = State::Idle;
}

void Greeting::end()
{
    stop();
    m_state = State::Started;
}

void Greeting::play(const QString &clip)
{
    // The clip under way is dropped; the new one cuts it off.
    m_player->cancel();
    m_player->file = clip;
    m_player->start();
}
