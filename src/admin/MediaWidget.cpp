#include "admin/MediaWidget.h"

#include "admin/MediaFolders.h"
#include "app/Dialogs.h"
#include "content/ActivityCatalogue.h"
#include "content/DataStore.h"
#include "content/MediaPaths.h"
#include "content/SuggestionFile.h"

#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTextEdit>
#include <QVBoxLayout>

namespace {

const QString textsActivity = QStringLiteral("textos");

QLabel *heading(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    QFont font = label->font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.2);
    label->setFont(font);
    return label;
}

QPushButton *fixedButton(const QString &text, QWidget *parent)
{
    auto *button = new QPushButton(text, parent);
    button->setFixedSize(100, 25);
    return button;
}

} // namespace

MediaWidget::MediaWidget(Kind kind, const QString &language, const QString &first,
    const QString &second, const ActivityCatalogue *catalogue, DataStore *store, QWidget *parent)
    : QDialog(parent)
    , m_kind(kind)
    , m_language(language)
    , m_first(first)
    , m_second(second)
    , m_catalogue(catalogue)
    , m_store(store)
{
    if (isText() || kind == TextSuggestions)
        m_parentFolder = MediaPaths::textCategoryFolder(language, first);
    else if (isNumber() || kind == NumberSuggestions)
        m_parentFolder = MediaPaths::numberFolder(language, first);
    else
        m_parentFolder = MediaPaths::letterFolder(language, first);
    if (isNew() || kind == LetterSuggestions || kind == NumberSuggestions)
        m_targetPath = m_parentFolder;
    else
        m_targetPath = itemFolder(second);

    if (!m_store) {
        m_ownStore = std::make_unique<DataStore>();
        m_store = m_ownStore.get();
    }
    if (isSuggestions())
        buildSuggestionsForm();
    else
        buildFileForm();
}

MediaWidget::~MediaWidget() = default;

QString MediaWidget::invalidNameMessage(const QString &name)
{
    return tr("El nombre \"%1\" no puede usarse.\nUn nombre no puede estar vacio, empezar con "
              "\".\" ni contener \"/\" o \"\\\".")
        .arg(name);
}

QString MediaWidget::caseTwinMessage(const QString &twin, const QString &name)
{
    return tr("Ya existe %1, que solo se diferencia de %2 en mayusculas o minusculas.\n"
              "Al copiar los medios a otro equipo serian la misma carpeta. Elija otro nombre.")
        .arg(twin, name);
}

QString MediaWidget::itemFolder(const QString &name) const
{
    if (isText())
        return MediaPaths::textFolder(m_language, m_first, name);
    return MediaPaths::wordFolder(m_parentFolder, name);
}

QString MediaWidget::itemFile(const QString &name, const QString &file) const
{
    if (isText())
        return MediaPaths::textFile(m_language, m_first, name, file);
    return MediaPaths::wordFile(m_parentFolder, name, file);
}

