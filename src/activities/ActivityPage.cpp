#include "activities/ActivityPage.h"

#include "activities/KeyMenuMode.h"
#include "activities/SpokenSequence.h"
#include "audio/Audio.h"
#include "audio/AudioThread.h"
#include "audio/TTS.h"

ActivityPage::ActivityPage(QWidget *parent)
    : QFrame(parent)
{
    Audio::instance()->init();
    m_voice = new SpokenSequence(this);
    m_menuMode = new KeyMenuMode(
        this, [this] { stopSequences(); },
        [this](bool keyPressed) { resumeAfterMenu(keyPressed); });
    connect(m_menuMode, &KeyMenuMode::switched, this, &ActivityPage::signalKeyMenuMode);
}

bool ActivityPage::keyMenuMode() const
{
    return m_menuMode->isOn();
}

void ActivityPage::slotSetKeyMenuMode(bool mode)
{
    m_menuMode->set(mode);
}

void ActivityPage::slotSayMenuMode(bool mode)
{
    m_menuMode->announce(mode);
}

void ActivityPage::stopSequences()
{
    m_voice->stop();
    AudioThread::cancelAll(this);
    // The synthesizer speaks outside the voice channel: no clip would cut it.
    TTS::stop(this);
}

void ActivityPage::keyReleaseEvent(QKeyEvent *event)
{
    if (event->isAutoRepeat())
        return;
    if (m_menuMode->takesKey(event->key())) {
        Q_EMIT signalSayMenu(event->key());
        return;
    }
    keyReleased(event);
}
