#include "activities/language/EscrituraWidget.h"

#include "activities/SpokenSequence.h"
#include "audio/TTS.h"
#include "content/MediaPaths.h"

#include <QFileInfo>
#include <QFont>
#include <QKeyEvent>
#include <QTextEdit>
#include <QVBoxLayout>

namespace {

const char *const modeClips[]
    = { "Modo letra.ogg", "Modo palabra.ogg", "Modo frase.ogg", "Modo texto.ogg" };

// Keys that only change what the next key types: releasing Shift after a
// capital letter must not cut the letter's clip off with the sleep clip.
bool isModifierOrDeadKey(int key)
{
    switch (key) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Meta:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock:
        return true;
    default:
        return key >= Qt::Key_Dead_Grave && key <= Qt::Key_Dead_Longsolidusoverlay;
    }
}

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
    switch (key) {
    case Qt::Key_Escape:
    case Qt::Key_Home:
        return;
    case Qt::Key_F1:
    case Qt::Key_F2:
    case Qt::Key_F3:
    case Qt::Key_F4: {
        const int mode = key - Qt::Key_F1;
        setMode(mode);
        Q_EMIT modeChanged(mode);
        sayNow(MediaPaths::menuClip(QLatin1String(modeClips[mode])));
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
        m_document.chop(1);
        m_pending.chop(1);
        showDocument();
        return;
    default:
        if (!isModifierOrDeadKey(key))
            typeText(event->text());
        return;
    }
}

void EscrituraWidget::typeBoundary(QChar typed, int speakingMode, const QString &pendingOtherwise)
{
    m_document += typed;
    showDocument();
    if (m_mode != speakingMode) {
        m_pending += pendingOtherwise;
        return;
    }
    // Text mode reads the whole text; the others what is pending, which
    // holds neither the space nor the period that ends it.
    synthesize(m_mode == TextMode ? m_textBox->toPlainText() : m_pending);
    m_pending.clear();
}

void EscrituraWidget::typeText(const QString &text)
{
    const QString typed = isPrintable(text) ? text : QString();
    m_document += typed;
    showDocument();
    if (m_mode == LetterMode)
        play(typed);
    else
        m_pending += typed;
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
