#include "activities/KeyMenuMode.h"

#include "audio/AudioThread.h"
#include "content/MediaPaths.h"

#include <QWidget>

KeyMenuMode::KeyMenuMode(
    QWidget *activity, std::function<void()> stop, std::function<void(bool)> resume)
    : QObject(activity)
    , m_activity(activity)
    , m_stop(std::move(stop))
    , m_resume(std::move(resume))
{
}

void KeyMenuMode::set(bool on)
{
    m_on = on;
    dropResumption();
}

void KeyMenuMode::dropResumption()
{
    disconnect(m_resumption);
}

AudioThread *KeyMenuMode::announcement(bool on)
{
    // A child of the activity, so that whatever ends the activity's clips
    // ends this one's follow-up too.
    return AudioThread::oneShot(MediaPaths::instructionClip(on ? QStringLiteral("Modo menu.ogg")
                                                               : QStringLiteral("Modo normal.ogg")),
        m_activity);
}

void KeyMenuMode::announce(bool on)
{
    announcement(on)->start();
}

bool KeyMenuMode::takesKey(int key)
{
    if (key != Qt::Key_Escape) {
        if (m_on)
            return true;
        // The activity answers this key as it answers any; what "Modo normal"
        // leads back to must not talk over that answer.
        m_keyMeanwhile = true;
        return false;
    }
    m_on = !m_on;
    if (m_on)
        m_stop();
    // The activity area answers by setting every widget's mode, which drops
    // an older resumption; this one is made afterwards.
    Q_EMIT switched(m_on);
    AudioThread *player = announcement(m_on);
    if (!m_on) {
        m_keyMeanwhile = false;
        m_resumption = connect(player, &AudioThread::finished, this, [this] {
            dropResumption();
            m_resume(m_keyMeanwhile);
        });
    }
    player->start();
    return m_on;
}
