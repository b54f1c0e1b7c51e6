#include "activities/language/EscrituraWidget.h"

#include "activities/KeyMenuMode.h"
#include "activities/SpokenSequence.h"
#include "audio/TTS.h"
#include "content/ActivityTable.h"
#include "content/KeyboardManager.h"
#include "content/MediaPaths.h"

#include <QFileInfo>
#include <QFont>
#include <QKeyEvent>
#include <QTextEdit>
#include <QVBoxLayout>
#include <utility>

namespace {

const char *const modeClips[]
    = { "Modo letra.ogg", "Modo palabra.ogg", "Modo frase.ogg", "Modo texto.ogg" };

// The combining mark an accent key puts on the next letter; null for any
// other key.
QChar combiningMark(int key)
{
    switch (key) {
    case Qt::Key_Dead_Acute:
        return QChar(0x0301);
    case Qt::Key_Dead_Diaeresis:
        return QChar(0x0308);
    case Qt::Key_Dead_Tilde:
        return QChar(0x0303);
    case Qt::Key_Dead_Grave:
        return QChar(0x0300);
    case Qt::Key_Dead_Circumflex:
        return QChar(0x0302);
    default:
        return QChar();
    }
}

// A blank, a period and a new line are said by name: the clip under the
// letter clips, or the synthesizer where there is none.
struct Named
{
    QChar character;
    const char *clip;
    const char *spoken;
};
const Named namedCharacters[] = {
    { QLatin1Char(' '), "espacio", "espacio" },
    { QLatin1Char('.'), "punto", "punto" },
    { QLatin1Char('\n'), "nueva linea", "nueva línea" },
};

// Tab, Delete and Control combinations carry control characters, which the
// text box would not show and the synthesizer should not be given.
bool isPrintable(const QString &text)
{
    for (const QChar c : text) {
        if (!c.isPrint())
            return false;
    }
    return true;
}

// Letter clips are named by the capital letter. "ñ" is "Ntilde", and an
// accented vowel is heard as its letter.
QString clipName(const QString &character)
{
    const QString upper = character.toUpper();
    const QString folderName = MediaPaths::letterFolderName(upper);
    if (folderName != upper)
        return folderName;
    const QString decomposed = upper.normalized(QString::NormalizationForm_D);
    if (decomposed.size() > 1 && decomposed.at(0) >= QLatin1Char('A')
        && decomposed.at(0) <= QLatin1Char('Z')) {
        for (int i = 1; i < decomposed.size(); ++i) {
            if (decomposed.at(i).category() != QChar::Mark_NonSpacing)
                return upper;
        }
        return decomposed.left(1);
    }
    return upper;
}

} // namespace

EscrituraWidget::EscrituraWidget(QWidget *parent)
    : ActivityPage(parent)
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setFocusPolicy(Qt::StrongFocus);

    m_textBox = new QTextEdit(this);
    m_textBox->setObjectName(QStringLiteral("textBox"));
    // Every key must reach the widget; read-only also keeps a mouse paste
    // from changing what the box shows behind the document's back.
    m_textBox->setFocusPolicy(Qt::NoFocus);
    m_textBox->setReadOnly(true);
    QFont font(QStringLiteral("Arial"), 30, QFont::Bold);
    font.setItalic(false);
    m_textBox->setFont(font);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_textBox);
}

EscrituraWidget::~EscrituraWidget()
{
    TTS::dropWaiting(this);
}

void EscrituraWidget::synthesize(const QString &text)
{
    TTS::say(text, this);
}

void EscrituraWidget::play(const QString &character)
{
    const QString name = clipName(character);
    QString file = MediaPaths::letterClip(name);
    if (name.isEmpty() || name.contains(QLatin1Char('/')) || !QFileInfo(file).isFile())
        file = MediaPaths::letterClip(QStringLiteral("sleep"));
    sayNow(file);
}

void EscrituraWidget::echo(const QString &character)
{
    for (const Named &named : namedCharacters) {
        if (character != named.character)
            continue;
        const QString clip = MediaPaths::letterClip(QLatin1String(named.clip));
        if (QFileInfo(clip).isFile()) {
            sayNow(clip);
        } else {
            // What the voice was saying gives way, as it would to a clip.
            m_voice->stop();
            synthesize(QString::fromUtf8(named.spoken));
        }
        return;
    }
    play(character);
}

