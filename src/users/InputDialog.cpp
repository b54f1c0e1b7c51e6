#include "users/InputDialog.h"

#include "app/Dialogs.h"
#include "audio/Audio.h"
#include "audio/AudioThread.h"
#include "audio/TTS.h"
#include "content/MediaPaths.h"
#include "users/UserDatabase.h"

#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

namespace {
const QString noUsers = QStringLiteral("No existe ningun usuario registrado");
const QString nameTaken = QStringLiteral("Ese nombre de usuario ya existe. Por favor ingresa otro");
// Spoken, so without accents: the synthesizer reads the locale's encoding.
const QString noLanguageSpoken = QStringLiteral("No hay ningun idioma instalado");
const QString noLanguageShown = QStringLiteral(
    "No hay ningún idioma instalado. Agregue uno con el administrador (purimba -adm).");

// Whether a released key types something: modifiers, dead keys and keys such
// as Tab or Escape have no printable text and leave the name alone.
bool typesText(const QString &text)
{
    if (text.isEmpty())
        return false;
    for (const QChar c : text) {
        if (!c.isPrint())
            return false;
    }
    return true;
}
} // namespace

InputDialog::InputDialog(UserDatabase *database, bool tutor, QWidget *parent)
    : QDialog(parent)
    , m_database(database)
    , m_tutor(tutor)
{
    m_names = m_database->userNames();
    if (m_tutor)
        buildTutorFace();
    else
        buildLearnerFace();
}

InputDialog::~InputDialog() = default;

void InputDialog::buildLearnerFace()
{
    Audio::instance()->init();
    setWindowTitle(tr("Purimba"));
    // The dialog itself takes the keys: nothing in it may hold the focus.
    setFocusPolicy(Qt::StrongFocus);

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

    // Members rather than single shots, so a new key can stop them. Precise:
    // a coarse timer may fire 5 % early, on top of a clip still sounding.
    m_sayNameTimer = new QTimer(this);
    m_confirmTimer = new QTimer(this);
    for (QTimer *timer : { m_sayNameTimer, m_confirmTimer }) {
        timer->setSingleShot(true);
        timer->setTimerType(Qt::PreciseTimer);
    }
    m_sayNameTimer->setInterval(sayNameDelayMs);
    m_confirmTimer->setInterval(confirmDelayMs);
    connect(m_sayNameTimer, &QTimer::timeout, this, &InputDialog::slotSayName);
    connect(m_confirmTimer, &QTimer::timeout, this, &InputDialog::slotConfirm);
}

void InputDialog::buildTutorFace()
{
    setWindowTitle(tr("Purimba - Usuarios"));
    setFocusPolicy(Qt::WheelFocus);

    // A screen reader names each control after its group, without the
    // blanks that pad the titles.
    auto *selected = new QGroupBox(tr("Usuario seleccionado   "), this);
    m_nameEdit = new QLineEdit(selected);
    m_nameEdit->setAccessibleName(selected->title().trimmed());
    m_addButton = new QPushButton(tr("Agregar"), selected);
    m_loginButton = new QPushButton(tr("Ingresar"), selected);
    m_deleteButton = new QPushButton(tr("Eliminar"), selected);
    auto *buttons = new QHBoxLayout;
    for (QPushButton *button : { m_addButton, m_loginButton, m_deleteButton }) {
        button->setAccessibleName(button->text());
        button->setEnabled(false);
        buttons->addWidget(button);
    }
    auto *selectedLayout = new QVBoxLayout(selected);
    selectedLayout->addWidget(m_nameEdit);
    selectedLayout->addLayout(buttons);

    auto *registered = new QGroupBox(tr("Usuarios registrados    "), this);
    m_userCombo = new QComboBox(registered);
    m_userCombo->setAccessibleName(registered->title().trimmed());
    auto *registeredLayout = new QVBoxLayout(registered);
    registeredLayout->addWidget(m_userCombo);
    registeredLayout->addStretch();

    auto *language = new QGroupBox(tr("Idioma                "), this);
    m_languageCombo = new QComboBox(language);
    m_languageCombo->setAccessibleName(language->title().trimmed());
    auto *languageLayout = new QVBoxLayout(language);
    languageLayout->addWidget(m_languageCombo);
    languageLayout->addStretch();

    m_statusBar = new QStatusBar(this);
    m_statusBar->setSizeGripEnabled(false);
    m_statusBar->showMessage(tr("Por favor seleccione un usuario"));

    auto *row = new QHBoxLayout;
    row->addWidget(selected);
    row->addWidget(registered);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(language);
    layout->addWidget(m_statusBar);

    fillUserCombo();
    m_languageCombo->addItems(languageNames());

    // A closed combo changed with the arrow keys reports activated, not
    // highlighted: the keyboard and the screen reader choose that way.
    for (auto textSignal : { &QComboBox::textHighlighted, &QComboBox::textActivated })
        connect(m_userCombo, textSignal, m_nameEdit, &QLineEdit::setText);
    for (auto indexSignal : { &QComboBox::highlighted, &QComboBox::activated }) {
        connect(m_userCombo, indexSignal, this, &InputDialog::slotEnableLogin);
        connect(m_userCombo, indexSignal, this, &InputDialog::slotEnableDelete);
        connect(m_userCombo, indexSignal, this, &InputDialog::slotDisableAdd);
    }
    connect(m_nameEdit, &QLineEdit::textEdited, this, &InputDialog::slotEnableAdd);
    connect(m_nameEdit, &QLineEdit::textEdited, this, &InputDialog::slotDisableLogin);
    connect(m_nameEdit, &QLineEdit::textEdited, this, &InputDialog::slotDisableDelete);
    connect(m_addButton, &QPushButton::clicked, this, &InputDialog::slotAdd);
    connect(m_deleteButton, &QPushButton::clicked, this, &InputDialog::slotDelete);
    connect(m_loginButton, &QPushButton::clicked, this, &InputDialog::slotLogin);
}

