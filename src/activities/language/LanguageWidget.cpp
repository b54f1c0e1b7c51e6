#include "activities/language/LanguageWidget.h"

#include "audio/Audio.h"
#include "audio/AudioThread.h"
#include "content/MediaPaths.h"

#include <QKeyEvent>

LanguageWidget::LanguageWidget(QWidget *parent)
    : QFrame(parent)
{
    Audio::instance()->init();
}

void LanguageWidget::slotSetKeyMenuMode(bool mode)
{
    m_keyMenuMode = mode;
}

void LanguageWidget::slotSayMenuMode(bool mode)
{
    AudioThread::playOnce(MediaPaths::instructionClip(mode ? QStringLiteral("Modo menu.ogg")
                                                           : QStringLiteral("Modo normal.ogg")),
        this);
}

void LanguageWidget::keyReleaseEvent(QKeyEvent *event)
{
    // A held key repeats its release; only the first one counts.
    if (event->isAutoRepeat())
        return;
    if (event->key() == Qt::Key_Escape) {
        m_keyMenuMode = !m_keyMenuMode;
        slotSayMenuMode(m_keyMenuMode);
        Q_EMIT signalKeyMenuMode(m_keyMenuMode);
    }
    if (m_keyMenuMode) {
        Q_EMIT signalSayMenu(event->key());
        return;
    }
    keyReleased(event);
}
