#include "admin/AdmWindow.h"

#include "admin/MediaFolders.h"
#include "app/Dialogs.h"
#include "content/ActivityCatalogue.h"
#include "content/MediaPaths.h"

#include <QComboBox>
#include <QDir>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTreeView>
#include <QVBoxLayout>

namespace {

const QString letras = QStringLiteral("Letras");
const QString numeros = QStringLiteral("Numeros");
const QString textos = QStringLiteral("Textos");

QLabel *rowLabel(const QString &text, QWidget *buddy, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setBuddy(buddy);
    buddy->setAccessibleName(text);
    return label;
}

} // namespace

AdmWindow::AdmWindow(QWidget *parent)
    : QMainWindow(parent)
{
    setWindowTitle(QStringLiteral("Purimba") + QLatin1Char(' ') + QStringLiteral("2.0")
        + QStringLiteral(" - ") + tr("Administrador de Medios"));
    resize(480, 320);

    m_model = new QFileSystemModel(this);
    m_model->setFilter(QDir::Dirs | QDir::NoDotAndDotDot);
    m_model->setRootPath(MediaPaths::languagesFolder());

    m_tabs = new QTabWidget(this);
    m_tabs->addTab(makeLanguagesTab(), tr("Idiomas"));
    m_letters = makeMediaTab(letras,
        { tr("Sugerencias"), tr("Agregar palabra"), tr("Editar palabra"), tr("Eliminar palabra") });
    m_numbers
        = makeMediaTab(numeros, { tr("Sugerencias"), tr("Agregar"), tr("Editar"), tr("Eliminar") });
    m_texts
        = makeMediaTab(textos, { tr("Sugerencias"), tr("Agregar"), tr("Editar"), tr("Eliminar") });
    m_tabs->addTab(m_letters.page, tr("Letras"));
    m_tabs->addTab(m_numbers.page, tr("Numeros"));
    m_tabs->addTab(m_texts.page, tr("Textos"));
    setCentralWidget(m_tabs);
    setMediaTabsEnabled(false);
    statusBar()->showMessage(tr("Idioma no ha sido seleccionado."));

    connect(m_letters.suggestions, &QPushButton::clicked, this, &AdmWindow::slotLetterSugerencias);
    connect(m_letters.add, &QPushButton::clicked, this, &AdmWindow::slotInsertLetter);
    connect(m_letters.edit, &QPushButton::clicked, this, &AdmWindow::slotEditLetter);
    connect(m_letters.remove, &QPushButton::clicked, this, &AdmWindow::slotDeleteLetter);
    connect(m_numbers.suggestions, &QPushButton::clicked, this, &AdmWindow::slotNumberSugerencias);
    connect(m_numbers.add, &QPushButton::clicked, this, &AdmWindow::slotInsertNumber);
    connect(m_numbers.edit, &QPushButton::clicked, this, &AdmWindow::slotEditNumber);
    connect(m_numbers.remove, &QPushButton::clicked, this, &AdmWindow::slotDeleteNumber);
    connect(m_texts.suggestions, &QPushButton::clicked, this, &AdmWindow::slotTextSugerencias);
    connect(m_texts.add, &QPushButton::clicked, this, &AdmWindow::slotInsertText);
    connect(m_texts.edit, &QPushButton::clicked, this, &AdmWindow::slotEditText);
    connect(m_texts.remove, &QPushButton::clicked, this, &AdmWindow::slotDeleteText);
    // The keyboard moves the current item without a click; both count, so the
    // window works without a mouse.
    connect(m_letters.tree, &QTreeView::clicked, this, &AdmWindow::slotLetterClicked);
    connect(m_letters.tree->selectionModel(), &QItemSelectionModel::currentChanged, this,
        &AdmWindow::slotLetterClicked);
    connect(m_numbers.tree, &QTreeView::clicked, this, &AdmWindow::slotNumberClicked);
    connect(m_numbers.tree->selectionModel(), &QItemSelectionModel::currentChanged, this,
        &AdmWindow::slotNumberClicked);
    connect(m_texts.tree, &QTreeView::clicked, this, &AdmWindow::slotTextClicked);
    connect(m_texts.tree->selectionModel(), &QItemSelectionModel::currentChanged, this,
        &AdmWindow::slotTextClicked);
    connect(m_tabs, &QTabWidget::currentChanged, this, &AdmWindow::slotTabs);

    fillLanguages();
}

