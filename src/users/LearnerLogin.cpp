#include "users/LearnerLogin.h"

#include "audio/Audio.h"
#include "audio/AudioThread.h"
#include "audio/TTS.h"
#include "content/MediaPaths.h"
#include "users/UserDatabase.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

namespace {
const QString noUsers = QStringLiteral("No existe ningun usuario registrado");
const QString nameTaken = QStringLiteral("Ese nombre de usuario ya existe. Por favor ingresa otro");
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
    m_readBack->setSingleShot(true);
    m_readBack->setTimerType(Qt::PreciseTimer);
    connect(m_readBack, &QTimer::timeout, this,
        [this] { m_readBackStep == ReadBack::NameSaid ? confirm() : sayName(); });
}

void LearnerLogin::sayWelcome()
{
    if (m_welcomed)
        return;
    playInstruction(QStringLiteral("Bienvenida no vidente.ogg"));
    m_welcomed = true;
}

void LearnerLogin::sayName()
{
    TTS::say(m_typedName->text(), this);
    m_readBackStep = ReadBack::NameSaid;
    m_readBack->start(confirmDelayMs);
}

void LearnerLogin::confirm()
{
    if (isRegistered(m_typedName->text().trimmed())) {
        rejectName();
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
    if (key->isAutoRepeat())
        return true;
    switch (key->key()) {
    case Qt::Key_F1:
    case Qt::Key_F2:
        stopReadBack();
        m_choosing = key->key() == Qt::Key_F1;
        playInstruction(m_choosing ? QStringLiteral("Presiona las flechas.ogg")
                                   : QStringLiteral("Escribe tu nombre.ogg"));
        m_nameLabel->setVisible(m_choosing);
        m_typedName->setVisible(!m_choosing);
        return true;
    case Qt::Key_Up:
    case Qt::Key_Down:
        stopReadBack();
        if (m_names.isEmpty()) {
            TTS::say(noUsers, this);
            return true;
        }
        // The list may have shrunk since the last showing.
        if (m_index >= m_names.size())
            m_index = 0;
        m_index = (m_index + (key->key() == Qt::Key_Up ? m_names.size() - 1 : 1)) % m_names.size();
        m_nameLabel->setText(m_names.at(m_index));
        TTS::say(m_names.at(m_index), this);
        return true;
    case Qt::Key_Backspace:
        stopReadBack();
        // Nothing is said, and a confirmed name stays confirmed.
        m_typedName->setText(m_typedName->text().left(m_typedName->text().size() - 1));
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        stopReadBack();
        if (m_choosing || m_readBackStep == ReadBack::Confirmed)
            acceptLearner();
        else
            readBack();
        return true;
    default:
        break;
    }
    if (m_choosing || !typesText(key->text()))
        return true;
    stopReadBack();
    if (m_readBackStep == ReadBack::Confirmed)
        m_typedName->clear();
    m_readBackStep = ReadBack::None;
    m_typedName->setText(m_typedName->text() + key->text());
    TTS::say(key->text(), this);
    return true;
}

void LearnerLogin::stopReadBack()
{
    m_readBack->stop();
    if (m_readBackStep != ReadBack::Confirmed)
        m_readBackStep = ReadBack::None;
}

void LearnerLogin::hideEvent(QHideEvent *event)
{
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

void LearnerLogin::rejectName()
{
    TTS::say(nameTaken, this);
    m_readBackStep = ReadBack::None;
    m_typedName->clear();
}

void LearnerLogin::acceptLearner()
{
    // Checked before anything is created: without a language there is
    // nothing to log in to.
    const QStringList languages = languageNames();
    if (languages.isEmpty()) {
        TTS::say(noLanguage, this);
        return;
    }
    const QString name = m_choosing ? m_nameLabel->text() : m_typedName->text().trimmed();
    if (name.isEmpty())
        return;
    if (!m_choosing) {
        // The name was checked when it was read back, but the list may have
        // been read again since (this learner created in an earlier showing).
        if (isRegistered(name)) {
            rejectName();
            return;
        }
        m_database->addUser(name);
        m_names = m_database->userNames();
    }
    logIn(name, languages.first());
}

void LearnerLogin::playInstruction(const QString &clip)
{
    AudioThread::playOnce(MediaPaths::instructionClip(clip), this);
}
