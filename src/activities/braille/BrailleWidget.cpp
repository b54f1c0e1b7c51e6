#include "activities/braille/BrailleWidget.h"

#include "activities/KeyMenuMode.h"
#include "activities/braille/Braille.h"
#include "content/MediaPaths.h"
#include "users/ScoreManager.h"

#include <QLabel>

namespace {

const struct
{
    const char *title;
    const char *instruction;
} activities[] = {
    { "Braille -  Cajetin - Exploracion cajetin", "Exploracion cajetin.ogg" },
    { "Braille -  Cajetin - Puntos escondidos", "Puntos escondidos braille.ogg" },
    { "Braille -  Cajetin - Formemos letras", "Formemos letras braille.ogg" },
    { "Braille -  Cajetin - Letras escondidas", "Letras escondidas braille.ogg" },
    { "Braille -  Cajetin - Te presento numeros", "Formemos numeros braille.ogg" },
    { "Braille -  Cajetin - Numeros escondidos", "Numeros escondidos braille.ogg" },
    { "Braille -  Maquina Perkins - Exploracion cajetin", "Exploracion perkins.ogg" },
    { "Braille -  Maquina Perkins - Puntos escondidos", "Puntos escondidos perkins.ogg" },
    { "Braille -  Maquina Perkins - Formemos letras", "Formemos letras perkins.ogg" },
    { "Braille -  Maquina Perkins - Letras escondidas", "Letras escondidas perkins.ogg" },
    { "Braille -  Maquina Perkins - Te presento numeros", "Formemos numeros perkins.ogg" },
    { "Braille -  Maquina Perkins - Numeros escondidos", "Numeros escondidos perkins.ogg" },
};
const int activityCount = 12;

// Top-left corners inside the 560 x 500 frame.
const QPoint cellPositions[6]
    = { { 142, 52 }, { 142, 184 }, { 142, 302 }, { 280, 52 }, { 280, 184 }, { 280, 302 } };
const QPoint perkinsPositions[7] = { { 42, 166 }, { 112, 166 }, { 170, 166 }, { 228, 166 },
    { 332, 166 }, { 390, 166 }, { 448, 166 } };

// The brailler's keys from left to right are dots 3, 2, 1, a key no dot
// uses, 4, 5, 6: the key (0-based) of each dot 1 … 6.
const int perkinsKeyOfDot[6] = { 2, 1, 0, 4, 5, 6 };

// Numeric keypad in the cell's shape, and the brailler's home-row keys.
const int cellKeys[6] = { Qt::Key_7, Qt::Key_4, Qt::Key_1, Qt::Key_8, Qt::Key_5, Qt::Key_2 };
const int perkinsKeys[6] = { Qt::Key_F, Qt::Key_D, Qt::Key_S, Qt::Key_J, Qt::Key_K, Qt::Key_L };

QLabel *pictureLabel(
    QWidget *parent, const QString &name, const QPoint &position, const QPixmap &picture)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    label->setPixmap(picture);
    label->adjustSize();
    label->move(position);
    return label;
}

} // namespace