AdmWindow::~AdmWindow() = default;

QWidget *AdmWindow::makeLanguagesTab()
{
    auto *page = new QWidget;
    page->setFixedSize(400, 250);
    auto *layout = new QVBoxLayout(page);

    auto *selectBox = new QGroupBox(tr("Seleccionar idioma"), page);
    auto *selectRow = new QHBoxLayout(selectBox);
    m_selectLanguage = new QComboBox(selectBox);
    m_selectLanguage->setObjectName(QStringLiteral("selectLanguage"));
    m_select = new QPushButton(tr("Seleccionar"), selectBox);
    m_select->setFixedSize(100, 25);
    selectRow->addWidget(rowLabel(tr("Idioma"), m_selectLanguage, selectBox));
    selectRow->addWidget(m_selectLanguage, 1);
    selectRow->addWidget(m_select);

    auto *createBox = new QGroupBox(tr("Crear un nuevo idioma"), page);
    auto *createRow = new QHBoxLayout(createBox);
    m_newLanguage = new QLineEdit(createBox);
    m_newLanguage->setObjectName(QStringLiteral("newLanguage"));
    m_create = new QPushButton(tr("Crear"), createBox);
    m_create->setFixedSize(100, 25);
    createRow->addWidget(rowLabel(tr("Nombre del nuevo idioma"), m_newLanguage, createBox));
    createRow->addWidget(m_newLanguage, 1);
    createRow->addWidget(m_create);

    auto *deleteBox = new QGroupBox(tr("Eliminar idioma"), page);
    auto *deleteRow = new QHBoxLayout(deleteBox);
    m_deleteLanguage = new QComboBox(deleteBox);
    m_deleteLanguage->setObjectName(QStringLiteral("deleteLanguage"));
    m_deleteLanguage->setPlaceholderText(tr("Elija el idioma a eliminar"));
    m_delete = new QPushButton(tr("Eliminar"), deleteBox);
    m_delete->setFixedSize(100, 25);
    deleteRow->addWidget(rowLabel(tr("Idioma"), m_deleteLanguage, deleteBox));
    deleteRow->addWidget(m_deleteLanguage, 1);
    deleteRow->addWidget(m_delete);

    layout->addWidget(selectBox);
    layout->addWidget(createBox);
    layout->addWidget(deleteBox);
    layout->addStretch();

    connect(m_select, &QPushButton::clicked, this, &AdmWindow::slotSelectLanguage);
    connect(m_create, &QPushButton::clicked, this, &AdmWindow::slotAddLanguage);
    connect(m_delete, &QPushButton::clicked, this, &AdmWindow::slotDeleteLanguage);
    connect(m_newLanguage, &QLineEdit::textChanged, this, &AdmWindow::updateLanguageButtons);
    connect(
        m_selectLanguage, &QComboBox::currentIndexChanged, this, &AdmWindow::updateLanguageButtons);
    connect(
        m_deleteLanguage, &QComboBox::currentIndexChanged, this, &AdmWindow::updateLanguageButtons);
    connect(m_newLanguage, &QLineEdit::returnPressed, m_create, &QPushButton::click);
    return page;
}

AdmWindow::MediaTab AdmWindow::makeMediaTab(const QString &name, const QStringList &buttons)
{
    MediaTab tab;
    tab.page = new QWidget;
    auto *layout = new QVBoxLayout(tab.page);
    tab.heading = new QLabel(tab.page);
    tab.tree = new QTreeView(tab.page);
    tab.tree->setObjectName(name);
    tab.tree->setAccessibleName(name);
    tab.tree->setModel(m_model);
    // Only the names: size, type and date say nothing to a teacher.
    for (int column = 1; column < m_model->columnCount(); ++column)
        tab.tree->hideColumn(column);
    tab.tree->setHeaderHidden(true);
    tab.heading->setBuddy(tab.tree);
    layout->addWidget(tab.heading);
    layout->addWidget(tab.tree, 1);

    auto *row = new QHBoxLayout;
    QPushButton **made[] = { &tab.suggestions, &tab.add, &tab.edit, &tab.remove };
    for (int i = 0; i < 4; ++i) {
        *made[i] = new QPushButton(buttons.at(i), tab.page);
        (*made[i])->setEnabled(false);
        row->addWidget(*made[i]);
    }
    layout->addLayout(row);
    return tab;
}

