#include "activities/braille/BrailleWidget.h"

#include "activities/KeyMenuMode.h"
#include "activities/braille/Braille.h"
#include "content/ActivityTable.h"
#include "content/MediaPaths.h"
#include "users/ScoreManager.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>

namespace {

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
// The same keypad keys with NumLock off, and their X11 key codes, which are
// the same whatever NumLock says.
const int cellKeysWithoutNumLock[6]
    = { Qt::Key_Home, Qt::Key_Left, Qt::Key_End, Qt::Key_Up, Qt::Key_Clear, Qt::Key_Down };
const quint32 cellScanCodes[6] = { 79, 83, 87, 80, 84, 88 };

// The dot 1 … 6 of a keypad key in the cell's shape, or 0. A child cannot
// see NumLock's light: with it off the keypad sends Home, Left and the
// like, and the cell must still work.
int cellDot(const QKeyEvent *event)
{
    const bool keypad = event->modifiers() & Qt::KeypadModifier;
    const bool x11 = QGuiApplication::platformName() == QLatin1String("xcb");
    for (int i = 0; i < 6; ++i) {
        if (event->key() == cellKeys[i] || (keypad && event->key() == cellKeysWithoutNumLock[i])
            || (x11 && event->nativeScanCode() == cellScanCodes[i]))
            return i + 1;
    }
    return 0;
}
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
    : ActivityWidget(QFrame::Sunken, scoreType(), ActivityTable::Braille, parent)
    , m_cell(new Braille)
{
    loadPictures();
    for (int i = 0; i < 6; ++i)
        m_cellLabels[i] = pictureLabel(
            this, QStringLiteral("cellDot%1").arg(i + 1), cellPositions[i], m_cellPictures[i][0]);
    for (int i = 0; i < 7; ++i) {
        m_perkinsLabels[i] = pictureLabel(this, QStringLiteral("perkinsKey%1").arg(i + 1),
            perkinsPositions[i], m_perkinsPictures[i][0]);
        m_perkinsLabels[i]->hide();
    }
}

void BrailleWidget::loadPictures()
{
    for (int i = 0; i < 6; ++i) {
        for (int raised = 0; raised < 2; ++raised)
            m_cellPictures[i][raised]
                = QPixmap(MediaPaths::uiFile(QStringLiteral("braille/bra%1%2.jpg")
                                                 .arg(i + 1)
                                                 .arg(QLatin1String(raised ? "b" : ""))));
    }
    for (int i = 0; i < 7; ++i) {
        for (int pressed = 0; pressed < 2; ++pressed)
            m_perkinsPictures[i][pressed]
                = QPixmap(MediaPaths::uiFile(QStringLiteral("braille/per%1%2.jpg")
                                                 .arg(i + 1)
                                                 .arg(QLatin1String(pressed ? "b" : ""))));
    }
}

void BrailleWidget::lookChanged()
{
    loadPictures();
    if (highContrast()) {
        // Drawn here rather than taken from the media tree: every dot with a
        // thick edge, the raised ones filled, whatever pictures a tree has.
        for (auto &dot : m_cellPictures) {
            for (int raised = 0; raised < 2; ++raised)
                dot[raised]
                    = highContrastPicture(dot[raised].size(), QSize(110, 110), raised, true);
        }
        for (auto &key : m_perkinsPictures) {
            for (int pressed = 0; pressed < 2; ++pressed)
                key[pressed]
                    = highContrastPicture(key[pressed].size(), QSize(54, 150), pressed, false);
        }
    }
    showCell();
    for (QLabel *label : m_cellLabels)
        label->adjustSize();
    for (QLabel *label : m_perkinsLabels)
        label->adjustSize();
}

QPixmap BrailleWidget::highContrastPicture(QSize size, const QSize &fallback, bool on, bool round)
{
    if (size.isEmpty())
        size = fallback;
    QPixmap picture(size);
    picture.fill(Qt::black);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    const int edge = qMax(6, qMin(size.width(), size.height()) / 10);
    const QRectF shape = QRectF(QPointF(0, 0), QSizeF(size)).adjusted(edge, edge, -edge, -edge);
    painter.setPen(QPen(on ? Qt::yellow : Qt::white, edge));
    painter.setBrush(on ? QBrush(Qt::white) : QBrush(Qt::black));
    if (round) {
        const qreal side = qMin(shape.width(), shape.height());
        painter.drawEllipse(
            QRectF(shape.center() - QPointF(side / 2, side / 2), QSizeF(side, side)));
    } else {
        painter.drawRoundedRect(shape, edge, edge);
    }
    return picture;
}

BrailleWidget::~BrailleWidget()
{
    // A plain value, built without a parent.
    delete m_cell;
}

QString BrailleWidget::scoreType()
{
    return QStringLiteral("Braille");
}

QString BrailleWidget::activityTitle(int sub)
{
    const ActivityTable::Activity *entry = ActivityTable::find(ActivityTable::Braille, sub);
    return entry ? QString::fromUtf8(entry->title) : QString();
}

void BrailleWidget::slotBrailleMode(bool on)
{
    m_writingMode = on;
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
    Q_EMIT cellShown(m_cell->dotMask());
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
    displayReset();
    if (!enterActivity(group, sub))
        return;
    m_instructionClip
        = instruction(QString::fromUtf8(ActivityTable::find(group, sub)->instruction));
    showDevice();

    const QuestionStart firstQuestion = questionStart();
    if (!m_mofliAudio) {
        // Without the instruction nothing else would ever ask the first
        // question, and the activity could not be used.
        if (firstQuestion)
            (this->*firstQuestion)();
        return;
    }
    Steps steps { say(m_instructionClip) };
    if (firstQuestion) {
        m_turn = Turn::Instructing;
        steps << then([this, firstQuestion] { (this->*firstQuestion)(); });
    }
    speak(steps);
}

void BrailleWidget::resumeAfterMenu(bool keyPressed)
{
    const QuestionStart nextQuestion = questionStart();
    // Exploring, forming letters and reading numbers wait for the child's
    // next key.
    if (!nextQuestion)
        return;
    // Dots raised meanwhile are an answer in the making, not to be talked
    // over.
    if (m_turn == Turn::Asking) {
        if (!keyPressed)
            announceQuestion();
        return;
    }
    // The instruction was cut before the first question (without the
    // mascot's voice it was asked at once), or the praise, the correction
    // or the pause before the next one: no key can start that question.
    (this->*nextQuestion)();
}

// ---------------------------------------------------------------------------
// Keys

// Escape, the key menu mode and held keys are handled by ActivityPage.
void BrailleWidget::keyReleased(QKeyEvent *event)
{
    const int key = event->key();
    // Idle while another widget's activity runs.
    if (m_group != 1)
        return;
    if (const int dot = cellDot(event)) {
        dotKey(dot, inSub(0, 1));
        slotNumber();
        return;
    }
    for (int i = 0; i < 6; ++i) {
        if (key == perkinsKeys[i]) {
            slotDisplayDot(i + 1);
            return;
        }
    }
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        slotEnter();
    } else if (key == Qt::Key_Space) {
        slotDisplaySpace();
    } else if (key != Qt::Key_Home) {
        displayReset();
        if (key != Qt::Key_Escape)
            slotSleeping();
    }
}