BrailleWidget::BrailleWidget(QWidget *parent)
    : ActivityWidget(QFrame::Sunken, scoreType(), parent)
    , m_cell(new Braille)
    , m_answer(new Braille)
{
    for (int i = 0; i < 6; ++i) {
        for (int raised = 0; raised < 2; ++raised)
            m_cellPictures[i][raised]
                = QPixmap(MediaPaths::uiFile(QStringLiteral("braille/bra%1%2.jpg")
                                                 .arg(i + 1)
                                                 .arg(QLatin1String(raised ? "b" : ""))));
        m_cellLabels[i] = pictureLabel(
            this, QStringLiteral("cellDot%1").arg(i + 1), cellPositions[i], m_cellPictures[i][0]);
    }
    for (int i = 0; i < 7; ++i) {
        for (int pressed = 0; pressed < 2; ++pressed)
            m_perkinsPictures[i][pressed]
                = QPixmap(MediaPaths::uiFile(QStringLiteral("braille/per%1%2.jpg")
                                                 .arg(i + 1)
                                                 .arg(QLatin1String(pressed ? "b" : ""))));
        m_perkinsLabels[i] = pictureLabel(this, QStringLiteral("perkinsKey%1").arg(i + 1),
            perkinsPositions[i], m_perkinsPictures[i][0]);
        m_perkinsLabels[i]->hide();
    }

    m_pointsCell = new ScoreManager(QStringLiteral("Puntos Escondidos Cajetin"), this);
    m_lettersCell = new ScoreManager(QStringLiteral("Letras Escondidas Cajetin"), this);
    m_numbersCell = new ScoreManager(QStringLiteral("Numeros Escondidos Cajetin"), this);
    m_pointsPerkins = new ScoreManager(QStringLiteral("Puntos Escondidos Maquina Perkins"), this);
    m_lettersPerkins = new ScoreManager(QStringLiteral("Letras Escondidas Maquina Perkins"), this);
    m_numbersPerkins = new ScoreManager(QStringLiteral("Numeros Escondidos Maquina Perkins"), this);
    for (ScoreManager *points : { m_pointsCell, m_pointsPerkins })
        points->setKind(ScoreManager::Dots);
    for (ScoreManager *numbers : { m_numbersCell, m_numbersPerkins })
        numbers->setKind(ScoreManager::Numbers);
    setScoreManagers({ m_pointsCell, m_lettersCell, m_numbersCell, m_pointsPerkins,
        m_lettersPerkins, m_numbersPerkins });

    m_speechPlayer = makePlayer(&BrailleWidget::speechFinished);
    m_instructionPlayer = makePlayer();
    m_pointPraisePlayer = makePlayer(&BrailleWidget::slotPickPoint);
    m_letterPraisePlayer = makePlayer(&BrailleWidget::slotPickLetter);
    m_numberPraisePlayer = makePlayer(&BrailleWidget::slotPickNumber);
    m_letterCorrectionPlayer = makePlayer(&BrailleWidget::slotCorrectLetter);
    m_numberCorrectionPlayer = makePlayer(&BrailleWidget::slotCorrectNumber);
    m_pointCorrectionPlayer = makePlayer(&BrailleWidget::slotCorrectPoints);
    m_letterNamePlayer = makePlayer(&BrailleWidget::slotCorrectLetterPoints);
    m_numberNamePlayer = makePlayer(&BrailleWidget::slotCorrectNumberPoints);
    m_letterDotsIntroPlayer = makePlayer(&BrailleWidget::slotSayCorrectLetterPoints);
    m_numberDotsIntroPlayer = makePlayer(&BrailleWidget::slotSayCorrectNumberPoints);
    m_letterDotsPlayer = makePlayer(&BrailleWidget::slotSayLetterPoints);
    m_numberDotsPlayer = makePlayer(&BrailleWidget::slotSayNumberPoints);
}

BrailleWidget::~BrailleWidget()
{
    // The cells are plain values, built without a parent.
    delete m_cell;
    delete m_answer;
}

QString BrailleWidget::scoreType()
{
    return QStringLiteral("Braille");
}

QString BrailleWidget::activityTitle(int sub)
{
    if (sub < 0 || sub >= activityCount)
        return QString();
    return QString::fromLatin1(activities[sub].title);
}

ScoreManager *BrailleWidget::scoreManager(int sub) const
{
    switch (sub) {
    case 1:
        return m_pointsCell;
    case 3:
        return m_lettersCell;
    case 5:
        return m_numbersCell;
    case 7:
        return m_pointsPerkins;
    case 9:
        return m_lettersPerkins;
    case 11:
        return m_numbersPerkins;
    default:
        return nullptr;
    }
}

void BrailleWidget::slotBrailleMode(bool on)
{
    m_writingMode = on;
}

void BrailleWidget::slotSleeping()
{
    speak(instruction(QStringLiteral("durmiendo.ogg")));
}

QString BrailleWidget::dotClip(int dot)
{
    return MediaPaths::letterClip(QString::number(dot));
}

// ---------------------------------------------------------------------------
// The cell on screen

void BrailleWidget::displayReset()
{
    m_cell->setDots(false, false, false, false, false, false);
    showCell();
}

void BrailleWidget::showCell()
{
    for (int i = 0; i < 6; ++i) {
        const bool raised = m_cell->isRaised(i + 1);
        m_cellLabels[i]->setPixmap(m_cellPictures[i][raised]);
        const int key = perkinsKeyOfDot[i];
        m_perkinsLabels[key]->setPixmap(m_perkinsPictures[key][raised]);
    }
}

