// The spoken step sequences of the eight activities: presentations, the
// questions of the guessing activities, and what follows a right answer.
// Each step plays one clip on the player whose end starts the next step.

#include "activities/letters/LetrasWidget.h"
#include "audio/AudioThread.h"
#include "content/MediaPaths.h"

#include <QFileInfo>
#include <QLabel>

namespace {

bool exists(const QString &path)
{
    return !path.isEmpty() && QFileInfo::exists(path);
}

} // namespace

// ---------------------------------------------------------------------------
// Word files

QString LetrasWidget::targetFolder() const
{
    if (inActivity(7))
        return MediaPaths::numberFolder(language, m_targetNumber);
    return MediaPaths::letterFolder(language, m_targetLetter);
}

QString LetrasWidget::targetWordFile(const QString &fileName) const
{
    if (m_targetWord.isEmpty())
        return QString();
    return MediaPaths::wordFile(targetFolder(), m_targetWord, fileName);
}

QString LetrasWidget::currentWordFile(const QString &fileName)
{
    if (m_currentWord.isEmpty())
        return QString();
    return MediaPaths::wordFile(createPath(), m_currentWord, fileName);
}

QString LetrasWidget::targetLetterClip(const QString &fileName) const
{
    if (m_targetWord.isEmpty())
        return MediaPaths::letterClip(m_targetLetter);
    return targetWordFile(fileName);
}

QString LetrasWidget::numberNameClip() const
{
    if (m_targetNumber.size() != 1 || !m_targetNumber.at(0).isDigit())
        return QString();
    if (m_targetWord.isEmpty())
        return MediaPaths::letterClip(m_targetNumber);
    return MediaPaths::numberNameClip(
        MediaPaths::numberFolder(language, m_targetNumber), m_targetWord);
}

// ---------------------------------------------------------------------------
// Presentations: activities 0, 3 and 6

void LetrasWidget::presentLetter(const QString &firstClipName)
{
    const QString letter = m_currentLetter;
    if (!inSelection(letter)) {
        slotSleeping();
        return;
    }
    // A new key starts a new presentation; the one under way gives way.
    stopSequences();
    Q_EMIT sugerencia(activityTitle(m_activity), letter);
    m_currentWord = randomWord(createPath());
    showLetterLabel(letter);
    setWordLabel(fixCharacters(m_currentWord));
    const QString image = currentWordFile(QStringLiteral("image.jpg"));
    if (exists(image))
        setPicture(image);
    play(m_imagePlayer,
        m_currentWord.isEmpty() ? MediaPaths::letterClip(letter) : currentWordFile(firstClipName));
}

void LetrasWidget::presentNumber()
{
    const QString digit = m_currentNumber;
    stopSequences();
    m_currentWord = randomWord(createPath());
    showLetterLabel(digit);
    setWordLabel(numberWord(digit));
    const QString image = currentWordFile(QStringLiteral("image.jpg"));
    if (exists(image))
        setPicture(image);
    playOneShot(m_currentWord.isEmpty() ? MediaPaths::letterClip(digit)
                                        : MediaPaths::numberNameClip(createPath(), m_currentWord),
        &LetrasWidget::slotImage);
}

void LetrasWidget::slotImage()
{
    m_pictureLabel->show();
    play(m_wordPlayer, currentWordFile(QStringLiteral("sound.ogg")));
}

void LetrasWidget::slotWord()
{
    m_wordLabel->show();
    play(m_plainPlayer, currentWordFile(QStringLiteral("name.ogg")));
}

// The word letter by letter (activity 0) or the sentence part by part
// (activity 3), one digit key at a time.
void LetrasWidget::slotSaySentence()
{
    if (m_group != 0 || m_currentNumber.size() != 1 || !m_currentNumber.at(0).isDigit())
        return;
    const int n = m_currentNumber.at(0).digitValue();
    QString clip;
    if (m_activity == 0 && m_phonemes) {
        if (n == 1) {
            clip = currentWordFile(QStringLiteral("name.ogg"));
        } else if (n >= 2 && n <= m_currentWord.size() + 1) {
            QChar c = m_currentWord.at(n - 2);
            static const QString accented = QStringLiteral("\u00e1\u00e9\u00ed\u00f3\u00fa");
            static const QString plain = QStringLiteral("aeiou");
            if (accented.contains(c))
                c = plain.at(accented.indexOf(c));
            if (c == QChar(0x00f1) || c == QChar(0x00d1))
                clip = MediaPaths::letterClip(QStringLiteral("Ntilde"));
            else
                clip = MediaPaths::letterClip(QString(c).toUpper());
        }
    } else if (m_activity == 3 && m_sentences) {
        if (n == 1)
            clip = currentWordFile(QStringLiteral("sentence.ogg"));
        else if (n >= 2)
            clip = currentWordFile(QStringLiteral("sentence%1.ogg").arg(n - 1));
    }
    if (exists(clip))
        playOneShot(clip);
}

// ---------------------------------------------------------------------------
// Questions: activities 1, 2, 4 and 5