void InputDialog::slotDisableAdd()
{
    if (m_addButton)
        m_addButton->setEnabled(false);
}

void InputDialog::slotEnableAdd()
{
    if (m_addButton)
        m_addButton->setEnabled(true);
}

void InputDialog::slotDisableDelete()
{
    if (m_deleteButton)
        m_deleteButton->setEnabled(false);
}

void InputDialog::slotEnableDelete()
{
    if (m_deleteButton)
        m_deleteButton->setEnabled(true);
}

void InputDialog::slotDisableLogin()
{
    if (m_loginButton)
        m_loginButton->setEnabled(false);
}

void InputDialog::slotEnableLogin()
{
    if (m_loginButton)
        m_loginButton->setEnabled(true);
}

void InputDialog::slotSayWelcome()
{
    if (m_tutor || m_welcomed)
        return;
    playInstruction(QStringLiteral("Bienvenida no vidente.ogg"));
    m_welcomed = true;
}

void InputDialog::slotSayName()
{
    if (m_tutor)
        return;
    TTS::say(m_typedName->text(), this);
    m_confirmTimer->start();
}

void InputDialog::slotConfirm()
{
    if (m_tutor)
        return;
    if (isRegistered(m_typedName->text().trimmed())) {
        rejectName();
        return;
    }
    playInstruction(QStringLiteral("Verifica nombre.ogg"));
    m_confirmed = true;
}

void InputDialog::slotLogin()
{
    if (!m_tutor)
        return;
    const QString name = m_nameEdit->text();
    if (name.trimmed().isEmpty())
        return;
    if (m_languageCombo->currentText().isEmpty()) {
        Dialogs::information(this, windowTitle(), noLanguageShown);
        return;
    }
    logIn(name, m_languageCombo->currentText());
}

void InputDialog::slotAdd()
{
    if (!m_tutor)
        return;
    const QString name = m_nameEdit->text().trimmed();
    // A second learner of the same name would share the first one's scores.
    if (!name.isEmpty() && isRegistered(name)) {
        slotDisableAdd();
        m_statusBar->showMessage(tr("El usuario %1 ya existe").arg(name));
        return;
    }
    if (!name.isEmpty())
        m_database->addUser(name);
    m_names = m_database->userNames();
    fillUserCombo();
    m_nameEdit->clear();
    slotDisableAdd();
    m_statusBar->showMessage(tr("El usuario %1 ha sido agregado al sistema").arg(name));
}

void InputDialog::slotDelete()
{
    if (!m_tutor)
        return;
    const QString name = m_userCombo->currentText();
    if (!name.isEmpty())
        m_database->removeUser(name);
    m_names = m_database->userNames();
    fillUserCombo();
    m_nameEdit->clear();
    slotDisableDelete();
    // The name it would log in is gone with the line edit's text.
    slotDisableLogin();
    m_statusBar->showMessage(tr("El usuario %1 ha sido eliminado del sistema").arg(name));
}

void InputDialog::showEvent(QShowEvent *event)
{
    refreshLists();
    QDialog::showEvent(event);
}

