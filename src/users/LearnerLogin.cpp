#include "users/LearnerLogin.h"

#include "audio/Audio.h"
#include "audio/AudioThread.h"
#include "audio/TTS.h"
#include "content/KeyboardManager.h"
#include "content/MediaPaths.h"
#include "users/UserDatabase.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

namespace {
int reminderDelayMs = LearnerLogin::reminderMs;

// Without accents: the synthesizer reads the locale's encoding.
const QString noLanguage = QStringLiteral("No hay ningun idioma instalado");

// Whether a released key types something: modifiers, dead keys and keys such
// as Tab or Escape have no printable text and leave the name alone.
bool typesText(const QString &text)
{
    return !text.isEmpty()
        && std::all_of(text.begin(), text.end(), [](QChar c) { return c.isPrint(); });
}

} // namespace

void LearnerLogin::setReminderForTesting(int ms)
{
    reminderDelayMs = ms > 0 ? ms : reminderMs;
}

LearnerLogin::LearnerLogin(UserDatabase *database, QWidget *dialog)
    : LoginFace(database, dialog)
{
    Audio::instance()->init();
    dialog->setWindowTitle(tr("Purimba"));
    // The dialog itself takes the keys: nothing in it may hold the focus.
    dialog->setFocusPolicy(Qt::StrongFocus);
    dialog->installEventFilter(this);

    QFont font(QStringLiteral("Tahoma"), 10);
    font.setBold(true);
    auto *welcome = new QLabel(tr("Bienvenido a Purimba"), this);
    welcome->setFont(font);
    welcome->setAccessibleName(welcome->text());
    m_nameLabel = new QLabel(this);
    m_nameLabel->setFont(font);
    m_nameLabel->setAccessibleName(tr("Nombre elegido"));
    m_typedName = new QLineEdit(this);
    m_typedName->setReadOnly(true);
    m_typedName->setFocusPolicy(Qt::NoFocus);
    m_typedName->setAccessibleName(tr("Nombre nuevo"));
    m_typedName->hide();
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(welcome);
    layout->addWidget(m_nameLabel);
    layout->addWidget(m_typedName);

    // A member rather than single shots, so a new key can stop it. Precise:
    // a coarse timer may fire 5 % early, on top of a clip still sounding.
    m_readBack = new QTimer(this);
    m_readBack->setObjectName(QStringLiteral("readBack"));
    m_readBack->setSingleShot(true);
    m_readBack->setTimerType(Qt::PreciseTimer);
    connect(m_readBack, &QTimer::timeout, this,
        [this] { m_readBackStep == ReadBack::NameSaid ? confirm() : sayName(); });
    // Precise: it must come within the quiet it promises.
    m_reminder = new QTimer(this);
    m_reminder->setSingleShot(true);
    m_reminder->setTimerType(Qt::PreciseTimer);
    // A read-back under way is not waiting for the child; its next step
    // starts the quiet afresh.
    connect(m_reminder, &QTimer::timeout, this, [this] {
        if (!m_readBack->isActive())
            sayInstruction();
    });
}

void LearnerLogin::sayWelcome()
{
    if (m_welcomed)
        return;
    playInstruction(QStringLiteral("Bienvenida no vidente.ogg"));
    m_welcomed = true;
}

void LearnerLogin::sayInstruction()
{
    switch (m_step) {
    case Step::Welcome:
        playInstruction(QStringLiteral("Bienvenida no vidente.ogg"));
        break;
    case Step::Choosing:
        playInstruction(QStringLiteral("Presiona las flechas.ogg"));
        break;
    case Step::Typing:
        playInstruction(m_readBackStep == ReadBack::Confirmed
                ? QStringLiteral("Verifica nombre.ogg")
                : QStringLiteral("Escribe tu nombre.ogg"));
        break;
    }
}

void LearnerLogin::sayName()
{
    say(m_typedName->text());
    m_readBackStep = ReadBack::NameSaid;
    m_readBack->start(confirmDelayMs);
}

void LearnerLogin::confirm()
{
    // The child who registers a name already there is most likely that
    // learner, come back: no reason to send them away.
    const QString registered = registeredName(m_typedName->text().trimmed());
    if (!registered.isEmpty()) {
        m_readBackStep = ReadBack::None;
        logInLearner(registered);
        return;
    }
    playInstruction(QStringLiteral("Verifica nombre.ogg"));
    m_readBackStep = ReadBack::Confirmed;
}

