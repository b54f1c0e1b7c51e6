#pragma once

#include "activities/ActivityPage.h"
#include "activities/SpokenSequence.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

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
    // Wrong answers to the question under way.
    int wrongCount() const { return m_wrongCount; }

    // The learner's report: every score set in the order of the file, as
    // tab-separated text and as HTML.
    QString scoreToExcel() const;
    QString scoreToHTML() const;
    // The score sets themselves, in the same order, for the report's summary.
    const QList<ScoreManager *> &scoreManagers() const { return m_scoreManagers; }

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
    // The repeat key (Space) and "Ultima Instruccion": the question under
    // way again, or before the first one the instruction (with the first
    // question after it); in an activity that asks nothing, its
    // instruction. After a right answer the next question comes at once;
    // during the correction the correction starts again. Nothing is
    // recorded.
    void slotLastInstruction();
    void slotSelectedLetters(const QString &letters);
    void setMofliAudio(int state);
    void slotReadScores();
    void slotWriteScores();

protected:
    // A frame of 560 x 500 with a white background that takes the keyboard
    // focus; it seeds the random source and makes one score set for each
    // scored activity of group, in the table's order.
    ActivityWidget(QFrame::Shadow shadow, const QString &scoreType, int group, QWidget *parent);

    // What slotLastInstruction() needs of the widget: whether the activity
    // asks questions, the question under way, the next question drawn and
    // asked, and the answer said after the third wrong one.
    using Steps = QList<SpokenSequence::Step>;
    virtual bool asksQuestions() const = 0;
    virtual Steps questionAgain() const = 0;
    virtual void askNext() = 0;
    virtual Steps correction() = 0;

    // Counts a wrong answer to the question under way; true on the third,
    // which closes the question with the answer said (and starts the count
    // again).
    bool isThirdWrong();

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
    // The letters of the selection. A selection naming no letter could never
    // be met; it counts as none, and holds every letter.
    QStringList lettersInSelection() const;
    // A question's item: drawn until it is one of candidates and, when
    // there is another one to draw, not the last question's item (the same
    // question twice in a row sounds like an echo). Set m_lastQuestion
    // when the item is asked.
    QString drawQuestion(QStringList candidates, const std::function<QString()> &draw);
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
    // The current activity's instruction clip.
    QString m_instructionClip;
    // The item of the last question asked in this activity.
    QString m_lastQuestion;
    int m_wrongCount = 0;

private:
    const int m_ownGroup;
    QString m_scoreType;
    QList<ScoreManager *> m_scoreManagers;
    DataStore *m_store = nullptr;
    int m_turnDelay = 3000;
};
