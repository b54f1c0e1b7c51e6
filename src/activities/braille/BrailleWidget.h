#pragma once

#include "activities/ActivityWidget.h"

#include <QPixmap>
#include <QString>
#include <QStringList>
#include <array>

class Braille;
class QLabel;
class ScoreManager;

// The twelve braille activities: exploration, hidden points, forming
// letters, hidden letters, numbers and hidden numbers, on the braille cell
// (sub-activities 0 … 5) and on the Perkins brailler (6 … 11).
//
// The child raises dots with the numeric keypad (7 4 1 8 5 2 are dots 1 … 6,
// the cell's shape) or with the brailler's keys (F D S J K L); both work on
// both devices. Every dot raised is heard, Enter reads the cell, and in the
// hidden-item activities the cell is the answer to a spoken question.
class BrailleWidget : public ActivityWidget
{
    Q_OBJECT
public:
    explicit BrailleWidget(QWidget *parent = nullptr);
    ~BrailleWidget() override;

    const Braille &enteredCell() const { return *m_cell; }
    bool writingMode() const { return m_writingMode; }
    int hiddenPoint() const { return m_hiddenPoint; }
    QString hiddenLetter() const { return m_hiddenLetter; }
    QString hiddenNumber() const { return m_hiddenNumber; }
    QString wordFolder() const { return m_wordFolder; }
    QString readItem() const { return m_readItem; }
    int wrongCount() const { return m_wrongCount; }

    // The score set of a hidden-item sub-activity (1, 3, 5, 7, 9, 11), or none.
    ScoreManager *scoreManager(int sub) const;

    // The "Score" element type this widget owns in the score file.
    static QString scoreType();
    // Titles used for suggestion look-ups; empty outside 0 … 11.
    static QString activityTitle(int sub);

public Q_SLOTS:
    void setActivity(int group, int sub);
    void slotPickPoint();
    void slotPickLetter();
    void slotPickNumber();
    void slotPoint();
    void slotLetter();
    void slotNumber();
    void slotEnter();
    void slotSayLetter();
    void slotSayNumber();
    void slotSleeping();
    QString pickWord();
    QString pickFoundWord();
    void pickGuessWord();
    void slotCorrect();
    void slotWrong();
    void slotCorrectLetter();
    void slotCorrectNumber();
    void slotCorrectPoints();
    void slotCorrectLetterPoints();
    void slotCorrectNumberPoints();
    void slotSayCorrectLetterPoints();
    void slotSayCorrectNumberPoints();
    void slotSayLetterPoints();
    void slotSayNumberPoints();
    void slotBrailleMode(bool on);
    void slotLastInstruction();

protected:
    void keyReleased(int key, const QString &text) override;
    // A question cut off is asked again; an instruction, praise, correction
    // or pause cut off leads to the next question.
    void resumeAfterMenu(bool keyPressed) override;

private:
    using QuestionStart = void (BrailleWidget::*)();
    // The slot that draws and asks the current activity's question; none
    // outside the hidden-item activities.
    QuestionStart questionStart() const;

    bool inSub(int a, int b) const { return m_group == 1 && (m_activity == a || m_activity == b); }
    bool inHiddenPoints() const { return inSub(1, 7); }
    bool inHiddenLetters() const { return inSub(3, 9); }
    bool inHiddenNumbers() const { return inSub(5, 11); }

    // Lowers every dot of the entered cell and shows every picture normal.
    void displayReset();
    // Shows each dot of the entered cell, whichever keys raised it: raised
    // on the cell, pressed on the brailler's key.
    void showCell();
    void showDevice();
    void dotKey(int dot, bool clearsFirst);
    void judge(const QString &answer, const QString &hidden);
    void recordAnswer(bool correct);
    QString questionLabel() const;

    // The child's own keys are echoed one after the other: a dot typed while
    // another is being said is said next, and so is the reading at Enter.
    void echo(const QString &clip);
    // Anything else said on the speech player cuts what it was saying.
    void speak(const QString &clip);
    void speechFinished();

    // The folder the current question draws its word from, and its name clip.
    QString targetFolder() const;
    QString questionClip() const;
    // The spoken name in a word folder of a letter, or of a number (dots are
    // named by their number).
    static QString nameClip(const QString &folder, const QString &word, bool letter);
    void announceQuestion();
    QString readItemFolder() const;
    void sayReadItem(const QString &noneClip);
    void sayAnswerDot(AudioThread *dotsPlayer, AudioThread *praisePlayer);
    static QString dotClip(int dot);

    // The cell the child enters, and the answer read out after a third wrong.
    Braille *m_cell = nullptr;
    Braille *m_answer = nullptr;

    // Dot labels 1 … 6 of the cell; the brailler's keys 1 … 7, left to right.
    std::array<QLabel *, 6> m_cellLabels {};
    std::array<QLabel *, 7> m_perkinsLabels {};
    // Normal and raised (pressed) picture of each label.
    std::array<std::array<QPixmap, 2>, 6> m_cellPictures;
    std::array<std::array<QPixmap, 2>, 7> m_perkinsPictures;

    // Score sets, in the order of the file and the reports.
    ScoreManager *m_pointsCell = nullptr;
    ScoreManager *m_lettersCell = nullptr;
    ScoreManager *m_numbersCell = nullptr;
    ScoreManager *m_pointsPerkins = nullptr;
    ScoreManager *m_lettersPerkins = nullptr;
    ScoreManager *m_numbersPerkins = nullptr;

    AudioThread *m_speechPlayer = nullptr;
    AudioThread *m_instructionPlayer = nullptr;
    AudioThread *m_pointPraisePlayer = nullptr;
    AudioThread *m_letterPraisePlayer = nullptr;
    AudioThread *m_numberPraisePlayer = nullptr;
    AudioThread *m_letterCorrectionPlayer = nullptr;
    AudioThread *m_numberCorrectionPlayer = nullptr;
    AudioThread *m_pointCorrectionPlayer = nullptr;
    AudioThread *m_letterNamePlayer = nullptr;
    AudioThread *m_numberNamePlayer = nullptr;
    AudioThread *m_letterDotsIntroPlayer = nullptr;
    AudioThread *m_numberDotsIntroPlayer = nullptr;
    AudioThread *m_letterDotsPlayer = nullptr;
    AudioThread *m_numberDotsPlayer = nullptr;

    QString m_readItem;
    QString m_instructionClip;
    bool m_writingMode = false;
    int m_pressedDot = 0;
    int m_hiddenPoint = 0;
    QString m_hiddenLetter;
    QString m_hiddenNumber;
    QString m_wordFolder;
    int m_wrongCount = 0;
    int m_dotIndex = 1;

    // Echoes waiting for the speech player, and whether it is saying one.
    QStringList m_echoes;
    bool m_echoing = false;
    // The activity has drawn its first question; a key before it has
    // nothing to be judged against.
    bool m_questionDrawn = false;
    // The question was answered right, or its correction is being said:
    // keys are not judged again until the next question has been drawn.
    bool m_answered = false;
};
