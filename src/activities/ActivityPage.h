#pragma once

#include <QFrame>
#include <QKeyEvent>
#include <QPalette>
#include <optional>

class QLabel;

class KeyMenuMode;
class SpokenSequence;

// What the four activity widgets do alike: they act on key release, speak
// on one voice, and Escape toggles the key menu mode, in which every key
// goes to the audible menu while the activity keeps quiet.
class ActivityPage : public QFrame
{
    Q_OBJECT
public:
    bool keyMenuMode() const;
    bool highContrast() const { return m_highContrast; }

Q_SIGNALS:
    void signalKeyMenuMode(bool mode);
    void signalSayMenu(int key);

public Q_SLOTS:
    // Sets the mode silently.
    void slotSetKeyMenuMode(bool mode);
    // "Modo menu" or "Modo normal", on a player of its own.
    void slotSayMenuMode(bool mode);
    // Falls silent and lets go of every turn: the child is wanted elsewhere
    // (the login) until the activity is started again.
    void slotStop() { stopSequences(); }
    // Light, heavy letters and outlines on a dark page for a child who sees
    // a little, or the page's own colours again.
    void setHighContrast(bool on);

protected:
    // Opens the audio device.
    explicit ActivityPage(QWidget *parent);

    // A held key's repeated releases are ignored: each repeat would count
    // as one more key. Escape toggles the key menu mode, and in it every key
    // goes to the audible menu. Any other key reaches keyReleased().
    void keyReleaseEvent(QKeyEvent *event) final;
    virtual void keyReleased(QKeyEvent *event) = 0;
    // Once the menu mode has ended and "Modo normal" has been heard, takes
    // up what turning it on stopped. keyPressed: the child released a key
    // meanwhile and has been answered as for any key; a key that moved the
    // activity on has called stopSequences(), and then this step does not
    // come at all.
    virtual void resumeAfterMenu(bool /*keyPressed*/) { }
    // Tab is a key like any other for the child: it never moves the keyboard
    // out of the activity to the side panel, where nothing is heard and Space
    // would press "Salir".
    bool focusNextPrevChild(bool) override { return false; }
    // Presses are taken here too (the activity acts on the release), so that
    // none reaches the area around, which would move the focus on Tab.
    void keyPressEvent(QKeyEvent *event) override { event->accept(); }

    // Ends whatever the page is saying or about to say: its sequence, every
    // clip it started, the synthesizer's words, and what "Modo normal"
    // would lead back to.
    virtual void stopSequences();

    // The page's own pictures and drawings follow the look; its background
    // and text colours have changed already.
    virtual void lookChanged() { }
    // In the high-contrast look a picture lies on a white card with a thick
    // yellow edge, so that it stands out from the dark page whatever its
    // own colours.
    void framePicture(QLabel *label) const;
    static constexpr int pictureEdge = 6;

    SpokenSequence *m_voice = nullptr;
    KeyMenuMode *m_menuMode = nullptr;

private:
    bool m_highContrast = false;
    // The colours the page was built with, for the way back.
    std::optional<QPalette> m_ownPalette;
};
