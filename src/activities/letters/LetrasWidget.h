#pragma once

#include "activities/ActivityWidget.h"

#include <QString>
#include <QVector>

class KeyboardManager;
class QLabel;
class ScoreManager;

// The eight "Letras y Numeros" activities. The child works with the keyboard
// alone; every step of an activity is a clip, and the next step runs when the
// player of the previous one reports that its clip has finished.
//
// Activities 0, 3 and 6 present whatever letter or digit the child presses;
// 1, 2, 4, 5 and 7 ask for a hidden letter or digit and judge the key.
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
    ScoreManager *scoreSet(int activity) const;

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
    void slotHidden();
    void slotHiddenObjectName();
    QString createPath();
    void slotSayGuessLetter();
    void slotSaySentence();
    void slotSentences(bool on);
    void slotPhonemes(bool on);
    void slotNumber();
    void slotLetter();
    void slotWord();
    void slotImage();
    void slotWordAndGuess();
    void slotSleeping();
    void slotCorrect();
    void slotWrong();
    void slotOrientation();
    void slotFoundSound();
    void slotGuessedLetter();
    void slotGuessedNumber();
    void slotGuessedObject();
    void slotOf();
    void slotLivesIn();
    void slotObjectName();
    void slotObjectSound();
    void clearAll();
    void setActivity(int group, int activity);
    void setCurrentLetter(const QString &letter);
    void setCurrentNumber(const QString &number);
    void slotLastInstruction();
    QString fixCharacters(const QString &word);

protected:
    void keyReleased(int key, const QString &text) override;
    // A question cut off is asked again; an instruction, praise or pause
    // cut off leads to the next question.
    void resumeAfterMenu(bool keyPressed) override;

private:
    // The first clip of the current turn's question; the follow-up slots
    // say the rest.
    void sayQuestion();
    void presentLetter(const QString &firstClipName);
    void presentNumber();
    void judgeLetter();
    void judgeNumber();
    void showLetterLabel(const QString &letterOrDigit);
    void setPicture(const QString &path);
    void setWordLabel(const QString &text);

    bool isGuessingActivity() const;
    bool inActivity(int activity) const { return m_group == 0 && m_activity == activity; }
    bool isLearned(const QString &letter) const;

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

    // The learner, key menu mode, letter selection, mascot voice and
    // activity address are kept by ActivityWidget.
    // 2. options
    bool m_sentences = false;
    bool m_phonemes = false;
    // 4. score sets, in construction order
    ScoreManager *m_comoSuena = nullptr;
    ScoreManager *m_comoEmpieza = nullptr;
    ScoreManager *m_numerosEscondidos = nullptr;
    ScoreManager *m_letrasEscondidas = nullptr;
    ScoreManager *m_objetosEscondidos = nullptr;
    // 5. players, each connected once to the step that follows it
    AudioThread *m_instructionPlayer = nullptr;
    AudioThread *m_plainPlayer = nullptr;
    AudioThread *m_imagePlayer = nullptr;
    AudioThread *m_wordPlayer = nullptr;
    AudioThread *m_wordAndGuessPlayer = nullptr;
    AudioThread *m_foundSoundPlayer = nullptr;
    AudioThread *m_guessedLetterPlayer = nullptr;
    AudioThread *m_ofPlayer = nullptr;
    AudioThread *m_objectNamePlayer = nullptr;
    AudioThread *m_pickLetterPlayer = nullptr;
    AudioThread *m_guessedNumberPlayer = nullptr;
    AudioThread *m_livesInPlayer = nullptr;
    AudioThread *m_guessedObjectPlayer = nullptr;
    AudioThread *m_objectSoundPlayer = nullptr;
    AudioThread *m_sayGuessLetterPlayer = nullptr;
    AudioThread *m_hiddenPlayer = nullptr;
    AudioThread *m_hiddenObjectNamePlayer = nullptr;
    // 7. keyboard model for the spoken direction to the right key
    KeyboardManager *m_keyboard = nullptr;
    // 10. the current activity's instruction clip
    QString m_lastInstruction;
    // 11. labels
    QLabel *m_letterLabel = nullptr;
    QLabel *m_wordLabel = nullptr;
    QLabel *m_pictureLabel = nullptr;
    // 12. what the child pressed, and what a guessing activity asks for
    QString m_currentLetter;
    QString m_currentWord;
    QString m_currentNumber;
    QString m_targetNumber;
    QString m_targetLetter;
    QString m_targetWord;
    // 13. how often each learned letter was passed over, A … N, Ñ, O … Z
    QVector<int> m_skipCounters;

    // A key judged before the activity drew its first target of that kind
    // has nothing to be compared with: it is answered as a key that means
    // nothing.
    bool m_letterDrawn = false;
    bool m_numberDrawn = false;
    // The current question was answered right: further keys are not judged
    // until the next question has been drawn.
    bool m_answered = false;
};
