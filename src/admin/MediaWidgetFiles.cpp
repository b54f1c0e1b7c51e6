// Saving the word, number and text forms: checking what was entered, then
// writing the chosen files into the item's folder.
#include "admin/MediaFolders.h"
#include "admin/MediaWidget.h"
#include "app/Dialogs.h"
#include "content/MediaPaths.h"

#include <QFile>
#include <QFileInfo>
#include <QLineEdit>

namespace {

QString entered(const QLineEdit *field)
{
    return field->text().trimmed();
}

} // namespace

bool MediaWidget::collectChanges(QList<const Row *> *changed)
{
    // A picture of a text goes with its recording: half a pair would show a
    // picture in silence, or read a page with no picture to it.
    for (int frame = 2; frame <= 10; ++frame) {
        int filled = 0;
        bool touched = false;
        for (const Row &row : m_rows) {
            if (row.frame != frame)
                continue;
            filled += entered(row.field).isEmpty() ? 0 : 1;
            touched = touched || entered(row.field) != row.stored;
        }
        if (touched && filled == 1) {
            Dialogs::information(this, tr("Campos vacios en formulario."),
                tr("El cuadro %1 necesita su imagen y su audio.").arg(frame));
            return false;
        }
    }

    for (const Row &row : m_rows) {
        const QString path = entered(row.field);
        if (path.isEmpty() || (isEdit() && path == row.stored))
            continue;
        // A clip SDL_mixer cannot decode would end a child's session.
        const bool usable
            = row.picture ? MediaFolders::isUsablePicture(path) : MediaFolders::isUsableClip(path);
        if (!usable) {
            Dialogs::information(this, tr("Archivo no valido"),
                (row.picture ? tr("El archivo %1 elegido para \"%2\" no es una imagen que se "
                                  "pueda mostrar.")
                             : tr("El archivo %1 elegido para \"%2\" no es un audio Ogg Vorbis "
                                  "que se pueda reproducir."))
                    .arg(path, row.label));
            return false;
        }
        changed->append(&row);
    }
    return true;
}

QString MediaWidget::folderName(const QString &typed)
{
    // A name left as it was keeps its folder, even one an older tree spelt
    // otherwise: editing a word's files renames nothing.
    if (isEdit() && typed == m_second)
        return typed;
    if (!MediaFolders::isNewName(typed)) {
        Dialogs::information(this, tr("Nombre no valido"), invalidNameMessage(typed));
        return QString();
    }
    const QString name = isWord() ? MediaFolders::wordFolderName(typed) : typed;
    if (name.isEmpty()) {
        Dialogs::information(this, tr("Nombre no valido"),
            tr("La palabra \"%1\" debe escribirse solo con letras, sin espacios, numeros ni "
               "signos.")
                .arg(typed));
        return QString();
    }
    // A new word typed exactly as an existing one fills in what that word
    // lacks; typed otherwise, the teacher believes it to be another word.
    if (isNew() && name != typed && QFileInfo::exists(itemFolder(name))) {
        Dialogs::information(this, tr("Nombre en uso"),
            tr("Ya existe la palabra %1: las palabras se guardan sin acentos y con mayuscula "
               "solo al comienzo.\nPara cambiarla, use \"Editar palabra\".")
                .arg(name));
        return QString();
    }
    const QString twin = MediaFolders::caseTwin(m_parentFolder, name, m_second);
    if (!twin.isEmpty()) {
        Dialogs::information(this, tr("Nombre en uso"), caseTwinMessage(twin, name));
        return QString();
    }
    return name;
}

