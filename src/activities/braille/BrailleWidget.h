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

    // The score set of a hidden-item sub-activity (1, 3, 5, 7, 9, 11), or none.
    ScoreManager *scoreManager(int sub) const { return scoreSetOf(sub); }

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
    QString pickWord();
    QString pickFoundWord();
    void pickGuessWord();
    void slotCorrect();
    void slotWrong();
    void slotBrailleMode(bool on);
    // The keys of a braille display: dots 1 … 6 and its space, entered as
    // the brailler's keys are.
    void slotDisplayDot(int dot);
    void slotDisplaySpace();

Q_SIGNALS:
    // The cell a braille display should show (dot n is bit n - 1): the one
    // being entered, or during a correction the answer's.
    void cellShown(quint8 dots);

protected:
    void lookChanged() override;
    void keyReleased(QKeyEvent *event) override;
    // A question cut off is asked again; an instruction, praise, correction
    // or pause cut off leads to the next question.
    void resumeAfterMenu(bool keyPressed) override;
    bool asksQuestions() const override { return questionStart() != nullptr; }
    Steps questionAgain() const override { return { say(questionClip()) }; }
    void askNext() override;
    // After the third wrong answer: the answer, and its dots one by one.
    Steps correction() override;

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
    // The one judge of an answer, the cell read or the dot pressed.
    void judge(const QString &answer, const QString &hidden);
    void recordAnswer(bool correct);
    QString questionLabel() const;
    // The draw common to every question, then the question asked.
    void askNew();

    // The child's own keys are echoed one after the other, over whatever
    // else is being said, which then goes on.
    void echo(const QString &clip) { m_voice->interject({ say(clip) }); }

    // The folder the current question draws its word from, and its name clip.
    QString targetFolder() const;
    QString questionClip() const;
    // The spoken name in a word folder of a letter, or of a number (dots are
    // named by their number).
    static QString nameClip(const QString &folder, const QString &word, bool letter);
    void announceQuestion();
    QString readItemFolder() const;
    void sayReadItem(const QString &noneClip);
    static QString dotClip(int dot);

    // The cell the child enters.
    Braille *m_cell = nullptr;

    // Dot labels 1 … 6 of the cell; the brailler's keys 1 … 7, left to right.
    std::array<QLabel *, 6> m_cellLabels {};
    std::array<QLabel *, 7> m_perkinsLabels {};
    // Normal and raised (pressed) picture of each label.
    // The dots and keys from the media tree.
    void loadPictures();
    // A dot (round) or a brailler key with a thick edge on black; raised or
    // pressed ones filled.
    static QPixmap highContrastPicture(QSize size, const QSize &fallback, bool on, bool round);
    std::array<std::array<QPixmap, 2>, 6> m_cellPictures;
    std::array<std::array<QPixmap, 2>, 7> m_perkinsPictures;

    QString m_readItem;
    bool m_writingMode = false;
    int m_pressedDot = 0;
    int m_hiddenPoint = 0;
    QString m_hiddenLetter;
    QString m_hiddenNumber;
    QString m_wordFolder;
};
