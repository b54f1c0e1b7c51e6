#include "activities/letters/LetrasWidget.h"

#include "activities/KeyMenuMode.h"
#include "audio/AudioThread.h"
#include "content/KeyboardManager.h"
#include "content/MediaPaths.h"
#include "users/Score.h"
#include "users/ScoreManager.h"

#include <QFont>
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
    : ActivityWidget(QFrame::Plain, scoreType(), parent)
{
    m_comoSuena = new ScoreManager(QStringLiteral("Como Suena"), this);
    m_comoEmpieza = new ScoreManager(QStringLiteral("Como Empieza"), this);
    m_numerosEscondidos = new ScoreManager(QStringLiteral("Numeros Escondidos"), this);
    m_numerosEscondidos->setKind(ScoreManager::Numbers);
    m_letrasEscondidas = new ScoreManager(QStringLiteral("Letras Escondidas"), this);
    m_objetosEscondidos = new ScoreManager(QStringLiteral("Objetos Escondidos"), this);
    setScoreManagers({ m_comoSuena, m_comoEmpieza, m_letrasEscondidas, m_objetosEscondidos,
        m_numerosEscondidos });

    m_instructionPlayer = makePlayer();
    m_plainPlayer = makePlayer();
    m_imagePlayer = makePlayer(&LetrasWidget::slotImage);
    m_wordPlayer = makePlayer(&LetrasWidget::slotWord);
    m_wordAndGuessPlayer = makePlayer(&LetrasWidget::slotWordAndGuess);
    m_foundSoundPlayer = makePlayer(&LetrasWidget::slotFoundSound);
    m_guessedLetterPlayer = makePlayer(&LetrasWidget::slotGuessedLetter);
    m_ofPlayer = makePlayer(&LetrasWidget::slotOf);
    m_objectNamePlayer = makePlayer(&LetrasWidget::slotObjectName);
    m_pickLetterPlayer = makePlayer(&LetrasWidget::slotPickLetter);
    m_guessedNumberPlayer = makePlayer(&LetrasWidget::slotGuessedNumber);
    m_livesInPlayer = makePlayer(&LetrasWidget::slotLivesIn);
    m_guessedObjectPlayer = makePlayer(&LetrasWidget::slotGuessedObject);
    m_objectSoundPlayer = makePlayer(&LetrasWidget::slotObjectSound);
    m_sayGuessLetterPlayer = makePlayer(&LetrasWidget::slotSayGuessLetter);
    m_hiddenPlayer = makePlayer(&LetrasWidget::slotHidden);
    m_hiddenObjectNamePlayer = makePlayer(&LetrasWidget::slotHiddenObjectName);

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

    m_skipCounters.fill(0, letterCount);
    clearAll();
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
    static const char *const titles[] = {
        "Letras y Numeros -  Sonidos de las Letras - Te presento sonidos",
        "Letras y Numeros -  Sonidos de las Letras - Como suena",
        "Letras y Numeros -  Sonidos de las Letras - Como empieza",
        "Letras y Numeros -  Nombres de las Letras - Te presento nombres",
        "Letras y Numeros -  Nombres de las Letras - Letras escondidas",
        "Letras y Numeros -  Nombres de las Letras - Objetos escondidos",
        "Letras y Numeros -  Numeros de las Letras - Te presento numeros",
        "Letras y Numeros -  Numeros de las Letras - Numeros escondidos",
    };
    if (activity < 0 || activity > 7)
        return QString();
    return QString::fromLatin1(titles[activity]);
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

ScoreManager *LetrasWidget::scoreSet(int activity) const
{
    switch (activity) {
    case 1:
        return m_comoSuena;
    case 2:
        return m_comoEmpieza;
    case 4:
        return m_letrasEscondidas;
    case 5:
        return m_objetosEscondidos;
    case 7:
        return m_numerosEscondidos;
    default:
        return nullptr;
    }
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

void LetrasWidget::slotSleeping()
{
    play(m_plainPlayer, instruction(QStringLiteral("durmiendo.ogg")));
}

QString LetrasWidget::createPath()
{
    if (m_group == 0 && (m_activity == 6 || m_activity == 7))
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
}

void LetrasWidget::showLetterLabel(const QString &letterOrDigit)
{
    m_letterLabel->setText(MediaPaths::letterDisplay(letterOrDigit));
    m_letterLabel->adjustSize();
    m_letterLabel->show();
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
    m_menuMode->set(false);
    Q_EMIT sugerencia(QString(), QString());
    m_group = group;
    m_activity = activity;
    m_letterDrawn = false;
    m_numberDrawn = false;
    m_answered = false;
    clearAll();
    // Nothing of the previous activity may speak into this one: not its
    // sequences, not its next turn, not a turn start still waiting for its
    // instruction.
    stopSequences();
    disconnect(m_instructionPlayer, &AudioThread::finished, this, nullptr);
    if (group != 0)
        return;

    static const char *const instructions[] = {
        "Te presento sonidos.ogg",
        "Como suena.ogg",
        "Como empieza.ogg",
        "Te presento nombres.ogg",
        "Letras escondidas.ogg",
        "Objetos escondidos.ogg",
        "Te presento numeros.ogg",
        "Numeros escondidos.ogg",
    };
    if (activity < 0 || activity > 7)
        return;
    m_lastInstruction = instruction(QString::fromLatin1(instructions[activity]));

    if (!m_mofliAudio)
        return;
    // Connected before the start: a short or missing clip may finish at once.
    if (activity == 1 || activity == 2 || activity == 4 || activity == 5)
        connect(m_instructionPlayer, &AudioThread::finished, this, &LetrasWidget::slotPickLetter,
            Qt::UniqueConnection);
    else if (activity == 7)
        connect(m_instructionPlayer, &AudioThread::finished, this, &LetrasWidget::slotPickNumber,
            Qt::UniqueConnection);
    play(m_instructionPlayer, m_lastInstruction);
}

void LetrasWidget::resumeAfterMenu(bool keyPressed)
{
    // A presentation waits for the child's next key.
    if (!isGuessingActivity())
        return;
    const bool numbers = inActivity(7);
    const bool drawn = numbers ? m_numberDrawn : m_letterDrawn;
    // Without the mascot's voice there was no instruction to lead to a
    // first question.
    if (!drawn && !m_mofliAudio)
        return;
    // The instruction was cut before the first question, or the praise or
    // the pause before the next one: no key can start that question.
    if (!drawn || m_answered) {
        numbers ? slotPickNumber() : slotPickLetter();
        return;
    }
    // A key released meanwhile shows the child is at the question already,
    // and it has had its answer.
    if (!keyPressed)
        slotLastInstruction();
}

bool LetrasWidget::isGuessingActivity() const
{
    return m_group == 0
        && (m_activity == 1 || m_activity == 2 || m_activity == 4 || m_activity == 5
            || m_activity == 7);
}

// ---------------------------------------------------------------------------
// Keys

// Escape, the key menu mode and held keys are handled by ActivityWidget.
void LetrasWidget::keyReleased(int key, const QString &text)
{
    if (key == Qt::Key_0) {
        clearAll();
        m_currentNumber = QStringLiteral("0");
        slotNumber();
    } else if (key >= Qt::Key_1 && key <= Qt::Key_9) {
        if (m_activity == 6 || m_activity == 7)
            clearAll();
        m_currentNumber = QString(QLatin1Char(char('0' + key - Qt::Key_0)));
        slotNumber();
    } else if (key >= Qt::Key_A && key <= Qt::Key_Z) {
        clearAll();
        m_currentLetter = QString(QLatin1Char(char('A' + key - Qt::Key_A)));
        slotLetter();
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
    if (m_group != 0)
        return;
    switch (m_activity) {
    case 0:
        presentLetter(QStringLiteral("letter_sound.ogg"));
        break;
    case 3:
        presentLetter(QStringLiteral("letter_name.ogg"));
        break;
    case 1:
    case 2:
    case 4:
    case 5:
        judgeLetter();
        break;
    case 6:
    case 7:
        slotSleeping();
        break;
    default:
        break;
    }
}

void LetrasWidget::slotNumber()
{
    if (m_group != 0)
        return;
    if (m_activity == 6) {
        presentNumber();
    } else if (m_activity == 7) {
        judgeNumber();
    } else if ((m_sentences || m_phonemes) && inSelection(m_currentLetter)) {
        slotSaySentence();
    } else {
        slotSleeping();
    }
}

// ---------------------------------------------------------------------------
// Learned letters

bool LetrasWidget::isLearned(const QString &letter) const
{
    if (m_group != 0 || !(m_activity == 1 || m_activity == 2 || m_activity == 4 || m_activity == 5))
        return true;
    const Score *record = scoreSet(m_activity)->score(MediaPaths::letterDisplay(letter));
    return record && record->isMastered();
}

// ---------------------------------------------------------------------------
// Turns

void LetrasWidget::slotPickLetter()
{
    // A turn start left over from a letters activity does nothing while
    // another widget has the child's attention.
    if (m_group != 0)
        return;
    stopSequences();
    m_answered = false;
    // With a selection the learned-letter rule does not apply.
    const bool selecting = !m_selectedLetters.isEmpty() && selectionHasLetters();
    for (;;) {
        m_targetLetter = randomLetterInSelection();
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
    m_targetWord = randomWord(MediaPaths::letterFolder(language, m_targetLetter));
    m_letterDrawn = true;
    sayQuestion();
    disconnect(m_instructionPlayer, &AudioThread::finished, this, &LetrasWidget::slotPickLetter);
    clearAll();
}

void LetrasWidget::slotPickNumber()
{
    if (m_group != 0)
        return;
    stopSequences();
    m_answered = false;
    m_targetNumber = randomDigit();
    m_targetWord = randomWord(MediaPaths::numberFolder(language, m_targetNumber));
    m_numberDrawn = true;
    play(m_plainPlayer, numberNameClip());
    disconnect(m_instructionPlayer, &AudioThread::finished, this, &LetrasWidget::slotPickNumber);
    clearAll();
}

void LetrasWidget::judgeLetter()
{
    if (!m_letterDrawn) {
        slotSleeping();
        return;
    }
    // Answered already: a second press of the right key during the praise
    // must neither count again nor start a second turn.
    if (m_answered)
        return;
    // The child answers whenever ready: what is still being said of the
    // question, or of the feedback on an earlier try, gives way.
    stopSequences();
    Q_EMIT sugerencia(QString(), QString());
    if (m_currentLetter == m_targetLetter)
        slotCorrect();
    else
        slotWrong();
}

void LetrasWidget::judgeNumber()
{
    if (!m_numberDrawn) {
        slotSleeping();
        return;
    }
    // Answered already: a second press of the right key during the praise
    // must neither count again nor start a second turn.
    if (m_answered)
        return;
    // The child answers whenever ready: what is still being said of the
    // question, or of the feedback on an earlier try, gives way.
    stopSequences();
    Q_EMIT sugerencia(QString(), QString());
    if (m_currentNumber == m_targetNumber)
        slotCorrect();
    else
        slotWrong();
}

// ---------------------------------------------------------------------------
// Feedback

void LetrasWidget::slotCorrect()
{
    const bool numbers = inActivity(7);
    const QString target = numbers ? m_targetNumber : m_targetLetter;
    m_answered = true;
    Q_EMIT sugerencia(activityTitle(m_activity), target);

    // Only a real letter or digit with a word that was asked about has a
    // record to count on.
    if (isGuessingActivity() && !m_targetWord.isEmpty()
        && (numbers ? isDigit(target) : isLetter(target)))
        scoreSet(m_activity)->recordCorrect(MediaPaths::letterDisplay(target));

    play(m_foundSoundPlayer, praiseClip());
}

void LetrasWidget::slotWrong()
{
    const bool numbers = inActivity(7);
    const QString target = numbers ? m_targetNumber : m_targetLetter;
    if (isGuessingActivity() && !m_targetWord.isEmpty()
        && (numbers ? isDigit(target) : isLetter(target)))
        scoreSet(m_activity)->recordWrong(MediaPaths::letterDisplay(target));

    playOneShot(encouragementClip(), &LetrasWidget::slotOrientation);
}

void LetrasWidget::slotOrientation()
{
    QString target;
    QString pressed;
    if (inActivity(7)) {
        target = m_targetNumber;
        pressed = m_currentNumber;
    } else {
        target = MediaPaths::letterDisplay(m_targetLetter);
        pressed = MediaPaths::letterDisplay(m_currentLetter);
    }
    QString clip;
    switch (m_keyboard->orientation(target, pressed)) {
    case KeyboardManager::Left:
        clip = QStringLiteral("izquierda.ogg");
        break;
    case KeyboardManager::Right:
        clip = QStringLiteral("derecha.ogg");
        break;
    case KeyboardManager::Up:
        clip = QStringLiteral("arriba.ogg");
        break;
    case KeyboardManager::Down:
        clip = QStringLiteral("abajo.ogg");
        break;
    default:
        return;
    }
    play(m_plainPlayer, instruction(clip));
}

void LetrasWidget::slotLastInstruction()
{
    if (m_group != 0)
        return;
    switch (m_activity) {
    case 0:
    case 3:
        playOneShot(m_lastInstruction);
        break;
    case 6:
    case 7:
        // Once answered, the next number comes soon; the praise goes on.
        if (!(m_activity == 7 && m_answered))
            play(m_plainPlayer, numberNameClip());
        break;
    case 1:
    case 2:
    case 4:
    case 5:
        // Before the first question there is nothing to repeat, and once it
        // is answered the next question comes soon.
        if (m_letterDrawn && !m_answered) {
            stopSequences();
            sayQuestion();
        }
        break;
    default:
        break;
    }
}