QList<MediaWidget::Row> MediaWidget::rowsOfKind() const
{
    QList<Row> rows;
    auto add = [&rows](const QString &label, const QStringList &files, bool picture, bool required,
                   int frame = 0) {
        Row row;
        row.label = label;
        row.files = files;
        row.picture = picture;
        row.required = required;
        row.frame = frame;
        rows << row;
    };
    if (isText()) {
        add(tr("Menu (audio)"), { QStringLiteral("menu.ogg") }, false, true);
        for (int frame = 1; frame <= 10; ++frame) {
            const QString number = QString::number(frame);
            add(tr("Cuadro %1 (imagen)").arg(frame),
                { QLatin1String("image") + number + QLatin1String(".jpg") }, true, frame == 1,
                frame);
            add(tr("Cuadro %1 (audio)").arg(frame),
                { QLatin1String("audio") + number + QLatin1String(".ogg") }, false, frame == 1,
                frame);
        }
    } else if (isNumber()) {
        add(tr("Archivo de imagen"), { QStringLiteral("image.jpg") }, true, true);
        add(tr("Numero (audio)"), { QStringLiteral("sound.ogg") }, false, true);
        // Both names: the activities hear "letter_name.ogg".
        add(tr("Nombre del numero (audio)"),
            { QStringLiteral("letter_sound.ogg"), QStringLiteral("letter_name.ogg") }, false, true);
    } else {
        add(tr("Imagen"), { QStringLiteral("image.jpg") }, true, true);
        add(isEdit() ? tr("Sonido del objeto") : tr("Sonido de objeto"),
            { QStringLiteral("sound.ogg") }, false, true);
        add(tr("Palabra audible"), { QStringLiteral("name.ogg") }, false, true);
        add(tr("Sonido de la letra"), { QStringLiteral("letter_sound.ogg") }, false, true);
        add(tr("Nombre de la letra"), { QStringLiteral("letter_name.ogg") }, false, true);
        add(tr("Frase completa"), { QStringLiteral("sentence.ogg") }, false, false);
        for (int word = 1; word <= 9; ++word)
            add(tr("Palabra %1").arg(word),
                { QLatin1String("sentence") + QString::number(word) + QLatin1String(".ogg") },
                false, false);
    }
    return rows;
}

void MediaWidget::buildFileForm()
{
    QString title;
    QString what;
    if (isText()) {
        title = isNew() ? tr("Purimba - Texto nuevo") : tr("Purimba - Editar texto");
        what = tr("Texto : %1").arg(m_first);
    } else if (isNumber()) {
        title = isNew() ? tr("Purimba - Numero nuevo") : tr("Purimba - Editar numero");
        what = tr("Numero : %1").arg(m_first);
    } else {
        title = isNew() ? tr("Purimba - Palabra nueva") : tr("Purimba - Editar palabra");
        what = tr("Letra : %1").arg(MediaPaths::letterDisplay(m_first));
    }
    setWindowTitle(title);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(heading(what, this));

    auto *rowsWidget = new QWidget;
    auto *grid = new QGridLayout(rowsWidget);
    m_name = new QLineEdit(rowsWidget);
    const QString nameLabel
        = (m_kind == NewWord || m_kind == EditWord) ? tr("Palabra escrita") : tr("Nombre");
    auto *label = new QLabel(nameLabel, rowsWidget);
    label->setBuddy(m_name);
    m_name->setAccessibleName(nameLabel);
    grid->addWidget(label, 0, 0);
    grid->addWidget(m_name, 0, 1, 1, 2);
    if (isEdit())
        m_name->setText(m_second);

    // Required rows of an edited word or number hold a file already.
    const bool change = m_kind == EditWord || m_kind == EditNumber;
    m_rows = rowsOfKind();
    int line = 1;
    bool afterRequired = true;
    for (Row &row : m_rows) {
        if (!row.required && afterRequired) {
            // Which rows may stay empty is not for the teacher to guess.
            auto *optional = new QLabel(tr("Opcionales:"), rowsWidget);
            QFont font = optional->font();
            font.setItalic(true);
            optional->setFont(font);
            grid->addWidget(optional, line++, 0, 1, 3);
        }
        if (isEdit()) {
            const QString stored = row.files.size() > 1
                ? MediaPaths::numberNameClip(m_parentFolder, m_second)
                : itemFile(m_second, row.files.first());
            if (row.required || QFileInfo::exists(stored))
                row.stored = stored;
        }
        row.field = new QLineEdit(row.stored, rowsWidget);
        row.field->setAccessibleName(row.label);
        row.field->setMinimumWidth(320);
        if (!row.required)
            row.field->setAccessibleDescription(tr("Opcional"));
        // The end of a long path shows; the whole of it on hovering.
        row.field->setToolTip(row.stored);
        connect(row.field, &QLineEdit::textChanged, row.field, &QLineEdit::setToolTip);
        auto *rowLabel = new QLabel(row.label, rowsWidget);
        rowLabel->setBuddy(row.field);
        const QString buttonText = change && row.required ? tr("Cambiar") : tr("Elegir");
        auto *button = new QPushButton(buttonText, rowsWidget);
        button->setAccessibleName(buttonText + QLatin1Char(' ') + row.label);
        const QString file = row.files.first();
        connect(button, &QPushButton::clicked, this, [this, file] { browse(file); });
        grid->addWidget(rowLabel, line, 0);
        grid->addWidget(row.field, line, 1);
        grid->addWidget(button, line++, 2);
        afterRequired = row.required;
    }

    // The text form has 21 rows: they scroll on a small screen.
    auto *scroll = new QScrollArea(this);
    scroll->setWidget(rowsWidget);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    // The rows take the focus; the area follows it.
    scroll->setFocusPolicy(Qt::NoFocus);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setMinimumWidth(
        rowsWidget->sizeHint().width() + scroll->verticalScrollBar()->sizeHint().width());
    layout->addWidget(scroll, 1);

    auto *buttons = new QHBoxLayout;
    auto *accept = fixedButton(isNew() || isText() ? tr("Agregar") : tr("Aceptar"), this);
    accept->setDefault(true);
    connect(accept, &QPushButton::clicked, this, &MediaWidget::slotDoIt);
    buttons->addStretch();
    buttons->addWidget(accept);
    layout->addLayout(buttons);

    // All rows when the screen has room for them and the window frame.
    const int wanted
        = sizeHint().height() - scroll->sizeHint().height() + rowsWidget->sizeHint().height();
    const int room = screen() ? screen()->availableGeometry().height() - 60 : wanted;
    resize(sizeHint().width(), qMin(wanted, room));
}

