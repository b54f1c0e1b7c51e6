#pragma once

#include <QFrame>
#include <QKeyEvent>

class KeyMenuMode;
class QKeyEvent;

// What the writing activity and the texts reader do alike: they act on key
// release, and Escape toggles the key menu mode, in which every key goes to
// the audible menu.
class LanguageWidget : public QFrame
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

protected:
    explicit LanguageWidget(QWidget *parent);

    // A held key's repeated releases are ignored. Keys outside the menu mode
    // reach keyReleased(), also the Escape that ends it.
    void keyReleaseEvent(QKeyEvent *event) final;
    virtual void keyReleased(QKeyEvent *event) = 0;
    // Once the menu mode has ended and "Modo normal" has been heard, takes
    // up what turning it on stopped. keyPressed: the child released a key
    // meanwhile.
    virtual void resumeAfterMenu(bool /*keyPressed*/) { }
    // Tab is a key like any other for the child: it never moves the keyboard
    // out of the activity to the side panel, where nothing is heard and Space
    // would press "Salir".
    bool focusNextPrevChild(bool) override { return false; }
    // Presses are taken here too (the activity acts on the release), so that
    // none reaches the area around, which would move the focus on Tab.
    void keyPressEvent(QKeyEvent *event) override { event->accept(); }

    KeyMenuMode *m_menuMode = nullptr;

private:
    // Ends every clip the widget is playing and its speech, so that the
    // menu is heard alone: the synthesizer speaks outside the voice channel,
    // and no clip would cut it.
    void stopSpeaking();
};
