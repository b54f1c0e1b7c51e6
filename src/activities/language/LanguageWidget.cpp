#include "activities/language/LanguageWidget.h"

#include "activities/KeyMenuMode.h"
#include "audio/Audio.h"
#include "audio/AudioThread.h"
#include "audio/TTS.h"

#include <QKeyEvent>

LanguageWidget::LanguageWidget(QWidget *parent)
    : QFrame(parent)
{
    Audio::instance()->init();
    m_menuMode = new KeyMenuMode(
        this, [this] { stopSpeaking(); }, [this](bool keyPressed) { resumeAfterMenu(keyPressed); });
    connect(m_menuMode, &KeyMenuMode::switched, this, &LanguageWidget::signalKeyMenuMode);
}

bool LanguageWidget::keyMenuMode() const
{
    return m_menuMode->isOn();
}

void LanguageWidget::slotSetKeyMenuMode(bool mode)
{
    m_menuMode->set(mode);
}

void LanguageWidget::slotSayMenuMode(bool mode)
{
    m_menuMode->announce(mode);
}

void LanguageWidget::stopSpeaking()
{
    AudioThread::cancelAll(this);
    TTS::stop(this);
}

void LanguageWidget::keyReleaseEvent(QKeyEvent *event)
{
    // A held key repeats its release; only the first one counts.
    if (event->isAutoRepeat())
        return;
    if (m_menuMode->takesKey(event->key())) {
        Q_EMIT signalSayMenu(event->key());
        return;
    }
    keyReleased(event);
}