void AdmWindow::showEvent(QShowEvent *event)
{
    // The main window keeps one hidden administrator for the whole run;
    // languages may have come or gone since it was last shown.
    fillLanguages(m_selectLanguage->currentText());
    QMainWindow::showEvent(event);
}

void AdmWindow::fillLanguages(const QString &select)
{
    const QStringList names
        = QDir(MediaPaths::languagesFolder())
              .entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    m_selectLanguage->clear();
    m_selectLanguage->addItems(names);
    if (!select.isEmpty())
        m_selectLanguage->setCurrentIndex(
            m_selectLanguage->findText(select, Qt::MatchExactly | Qt::MatchCaseSensitive));
    // Nothing is chosen for deletion until the administrator chooses it:
    // the language just made or being edited would be one Enter away.
    m_deleteLanguage->clear();
    m_deleteLanguage->addItems(names);
    m_deleteLanguage->setCurrentIndex(-1);
    updateLanguageButtons();
}

void AdmWindow::updateLanguageButtons()
{
    m_select->setEnabled(!m_selectLanguage->currentText().isEmpty());
    m_delete->setEnabled(m_deleteLanguage->currentIndex() >= 0);
    m_create->setEnabled(!m_newLanguage->text().trimmed().isEmpty());
}

void AdmWindow::setMediaTabsEnabled(bool enabled)
{
    for (int tab = 1; tab <= 3; ++tab) {
        m_tabs->setTabEnabled(tab, enabled);
        m_tabs->widget(tab)->setEnabled(enabled);
    }
}

void AdmWindow::slotSelectLanguage()
{
    const QString name = m_selectLanguage->currentText();
    if (!MediaPaths::isFolderName(name))
        return;
    m_language = name;
    statusBar()->showMessage(tr("Idioma seleccionado : %1").arg(name));
    m_selected = true;
    for (MediaTab *tab : { &m_letters, &m_numbers, &m_texts })
        tab->heading->setText(tr("Medios instalados para idioma %1").arg(name));
    setMediaTabsEnabled(true);
    slotTabs(m_tabs->currentIndex());
}

void AdmWindow::slotUnSelectLanguage()
{
    m_language = m_selectLanguage->currentText();
    statusBar()->showMessage(tr("No hay un idioma seleccionado. Por favor seleccione uno."));
    m_selected = false;
    setMediaTabsEnabled(false);
}

void AdmWindow::slotAddLanguage()
{
    const QString name = m_newLanguage->text().trimmed();
    if (!MediaFolders::isNewName(name)) {
        Dialogs::information(this, tr("Nombre no valido"), MediaWidget::invalidNameMessage(name));
        return;
    }
    const QString twin = MediaFolders::caseTwin(MediaPaths::languagesFolder(), name);
    if (!twin.isEmpty()) {
        Dialogs::information(this, tr("Nombre en uso"), MediaWidget::caseTwinMessage(twin, name));
        return;
    }
    if (!QFileInfo(MediaPaths::languagesFolder()).isDir()) {
        Dialogs::information(
            this, tr("Error"), tr("El directorio de medios no ha podido ser encontrado"));
        return;
    }
    const QString root = MediaPaths::languageRoot(name);
    QStringList folders { root, MediaPaths::lettersFolder(name) };
    for (const QString &letter : MediaPaths::alphabet())
        folders << MediaPaths::letterFolder(name, letter);
    folders << MediaPaths::numbersFolder(name);
    for (const QString &digit : MediaPaths::digits())
        folders << MediaPaths::numberFolder(name, digit);
    folders << MediaPaths::textsFolder(name);
    for (const QString &category : MediaPaths::textCategories())
        folders << MediaPaths::textCategoryFolder(name, category);
    for (const QString &folder : folders) {
        if (!MediaFolders::makeFolder(folder)) {
            Dialogs::information(
                this, tr("Error"), tr("El directorio %1 no ha podido ser creado.").arg(folder));
            fillLanguages(m_selectLanguage->currentText());
            return;
        }
    }

    Dialogs::information(this, tr("Idioma creado"),
        tr("El idioma ") + name
            + tr(" ha sido creado.\nPara agregar medios a este idioma, "
                 "seleccione la pesta\u00f1a correspondiente"));
    fillLanguages(name);
    m_newLanguage->clear();
    slotSelectLanguage();
}

