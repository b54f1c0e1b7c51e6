#pragma once

#include <QFrame>
#include <QKeyEvent>

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

    SpokenSequence *m_voice = nullptr;
    KeyMenuMode *m_menuMode = nullptr;
};
