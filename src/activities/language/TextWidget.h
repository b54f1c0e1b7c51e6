#pragma once

#include "activities/ActivityPage.h"

#include <QString>

class QLabel;

// Reads an illustrated text aloud: its frames, each a picture and a recorded
// clip, are shown one after the other, each for as long as its clip plays.
// The reading ends at the first frame whose picture or clip is missing.
class TextWidget : public ActivityPage
{
    Q_OBJECT
public:
    explicit TextWidget(QWidget *parent = nullptr);

    // The folder of the text to read (MediaPaths::textFolder); the activity
    // area sets it before startReading().
    void setTextFolder(const QString &folder);
    QString textFolder() const { return m_textFolder; }
    // The number of the next frame to show, from 1.
    int frame() const { return m_frame; }

    // Reads the text from its first frame. A reading under way ends first,
    // so two texts are never read into each other.
    void startReading();

public Q_SLOTS:
    // Reads on from the next frame: each frame's picture is shown as its
    // clip starts, and the reading ends at the first frame whose picture or
    // clip is missing.
    void slotPlayFrame();

protected:
    void lookChanged() override;
    // No key acts outside the menu mode.
    // Space, the repeat key of every activity: the frame being read again
    // from its start, or once the text has ended, the text from its start.
    // No other key acts here.
    void keyReleased(QKeyEvent *event) override;
    // A reading cut off by the menu goes on from the frame it was on.
    void resumeAfterMenu(bool keyPressed) override;
    void hideEvent(QHideEvent *event) override;

private:
    QString m_textFolder;
    int m_frame = 1;
    // The frame whose clip is being read, until the next one is shown; 0
    // when the reading has ended or was left.
    int m_readingFrame = 0;
    QLabel *m_pictureLabel = nullptr;
};