void BrailleWidget::showDevice()
{
    const bool perkins = m_activity >= 6;
    for (QLabel *label : m_cellLabels)
        label->setVisible(!perkins);
    for (QLabel *label : m_perkinsLabels)
        label->setVisible(perkins);
}

// ---------------------------------------------------------------------------
// Activity selection

BrailleWidget::QuestionStart BrailleWidget::questionStart() const
{
    if (inHiddenPoints())
        return &BrailleWidget::slotPickPoint;
    if (inHiddenLetters())
        return &BrailleWidget::slotPickLetter;
    if (inHiddenNumbers())
        return &BrailleWidget::slotPickNumber;
    return nullptr;
}

void BrailleWidget::setActivity(int group, int sub)
{
    m_menuMode->set(false);
    displayReset();
    m_group = group;
    m_activity = sub;
    // Nothing of the previous activity may speak into this one: not its
    // chains, not its next question, not a first question still waiting
    // for its instruction; and its wrong answers do not count here.
    stopSequences();
    disconnect(m_instructionPlayer, &AudioThread::finished, this, nullptr);
    m_questionDrawn = false;
    m_answered = false;
    m_wrongCount = 0;
    if (group != 1 || sub < 0 || sub >= activityCount)
        return;
    m_instructionClip = instruction(QString::fromLatin1(activities[sub].instruction));
    showDevice();

    const QuestionStart firstQuestion = questionStart();
    if (!m_mofliAudio) {
        // Without the instruction nothing else would ever ask the first
        // question, and the activity could not be used.
        if (firstQuestion)
            (this->*firstQuestion)();
        return;
    }
    // Connected before the start: a short or missing clip may finish at once.
    if (firstQuestion)
        connect(
            m_instructionPlayer, &AudioThread::finished, this, firstQuestion, Qt::UniqueConnection);
    play(m_instructionPlayer, m_instructionClip);
}

void BrailleWidget::resumeAfterMenu(bool keyPressed)
{
    const QuestionStart nextQuestion = questionStart();
    // Exploring, forming letters and reading numbers wait for the child's
    // next key.
    if (!nextQuestion)
        return;
    // The instruction was cut before the first question (without the
    // mascot's voice it was asked at once), or the praise, the correction
    // or the pause before the next one: no key can start that question.
    if (!m_questionDrawn || m_answered)
        (this->*nextQuestion)();
    // Dots raised meanwhile are an answer in the making, not to be
    // talked over.
    else if (!keyPressed)
        announceQuestion();
}

// ---------------------------------------------------------------------------
// Keys

// Escape, the key menu mode and held keys are handled by ActivityWidget.
void BrailleWidget::keyReleased(int key, const QString &)
{
    // Idle while another widget's activity runs.
    if (m_group != 1)
        return;
    for (int i = 0; i < 6; ++i) {
        if (key == cellKeys[i]) {
            dotKey(i + 1, inSub(0, 1));
            slotNumber();
            return;
        }
        if (key == perkinsKeys[i]) {
            dotKey(i + 1, inSub(6, 7));
            slotLetter();
            return;
        }
    }
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        slotEnter();
    } else if (key != Qt::Key_Home) {
        displayReset();
        if (key != Qt::Key_Escape)
            slotSleeping();
    }
}

// A key of the device's own group in the one-dot activities (exploration,
// hidden points) starts a new cell; any other dot key adds to the cell.
void BrailleWidget::dotKey(int dot, bool clearsFirst)
{
    if (clearsFirst)
        displayReset();
    m_cell->raiseDot(dot);
    m_pressedDot = dot;
    showCell();
    // In hidden points the dot is the answer, not to be given away.
    if (!inHiddenPoints())
        echo(dotClip(dot));
}

void BrailleWidget::slotLetter()
{
    if (inHiddenPoints())
        slotPoint();
}

void BrailleWidget::slotNumber()
{
    if (inHiddenPoints())
        slotPoint();
}

void BrailleWidget::slotPoint()
{
    judge(QString::number(m_pressedDot), QString::number(m_hiddenPoint));
}

void BrailleWidget::slotEnter()
{
    if (m_writingMode)
        m_cell->mirror();
    if (inSub(2, 8)) {
        m_readItem = m_cell->toLetter();
        Q_EMIT sugerencia(activityTitle(m_activity), m_readItem);
        slotSayLetter();
    } else if (inHiddenLetters()) {
        const QString letter = m_cell->toLetter();
        displayReset();
        judge(letter, m_hiddenLetter);
    } else if (inHiddenNumbers()) {
        const QString number = m_cell->toNumber();
        displayReset();
        judge(number, m_hiddenNumber);
    } else {
        m_readItem = m_cell->toNumber();
        slotSayNumber();
    }
}

