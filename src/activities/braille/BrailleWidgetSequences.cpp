// The spoken sequences of the hidden-item activities: drawing and asking a
// question, and the correction after a third wrong answer, which names the
// answer and reads its dots out one by one. Each step plays one clip on the
// player whose end starts the next step.

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
    speak(questionClip());
}

void BrailleWidget::slotPickPoint()
{
    // A question left over from another activity is not asked.
    if (!inHiddenPoints())
        return;
    stopSequences();
    m_answered = false;
    displayReset();
    m_hiddenPoint = random(1, 6);
    pickGuessWord();
    m_questionDrawn = true;
    announceQuestion();
    disconnect(m_instructionPlayer, &AudioThread::finished, this, &BrailleWidget::slotPickPoint);
}

void BrailleWidget::slotPickLetter()
{
    if (!inHiddenLetters())
        return;
    stopSequences();
    m_answered = false;
    displayReset();
    m_hiddenLetter = randomLetterInSelection();
    Q_EMIT sugerencia(activityTitle(m_activity), m_hiddenLetter);
    pickGuessWord();
    m_questionDrawn = true;
    announceQuestion();
    disconnect(m_instructionPlayer, &AudioThread::finished, this, &BrailleWidget::slotPickLetter);
}

void BrailleWidget::slotPickNumber()
{
    if (!inHiddenNumbers())
        return;
    stopSequences();
    m_answered = false;
    displayReset();
    m_hiddenNumber = randomDigit();
    pickGuessWord();
    m_questionDrawn = true;
    announceQuestion();
    disconnect(m_instructionPlayer, &AudioThread::finished, this, &BrailleWidget::slotPickNumber);
}

void BrailleWidget::slotLastInstruction()
{
    if (m_group != 1)
        return;
    if (inHiddenPoints() || inHiddenLetters() || inHiddenNumbers()) {
        // Before the first question there is nothing to repeat, and once it
        // is answered the next question comes soon.
        if (m_questionDrawn && !m_answered)
            announceQuestion();
    } else if (m_activity >= 0 && m_activity < 12) {
        playOneShot(m_instructionClip);
    }
}

// ---------------------------------------------------------------------------
// Corrections after the third wrong answer

void BrailleWidget::slotCorrectPoints()
{
    if (!inHiddenPoints())
        return;
    // The pause runs from the start of the name, not from its end.
    playOneShot(questionClip());
    startTurnTimer(&BrailleWidget::slotPickPoint);
}

void BrailleWidget::slotCorrectLetter()
{
    play(m_letterNamePlayer, questionClip());
}

void BrailleWidget::slotCorrectNumber()
{
    play(m_numberNamePlayer, questionClip());
}

void BrailleWidget::slotCorrectLetterPoints()
{
    play(m_letterDotsIntroPlayer, instruction(QStringLiteral("puntos correctos.ogg")));
}

void BrailleWidget::slotCorrectNumberPoints()
{
    play(m_numberDotsIntroPlayer, instruction(QStringLiteral("puntos correctos.ogg")));
}

void BrailleWidget::slotSayCorrectLetterPoints()
{
    m_answer->fromLetter(m_hiddenLetter);
    m_dotIndex = 1;
    slotSayLetterPoints();
}

void BrailleWidget::slotSayCorrectNumberPoints()
{
    m_answer->fromNumber(m_hiddenNumber);
    m_dotIndex = 1;
    slotSayNumberPoints();
}

void BrailleWidget::slotSayLetterPoints()
{
    sayAnswerDot(m_letterDotsPlayer, m_letterPraisePlayer);
}

void BrailleWidget::slotSayNumberPoints()
{
    sayAnswerDot(m_numberDotsPlayer, m_numberPraisePlayer);
}

// One raised dot of the answer per call, in ascending order; after the last
// one the praise player, playing nothing, starts the next question.
void BrailleWidget::sayAnswerDot(AudioThread *dotsPlayer, AudioThread *praisePlayer)
{
    while (m_dotIndex <= 6 && !m_answer->isRaised(m_dotIndex))
        ++m_dotIndex;
    if (m_dotIndex <= 6) {
        play(dotsPlayer, dotClip(m_dotIndex));
        ++m_dotIndex;
        return;
    }
    m_dotIndex = 1;
    play(praisePlayer, QString());
}