void InputDialog::refreshLists()
{
    // Another instance (a progress update, the report) may have written the
    // file since this one last read it.
    m_database->load();
    m_names = m_database->userNames();
    if (m_index >= m_names.size())
        m_index = 0;
    if (!m_tutor)
        return;
    fillUserCombo();
    const QString language = m_languageCombo->currentText();
    m_languageCombo->clear();
    m_languageCombo->addItems(languageNames());
    const int kept = m_languageCombo->findText(language);
    if (kept >= 0)
        m_languageCombo->setCurrentIndex(kept);
}

void InputDialog::fillUserCombo()
{
    m_userCombo->clear();
    m_userCombo->addItems(m_names);
}

QStringList InputDialog::languageNames()
{
    return QDir(MediaPaths::languagesFolderRelative())
        .entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
}

bool InputDialog::isRegistered(const QString &name) const
{
    return m_names.contains(name, Qt::CaseInsensitive);
}

void InputDialog::keyPressEvent(QKeyEvent *event)
{
    if (m_tutor)
        QDialog::keyPressEvent(event);
    else
        event->accept();
}

void InputDialog::keyReleaseEvent(QKeyEvent *event)
{
    // A held key repeats its release; only the first one counts.
    if (m_tutor || event->isAutoRepeat())
        return;
    switch (event->key()) {
    case Qt::Key_F1:
        stopReadBack();
        m_choosing = true;
        playInstruction(QStringLiteral("Presiona las flechas.ogg"));
        m_nameLabel->show();
        m_typedName->hide();
        return;
    case Qt::Key_F2:
        stopReadBack();
        m_choosing = false;
        playInstruction(QStringLiteral("Escribe tu nombre.ogg"));
        m_nameLabel->hide();
        m_typedName->show();
        return;
    case Qt::Key_Up:
    case Qt::Key_Down:
        stopReadBack();
        if (m_names.isEmpty()) {
            TTS::say(noUsers, this);
            return;
        }
        m_index += event->key() == Qt::Key_Up ? -1 : 1;
        if (m_index < 0)
            m_index = m_names.size() - 1;
        else if (m_index >= m_names.size())
            m_index = 0;
        m_nameLabel->setText(m_names.at(m_index));
        TTS::say(m_names.at(m_index), this);
        return;
    case Qt::Key_Backspace:
        stopReadBack();
        // Nothing is said, and a confirmed name stays confirmed.
        {
            QString text = m_typedName->text();
            text.chop(1);
            m_typedName->setText(text);
        }
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        stopReadBack();
        if (m_choosing || m_confirmed)
            acceptLearner();
        else
            readBack();
        return;
    default:
        break;
    }
    if (m_choosing || !typesText(event->text()))
        return;
    stopReadBack();
    if (m_confirmed)
        m_typedName->clear();
    m_confirmed = false;
    m_typedName->setText(m_typedName->text() + event->text());
    TTS::say(event->text(), this);
}

void InputDialog::readBack()
{
    // Nothing typed yet: there is nothing to read back, only the
    // instruction to type it.
    if (m_typedName->text().trimmed().isEmpty()) {
        playInstruction(QStringLiteral("Escribe tu nombre.ogg"));
        return;
    }
    playInstruction(QStringLiteral("Escribiste.ogg"));
    m_sayNameTimer->start();
}

void InputDialog::stopReadBack()
{
    m_sayNameTimer->stop();
    m_confirmTimer->stop();
}

void InputDialog::rejectName()
{
    TTS::say(nameTaken, this);
    m_confirmed = false;
    m_typedName->clear();
}

void InputDialog::acceptLearner()
{
    // Checked before anything is created: without a language there is
    // nothing to log in to.
    const QStringList languages = languageNames();
    if (languages.isEmpty()) {
        TTS::say(noLanguageSpoken, this);
        return;
    }
    if (m_choosing) {
        const QString name = m_nameLabel->text();
        if (!name.isEmpty())
            logIn(name, languages.first());
        return;
    }
    const QString name = m_typedName->text().trimmed();
    if (name.isEmpty())
        return;
    // The name was checked when it was read back, but the list may have been
    // read again since (this learner created in an earlier showing, say).
    if (isRegistered(name)) {
        rejectName();
        return;
    }
    m_database->addUser(name);
    m_names = m_database->userNames();
    logIn(name, languages.first());
}

void InputDialog::logIn(const QString &name, const QString &language)
{
    const User user = m_database->findUser(name);
    // Only a registered learner: an empty record has no scores to keep.
    if (user.name.isEmpty())
        return;
    Q_EMIT chooseUser(user);
    Q_EMIT chooseLanguage(language);
    accept();
}

void InputDialog::playInstruction(const QString &clip)
{
    AudioThread::playOnce(MediaPaths::instructionClip(clip), this);
}
