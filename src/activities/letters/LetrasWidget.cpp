#include "activities/letters/LetrasWidget.h"

#include "activities/KeyMenuMode.h"
#include "content/ActivityTable.h"
#include "content/KeyboardManager.h"
#include "content/MediaPaths.h"
#include "users/Score.h"
#include "users/ScoreManager.h"

#include <QFont>
#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>

namespace {

const int letterCount = 27;

// Folder names stored without accents, and how the child must read them.
const struct
{
    const char *folder;
    const char *shown;
} accentTable[] = {
    { "Zampona", "Zampoña" },
    { "Yacare", "Yacaré" },
    { "Violin", "Violín" },
    { "Volcan", "Volcán" },
    { "Xilofono", "Xilófono" },
    { "Nandu", "Ñandú" },
    { "Bebe", "Bebé" },
    { "Delfin", "Delfín" },
    { "Helicoptero", "Helicóptero" },
    { "Laud", "Laúd" },
    { "Leon", "León" },
    { "Ninos", "Niños" },
    { "Nino", "Niño" },
    { "Rio", "Río" },
    { "Saxofon", "Saxofón" },
    { "Telefono", "Teléfono" },
    // Every Ñ word is stored with an N; without this the second Ñ word of the
    // demo media would be spelt "Nu" on screen.
    { "Nu", "Ñu" },
};

const char *const numberWords[]
    = { "Cero", "Uno", "Dos", "Tres", "Cuatro", "Cinco", "Seis", "Siete", "Ocho", "Nueve" };

bool isDigit(const QString &text)
{
    return text.size() == 1 && text.at(0) >= QLatin1Char('0') && text.at(0) <= QLatin1Char('9');
}

bool isLetter(const QString &letter)
{
    return MediaPaths::alphabet().contains(letter);
}

} // namespace

LetrasWidget::LetrasWidget(QWidget *parent)
    : ActivityWidget(QFrame::Plain, scoreType(), ActivityTable::Letters, parent)
{
    m_keyboard = new KeyboardManager();

    m_letterLabel = new QLabel(this);
    m_letterLabel->setObjectName(QStringLiteral("letterLabel"));
    m_letterLabel->setFont(QFont(QStringLiteral("Arial"), 170, QFont::Bold));
    m_letterLabel->move(30, 40);

    m_wordLabel = new QLabel(this);
    m_wordLabel->setObjectName(QStringLiteral("wordLabel"));
    m_wordLabel->setFont(QFont(QStringLiteral("Arial"), 50, QFont::Bold));
    m_wordLabel->move(100, 380);

    m_pictureLabel = new QLabel(this);
    m_pictureLabel->setObjectName(QStringLiteral("pictureLabel"));
    m_pictureLabel->setFixedSize(300, 300);
    m_pictureLabel->move(240, 50);
    m_pictureLabel->setAlignment(Qt::AlignCenter);

    m_skipCounters.fill(0, letterCount);
    clearAll();
}

void LetrasWidget::lookChanged()
{
    framePicture(m_pictureLabel);
    // The card's edge goes round the picture, not over it.
    const int edge = highContrast() ? pictureEdge : 0;
    m_pictureLabel->setFixedSize(300 + 2 * edge, 300 + 2 * edge);
    m_pictureLabel->move(240 - edge, 50 - edge);
}

LetrasWidget::~LetrasWidget()
{
    // Built without a parent, as the keyboard model is everywhere.
    delete m_keyboard;
}

// ---------------------------------------------------------------------------
// Tables

QString LetrasWidget::scoreType()
{
    return QStringLiteral("Letters and Numbers");
}

QString LetrasWidget::activityTitle(int activity)
{
    const ActivityTable::Activity *entry = ActivityTable::find(ActivityTable::Letters, activity);
    return entry ? QString::fromUtf8(entry->title) : QString();
}

QString LetrasWidget::numberWord(const QString &digit)
{
    if (!isDigit(digit))
        return QString();
    return QString::fromLatin1(numberWords[digit.at(0).unicode() - '0']);
}

bool LetrasWidget::isFeminine(const QString &word)
{
    return word.endsWith(QLatin1String("a")) || word.endsWith(QLatin1String("ad"));
}

QString LetrasWidget::fixCharacters(const QString &word)
{
    for (const auto &entry : accentTable) {
        if (word == QLatin1String(entry.folder))
            return QString::fromUtf8(entry.shown);
    }
    return word;
}

const ActivityTable::Activity *LetrasWidget::current() const
{
    return m_group == ActivityTable::Letters ? ActivityTable::find(m_group, m_activity) : nullptr;
}

bool LetrasWidget::isGuessing() const
{
    const ActivityTable::Activity *activity = current();
    return activity && activity->turn == ActivityTable::Turn::Guessing;
}

bool LetrasWidget::isAboutNumbers() const
{
    const ActivityTable::Activity *activity = current();
    return activity && activity->scoreKind == ActivityTable::ScoreKind::Numbers;
}

// ---------------------------------------------------------------------------
// Simple state

