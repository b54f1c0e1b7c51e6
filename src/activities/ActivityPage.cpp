#include "activities/ActivityPage.h"

#include "activities/KeyMenuMode.h"
#include "activities/SpokenSequence.h"
#include "audio/Audio.h"
#include "audio/AudioThread.h"
#include "audio/TTS.h"

#include <QLabel>

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
    // The window's own key (full screen), not the child's.
    if (event->key() == Qt::Key_F11) {
        event->ignore();
        return;
    }
    if (m_menuMode->takesKey(event->key())) {
        Q_EMIT signalSayMenu(event->key());
        return;
    }
    keyReleased(event);
}

void ActivityPage::setHighContrast(bool on)
{
    if (on == m_highContrast)
        return;
    m_highContrast = on;
    if (on) {
        m_ownPalette = palette();
        QPalette dark = palette();
        for (QPalette::ColorRole role : { QPalette::Window, QPalette::Base, QPalette::Button })
            dark.setColor(QPalette::All, role, Qt::black);
        for (QPalette::ColorRole role :
            { QPalette::WindowText, QPalette::Text, QPalette::ButtonText })
            dark.setColor(QPalette::All, role, Qt::white);
        dark.setColor(QPalette::All, QPalette::Highlight, Qt::yellow);
        dark.setColor(QPalette::All, QPalette::HighlightedText, Qt::black);
        setPalette(dark);
        // Heavier outlines round the page.
        setLineWidth(3);
    } else {
        setPalette(m_ownPalette.value_or(QPalette()));
        setLineWidth(1);
    }
    setAutoFillBackground(true);
    lookChanged();
}

void ActivityPage::framePicture(QLabel *label) const
{
    if (m_highContrast) {
        QPalette card = label->palette();
        card.setColor(QPalette::All, QPalette::Window, Qt::white);
        card.setColor(QPalette::All, QPalette::WindowText, Qt::yellow);
        label->setPalette(card);
        label->setAutoFillBackground(true);
        label->setFrameStyle(QFrame::Box | QFrame::Plain);
        label->setLineWidth(pictureEdge);
    } else {
        // Whatever the page around it has.
        label->setPalette(QPalette());
        label->setAutoFillBackground(false);
        label->setFrameStyle(QFrame::NoFrame);
    }
}