// ---------------------------------------------------------------------------
// Reading the cell aloud

QString BrailleWidget::readItemFolder() const
{
    if (inSub(2, 8))
        return MediaPaths::letterFolder(language, m_readItem);
    return MediaPaths::numberFolder(language, m_readItem);
}

QString BrailleWidget::pickFoundWord()
{
    return randomWord(readItemFolder());
}

void BrailleWidget::slotSayLetter()
{
    sayReadItem(QStringLiteral("ninguna letra.ogg"));
}

void BrailleWidget::slotSayNumber()
{
    sayReadItem(QStringLiteral("ningun numero.ogg"));
}

void BrailleWidget::sayReadItem(const QString &noneClip)
{
    if (m_readItem == QLatin1String("-1")) {
        displayReset();
        echo(instruction(noneClip));
        return;
    }
    const QString word = pickFoundWord();
    displayReset();
    // A letter or digit without words has no name to say.
    if (!word.isEmpty())
        echo(nameClip(readItemFolder(), word, inSub(2, 8)));
}

void BrailleWidget::echo(const QString &clip)
{
    if (m_echoing && m_speechPlayer->isRunning()) {
        m_echoes << clip;
        return;
    }
    speak(clip);
    m_echoing = true;
}

void BrailleWidget::speak(const QString &clip)
{
    m_echoes.clear();
    m_echoing = false;
    // A running player would not start the new clip.
    m_speechPlayer->cancel();
    play(m_speechPlayer, clip);
}

void BrailleWidget::speechFinished()
{
    m_echoing = false;
    if (m_echoes.isEmpty())
        return;
    play(m_speechPlayer, m_echoes.takeFirst());
    m_echoing = true;
}

// ---------------------------------------------------------------------------
// Judging and feedback

void BrailleWidget::judge(const QString &answer, const QString &hidden)
{
    if (!m_questionDrawn) {
        slotSleeping();
        return;
    }
    // Answered already, or being corrected: one answer per question.
    if (m_answered)
        return;
    // The child answers whenever ready: what is still being said of the
    // question, or of the feedback on an earlier try, gives way.
    stopSequences();
    if (answer == hidden)
        slotCorrect();
    else
        slotWrong();
}

QString BrailleWidget::questionLabel() const
{
    if (inHiddenPoints())
        return QStringLiteral("p%1").arg(m_hiddenPoint);
    if (inHiddenLetters())
        return MediaPaths::letterDisplay(m_hiddenLetter);
    return m_hiddenNumber;
}

void BrailleWidget::recordAnswer(bool correct)
{
    ScoreManager *manager = m_group == 1 ? scoreManager(m_activity) : nullptr;
    // Nothing was asked, or it was asked without a word to say it with.
    if (!manager || !m_questionDrawn || m_wordFolder.isEmpty())
        return;
    if (correct)
        manager->recordCorrect(questionLabel());
    else
        manager->recordWrong(questionLabel());
}

void BrailleWidget::slotCorrect()
{
    m_wrongCount = 0;
    m_answered = true;
    recordAnswer(true);
    const QString clip = praiseClip();
    if (inHiddenPoints())
        play(m_pointPraisePlayer, clip);
    else if (inHiddenLetters())
        play(m_letterPraisePlayer, clip);
    else if (inHiddenNumbers())
        play(m_numberPraisePlayer, clip);
}

void BrailleWidget::slotWrong()
{
    recordAnswer(false);
    if (m_wrongCount < 2) {
        ++m_wrongCount;
        playOneShot(encouragementClip());
        return;
    }
    // The third wrong answer in a row: the right answer is said, and the
    // question is closed until the next one.
    m_wrongCount = 0;
    m_answered = true;
    if (inHiddenPoints())
        play(m_pointCorrectionPlayer,
            instruction(QStringLiteral("te equivocaste en los puntos.ogg")));
    else if (inHiddenNumbers())
        play(m_numberCorrectionPlayer,
            instruction(QStringLiteral("te equivocaste en la letra.ogg")));
    else
        play(m_letterCorrectionPlayer,
            instruction(QStringLiteral("te equivocaste en la letra.ogg")));
}