void MediaWidget::buildSuggestionsForm()
{
    setWindowTitle(tr("Purimba - Sugerencias"));
    auto *layout = new QVBoxLayout(this);
    QString what;
    if (m_kind == LetterSuggestions) {
        what = tr("Letra : %1").arg(MediaPaths::letterDisplay(m_first));
        m_suggestionsPath = MediaPaths::letterSuggestionsFile(m_language, m_first);
    } else if (m_kind == NumberSuggestions) {
        what = tr("Numero : %1").arg(m_first);
        m_suggestionsPath = MediaPaths::numberSuggestionsFile(m_language, m_first);
    } else {
        what = QStringLiteral("%1 : %2").arg(m_first, m_second);
        m_suggestionsPath = MediaPaths::textSuggestionsFile(m_language, m_first, m_second);
    }
    layout->addWidget(heading(what, this));

    auto *grid = new QGridLayout;
    if (m_kind != TextSuggestions) {
        if (!m_catalogue) {
            m_ownCatalogue = std::make_unique<ActivityCatalogue>();
            m_catalogue = m_ownCatalogue.get();
        }
        m_activity = new QComboBox(this);
        m_activity->setAccessibleName(tr("Actividad"));
        // Only the activities that read this file: the number activities read
        // a digit's, every other one a letter's.
        for (const QString &title : m_catalogue->fullTitles()) {
            if (MediaPaths::suggestionsFile(m_language, title, m_first) == m_suggestionsPath)
                m_activity->addItem(title);
        }
        auto *label = new QLabel(tr("Actividad"), this);
        label->setBuddy(m_activity);
        grid->addWidget(label, 0, 0);
        grid->addWidget(m_activity, 0, 1);
    }
    m_text = new QTextEdit(this);
    m_text->setAcceptRichText(false);
    m_text->setTabChangesFocus(true);
    m_text->setAccessibleName(tr("Texto"));
    auto *label = new QLabel(tr("Texto"), this);
    label->setBuddy(m_text);
    grid->addWidget(label, 1, 0, Qt::AlignTop);
    grid->addWidget(m_text, 1, 1);
    layout->addLayout(grid, 1);

    auto *buttons = new QHBoxLayout;
    auto *accept = fixedButton(tr("Aceptar"), this);
    auto *leave = fixedButton(tr("Salir"), this);
    connect(accept, &QPushButton::clicked, this, &MediaWidget::slotDoIt);
    connect(leave, &QPushButton::clicked, this, &MediaWidget::slotCloseIt);
    buttons->addStretch();
    buttons->addWidget(accept);
    buttons->addWidget(leave);
    layout->addLayout(buttons);
    resize(560, 320);

    // The file exists from the moment the form opens, as an empty root. A
    // link is neither followed nor read: what it points at is no business
    // of this form.
    const DataStore::File file { m_suggestionsPath, QStringLiteral("Sugerencias") };
    if (!refuseLinkedSuggestions()) {
        if (!QFileInfo::exists(m_suggestionsPath) && QFileInfo(m_targetPath).isDir()
            && MediaFolders::isInsideLanguages(m_suggestionsPath)) {
            const QString path = m_suggestionsPath;
            m_store->submit(file, [path](DataDocument &) { return !QFileInfo::exists(path); });
        }
        m_store->read(file, &m_suggestions);
    }

    if (m_activity) {
        accept->setEnabled(m_activity->count() > 0);
        connect(
            m_activity, &QComboBox::currentTextChanged, this, &MediaWidget::slotActivityChanged);
        slotActivityChanged(m_activity->currentText());
    } else {
        slotActivityChanged(textsActivity);
    }
}