void LetrasWidget::sayQuestion()
{
    QString first;
    if (inActivity(2))
        first = QStringLiteral("el sonido con que empieza.ogg");
    else if (inActivity(4))
        first = QStringLiteral("escondido en la letra.ogg");
    else if (inActivity(5))
        first = isFeminine(m_targetWord) ? QStringLiteral("la.ogg") : QStringLiteral("el.ogg");
    // "Como suena" has nothing to say before the sound: the empty clip
    // passes straight on to it.
    play(m_sayGuessLetterPlayer, first.isEmpty() ? QString() : instruction(first));
}

void LetrasWidget::slotSayGuessLetter()
{
    if (inActivity(1))
        play(m_plainPlayer, targetLetterClip(QStringLiteral("letter_sound.ogg")));
    else if (inActivity(2))
        play(m_plainPlayer, targetWordFile(QStringLiteral("name.ogg")));
    else if (inActivity(4))
        play(m_hiddenPlayer, targetLetterClip(QStringLiteral("letter_name.ogg")));
    else if (inActivity(5))
        play(m_hiddenPlayer, targetWordFile(QStringLiteral("name.ogg")));
}

void LetrasWidget::slotHidden()
{
    if (inActivity(4))
        play(m_hiddenObjectNamePlayer, instruction(QStringLiteral("de.ogg")));
    else if (inActivity(5))
        play(m_plainPlayer,
            instruction(isFeminine(m_targetWord) ? QStringLiteral("escondido en la.ogg")
                                                 : QStringLiteral("escondido en el.ogg")));
}

void LetrasWidget::slotHiddenObjectName()
{
    if (inActivity(4))
        play(m_plainPlayer, targetWordFile(QStringLiteral("name.ogg")));
}

// ---------------------------------------------------------------------------
// After a right answer

void LetrasWidget::slotFoundSound()
{
    if (inActivity(1))
        play(m_guessedLetterPlayer, instruction(QStringLiteral("encontraste el sonido.ogg")));
    else if (inActivity(2))
        play(m_guessedLetterPlayer, instruction(QStringLiteral("esta palabra empieza con.ogg")));
    else if (inActivity(4))
        play(m_guessedLetterPlayer, QString());
    else if (inActivity(5))
        play(m_guessedObjectPlayer,
            instruction(isFeminine(m_targetWord) ? QStringLiteral("encontraste a la.ogg")
                                                 : QStringLiteral("encontraste a.ogg")));
    else if (inActivity(7))
        play(m_guessedNumberPlayer, QString());
}

void LetrasWidget::slotGuessedLetter()
{
    if (!(inActivity(1) || inActivity(2) || inActivity(4) || inActivity(5)))
        return;
    showLetterLabel(m_targetLetter);
    if (inActivity(1))
        play(m_ofPlayer, targetLetterClip(QStringLiteral("letter_sound.ogg")));
    else if (inActivity(2))
        // The end of the letter's sound starts the next question at once.
        play(m_pickLetterPlayer, targetLetterClip(QStringLiteral("letter_sound.ogg")));
    else
        play(m_objectSoundPlayer, targetLetterClip(QStringLiteral("letter_name.ogg")));
}

void LetrasWidget::slotOf()
{
    if (inActivity(1))
        play(m_objectNamePlayer, instruction(QStringLiteral("de.ogg")));
}

void LetrasWidget::slotObjectName()
{
    if (!inActivity(1))
        return;
    // A word without a picture shows an empty one here.
    setPicture(targetWordFile(QStringLiteral("image.jpg")));
    m_pictureLabel->show();
    setWordLabel(fixCharacters(m_targetWord));
    play(m_wordAndGuessPlayer, QString());
}

void LetrasWidget::slotObjectSound()
{
    if (inActivity(4)) {
        showLetterLabel(m_targetLetter);
        const QString image = targetWordFile(QStringLiteral("image.jpg"));
        if (exists(image))
            setPicture(image);
        m_pictureLabel->show();
    } else if (!inActivity(5)) {
        return;
    }
    setWordLabel(fixCharacters(m_targetWord));
    play(m_wordAndGuessPlayer, targetWordFile(QStringLiteral("sound.ogg")));
}

void LetrasWidget::slotGuessedObject()
{
    if (!inActivity(5))
        return;
    const QString image = targetWordFile(QStringLiteral("image.jpg"));
    if (exists(image))
        setPicture(image);
    m_pictureLabel->show();
    setWordLabel(fixCharacters(m_targetWord));
    play(m_livesInPlayer, targetWordFile(QStringLiteral("name.ogg")));
}

void LetrasWidget::slotLivesIn()
{
    if (inActivity(5))
        play(m_guessedLetterPlayer, instruction(QStringLiteral("que vive en.ogg")));
}

void LetrasWidget::slotWordAndGuess()
{
    if (m_group != 0)
        return;
    m_wordLabel->show();
    playOneShot(targetWordFile(QStringLiteral("name.ogg")));
    startTurnTimer(&LetrasWidget::slotPickLetter);
}

void LetrasWidget::slotGuessedNumber()
{
    if (m_group != 0)
        return;
    showLetterLabel(m_targetNumber);
    playOneShot(numberNameClip());
    startTurnTimer(&LetrasWidget::slotPickNumber);
}
