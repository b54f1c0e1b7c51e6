#include "activities/language/TextWidget.h"

#include "activities/KeyMenuMode.h"
#include "activities/SpokenSequence.h"
#include "content/MediaPaths.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QLabel>
#include <QPalette>
#include <QPixmap>

TextWidget::TextWidget(QWidget *parent)
    : ActivityPage(parent)
{
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(255, 255, 255, 255));
    setPalette(pal);
    setAutoFillBackground(true);

    m_pictureLabel = new QLabel(this);
    m_pictureLabel->setObjectName(QStringLiteral("pictureLabel"));
    m_pictureLabel->setAlignment(Qt::AlignCenter);
    auto *layout = new QHBoxLayout(this);
    // As large as its picture: in the high-contrast look the card's edge
    // goes round the picture, not round the page.
    layout->addWidget(m_pictureLabel, 0, Qt::AlignCenter);
}

void TextWidget::lookChanged()
{
    framePicture(m_pictureLabel);
}

void TextWidget::setTextFolder(const QString &folder)
{
    m_textFolder = folder;
}

void TextWidget::startReading()
{
    // The old text gives way at once to the new text's first frame.
    m_voice->stop();
    m_menuMode->set(false);
    m_frame = 1;
    // A text without frames shows nothing rather than the last text's picture.
    m_pictureLabel->clear();
    slotPlayFrame();
}

void TextWidget::slotPlayFrame()
{
    m_readingFrame = 0;
    if (m_textFolder.isEmpty() || !isVisible())
        return;
    QList<SpokenSequence::Step> steps;
    for (int frame = m_frame;; ++frame) {
        const QString picture = MediaPaths::textFramePicture(m_textFolder, frame);
        const QString clip = MediaPaths::textFrameClip(m_textFolder, frame);
        if (!QFileInfo(picture).isFile() || !QFileInfo(clip).isFile())
            break;
        steps << SpokenSequence::then([this, frame, picture] {
            m_pictureLabel->setPixmap(QPixmap(picture));
            m_readingFrame = frame;
            m_frame = frame + 1;
        }) << SpokenSequence::say(clip);
    }
    steps << SpokenSequence::then([this] { m_readingFrame = 0; });
    m_voice->play(steps);
}

void TextWidget::keyReleased(QKeyEvent *event)
{
    if (event->key() != Qt::Key_Space)
        return;
    if (m_readingFrame == 0) {
        startReading();
        return;
    }
    m_frame = m_readingFrame;
    slotPlayFrame();
}

void TextWidget::resumeAfterMenu(bool)
{
    // No key acts here, so one released meanwhile changes nothing. The frame
    // cut off is read again whole, its picture still on screen: no sentence
    // is lost and the child need not hear the text again from its start.
    if (m_readingFrame == 0)
        return;
    m_frame = m_readingFrame;
    slotPlayFrame();
}

void TextWidget::hideEvent(QHideEvent *event)
{
    // Leaving the page ends the reading: the clip sounding plays out, but no
    // later frame follows. A minimised window is not leaving.
    if (!event->spontaneous()) {
        m_voice->stop();
        m_readingFrame = 0;
    }
    ActivityPage::hideEvent(event);
}
