#include "activities/SpokenSequence.h"

#include "audio/AudioThread.h"

#include <QTimer>

SpokenSequence::Step SpokenSequence::say(const QString &clip)
{
    Step step;
    step.isClip = true;
    step.clip = clip;
    return step;
}

SpokenSequence::Step SpokenSequence::sayFor(const QString &clip, int holdMs)
{
    Step step = say(clip);
    step.holdMs = holdMs;
    return step;
}

SpokenSequence::Step SpokenSequence::then(std::function<void()> action)
{
    Step step;
    step.action = std::move(action);
    return step;
}

SpokenSequence::SpokenSequence(QObject *parent)
    : QObject(parent)
    , m_player(new AudioThread(this))
    , m_hold(new QTimer(this))
{
    m_hold->setSingleShot(true);
    // A coarse timer may fire up to 5 % early; a pause is meant to last.
    m_hold->setTimerType(Qt::PreciseTimer);
    // The pause runs on through what is said over it, and its end cuts
    // that off, as the next question does.
    connect(m_hold, &QTimer::timeout, this, [this] {
        m_waitingForClip = false;
        advance();
    });
    connect(m_player, &AudioThread::finished, this, [this] {
        if (!m_waitingForClip)
            return;
        m_waitingForClip = false;
        if (!m_hold->isActive())
            advance();
    });
}

void SpokenSequence::play(const QList<Step> &steps)
{
    stop();
    m_steps = steps;
    advance();
}

void SpokenSequence::interject(const QList<Step> &steps)
{
    if (!isRunning()) {
        stop();
        m_steps = steps;
        m_interjectionEnd = int(steps.size());
        advance();
        return;
    }
    const int current = m_next - 1;
    if (current >= m_interjectionStart && current < m_interjectionEnd) {
        for (int i = 0; i < steps.size(); ++i)
            m_steps.insert(m_interjectionEnd + i, steps.at(i));
        m_interjectionEnd += int(steps.size());
        return;
    }
    for (int i = 0; i < steps.size(); ++i)
        m_steps.insert(m_next + i, steps.at(i));
    m_interjectionStart = m_next;
    m_interjectionEnd = m_next + int(steps.size());
    cut();
    advance();
}

void SpokenSequence::cut()
{
    m_player->cancel();
    m_waitingForClip = false;
}

void SpokenSequence::stop()
{
    ++m_generation;
    m_hold->stop();
    cut();
    m_steps.clear();
    m_next = 0;
    m_interjectionStart = m_interjectionEnd = 0;
}

bool SpokenSequence::isSaying(const QString &clip) const
{
    return m_waitingForClip && m_steps.at(m_next - 1).clip == clip;
}

bool SpokenSequence::isRunning() const
{
    return m_waitingForClip || m_hold->isActive();
}

void SpokenSequence::advance()
{
    const unsigned generation = m_generation;
    while (m_next < m_steps.size()) {
        const Step step = m_steps.at(m_next++);
        if (!step.isClip) {
            step.action();
            if (generation != m_generation)
                return;
            continue;
        }
        // A timed step's clip may still be sounding; the newer one cuts it.
        m_player->cancel();
        m_player->file = step.clip;
        if (step.holdMs >= 0)
            m_hold->start(step.holdMs);
        else
            m_waitingForClip = true;
        m_player->start();
        return;
    }
    m_steps.clear();
    m_next = 0;
    m_interjectionStart = m_interjectionEnd = 0;
}
