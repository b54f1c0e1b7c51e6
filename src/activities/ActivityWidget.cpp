#include "activities/ActivityWidget.h"

#include "activities/KeyMenuMode.h"
#include "content/ActivityTable.h"
#include "content/MediaPaths.h"
#include "users/ScoreFile.h"
#include "users/ScoreManager.h"

#include <QPalette>
#include <cstdlib>
#include <ctime>

ActivityWidget::ActivityWidget(
    QFrame::Shadow shadow, const QString &scoreType, int group, QWidget *parent)
    : ActivityPage(parent)
    , m_ownGroup(group)
    , m_scoreType(scoreType)
{
    setFixedSize(560, 500);
    setFrameStyle(QFrame::Panel | shadow);
    QPalette pal = palette();
    pal.setColor(QPalette::All, QPalette::Window, Qt::white);
    setPalette(pal);
    setAutoFillBackground(true);
    setFocusPolicy(Qt::StrongFocus);
    std::srand(static_cast<unsigned int>(std::time(nullptr)));

    for (const ActivityTable::Activity *activity : ActivityTable::inGroup(group)) {
        if (!activity->isScored())
            continue;
        auto *set = new ScoreManager(QString::fromUtf8(activity->scoreSet), this);
        set->setKind(int(activity->scoreKind));
        m_scoreManagers.append(set);
    }
}

ScoreManager *ActivityWidget::scoreSetOf(int sub) const
{
    const ActivityTable::Activity *activity = ActivityTable::find(m_ownGroup, sub);
    if (!activity || !activity->isScored())
        return nullptr;
    const QString name = QString::fromUtf8(activity->scoreSet);
    for (ScoreManager *set : m_scoreManagers) {
        if (set->name() == name)
            return set;
    }
    return nullptr;
}

bool ActivityWidget::enterActivity(int group, int sub)
{
    m_menuMode->set(false);
    m_group = group;
    m_activity = sub;
    m_turn = Turn::Idle;
    m_lastQuestion.clear();
    // Wrong answers of the previous activity do not count here.
    m_wrongCount = 0;
    stopSequences();
    return group == m_ownGroup && ActivityTable::find(group, sub);
}

void ActivityWidget::seedRandomForTesting(unsigned int seed)
{
    std::srand(seed);
}

void ActivityWidget::setTurnDelayForTesting(int milliseconds)
{
    m_turnDelay = milliseconds;
}

QString ActivityWidget::instruction(const QString &name)
{
    return MediaPaths::instructionClip(name);
}

void ActivityWidget::slotSetCurrentUserName(const QString &name)
{
    m_userName = name;
}

void ActivityWidget::slotSleeping()
{
    const QString clip = instruction(QStringLiteral("durmiendo.ogg"));
    if (!m_voice->isSaying(clip))
        m_voice->interject({ say(clip) });
}

void ActivityWidget::slotLastInstruction()
{
    if (m_group != m_ownGroup || !ActivityTable::find(m_group, m_activity))
        return;
    if (!asksQuestions()) {
        m_voice->interject({ say(m_instructionClip) });
        return;
    }
    switch (m_turn) {
    case Turn::Idle:
    case Turn::Instructing:
        m_turn = Turn::Instructing;
        speak({ say(m_instructionClip), then([this] { askNext(); }) });
        return;
    case Turn::Asking:
        speak(questionAgain());
        return;
    case Turn::Answered:
        askNext();
        return;
    case Turn::Correcting:
        speak(correction());
        return;
    }
}

bool ActivityWidget::isThirdWrong()
{
    if (++m_wrongCount < 3)
        return false;
    m_wrongCount = 0;
    return true;
}

void ActivityWidget::slotSelectedLetters(const QString &letters)
{
    m_selectedLetters = letters;
}

void ActivityWidget::setMofliAudio(int state)
{
    m_mofliAudio = (state == Qt::Checked);
}

// ---------------------------------------------------------------------------
// Random draws, selection, praise

int ActivityWidget::random(int low, int high)
{
    // The formula wants r in 0 … 32767; the platform's rand() may reach
    // further (RAND_MAX), so its value is scaled down to that range first.
    const int r = int(double(std::rand()) / (double(RAND_MAX) + 1.0) * 32768.0);
    return low + int(double(r) / 32768.0 * double(high - low + 1));
}

QString ActivityWidget::randomLetter()
{
    const QStringList &letters = MediaPaths::alphabet();
    return letters.at(random(1, int(letters.size())) - 1);
}

QString ActivityWidget::randomDigit()
{
    return QString(QLatin1Char(char('0' + random(1, 10) - 1)));
}

QStringList ActivityWidget::lettersInSelection() const
{
    QStringList letters;
    for (const QString &letter : MediaPaths::alphabet()) {
        if (inSelection(letter))
            letters << letter;
    }
    return letters.isEmpty() ? MediaPaths::alphabet() : letters;
}

QString ActivityWidget::drawQuestion(QStringList candidates, const std::function<QString()> &draw)
{
    if (candidates.size() > 1)
        candidates.removeAll(m_lastQuestion);
    if (candidates.isEmpty())
        return draw();
    for (;;) {
        const QString item = draw();
        if (candidates.contains(item))
            return item;
    }
}

QString ActivityWidget::randomWord(const QString &folder)
{
    const QStringList words = MediaPaths::listWords(folder);
    // A letter or digit without words has nothing to draw from; the steps
    // then go on without the word's clips.
    if (words.isEmpty())
        return QString();
    return words.at(random(0, int(words.size()) - 1));
}

QString ActivityWidget::praiseClip()
{
    static const char *const clips[]
        = { "excelente.ogg", "muy bien.ogg", "bravo.ogg", "bien.ogg", "perfecto.ogg" };
    return instruction(QString::fromLatin1(clips[random(1, 5) - 1]));
}

QString ActivityWidget::encouragementClip()
{
    return instruction(random(1, 2) == 1 ? QStringLiteral("puedes hacerlo mejor.ogg")
                                         : QStringLiteral("intentalo de nuevo.ogg"));
}

bool ActivityWidget::inSelection(const QString &letter) const
{
    if (m_selectedLetters.isEmpty())
        return true;
    return MediaPaths::alphabet().contains(letter)
        && m_selectedLetters.contains(MediaPaths::letterDisplay(letter), Qt::CaseInsensitive);
}

bool ActivityWidget::selectionHasLetters() const
{
    for (const QString &letter : MediaPaths::alphabet()) {
        if (m_selectedLetters.contains(MediaPaths::letterDisplay(letter), Qt::CaseInsensitive))
            return true;
    }
    return false;
}

// ---------------------------------------------------------------------------
// Scores

void ActivityWidget::slotReadScores()
{
    ScoreFile(m_scoreType, m_store).read(m_userName, m_scoreManagers);
}

void ActivityWidget::slotWriteScores()
{
    ScoreFile(m_scoreType, m_store).write(m_userName, m_scoreManagers);
}

QString ActivityWidget::scoreToExcel() const
{
    QString text;
    for (const ScoreManager *manager : m_scoreManagers)
        text += manager->toText();
    return text;
}

QString ActivityWidget::scoreToHTML() const
{
    QString html;
    for (const ScoreManager *manager : m_scoreManagers)
        html += manager->toHtml();
    return html;
}
