// The spoken sequences of the eight activities: presentations, the
// questions of the guessing activities, what follows a right answer, and
// the answer after the third wrong one.

#include "activities/letters/LetrasWidget.h"
#include "content/KeyboardManager.h"
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
    if (isAboutNumbers())
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

void LetrasWidget::showTargetPicture(bool onlyWhenItExists)
{
    const QString image = targetWordFile(QStringLiteral("image.jpg"));
    // Otherwise a word without a picture shows an empty one.
    if (!onlyWhenItExists || exists(image))
        setPicture(image);
    m_pictureLabel->show();
    setWordLabel(fixCharacters(m_targetWord));
}

// ---------------------------------------------------------------------------
// Presentations: activities 0, 3 and 6

// The letter's or digit's word: its first clip (the word's letter sound or
// name, or the number's name), the picture, the word's sound, its name.
void LetrasWidget::present(const QString &firstClipName)
{
    const bool numbers = isAboutNumbers();
    const QString item = numbers ? m_currentNumber : m_currentLetter;
    if (!numbers && !inSelection(item)) {
        slotSleeping();
        return;
    }
    // A new key starts a new presentation; the one under way gives way.
    stopSequences();
    if (!numbers)
        Q_EMIT sugerencia(activityTitle(m_activity), item);
    m_currentWord = randomWord(createPath());
    showLetterLabel(item);
    setWordLabel(numbers ? numberWord(item) : fixCharacters(m_currentWord));
    const QString image = currentWordFile(QStringLiteral("image.jpg"));
    if (exists(image))
        setPicture(image);
    QString first;
    if (m_currentWord.isEmpty())
        first = MediaPaths::letterClip(item);
    else if (numbers)
        first = MediaPaths::numberNameClip(createPath(), m_currentWord);
    else
        first = currentWordFile(firstClipName);
    speak({ say(first), then([this] { m_pictureLabel->show(); }),
        say(currentWordFile(QStringLiteral("sound.ogg"))), then([this] { m_wordLabel->show(); }),
        say(currentWordFile(QStringLiteral("name.ogg"))) });
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
        sayAside(clip);
}

// ---------------------------------------------------------------------------
// Questions: activities 1, 2, 4, 5 and 7

LetrasWidget::Steps LetrasWidget::question() const
{
    const bool feminine = isFeminine(m_targetWord);
    const QString name = targetWordFile(QStringLiteral("name.ogg"));
    switch (m_activity) {
    case 1:
        // "Como suena" has nothing to say before the sound.
        return { say(QString()), say(targetLetterClip(QStringLiteral("letter_sound.ogg"))) };
    case 2:
        return { say(instruction(QStringLiteral("el sonido con que empieza.ogg"))), say(name) };
    case 4:
        return { say(instruction(QStringLiteral("escondido en la letra.ogg"))),
            say(targetLetterClip(QStringLiteral("letter_name.ogg"))),
            say(instruction(QStringLiteral("de.ogg"))), say(name) };
    case 5:
        return { say(instruction(feminine ? QStringLiteral("la.ogg") : QStringLiteral("el.ogg"))),
            say(name),
            say(instruction(feminine ? QStringLiteral("escondido en la.ogg")
                                     : QStringLiteral("escondido en el.ogg"))) };
    case 7:
        return { say(numberNameClip()) };
    default:
        return {};
    }
}

// ---------------------------------------------------------------------------
// After a right answer: praise, the answer with its word and picture, and
// the next question after the pause between turns (at once in activity 2).

LetrasWidget::Steps LetrasWidget::praise()
{
    const QString praise = praiseClip();
    const bool feminine = isFeminine(m_targetWord);
    const QString name = targetWordFile(QStringLiteral("name.ogg"));
    const QString sound = targetWordFile(QStringLiteral("sound.ogg"));
    const SpokenSequence::Step showLetter = then([this] { showLetterLabel(m_targetLetter); });
    const SpokenSequence::Step showWord = then([this] { m_wordLabel->show(); });
    const SpokenSequence::Step next = then([this] { nextQuestion(); });
    switch (m_activity) {
    case 1:
        return { say(praise), say(instruction(QStringLiteral("encontraste el sonido.ogg"))),
            showLetter, say(targetLetterClip(QStringLiteral("letter_sound.ogg"))),
            say(instruction(QStringLiteral("de.ogg"))), then([this] { showTargetPicture(false); }),
            say(QString()), showWord, sayBeforePause(name), next };
    case 2:
        return { say(praise), say(instruction(QStringLiteral("esta palabra empieza con.ogg"))),
            showLetter, say(targetLetterClip(QStringLiteral("letter_sound.ogg"))), next };
    case 4:
        return { say(praise), say(QString()), showLetter,
            say(targetLetterClip(QStringLiteral("letter_name.ogg"))), showLetter,
            then([this] { showTargetPicture(true); }), say(sound), showWord, sayBeforePause(name),
            next };
    case 5:
        return { say(praise),
            say(instruction(feminine ? QStringLiteral("encontraste a la.ogg")
                                     : QStringLiteral("encontraste a.ogg"))),
            then([this] { showTargetPicture(true); }), say(name),
            say(instruction(QStringLiteral("que vive en.ogg"))), showLetter,
            say(targetLetterClip(QStringLiteral("letter_name.ogg"))),
            then([this] { setWordLabel(fixCharacters(m_targetWord)); }), say(sound), showWord,
            sayBeforePause(name), next };
    case 7:
        return { say(praise), say(QString()), then([this] { showLetterLabel(m_targetNumber); }),
            sayBeforePause(numberNameClip()), next };
    default:
        return {};
    }
}

// ---------------------------------------------------------------------------
// After the third wrong answer: the answer as the activity asks for it (a
// sound, a name, a number), where its key is, and the next question.

LetrasWidget::Steps LetrasWidget::keyPlace() const
{
    const QString key
        = isAboutNumbers() ? m_targetNumber : MediaPaths::letterDisplay(m_targetLetter);
    const KeyboardManager::Place place = m_keyboard->place(key);
    QString row;
    switch (place.row) {
    case KeyboardManager::NumberRow:
        row = QStringLiteral("tecla en la fila de los numeros.ogg");
        break;
    case KeyboardManager::TopRow:
        row = QStringLiteral("tecla en la fila de arriba.ogg");
        break;
    case KeyboardManager::HomeRow:
        row = QStringLiteral("tecla en la fila del medio.ogg");
        break;
    case KeyboardManager::BottomRow:
        row = QStringLiteral("tecla en la fila de abajo.ogg");
        break;
    case KeyboardManager::NoRow:
        return {};
    }
    return { say(instruction(row)),
        sayBeforePause(instruction(
            place.leftHand ? QStringLiteral("izquierda.ogg") : QStringLiteral("derecha.ogg"))) };
}

LetrasWidget::Steps LetrasWidget::correction()
{
    QString answer;
    if (isAboutNumbers())
        answer = numberNameClip();
    else if (isAboutSounds())
        answer = targetLetterClip(QStringLiteral("letter_sound.ogg"));
    else
        answer = targetLetterClip(QStringLiteral("letter_name.ogg"));
    const QString shown = isAboutNumbers() ? m_targetNumber : m_targetLetter;
    // Shown at once: a child who sees a little need not wait for the name.
    return Steps { then([this, shown] { showLetterLabel(shown); }),
        say(instruction(QStringLiteral("te equivocaste en la letra.ogg"))), say(answer) }
    + keyPlace() + Steps { then([this] { nextQuestion(); }) };
}