void MediaWidget::browse(const QString &file)
{
    for (Row &row : m_rows) {
        if (row.files.first() != file)
            continue;
        row.field->setText(Dialogs::openFile(this, tr("Elegir archivo"),
            row.picture ? tr("Archivos de imagen (*.jpg)") : tr("Archivos de audio (*.ogg)")));
        return;
    }
}

void MediaWidget::slotActivityChanged(const QString &activity)
{
    m_text->setPlainText(SuggestionFile::find(
        m_suggestions, { { QStringLiteral("activity"), activity } }, QString()));
}

void MediaWidget::slotDoIt()
{
    if (isSuggestions())
        saveSuggestion();
    else
        saveFiles();
}

void MediaWidget::slotCloseIt()
{
    Q_EMIT done();
    close();
}

bool MediaWidget::refuseLinkedSuggestions()
{
    if (!QFileInfo(m_suggestionsPath).isSymLink())
        return false;
    Dialogs::information(this, tr("Sugerencia"),
        tr("El archivo sugerencias.txt de esta carpeta es un enlace a otro archivo.\n"
           "La sugerencia no sera grabada."));
    return true;
}

void MediaWidget::saveSuggestion()
{
    if (refuseLinkedSuggestions())
        return;
    const QString activity = m_activity ? m_activity->currentText() : textsActivity;
    const QString text = m_text->toPlainText();
    const DataStore::File file { m_suggestionsPath, QStringLiteral("Sugerencias") };
    // A folder deleted meanwhile is not made again by saving into it, also
    // when the folder is busy and the change is made later.
    const QString folder = m_targetPath;
    const bool inTree
        = QFileInfo(folder).isDir() && MediaFolders::isInsideLanguages(m_suggestionsPath);
    const DataStore::Outcome outcome = inTree
        ? m_store->submit(file,
            [folder, activity, text](DataDocument &doc) {
                if (!QFileInfo(folder).isDir())
                    return false;
                SuggestionFile::store(doc, { { QStringLiteral("activity"), activity } }, text);
                return true;
            })
        : DataStore::Refused;
    if (outcome != DataStore::Refused)
        m_store->read(file, &m_suggestions);
    if (outcome == DataStore::Written) {
        Dialogs::information(
            this, tr("Sugerencia"), tr("La sugerencia ha sido grabada exitosamente"));
    } else if (outcome == DataStore::Kept) {
        Dialogs::information(this, tr("Sugerencia"),
            tr("La sugerencia sera grabada en cuanto se pueda escribir el archivo"));
    } else {
        Dialogs::information(this, tr("Sugerencia"), tr("La sugerencia no ha podido ser grabada"));
    }
}