void MediaWidget::saveFiles()
{
    const QString typed = m_name->text().trimmed();
    bool complete = !typed.isEmpty();
    for (const Row &row : m_rows)
        complete = complete && !(row.required && entered(row.field).isEmpty());
    if (!complete) {
        Dialogs::information(this, tr("Campos vacios en formulario."),
            m_kind == NewText ? tr("Por favor complete ingrese al menos un cuadro.")
                              : tr("Por favor complete todos los itemes del formulario."));
        return;
    }
    const QString name = folderName(typed);
    if (name.isEmpty())
        return;
    const bool renamed = isEdit() && name != m_second;
    const QString target = itemFolder(name);
    if (renamed && (QFileInfo::exists(target) || QFileInfo(target).isSymLink())) {
        Dialogs::information(
            this, tr("Nombre en uso"), tr("Ya existe %1. Elija otro nombre.").arg(name));
        return;
    }
    QList<const Row *> changed;
    if (!collectChanges(&changed))
        return;
    // Everything is read before anything is written, so a file chosen from
    // the item's own folder is still there to be read.
    QList<QByteArray> contents;
    for (const Row *row : changed) {
        QFile source(entered(row->field));
        if (!source.open(QIODevice::ReadOnly)) {
            Dialogs::information(this, tr("Archivo no valido"),
                tr("El archivo %1 no ha podido ser leido.").arg(source.fileName()));
            return;
        }
        contents << source.readAll();
    }
    // "¿Cómo empieza?" asks for the first letter of the word it shows.
    if (isWord() && (isNew() || renamed) && !MediaFolders::beginsWithLetter(typed, m_first)
        && !Dialogs::question(this, tr("Primera letra"),
            tr("La palabra %1 no empieza con la letra %2.\n"
               "La actividad \"¿Cómo empieza?\" pide la primera letra de la palabra y espera "
               "la %2: el niño que responda bien seria corregido.\n"
               "Desea guardarla de todos modos?")
                .arg(typed, MediaPaths::letterDisplay(m_first))))
        return;

    // An edit writes into the folder under its old name and renames it last,
    // so the folder under its new name holds the new files.
    const QString item = isEdit() ? m_second : name;
    if (isNew() && !MediaFolders::makeFolder(target)) {
        Dialogs::information(
            this, tr("Error"), tr("El directorio %1 no ha podido ser creado.").arg(target));
        return;
    }
    QStringList failed;
    for (int i = 0; i < changed.size(); ++i) {
        for (const QString &file : changed.at(i)->files) {
            // New items never overwrite; edits replace what was chosen anew.
            if (!MediaFolders::placeFile(contents.at(i), itemFile(item, file), isEdit()))
                failed << file;
        }
    }
    if (!failed.isEmpty()) {
        Dialogs::information(this, tr("Error"),
            tr("Estos archivos no han podido ser guardados en %1:\n%2")
                .arg(itemFolder(item), failed.join(QLatin1Char('\n'))));
        return;
    }
    if (renamed && !MediaFolders::renameFolder(itemFolder(m_second), target)) {
        Dialogs::information(this, tr("Error"),
            tr("El directorio %1 no ha podido ser renombrado a %2.").arg(m_second, name));
        return;
    }

    QString title;
    QString text;
    switch (m_kind) {
    case NewWord:
        title = tr("Palabra creada.");
        text = tr("La palabra %1 ha sido creada exitosamente.");
        break;
    case NewNumber:
        title = tr("Numero creada.");
        text = tr("El numero %1 ha sido creada exitosamente.");
        break;
    case NewText:
        title = tr("Texto creado.");
        text = tr("El texto %1 ha sido creada exitosamente.");
        break;
    case EditWord:
        title = tr("Palabra editada.");
        text = tr("La palabra %1 ha sido editada exitosamente.");
        break;
    case EditNumber:
        title = tr("Numero editada.");
        text = tr("El numero %1 ha sido editada exitosamente.");
        break;
    default:
        title = tr("Texto editado.");
        text = tr("El texto %1 ha sido editado exitosamente.");
        break;
    }
    text = text.arg(name);
    if (name != typed && isWord())
        text += tr("\nSe guarda como las demas palabras: sin acentos y con mayuscula solo al "
                   "comienzo.");
    Dialogs::information(this, title, text);
    Q_EMIT done();
    close();
}
