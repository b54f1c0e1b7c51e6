#pragma once

#include <QFrame>

class QKeyEvent;

// What the writing activity and the texts reader do alike: they act on key
// release, and Escape toggles the key menu mode, in which every key goes to
// the audible menu.
class LanguageWidget : public QFrame
{
    Q_OBJECT
public:
    bool keyMenuMode() const { return m_keyMenuMode; }

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

    bool m_keyMenuMode = false;
};
