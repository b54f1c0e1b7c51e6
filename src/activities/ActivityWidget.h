#pragma once

#include "activities/ActivityPage.h"
#include "activities/SpokenSequence.h"

#include <QList>
#include <QString>

class DataStore;
class ScoreManager;

// What the two scoring activity widgets (letters and numbers, braille) do
// alike: the frame they are drawn in, the state of a turn, the random draws,
// the word folder of a letter or digit, praise and encouragement, the score
// sets and the score file, and the pause before the next question.
class ActivityWidget : public ActivityPage
{
    Q_OBJECT
public:
    // Where a guessing activity's turn stands.
    enum class Turn {
        Idle, // no question yet, or an activity that asks none
        Instructing, // the instruction is said; the first question follows it
        Asking, // a question is asked or waits for its answer
        Answered, // answered right: praise, then the next question
        Correcting, // the answer is said after the third wrong one
    };

    // The language folder name; the activity area writes it directly.
    QString language;

    QString userName() const { return m_userName; }
    // The program's data store: with it a learner switch parses the score
    // file only when it changed; without one every read parses it afresh.
    void setDataStore(DataStore *store) { m_store = store; }
    int group() const { return m_group; }
    int activity() const { return m_activity; }
    Turn turn() const { return m_turn; }

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

public Q_SLOTS:
    virtual void slotSetCurrentUserName(const QString &name);
    // The mascot is asleep: the key means nothing here. Said over whatever
    // is being said, which then goes on; not said twice over itself.
    void slotSleeping();
    void slotSelectedLetters(const QString &letters);
    void setMofliAudio(int state);
    void slotReadScores();
    void slotWriteScores();

protected:
    // A frame of 560 x 500 with a white background that takes the keyboard
    // focus; it seeds the random source and makes one score set for each
    // scored activity of group, in the table's order.
    ActivityWidget(QFrame::Shadow shadow, const QString &scoreType, int group, QWidget *parent);

    // The score set of a sub-activity of the widget's group, or none.
    ScoreManager *scoreSetOf(int sub) const;

    // Ends the activity under way and takes the new address: nothing of the
    // previous activity may speak into the next one. False when the address
    // is not one of this widget's.
    bool enterActivity(int group, int sub);

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
    static SpokenSequence::Step say(const QString &clip) { return SpokenSequence::say(clip); }
    template <typename F> static SpokenSequence::Step then(F action)
    {
        return SpokenSequence::then(std::move(action));
    }
    // The last clip before the next question, which follows the pause
    // between turns counted from that clip's start.
    SpokenSequence::Step sayBeforePause(const QString &clip) const
    {
        return SpokenSequence::sayFor(clip, m_turnDelay);
    }
    // Speaks steps, cutting off what was said before.
    void speak(const QList<SpokenSequence::Step> &steps) { m_voice->play(steps); }

    QString m_userName;
    QString m_selectedLetters;
    bool m_mofliAudio = true;
    int m_group = -1;
    int m_activity = -1;
    Turn m_turn = Turn::Idle;

private:
    const int m_ownGroup;
    QString m_scoreType;
    QList<ScoreManager *> m_scoreManagers;
    DataStore *m_store = nullptr;
    int m_turnDelay = 3000;
};
