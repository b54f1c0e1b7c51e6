// The spoken sequences of the hidden-item activities: drawing and asking a
// question, and the correction after a third wrong answer, which names the
// answer and reads its dots out one by one.

#include "activities/braille/Braille.h"
#include "activities/braille/BrailleWidget.h"
#include "content/MediaPaths.h"

// ---------------------------------------------------------------------------
// Questions

QString BrailleWidget::targetFolder() const
{
    if (inHiddenPoints())
        return MediaPaths::numberFolder(language, QString::number(m_hiddenPoint));
    if (inHiddenLetters())
        return MediaPaths::letterFolder(language, m_hiddenLetter);
    return MediaPaths::numberFolder(language, m_hiddenNumber);
}

QString BrailleWidget::pickWord()
{
    return randomWord(targetFolder());
}

void BrailleWidget::pickGuessWord()
{
    m_wordFolder = pickWord();
}

// The name of the hidden dot's number, letter or digit; with no word there
// is no name, and the empty clip passes straight on to what follows.
QString BrailleWidget::questionClip() const
{
    if (m_wordFolder.isEmpty())
        return QString();
    return nameClip(targetFolder(), m_wordFolder, inHiddenLetters());
}

QString BrailleWidget::nameClip(const QString &folder, const QString &word, bool letter)
{
    if (letter)
        return MediaPaths::wordFile(folder, word, QStringLiteral("letter_name.ogg"));
    return MediaPaths::numberNameClip(folder, word);
}

void BrailleWidget::announceQuestion()
{
    speak({ say(questionClip()) });
}

void BrailleWidget::askNew()
{
    m_lastQuestion = inHiddenPoints() ? QString::number(m_hiddenPoint)
        : inHiddenLetters()           ? m_hiddenLetter
                                      : m_hiddenNumber;
    m_wrongCount = 0;
    pickGuessWord();
    stopSequences();
    m_turn = Turn::Asking;
    announceQuestion();
}

// A question left over from another activity is not asked.
void BrailleWidget::slotPickPoint()
{
    if (!inHiddenPoints())
        return;
    displayReset();
    static const QStringList dots = { QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"),
        QStringLiteral("4"), QStringLiteral("5"), QStringLiteral("6") };
    m_hiddenPoint = drawQuestion(dots, [this] { return QString::number(random(1, 6)); }).toInt();
    askNew();
}

void BrailleWidget::slotPickLetter()
{
    if (!inHiddenLetters())
        return;
    displayReset();
    m_hiddenLetter = drawQuestion(lettersInSelection(), [this] { return randomLetter(); });
    Q_EMIT sugerencia(activityTitle(m_activity), m_hiddenLetter);
    askNew();
}

void BrailleWidget::slotPickNumber()
{
    if (!inHiddenNumbers())
        return;
    displayReset();
    m_hiddenNumber = drawQuestion(MediaPaths::digits(), [this] { return randomDigit(); });
    askNew();
}

void BrailleWidget::askNext()
{
    if (const QuestionStart next = questionStart())
        (this->*next)();
}

// ---------------------------------------------------------------------------
// The correction after the third wrong answer

BrailleWidget::Steps BrailleWidget::correction()
{
    const QuestionStart next = questionStart();
    if (inHiddenPoints()) {
        // A braille display shows the answer while it is said.
        Q_EMIT cellShown(quint8(1u << (m_hiddenPoint - 1)));
        // The pause runs from the start of the name, not from its end.
        return { say(instruction(QStringLiteral("te equivocaste en los puntos.ogg"))),
            sayBeforePause(questionClip()), then([this, next] { (this->*next)(); }) };
    }
    Braille answer;
    if (inHiddenNumbers())
        answer.fromNumber(m_hiddenNumber);
    else
        answer.fromLetter(m_hiddenLetter);
    Steps steps { say(instruction(QStringLiteral("te equivocaste en la letra.ogg"))),
        say(questionClip()), say(instruction(QStringLiteral("puntos correctos.ogg"))) };
    // A braille display raises each dot of the answer as it is named.
    Q_EMIT cellShown(0);
    quint8 shown = 0;
    for (int dot = 1; dot <= 6; ++dot) {
        if (!answer.isRaised(dot))
            continue;
        shown |= quint8(1u << (dot - 1));
        steps << then([this, shown] { Q_EMIT cellShown(shown); }) << say(dotClip(dot));
    }
    // The empty clip after the last dot hands on to the next question.
    steps << say(QString()) << then([this, next] { (this->*next)(); });
    return steps;
}
