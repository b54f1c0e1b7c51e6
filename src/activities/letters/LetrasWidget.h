#pragma once

#include "activities/ActivityWidget.h"
#include "content/LetterSounds.h"

#include <QString>
#include <QVector>

class KeyboardManager;
class QLabel;
class ScoreManager;

namespace ActivityTable {
struct Activity;
}

// The eight "Letras y Numeros" activities. The child works with the keyboard
// alone; every step of an activity is a clip, spoken one after the other.
//
// The presentations (0, 3 and 6) show and name whatever letter or digit the
// child presses; the guessing activities (1, 2, 4, 5 and 7) ask for a hidden
// letter or digit and judge the key.
class LetrasWidget : public ActivityWidget
{
    Q_OBJECT
public:
    explicit LetrasWidget(QWidget *parent = nullptr);
    ~LetrasWidget() override;

    QString currentLetter() const { return m_currentLetter; }
    QString currentNumber() const { return m_currentNumber; }
    QString currentWord() const { return m_currentWord; }
    QString targetLetter() const { return m_targetLetter; }
    QString targetNumber() const { return m_targetNumber; }
    QString targetWord() const { return m_targetWord; }

    // The score set of a guessing activity (1, 2, 4, 5, 7), or none.
    ScoreManager *scoreSet(int activity) const { return scoreSetOf(activity); }

    // The "Score" element type this widget owns in the score file.
    static QString scoreType();
    // Titles used for suggestion look-ups; empty outside 0 … 7.
    static QString activityTitle(int activity);
    // "Cero" … "Nueve" for "0" … "9", otherwise empty.
    static QString numberWord(const QString &digit);
    // A word folder name ending in "a" or "ad" takes the feminine articles.
    static bool isFeminine(const QString &word);

public Q_SLOTS:
    // Also starts the learned letters' skip counters again.
    void slotSetCurrentUserName(const QString &name) override;
    void slotPickLetter();
    void slotPickNumber();
    QString createPath();
    void slotSaySentence();
    void slotSentences(bool on);
    void slotPhonemes(bool on);
    void slotNumber();
    void slotLetter();
    void slotCorrect();
    void slotWrong();
    void clearAll();
    void setActivity(int group, int activity);
    void setCurrentLetter(const QString &letter);
    void setCurrentNumber(const QString &number);
    QString fixCharacters(const QString &word);

Q_SIGNALS:
    // The letter ("A" … "Z", "Ntilde") or digit shown, for a braille
    // display; empty when none is.
    void itemShown(const QString &letterOrDigit);

protected:
    void lookChanged() override;
    void keyReleased(QKeyEvent *event) override;
    // A question cut off is asked again; an instruction, praise or pause
    // cut off leads to the next question.
    void resumeAfterMenu(bool keyPressed) override;
    bool asksQuestions() const override { return isGuessing(); }
    Steps questionAgain() const override { return question(); }
    void askNext() override { nextQuestion(); }
    // After the third wrong answer: the answer, where its key is, and the
    // next question after the pause between turns.
    Steps correction() override;

private:
    const ActivityTable::Activity *current() const;
    bool isGuessing() const;
    // Activities 6 and 7 are about digits, the others about letters.
    bool isAboutNumbers() const;
    // "¿Cómo suena?" and "¿Cómo empieza?" ask for a sound, and any letter
    // with that sound answers them.
    bool isAboutSounds() const { return inActivity(1) || inActivity(2); }
    bool inActivity(int activity) const { return m_group == 0 && m_activity == activity; }
    bool isLearned(const QString &letter) const;

    // The one judge of an answer: the key pressed against the target.
    void judge();
    // The next question, drawn and asked.
    void nextQuestion();
    Steps question() const;
    Steps praise();
    QString orientationClip() const;
    // Where the target's key is: its row, and the side of the keyboard.
    Steps keyPlace() const;
    void present(const QString &firstClip);

    void showLetterLabel(const QString &letterOrDigit);
    void setPicture(const QString &path);
    void setWordLabel(const QString &text);
    void showTargetPicture(bool whenItExists);
    // Said now over whatever is being said; the rest of it follows.
    void sayAside(const QString &clip) { m_voice->interject({ say(clip) }); }

    // Word files of the target letter (or, in activity 7, target number) and
    // the target word, and of the current letter or number and current word.
    // A word that does not exist has no files: the path is empty and plays
    // or shows nothing.
    QString targetFolder() const;
    QString targetWordFile(const QString &fileName) const;
    QString currentWordFile(const QString &fileName);
    // The word's recorded letter sound or name; with no word, the letter's
    // own clip, so a folder without words still says its letter.
    QString targetLetterClip(const QString &fileName) const;
    QString numberNameClip() const;

    bool m_sentences = false;
    bool m_phonemes = false;
    KeyboardManager *m_keyboard = nullptr;
    // The language's letters that sound alike, read on entering an activity.
    LetterSounds m_sounds;
    QLabel *m_letterLabel = nullptr;
    QLabel *m_wordLabel = nullptr;
    QLabel *m_pictureLabel = nullptr;
    // What the child pressed, and what a guessing activity asks for.
    QString m_currentLetter;
    QString m_currentWord;
    QString m_currentNumber;
    QString m_targetNumber;
    QString m_targetLetter;
    QString m_targetWord;
    // How often each learned letter was passed over, A … N, Ñ, O … Z.
    QVector<int> m_skipCounters;
};