bool LearnerLogin::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress)
        return true;
    if (event->type() != QEvent::KeyRelease)
        return LoginFace::eventFilter(watched, event);
    const auto *key = static_cast<QKeyEvent *>(event);
    // A held key repeats its release; only the first one counts.
    if (key->isAutoRepeat() || KeyboardManager::typesNothingAlone(key->key()))
        return true;
    restartReminder();
    const bool typing = m_step == Step::Typing;
    switch (key->key()) {
    case Qt::Key_F1:
    case Qt::Key_F2:
        stopReadBack();
        m_step = key->key() == Qt::Key_F1 ? Step::Choosing : Step::Typing;
        playInstruction(m_step == Step::Choosing ? QStringLiteral("Presiona las flechas.ogg")
                                                 : QStringLiteral("Escribe tu nombre.ogg"));
        m_nameLabel->setVisible(m_step == Step::Choosing);
        m_typedName->setVisible(m_step == Step::Typing);
        return true;
    case Qt::Key_Up:
    case Qt::Key_Down:
        stopReadBack();
        if (m_names.isEmpty()) {
            // Where to go from here: F2, to write a name.
            playInstruction(QStringLiteral("Ningun usuario.ogg"));
            return true;
        }
        // The list may have shrunk since the last showing.
        if (m_index >= m_names.size())
            m_index = 0;
        m_index = (m_index + (key->key() == Qt::Key_Up ? m_names.size() - 1 : 1)) % m_names.size();
        m_nameLabel->setText(m_names.at(m_index));
        say(m_names.at(m_index));
        // An arrow before F1 chooses as well.
        if (m_step == Step::Welcome)
            m_step = Step::Choosing;
        return true;
    case Qt::Key_Backspace:
        if (!typing)
            break;
        stopReadBack();
        // Nothing is said, and a confirmed name stays confirmed.
        m_typedName->setText(m_typedName->text().left(m_typedName->text().size() - 1));
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (m_step == Step::Welcome)
            break;
        stopReadBack();
        if (!typing || m_readBackStep == ReadBack::Confirmed)
            acceptLearner();
        else
            readBack();
        return true;
    default:
        break;
    }
    // Before F1 or F2, or on F1's list, a key that chooses nothing is
    // answered with what to do instead.
    if (!typing) {
        sayInstruction();
        return true;
    }
    if (!typesText(key->text()))
        return true;
    stopReadBack();
    if (m_readBackStep == ReadBack::Confirmed)
        m_typedName->clear();
    m_readBackStep = ReadBack::None;
    m_typedName->setText(m_typedName->text() + key->text());
    say(key->text());
    return true;
}

void LearnerLogin::stopReadBack()
{
    m_readBack->stop();
    if (m_readBackStep != ReadBack::Confirmed)
        m_readBackStep = ReadBack::None;
}

void LearnerLogin::showEvent(QShowEvent *event)
{
    // While the login waits for the child it is never quiet for long.
    restartReminder();
    LoginFace::showEvent(event);
}

void LearnerLogin::hideEvent(QHideEvent *event)
{
    m_reminder->stop();
    stopReadBack();
    TTS::stop(this);
    AudioThread::cancelAll(this);
    LoginFace::hideEvent(event);
}

void LearnerLogin::readBack()
{
    // Nothing typed yet: there is nothing to read back, only the
    // instruction to type it.
    if (m_typedName->text().trimmed().isEmpty()) {
        playInstruction(QStringLiteral("Escribe tu nombre.ogg"));
        return;
    }
    playInstruction(QStringLiteral("Escribiste.ogg"));
    m_readBackStep = ReadBack::Escribiste;
    m_readBack->start(sayNameDelayMs);
}

void LearnerLogin::acceptLearner()
{
    // Checked before anything is created: without a language there is
    // nothing to log in to.
    if (languageNames().isEmpty()) {
        say(noLanguage);
        return;
    }
    const bool choosing = m_step != Step::Typing;
    const QString name = choosing ? m_nameLabel->text() : m_typedName->text().trimmed();
    if (name.isEmpty()) {
        // F1 and then Enter, before any arrow.
        sayInstruction();
        return;
    }
    // The name was checked when it was read back, but the list may have
    // been read again since (this learner created in an earlier showing).
    QString registered = choosing ? name : registeredName(name);
    if (registered.isEmpty()) {
        m_database->addUser(name);
        m_names = m_database->userNames();
        registered = name;
    }
    logInLearner(registered);
}

void LearnerLogin::logInLearner(const QString &name)
{
    const QStringList languages = languageNames();
    if (languages.isEmpty()) {
        say(noLanguage);
        return;
    }
    logIn(name, languages.first());
}

void LearnerLogin::playInstruction(const QString &clip)
{
    restartReminder();
    AudioThread::playOnce(MediaPaths::instructionClip(clip), this);
}

void LearnerLogin::say(const QString &text)
{
    restartReminder();
    TTS::say(text, this);
}

void LearnerLogin::restartReminder()
{
    // Only while the child can hear it: a hidden login waits for nobody.
    if (isVisible())
        m_reminder->start(reminderDelayMs);
}
