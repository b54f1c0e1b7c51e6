#pragma once

#include "audio/AudioThread.h"

#include <QFrame>
#include <QKeyEvent>
#include <QList>
#include <QString>
#include <functional>

class DataStore;
class KeyMenuMode;
class QKeyEvent;
class QTimer;
class ScoreManager;

// What the two scoring activity widgets (letters and numbers, braille) do
// alike: the frame they are drawn in, the random draws, the word folder of a
// letter or digit, praise and encouragement, the key menu mode, the score
// file, clip players and the pause before the next question, and ending
// everything an activity set going when the next one starts.
class ActivityWidget : public QFrame
{
    Q_OBJECT
public:
    // The language folder name; the activity area writes it directly.
    QString language;

    QString userName() const { return m_userName; }
    // The program's data store: with it a learner switch parses the score
    // file only when it changed; without one every read parses it afresh.
    void setDataStore(DataStore *store) { m_store = store; }
    bool keyMenuMode() const;
    int group() const { return m_group; }
    int activity() const { return m_activity; }

    // The learner's report: every score set in the order of the file, as
    // tab-separated text and as HTML.
    QString scoreToExcel() const;
    QString scoreToHTML() const;

    // Test seams, never called by the program: a fixed seed makes the
    // random draws repeatable, and a shorter pause before the next question
    // keeps the tests fast.
    void seedRandomForTesting(unsigned int seed);
    void setTurnDelayForTesting(int milliseconds);

Q_SIGNALS:
    void sugerencia(const QString &title, const QString &item);
    void signalKeyMenuMode(bool mode);
    void signalSayMenu(int key);

public Q_SLOTS:
    void slotSetKeyMenuMode(bool mode);
    virtual void slotSetCurrentUserName(const QString &name);
    void slotSayMenuMode(bool mode);
    void slotSelectedLetters(const QString &letters);
    void setMofliAudio(int state);
    void slotReadScores();
    void slotWriteScores();

protected:
    // A frame of 560 x 500 with a white background that takes the keyboard
    // focus; it opens the audio device and seeds the random source.
    ActivityWidget(QFrame::Shadow shadow, const QString &scoreType, QWidget *parent);

    // The score sets, in the order they are written, read and reported.
    void setScoreManagers(const QList<ScoreManager *> &managers);

    // Acts on key release. A held key's repeated releases are ignored;
    // Escape toggles the key menu mode, and in it every key goes to the
    // audible menu. Any other key reaches keyReleased().
    void keyReleaseEvent(QKeyEvent *event) final;
    virtual void keyReleased(int key, const QString &text) = 0;
    // Once the menu mode has ended and "Modo normal" has been heard, takes
    // up what turning it on stopped (stopSequences()). keyPressed: the child
    // released a key meanwhile and has been answered as for any key; a key
    // that moved the activity on has called stopSequences(), and then this
    // step does not come at all.
    virtual void resumeAfterMenu(bool /*keyPressed*/) { }
    // Tab is a key like any other for the child: it never moves the keyboard
    // out of the activity to the side panel, where nothing is heard and Space
    // would press "Salir".
    bool focusNextPrevChild(bool) override { return false; }
    // Presses are taken here too (the activity acts on the release), so that
    // none reaches the area around, which would move the focus on Tab.
    void keyPressEvent(QKeyEvent *event) override { event->accept(); }

    // low + r / 32768 × (high − low + 1), r being rand() brought into 0 … 32767.
    int random(int low, int high);
    // "A" … "N", "Ntilde", "O" … "Z"; "0" … "9".
    QString randomLetter();
    QString randomDigit();
    // A letter in the selection. A selection naming no letter could never be
    // met; it counts as none, and any letter is drawn.
    QString randomLetterInSelection();
    // A word folder of a letter or digit folder; empty, and nothing drawn,
    // when the folder holds none.
    QString randomWord(const QString &folder);
    // The file of one of the five praise clips, or of the two encouragements.
    QString praiseClip();
    QString encouragementClip();

    // The selection is empty or holds the letter's character, whatever the case.
    bool inSelection(const QString &letter) const;
    bool selectionHasLetters() const;

    static QString instruction(const QString &name);

    // A player for the widget's whole life, whose end runs the step that
    // follows it, if any.
    AudioThread *makePlayer() { return new AudioThread(this); }
    template <typename Widget> AudioThread *makePlayer(void (Widget::*followUp)())
    {
        AudioThread *player = makePlayer();
        connect(player, &AudioThread::finished, static_cast<Widget *>(this), followUp);
        return player;
    }
    void play(AudioThread *player, const QString &file);
    // A player for this one clip, released once it has ended.
    void playOneShot(const QString &file) { AudioThread::playOnce(file, this); }
    template <typename Widget> void playOneShot(const QString &file, void (Widget::*followUp)())
    {
        AudioThread *player = AudioThread::oneShot(file, this);
        connect(player, &AudioThread::finished, static_cast<Widget *>(this), followUp);
        player->start();
    }
    // The next question, after the pause between turns.
    template <typename Widget> void startTurnTimer(void (Widget::*turnStart)())
    {
        startTurnTimer(
            [widget = static_cast<Widget *>(this), turnStart] { (widget->*turnStart)(); });
    }
    // Ends whatever the widget is saying or about to say: every clip under
    // way, the chains they would start, the pause before the next question
    // and what "Modo normal" would lead back to.
    void stopSequences();

    QString m_userName;
    KeyMenuMode *m_menuMode = nullptr;
    QString m_selectedLetters;
    bool m_mofliAudio = true;
    int m_group = -1;
    int m_activity = -1;

private:
    void startTurnTimer(std::function<void()> turnStart);

    QString m_scoreType;
    QList<ScoreManager *> m_scoreManagers;
    DataStore *m_store = nullptr;
    QTimer *m_turnTimer = nullptr;
    std::function<void()> m_turnStart;
    int m_turnDelay = 3000;
};