void LetrasWidget::slotSetCurrentUserName(const QString &name)
{
    ActivityWidget::slotSetCurrentUserName(name);
    m_skipCounters.fill(0, letterCount);
}

void LetrasWidget::slotSentences(bool on)
{
    m_sentences = on;
}

void LetrasWidget::slotPhonemes(bool on)
{
    m_phonemes = on;
}

void LetrasWidget::setCurrentLetter(const QString &letter)
{
    m_currentLetter = letter;
}

void LetrasWidget::setCurrentNumber(const QString &number)
{
    m_currentNumber = number;
}

QString LetrasWidget::createPath()
{
    if (isAboutNumbers())
        return MediaPaths::numberFolder(language, m_currentNumber);
    return MediaPaths::letterFolder(language, m_currentLetter);
}

// ---------------------------------------------------------------------------
// Labels

void LetrasWidget::clearAll()
{
    m_letterLabel->hide();
    m_wordLabel->hide();
    m_pictureLabel->hide();
    Q_EMIT itemShown(QString());
}

void LetrasWidget::showLetterLabel(const QString &letterOrDigit)
{
    m_letterLabel->setText(MediaPaths::letterDisplay(letterOrDigit));
    m_letterLabel->adjustSize();
    m_letterLabel->show();
    Q_EMIT itemShown(letterOrDigit);
}

void LetrasWidget::setWordLabel(const QString &text)
{
    m_wordLabel->setText(text);
    m_wordLabel->adjustSize();
}

void LetrasWidget::setPicture(const QString &path)
{
    m_pictureLabel->setPixmap(QPixmap(path));
}

// ---------------------------------------------------------------------------
// Activity selection

void LetrasWidget::setActivity(int group, int activity)
{
    Q_EMIT sugerencia(QString(), QString());
    clearAll();
    if (!enterActivity(group, activity))
        return;
    m_instructionClip = instruction(QString::fromUtf8(current()->instruction));
    m_sounds = LetterSounds::read(language);
    if (!m_mofliAudio)
        return;
    Steps steps { say(m_instructionClip) };
    if (isGuessing()) {
        m_turn = Turn::Instructing;
        steps << then([this] { nextQuestion(); });
    }
    speak(steps);
}

void LetrasWidget::resumeAfterMenu(bool keyPressed)
{
    // A presentation waits for the child's next key.
    if (!isGuessing())
        return;
    switch (m_turn) {
    case Turn::Idle:
        // Without the mascot's voice there was no instruction to lead to a
        // first question.
        return;
    case Turn::Instructing:
    case Turn::Answered:
    case Turn::Correcting:
        // Cut before the first question, or the praise or the pause before
        // the next one: no key can start that question.
        nextQuestion();
        return;
    case Turn::Asking:
        // A key released meanwhile shows the child is at the question
        // already, and it has had its answer.
        if (!keyPressed)
            slotLastInstruction();
        return;
    }
}

// ---------------------------------------------------------------------------
// Keys

// Escape, the key menu mode and held keys are handled by ActivityPage.
void LetrasWidget::keyReleased(QKeyEvent *event)
{
    const int key = event->key();
    const QString text = event->text();
    if (key >= Qt::Key_0 && key <= Qt::Key_9) {
        if (key == Qt::Key_0 || isAboutNumbers())
            clearAll();
        m_currentNumber = QString(QLatin1Char(char('0' + key - Qt::Key_0)));
        slotNumber();
    } else if (key >= Qt::Key_A && key <= Qt::Key_Z) {
        clearAll();
        m_currentLetter = QString(QLatin1Char(char('A' + key - Qt::Key_A)));
        slotLetter();
    } else if (key == Qt::Key_Space) {
        slotLastInstruction();
    } else if (key == Qt::Key_Home) {
        // Home means nothing here and is not even answered.
    } else if (key == Qt::Key_Ntilde || text == QStringLiteral("\u00d1")
        || text == QStringLiteral("\u00f1")) {
        clearAll();
        m_currentLetter = QStringLiteral("Ntilde");
        slotLetter();
    } else {
        clearAll();
        m_currentLetter = QStringLiteral("none");
        m_currentNumber = QStringLiteral("none");
        if (key != Qt::Key_Escape)
            slotSleeping();
    }
}

void LetrasWidget::slotLetter()
{
    const ActivityTable::Activity *activity = current();
    if (!activity)
        return;
    if (isAboutNumbers())
        slotSleeping();
    else if (isGuessing())
        judge();
    else
        present(
            inActivity(0) ? QStringLiteral("letter_sound.ogg") : QStringLiteral("letter_name.ogg"));
}

void LetrasWidget::slotNumber()
{
    if (!current())
        return;
    if (isAboutNumbers() && isGuessing())
        judge();
    else if (isAboutNumbers())
        present(QString());
    else if ((m_sentences || m_phonemes) && inSelection(m_currentLetter))
        slotSaySentence();
    else
        slotSleeping();
}

// ---------------------------------------------------------------------------
// Turns

bool LetrasWidget::isLearned(const QString &letter) const
{
    if (!isGuessing() || isAboutNumbers())
        return true;
    const Score *record = scoreSet(m_activity)->score(MediaPaths::letterDisplay(letter));
    return record && record->isMastered();
}