void EscrituraWidget::setActivity(int group, int sub)
{
    if (group != ActivityTable::Writing)
        return;
    m_menuMode->set(false);
    stopSequences();
    m_accent = QChar();
    QList<SpokenSequence::Step> steps;
    const ActivityTable::Activity *record = ActivityTable::atAddress(group, sub);
    if (record && *record->instruction)
        steps << SpokenSequence::say(
            MediaPaths::instructionClip(QString::fromUtf8(record->instruction)));
    // Which mode it is in: the side panel shows it, the child must hear it.
    steps << SpokenSequence::say(MediaPaths::menuClip(QLatin1String(modeClips[m_mode])));
    m_voice->play(steps);
}

void EscrituraWidget::sayNow(const QString &file)
{
    m_voice->play({ SpokenSequence::say(file) });
}

void EscrituraWidget::setMode(int mode)
{
    if (mode < LetterMode || mode > TextMode)
        return;
    m_mode = mode;
    m_document.clear();
    m_pending.clear();
    m_accent = QChar();
    showDocument();
}

void EscrituraWidget::showDocument()
{
    // Plain text: a "<" the child types is shown, not taken for markup.
    m_textBox->setPlainText(m_document);
}

void EscrituraWidget::keyReleased(QKeyEvent *event)
{
    const int key = event->key();
    if (const QChar mark = combiningMark(key); !mark.isNull()) {
        m_accent = mark;
        return;
    }
    // Shift, or AltGr, may be let go between the accent and its letter.
    if (KeyboardManager::typesNothingAlone(key))
        return;
    const QChar accent = std::exchange(m_accent, QChar());
    switch (key) {
    case Qt::Key_Escape:
    case Qt::Key_Home:
        return;
    case Qt::Key_F1:
    case Qt::Key_F2:
    case Qt::Key_F3:
    case Qt::Key_F4: {
        // The child's text stays: only what is read back changes.
        m_mode = key - Qt::Key_F1;
        Q_EMIT modeChanged(m_mode);
        sayNow(MediaPaths::menuClip(QLatin1String(modeClips[m_mode])));
        return;
    }
    case Qt::Key_Space:
        typeBoundary(QLatin1Char(' '), WordMode, QStringLiteral(" "));
        return;
    case Qt::Key_Period:
        typeBoundary(QLatin1Char('.'), SentenceMode, QStringLiteral(". "));
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        typeBoundary(QLatin1Char('\n'), TextMode, QStringLiteral(". "));
        return;
    case Qt::Key_Backspace:
        erase();
        return;
    default:
        typeText(accent.isNull() ? event->text() : composed(event->text(), accent));
        return;
    }
}

QString EscrituraWidget::composed(const QString &text, QChar accent)
{
    const QString letter = (text + accent).normalized(QString::NormalizationForm_C);
    // An accent that does not go on this key is dropped: the key types
    // what it always types.
    return letter.size() == 1 ? letter : text;
}

void EscrituraWidget::erase()
{
    if (m_document.isEmpty()) {
        // Nothing left to remove: the key means nothing here.
        play(QString());
        return;
    }
    const QString removed = m_document.right(1);
    m_document.chop(1);
    m_pending.chop(1);
    showDocument();
    echo(removed);
}

void EscrituraWidget::typeBoundary(QChar typed, int speakingMode, const QString &pendingOtherwise)
{
    m_document += typed;
    showDocument();
    // Text mode reads the whole text; the others what is pending, which
    // holds neither the space nor the period that ends it.
    const QString unit = m_mode == TextMode ? m_textBox->toPlainText() : m_pending;
    if (m_mode != speakingMode || unit.trimmed().isEmpty()) {
        // A blank with no word before it is said like any other key.
        if (m_mode != speakingMode)
            m_pending += pendingOtherwise;
        echo(QString(typed));
        return;
    }
    synthesize(unit);
    m_pending.clear();
}

void EscrituraWidget::typeText(const QString &text)
{
    const QString typed = isPrintable(text) ? text : QString();
    m_document += typed;
    showDocument();
    if (m_mode != LetterMode)
        m_pending += typed;
    play(typed);
}

void EscrituraWidget::hideEvent(QHideEvent *event)
{
    // Leaving the activity: what it has not begun to say is not said inside
    // the next one. A minimised window is not leaving.
    if (!event->spontaneous()) {
        m_voice->stop();
        TTS::dropWaiting(this);
    }
    ActivityPage::hideEvent(event);
}