void BrailleWidget::slotDisplayDot(int dot)
{
    if (m_group != 1 || dot < 1 || dot > 6)
        return;
    dotKey(dot, inSub(6, 7));
    slotLetter();
}

void BrailleWidget::slotDisplaySpace()
{
    if (m_group != 1)
        return;
    // The brailler's space key raises no dot, and each of these activities
    // writes one cell: here it asks again, as in the letters activities.
    // The dots raised so far stay.
    slotLastInstruction();
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
    slotLetter();
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

// ---------------------------------------------------------------------------
// Judging and feedback

void BrailleWidget::judge(const QString &answer, const QString &hidden)
{
    switch (m_turn) {
    case Turn::Idle:
    case Turn::Instructing:
        // Nothing has been asked yet to judge the cell against.
        slotSleeping();
        return;
    case Turn::Answered:
    case Turn::Correcting:
        // One answer per question.
        return;
    case Turn::Asking:
        break;
    }
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
    if (!manager || m_turn == Turn::Idle || m_turn == Turn::Instructing || m_wordFolder.isEmpty())
        return;
    if (correct)
        manager->recordCorrect(questionLabel());
    else
        manager->recordWrong(questionLabel());
}

void BrailleWidget::slotCorrect()
{
    const QuestionStart next = questionStart();
    if (!next)
        return;
    recordAnswer(true);
    m_turn = Turn::Answered;
    speak({ say(praiseClip()), then([this, next] { (this->*next)(); }) });
}

void BrailleWidget::slotWrong()
{
    recordAnswer(false);
    if (!isThirdWrong()) {
        speak({ say(encouragementClip()) });
        return;
    }
    // The right answer is said, and the question is closed until the next
    // one.
    m_turn = Turn::Correcting;
    speak(correction());
}