void AdmWindow::slotDeleteLanguage()
{
    if (m_deleteLanguage->currentIndex() < 0)
        return;
    const QString name = m_deleteLanguage->currentText();
    if (!MediaPaths::isFolderName(name))
        return;
    if (!Dialogs::question(this, tr("Eliminar idioma"),
            tr("Esta seguro de eliminar el idioma %1?\nTodos los medios "
               "asociados con este idioma seran eliminados.")
                .arg(name)))
        return;
    const bool removed = removeFolder(MediaPaths::languageRoot(name));
    fillLanguages();
    if (removed)
        Dialogs::information(
            this, tr("Idioma eliminado"), tr("El idioma %1 ha sido eliminado").arg(name));
    slotUnSelectLanguage();
}

bool AdmWindow::removeFolder(const QString &path)
{
    QStringList failed;
    const MediaFolders::Removal removal = MediaFolders::removeTree(path, &failed);
    if (removal == MediaFolders::Removal::Refused)
        failed << QFileInfo(path).fileName();
    for (const QString &folder : failed)
        Dialogs::information(
            this, tr("Error"), tr("El directorio %1 no ha podido ser eliminado.").arg(folder));
    return removal != MediaFolders::Removal::Refused;
}

int AdmWindow::level(const MediaTab &tab, const QModelIndex &index) const
{
    int depth = 0;
    for (QModelIndex at = index; at.isValid(); at = at.parent()) {
        if (at == tab.tree->rootIndex())
            return depth <= 2 ? depth : 0;
        ++depth;
    }
    return 0;
}

void AdmWindow::enableButtons(MediaTab &tab, const QModelIndex &index, bool suggestionsOnItems)
{
    const int depth = level(tab, index);
    tab.add->setEnabled(depth == 1);
    tab.suggestions->setEnabled(depth == (suggestionsOnItems ? 2 : 1));
    tab.edit->setEnabled(depth == 2);
    tab.remove->setEnabled(depth == 2);
}

void AdmWindow::slotLetterClicked(const QModelIndex &index)
{
    enableButtons(m_letters, index, false);
}

void AdmWindow::slotNumberClicked(const QModelIndex &index)
{
    enableButtons(m_numbers, index, false);
}

void AdmWindow::slotTextClicked(const QModelIndex &index)
{
    // A text's suggestions belong to the text, a letter's to the letter.
    enableButtons(m_texts, index, true);
}

void AdmWindow::slotTabs(int tab)
{
    QString roots[3];
    if (tab == 0) {
        roots[0] = roots[1] = roots[2] = MediaPaths::languagesFolder();
    } else {
        roots[0] = MediaPaths::lettersFolder(m_language);
        roots[1] = MediaPaths::numbersFolder(m_language);
        roots[2] = MediaPaths::textsFolder(m_language);
    }
    MediaTab *tabs[] = { &m_letters, &m_numbers, &m_texts };
    for (int i = 0; i < 3; ++i) {
        if (tab == 0 || tab == i + 1) {
            const QModelIndex root = m_model->index(roots[i]);
            tabs[i]->tree->setRootIndex(root);
            tabs[i]->tree->setCurrentIndex(QModelIndex());
            // A language made by hand may lack the section; without a root
            // the tree would list the whole file system.
            tabs[i]->tree->setVisible(root.isValid());
        }
    }
    slotRefresh();
}

void AdmWindow::refreshAt(bool parent)
{
    // The model watches every folder it has listed, so changes show by
    // themselves; this lists a folder that was not listed yet.
    for (const MediaTab *tab : { &m_letters, &m_numbers, &m_texts }) {
        const QModelIndex current = tab->tree->currentIndex();
        if (!current.isValid())
            continue;
        const QModelIndex at = parent ? current.parent() : current;
        if (m_model->canFetchMore(at))
            m_model->fetchMore(at);
    }
}

void AdmWindow::slotRefresh()
{
    refreshAt(false);
}

void AdmWindow::slotRefreshParent()
{
    refreshAt(true);
}

