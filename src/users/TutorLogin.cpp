#include "users/TutorLogin.h"

#include "app/Dialogs.h"
#include "users/UserDatabase.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

namespace {
const QString noLanguage = QStringLiteral(
    "No hay ningún idioma instalado. Agregue uno con el administrador (purimba -adm).");
} // namespace

TutorLogin::TutorLogin(UserDatabase *database, QWidget *dialog)
    : LoginFace(database, dialog)
{
    dialog->setWindowTitle(tr("Purimba - Usuarios"));
    dialog->setFocusPolicy(Qt::WheelFocus);

    // A screen reader names each control after its group, without the
    // blanks that pad the titles.
    auto *selected = new QGroupBox(tr("Usuario seleccionado   "), this);
    m_nameEdit = new QLineEdit(selected);
    m_nameEdit->setAccessibleName(selected->title().trimmed());
    m_buttons = { new QPushButton(tr("Agregar"), selected),
        new QPushButton(tr("Ingresar"), selected), new QPushButton(tr("Eliminar"), selected) };
    auto *buttons = new QHBoxLayout;
    for (QPushButton *button : m_buttons) {
        button->setAccessibleName(button->text());
        button->setEnabled(false);
        buttons->addWidget(button);
    }
    auto *selectedLayout = new QVBoxLayout(selected);
    selectedLayout->addWidget(m_nameEdit);
    selectedLayout->addLayout(buttons);

    // A list in a group of its own, named after the group.
    const auto listIn = [](QGroupBox *group) {
        auto *combo = new QComboBox(group);
        combo->setAccessibleName(group->title().trimmed());
        auto *layout = new QVBoxLayout(group);
        layout->addWidget(combo);
        layout->addStretch();
        return combo;
    };
    auto *registered = new QGroupBox(tr("Usuarios registrados    "), this);
    m_userCombo = listIn(registered);
    auto *language = new QGroupBox(tr("Idioma                "), this);
    m_languageCombo = listIn(language);

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

    fillLists();

    // A closed combo changed with the arrow keys reports activated, not
    // highlighted: the keyboard and the screen reader choose that way.
    for (auto textSignal : { &QComboBox::textHighlighted, &QComboBox::textActivated })
        connect(m_userCombo, textSignal, m_nameEdit, &QLineEdit::setText);
    for (auto indexSignal : { &QComboBox::highlighted, &QComboBox::activated }) {
        connect(m_userCombo, indexSignal, this, [this] {
            enableButton(Login, true);
            enableButton(Delete, true);
            enableButton(Add, false);
        });
    }
    connect(m_nameEdit, &QLineEdit::textEdited, this, [this] {
        enableButton(Add, true);
        enableButton(Login, false);
        enableButton(Delete, false);
    });
    connect(m_buttons[Add], &QPushButton::clicked, this, &TutorLogin::add);
    connect(m_buttons[Delete], &QPushButton::clicked, this, &TutorLogin::remove);
    connect(m_buttons[Login], &QPushButton::clicked, this, &TutorLogin::logInSelected);
}

void TutorLogin::logInSelected()
{
    const QString name = m_nameEdit->text();
    if (name.trimmed().isEmpty())
        return;
    if (m_languageCombo->currentText().isEmpty()) {
        Dialogs::information(window(), window()->windowTitle(), noLanguage);
        return;
    }
    logIn(name, m_languageCombo->currentText());
}

void TutorLogin::add()
{
    const QString name = m_nameEdit->text().trimmed();
    enableButton(Add, false);
    // A second learner of the same name would share the first one's scores.
    if (!name.isEmpty() && isRegistered(name)) {
        m_statusBar->showMessage(tr("El usuario %1 ya existe").arg(name));
        return;
    }
    if (!name.isEmpty())
        m_database->addUser(name);
    fillUsers();
    m_nameEdit->clear();
    m_statusBar->showMessage(tr("El usuario %1 ha sido agregado al sistema").arg(name));
}

void TutorLogin::remove()
{
    const QString name = m_userCombo->currentText();
    if (!name.isEmpty())
        m_database->removeUser(name);
    fillUsers();
    m_nameEdit->clear();
    enableButton(Delete, false);
    // The name it would log in is gone with the line edit's text.
    enableButton(Login, false);
    m_statusBar->showMessage(tr("El usuario %1 ha sido eliminado del sistema").arg(name));
}

void TutorLogin::enableButton(Button button, bool enabled)
{
    m_buttons.at(button)->setEnabled(enabled);
}

void TutorLogin::showEvent(QShowEvent *event)
{
    LoginFace::showEvent(event);
    fillLists();
}

void TutorLogin::fillUsers()
{
    m_names = m_database->userNames();
    m_userCombo->clear();
    m_userCombo->addItems(m_names);
}

void TutorLogin::fillLists()
{
    fillUsers();
    const QString language = m_languageCombo->currentText();
    m_languageCombo->clear();
    m_languageCombo->addItems(languageNames());
    const int kept = m_languageCombo->findText(language);
    if (kept >= 0)
        m_languageCombo->setCurrentIndex(kept);
}