void LetrasWidget::nextQuestion()
{
    if (isAboutNumbers())
        slotPickNumber();
    else
        slotPickLetter();
}

void LetrasWidget::slotPickLetter()
{
    // A turn start left over from a letters activity does nothing while
    // another widget has the child's attention.
    if (m_group != 0)
        return;
    stopSequences();
    // With a selection the learned-letter rule does not apply.
    const bool selecting = !m_selectedLetters.isEmpty() && selectionHasLetters();
    QStringList candidates = lettersInSelection();
    if (isAboutSounds()) {
        // A letter without a sound cannot be asked for by its sound; a
        // selection of only such letters counts as none.
        const auto silent = [this](const QString &letter) { return m_sounds.isSilent(letter); };
        candidates.removeIf(silent);
        if (candidates.isEmpty()) {
            candidates = MediaPaths::alphabet();
            candidates.removeIf(silent);
        }
    }
    for (;;) {
        m_targetLetter = drawQuestion(candidates, [this] { return randomLetter(); });
        if (selecting || !isLearned(m_targetLetter))
            break;
        int &skips = m_skipCounters[MediaPaths::alphabet().indexOf(m_targetLetter)];
        if (skips <= 3) {
            ++skips;
            continue;
        }
        skips = 0;
        break;
    }
    m_lastQuestion = m_targetLetter;
    m_wrongCount = 0;
    m_targetWord = randomWord(MediaPaths::letterFolder(language, m_targetLetter));
    m_turn = Turn::Asking;
    speak(question());
    clearAll();
}

void LetrasWidget::slotPickNumber()
{
    if (m_group != 0)
        return;
    stopSequences();
    m_targetNumber = drawQuestion(MediaPaths::digits(), [this] { return randomDigit(); });
    m_lastQuestion = m_targetNumber;
    m_wrongCount = 0;
    m_targetWord = randomWord(MediaPaths::numberFolder(language, m_targetNumber));
    m_turn = Turn::Asking;
    speak(question());
    clearAll();
}

void LetrasWidget::judge()
{
    switch (m_turn) {
    case Turn::Idle:
    case Turn::Instructing:
        // Nothing has been asked yet to compare the key with.
        slotSleeping();
        return;
    case Turn::Answered:
    case Turn::Correcting:
        // A second press of the right key during the praise must neither
        // count again nor start a second turn.
        return;
    case Turn::Asking:
        break;
    }
    // The child answers whenever ready: what is still being said of the
    // question, or of the feedback on an earlier try, gives way.
    stopSequences();
    Q_EMIT sugerencia(QString(), QString());
    bool right;
    if (isAboutNumbers())
        right = m_currentNumber == m_targetNumber;
    else if (isAboutSounds())
        right = m_sounds.soundAlike(m_currentLetter, m_targetLetter);
    else
        right = m_currentLetter == m_targetLetter;
    if (right)
        slotCorrect();
    else
        slotWrong();
}

// ---------------------------------------------------------------------------
// Feedback

void LetrasWidget::slotCorrect()
{
    const bool numbers = isAboutNumbers();
    const QString target = numbers ? m_targetNumber : m_targetLetter;
    m_turn = Turn::Answered;
    Q_EMIT sugerencia(activityTitle(m_activity), target);
    // Only a real letter or digit with a word that was asked about has a
    // record to count on.
    if (isGuessing() && !m_targetWord.isEmpty() && (numbers ? isDigit(target) : isLetter(target)))
        scoreSet(m_activity)->recordCorrect(MediaPaths::letterDisplay(target));
    speak(praise());
}

void LetrasWidget::slotWrong()
{
    const bool numbers = isAboutNumbers();
    const QString target = numbers ? m_targetNumber : m_targetLetter;
    if (isGuessing() && !m_targetWord.isEmpty() && (numbers ? isDigit(target) : isLetter(target)))
        scoreSet(m_activity)->recordWrong(MediaPaths::letterDisplay(target));
    if (isThirdWrong()) {
        m_turn = Turn::Correcting;
        speak(correction());
        return;
    }
    Steps steps { say(encouragementClip()) };
    const QString direction = orientationClip();
    if (!direction.isEmpty())
        steps << say(instruction(direction));
    speak(steps);
}

QString LetrasWidget::orientationClip() const
{
    const bool numbers = isAboutNumbers();
    const QString target = numbers ? m_targetNumber : MediaPaths::letterDisplay(m_targetLetter);
    const QString pressed = numbers ? m_currentNumber : MediaPaths::letterDisplay(m_currentLetter);
    switch (m_keyboard->orientation(target, pressed)) {
    case KeyboardManager::Left:
        return QStringLiteral("izquierda.ogg");
    case KeyboardManager::Right:
        return QStringLiteral("derecha.ogg");
    case KeyboardManager::Up:
        return QStringLiteral("arriba.ogg");
    case KeyboardManager::Down:
        return QStringLiteral("abajo.ogg");
    default:
        return QString();
    }
}