void AdmWindow::openForm(MediaWidget::Kind kind, const QString &first, const QString &second,
    void (AdmWindow::*onDone)())
{
    if (!m_catalogue) {
        if (!m_ownCatalogue)
            m_ownCatalogue = std::make_unique<ActivityCatalogue>();
        m_catalogue = m_ownCatalogue.get();
    }
    auto *form = new MediaWidget(kind, m_language, first, second, m_catalogue, &m_store, this);
    form->setAttribute(Qt::WA_DeleteOnClose);
    connect(form, &MediaWidget::done, this, onDone);
    form->show();
}

void AdmWindow::openItemForm(
    const MediaTab &tab, int wantedLevel, MediaWidget::Kind kind, void (AdmWindow::*onDone)())
{
    const QModelIndex item = tab.tree->currentIndex();
    if (level(tab, item) != wantedLevel)
        return;
    if (wantedLevel == 1)
        openForm(kind, m_model->fileName(item), QString(), onDone);
    else
        openForm(kind, m_model->fileName(item.parent()), m_model->fileName(item), onDone);
}

void AdmWindow::slotInsertLetter()
{
    openItemForm(m_letters, 1, MediaWidget::NewWord, &AdmWindow::slotRefresh);
}

void AdmWindow::slotInsertNumber()
{
    openItemForm(m_numbers, 1, MediaWidget::NewNumber, &AdmWindow::slotRefresh);
}

void AdmWindow::slotInsertText()
{
    openItemForm(m_texts, 1, MediaWidget::NewText, &AdmWindow::slotRefresh);
}

void AdmWindow::slotLetterSugerencias()
{
    openItemForm(m_letters, 1, MediaWidget::LetterSuggestions, &AdmWindow::slotRefreshParent);
}

void AdmWindow::slotNumberSugerencias()
{
    openItemForm(m_numbers, 1, MediaWidget::NumberSuggestions, &AdmWindow::slotRefreshParent);
}

void AdmWindow::slotTextSugerencias()
{
    openItemForm(m_texts, 2, MediaWidget::TextSuggestions, &AdmWindow::slotRefreshParent);
}

void AdmWindow::slotEditLetter()
{
    openItemForm(m_letters, 2, MediaWidget::EditWord, &AdmWindow::slotRefreshParent);
}

void AdmWindow::slotEditNumber()
{
    openItemForm(m_numbers, 2, MediaWidget::EditNumber, &AdmWindow::slotRefreshParent);
}

void AdmWindow::slotEditText()
{
    openItemForm(m_texts, 2, MediaWidget::EditText, &AdmWindow::slotRefreshParent);
}

void AdmWindow::deleteItem(const MediaTab &tab, ParentFolder parentFolder, const QString &title,
    const QString &question, const QString &infoTitle, const QString &info)
{
    const QModelIndex item = tab.tree->currentIndex();
    if (level(tab, item) != 2)
        return;
    const QString name = m_model->fileName(item);
    if (!Dialogs::question(this, title, question.arg(name)))
        return;
    const QString path
        = MediaPaths::wordFolder(parentFolder(m_language, m_model->fileName(item.parent())), name);
    if (!removeFolder(path))
        return;
    slotRefreshParent();
    Dialogs::information(this, infoTitle, info.arg(name));
}

void AdmWindow::slotDeleteLetter()
{
    deleteItem(m_letters, &MediaPaths::letterFolder, tr("Eliminar palabra"),
        tr("Esta seguro de eliminar la palabra %1?\nTodos los medios asociados con esta "
           "palabra seran eliminados."),
        tr("Eliminar palabra"), tr("La palabra %1 ha sido eliminada exitosamente."));
}

void AdmWindow::slotDeleteNumber()
{
    deleteItem(m_numbers, &MediaPaths::numberFolder, tr("Eliminar numero"),
        tr("Esta seguro de eliminar %1?\nTodos los medios asociados con este numero "
           "seran eliminados."),
        tr("Eliminar numero"), tr("El numero %1 ha sido eliminada exitosamente."));
}

void AdmWindow::slotDeleteText()
{
    deleteItem(m_texts, &MediaPaths::textCategoryFolder, tr("Eliminar texto"),
        tr("Esta seguro de eliminar el texto %1?\nTodos los medios asociados con esta "
           "palabra seran eliminados."),
        tr("Eliminar text"), tr("El texto %1 ha sido eliminado exitosamente."));
}
