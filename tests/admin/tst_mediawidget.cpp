#include "AdminFixture.h"
#include "admin/MediaWidget.h"
#include "content/MediaPaths.h"

#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QLockFile>
#include <QPushButton>
#include <QSignalSpy>
#include <QTextEdit>
#include <QtTest>

Q_DECLARE_METATYPE(MediaWidget::Kind)

namespace {

QLineEdit *field(QWidget *form, const QString &label)
{
    for (QLineEdit *edit : form->findChildren<QLineEdit *>()) {
        if (edit->accessibleName() == label)
            return edit;
    }
    qFatal("no field %s", qPrintable(label));
}

QStringList files(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files, QDir::Name);
}

const QStringList wordFiles { "image.jpg", "letter_name.ogg", "letter_sound.ogg", "name.ogg",
    "sound.ogg" };

} // namespace

// The forms that create and change a language's words, numbers and texts and
// their suggestions, on a temporary media tree.
class TestMediaWidget : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<AdminFixture> f;

    // Fills every required row of a new form with a usable file.
    void fillRequired(MediaWidget *form)
    {
        switch (form->kind()) {
        case MediaWidget::NewText:
            field(form, "Nombre")->setText("Luna");
            field(form, "Menu (audio)")->setText(f->clip("menu.ogg"));
            field(form, "Cuadro 1 (imagen)")->setText(f->picture("luna1.jpg"));
            field(form, "Cuadro 1 (audio)")->setText(f->clip("luna1.ogg", "tone-300ms.ogg"));
            break;
        case MediaWidget::NewNumber:
            field(form, "Nombre")->setText("Tres gatos");
            field(form, "Archivo de imagen")->setText(f->picture("gatos.jpg"));
            field(form, "Numero (audio)")->setText(f->clip("maullido.ogg"));
            field(form, "Nombre del numero (audio)")->setText(f->clip("tres.ogg", "tone-2s.ogg"));
            break;
        default:
            field(form, "Palabra escrita")->setText("Nandu");
            field(form, "Imagen")->setText(f->picture("nandu.jpg"));
            field(form, "Sonido de objeto")->setText(f->clip("pasos.ogg", "tone-300ms.ogg"));
            field(form, "Palabra audible")->setText(f->clip("nandu.ogg"));
            field(form, "Sonido de la letra")->setText(f->clip("enie.ogg", "tone-2s.ogg"));
            field(form, "Nombre de la letra")->setText(f->clip("nombre.ogg"));
            break;
        }
    }

    QString catalogue()
    {
        return f->tree().addFile("data/activities.xml", R"(<Activities>
 <g name="Letras y Numeros">
  <s name="Sonidos de las Letras"><a name="Como suena"/><a name="Como empieza"/></s>
  <s name="Numeros de las Letras"><a name="Te presento numeros"/></s>
 </g>
 <g name="Braille"><s name="Cajetin"><a name="Numeros escondidos"/><a name="Letras escondidas"/></s></g>
</Activities>
)");
    }

private Q_SLOTS:
    void init() { f = std::make_unique<AdminFixture>(); }
    void cleanup() { f.reset(); }

    void newWordWritesTheFiveRequiredFiles()
    {
        MediaWidget form(MediaWidget::NewWord, f->language(), "Ntilde", QString());
        QSignalSpy done(&form, &MediaWidget::done);
        form.show();
        fillRequired(&form);
        button(&form, "Agregar")->click();

        const QString word = f->mediaPath("Letras/Ntilde/Nandu");
        QCOMPARE(files(word), wordFiles);
        QCOMPARE(f->bytes(word + "/image.jpg"), f->bytes(f->root() + "/chosen/nandu.jpg"));
        QCOMPARE(f->bytes(word + "/sound.ogg"), f->bytes(TestSupport::fixture("tone-300ms.ogg")));
        QCOMPARE(
            f->bytes(word + "/letter_sound.ogg"), f->bytes(TestSupport::fixture("tone-2s.ogg")));
        QCOMPARE(f->messages,
            QStringList { "Palabra creada.: La palabra Nandu ha sido creada exitosamente." });
        QCOMPARE(done.count(), 1);
        QVERIFY(!form.isVisible());
    }

    void newNumberStoresItsSpokenNameTwice()
    {
        MediaWidget form(MediaWidget::NewNumber, f->language(), "3", QString());
        fillRequired(&form);
        button(&form, "Agregar")->click();

        const QString number = f->mediaPath("Numeros/3/Tres gatos");
        QCOMPARE(files(number),
            (QStringList { "image.jpg", "letter_name.ogg", "letter_sound.ogg", "sound.ogg" }));
        const QByteArray name = f->bytes(TestSupport::fixture("tone-2s.ogg"));
        QCOMPARE(f->bytes(number + "/letter_name.ogg"), name);
        QCOMPARE(f->bytes(number + "/letter_sound.ogg"), name);
        QCOMPARE(MediaPaths::numberNameClip(f->mediaPath("Numeros/3"), "Tres gatos"),
            number + "/letter_name.ogg");
    }

    void newTextWithOnePicturePair()
    {
        MediaWidget form(MediaWidget::NewText, f->language(), "Poesias", QString());
        fillRequired(&form);
        button(&form, "Agregar")->click();
        QCOMPARE(files(f->mediaPath("Textos/Poesias/Luna")),
            (QStringList { "audio1.ogg", "image1.jpg", "menu.ogg" }));
        QCOMPARE(f->messages,
            QStringList { "Texto creado.: El texto Luna ha sido creada exitosamente." });
    }

    void newFormsRefuseWhatCannotBeSaved_data()
    {
        QTest::addColumn<MediaWidget::Kind>("kind");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("value"); // a fixture, a teacher's file, or a name
        QTest::addColumn<QString>("message");
        const QString incomplete = "Campos vacios en formulario.: Por favor complete todos los "
                                   "itemes del formulario.";
        QTest::newRow("word without a picture") << MediaWidget::NewWord << "Imagen"
                                                << "" << incomplete;
        QTest::newRow("word without a name") << MediaWidget::NewWord << "Palabra escrita"
                                             << "  " << incomplete;
        QTest::newRow("number without its spoken name")
            << MediaWidget::NewNumber << "Nombre del numero (audio)"
            << "" << incomplete;
        QTest::newRow("text without its first picture")
            << MediaWidget::NewText << "Cuadro 1 (audio)"
            << ""
            << "Campos vacios en formulario.: Por favor complete ingrese al menos un cuadro.";
        QTest::newRow("half a picture pair")
            << MediaWidget::NewText << "Cuadro 3 (imagen)"
            << "teacher:tres.jpg"
            << "Campos vacios en formulario.: El cuadro 3 necesita su imagen y su audio.";
        QTest::newRow("a name with a separator") << MediaWidget::NewWord << "Palabra escrita"
                                                 << "a/b"
                                                 << "Nombre no valido";
        QTest::newRow("a name leaving the folder") << MediaWidget::NewWord << "Palabra escrita"
                                                   << ".."
                                                   << "Nombre no valido";
        QTest::newRow("a clip SDL_mixer cannot decode")
            << MediaWidget::NewWord << "Sonido de objeto"
            << "fixture:corrupt.ogg"
            << "Archivo no valido";
        QTest::newRow("a clip cut short") << MediaWidget::NewWord << "Palabra audible"
                                          << "cut:tone-2s.ogg"
                                          << "Archivo no valido";
        QTest::newRow("a picture given as a clip") << MediaWidget::NewNumber << "Numero (audio)"
                                                   << "teacher:foto.jpg"
                                                   << "Archivo no valido";
        QTest::newRow("a clip given as a picture") << MediaWidget::NewText << "Cuadro 1 (imagen)"
                                                   << "fixture:tone-50ms.ogg"
                                                   << "Archivo no valido";
        QTest::newRow("a file that is not there") << MediaWidget::NewWord << "Nombre de la letra"
                                                  << "/nonexistent/a.ogg"
                                                  << "Archivo no valido";
    }

    void newFormsRefuseWhatCannotBeSaved()
    {
        QFETCH(MediaWidget::Kind, kind);
        QFETCH(QString, label);
        QFETCH(QString, value);
        QFETCH(QString, message);
        const QString first = kind == MediaWidget::NewText ? "Cuentos"
            : kind == MediaWidget::NewNumber               ? "7"
                                                           : "B";
        MediaWidget form(kind, f->language(), first, QString());
        QSignalSpy done(&form, &MediaWidget::done);
        form.show();
        fillRequired(&form);
        if (value.startsWith("fixture:"))
            value = TestSupport::fixture(value.mid(8));
        else if (value.startsWith("teacher:"))
            value = f->picture(value.mid(8));
        else if (value.startsWith("cut:")) // as an interrupted download leaves it
            value = f->teacherFile(
                "cut.ogg", f->bytes(TestSupport::fixture(value.mid(4))).left(2500));
        field(&form, label)->setText(value);
        const QStringList before = f->snapshot();

        button(&form, "Agregar")->click();
        QCOMPARE(f->messages.size(), 1);
        QVERIFY2(f->messages.first().startsWith(message), qPrintable(f->messages.first()));
        if (message == "Archivo no valido")
            QVERIFY(f->messages.first().contains(label));
        QCOMPARE(f->snapshot(), before);
        QCOMPARE(done.count(), 0);
        QVERIFY(form.isVisible());
    }

    // What a teacher types as the name, and the folder it becomes, or why
    // it is refused; the first-letter question is answered as the row says.
    void typedNames_data()
    {
        QTest::addColumn<MediaWidget::Kind>("kind");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QStringList>("existing"); // an edit's item comes first
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("answer"); // to the first-letter question, if asked
        QTest::addColumn<QString>("folder"); // empty when refused
        QTest::addColumn<QString>("message"); // how the only box begins
        const QString created = "Palabra creada.: La palabra %1 ha sido creada exitosamente.";
        const QString note = "\nSe guarda como las demas palabras: sin acentos y con "
                             "mayuscula solo al comienzo.";
        const QString invalid = "Nombre no valido: ";
        const auto add = [](const char *row, MediaWidget::Kind kind, const QString &first,
                             const QStringList &existing, const QString &typed,
                             const QString &answer, const QString &folder, const QString &message) {
            QTest::newRow(row) << kind << first << existing << typed << answer << folder << message;
        };
        using K = MediaWidget::Kind;
        add("accent and capital", K::NewWord, "A", {}, "Árbol", "", "Arbol",
            created.arg("Arbol") + note);
        add("all capitals", K::NewWord, "A", {}, "ABEJA", "", "Abeja", created.arg("Abeja") + note);
        add("eñe", K::NewWord, "Ntilde", {}, "ñandú", "", "Nandu", created.arg("Nandu") + note);
        add("ll is an L", K::NewWord, "L", {}, "Llave", "", "Llave", created.arg("Llave"));
        add("ch is a C", K::NewWord, "C", {}, "chancho", "", "Chancho",
            created.arg("Chancho") + note);
        add("another letter, kept", K::NewWord, "A", {}, "Pato", "si", "Pato", created.arg("Pato"));
        add("another letter, not kept", K::NewWord, "A", {}, "Pato", "no", "", "");
        add("an N under Ñ", K::NewWord, "Ntilde", {}, "Nido", "no", "", "");
        add("an Ñ under N", K::NewWord, "N", {}, "Ñu", "no", "", "");
        add("hidden", K::NewWord, "A", {}, ".abeja", "", "", invalid);
        add("two words", K::NewWord, "O", {}, "Oso polar", "", "",
            invalid + "La palabra \"Oso polar\" debe escribirse solo con letras");
        add("a digit", K::NewWord, "A", {}, "Auto2", "", "", invalid);
        add("beside its case twin", K::NewWord, "A", { "abeja" }, "Abeja", "", "",
            "Nombre en uso: Ya existe abeja, que solo se diferencia de Abeja en mayusculas o "
            "minusculas.\nAl copiar los medios a otro equipo serian la misma carpeta. Elija "
            "otro nombre.");
        const QString again = "Nombre en uso: Ya existe la palabra %1: las palabras se guardan "
                              "sin acentos y con mayuscula solo al comienzo.\nPara cambiarla, "
                              "use \"Editar palabra\".";
        add("an existing word in small letters", K::NewWord, "A", { "Abeja" }, "abeja", "", "",
            again.arg("Abeja"));
        add("an existing word with its accent", K::NewWord, "A", { "Arbol" }, "Árbol", "", "",
            again.arg("Arbol"));
        add("renamed to another letter", K::EditWord, "A", { "Abeja" }, "Pato", "no", "", "");
        add("renamed in case only", K::EditWord, "A", { "Abeja" }, "ABEJA", "", "Abeja",
            "Palabra editada.: La palabra Abeja ha sido editada exitosamente." + note);
        add("an older folder kept", K::EditWord, "A", { "árbol", "Abeja" }, "árbol", "", "árbol",
            "Palabra editada.: La palabra árbol ha sido editada exitosamente.");
        add("a hidden number", K::NewNumber, "3", {}, ".tres", "", "", invalid);
        add("a number's case twin", K::NewNumber, "3", { "Tres gatos" }, "tres gatos", "", "",
            "Nombre en uso: Ya existe Tres gatos,");
        add("a number keeps its capitals", K::NewNumber, "3", {}, "Tres Gatos", "", "Tres Gatos",
            "Numero creada.: El numero Tres Gatos ha sido creada exitosamente.");
        add("a hidden text", K::NewText, "Cuentos", {}, ".Luna", "", "", invalid);
        add("a text renamed to its twin", K::EditText, "Cuentos", { "Luna", "Sol" }, "sol", "", "",
            "Nombre en uso: Ya existe Sol,");
        add("a text renamed in case", K::EditText, "Cuentos", { "Luna" }, "LUNA", "", "LUNA",
            "Texto editado.: El texto LUNA ha sido editado exitosamente.");
    }

    void typedNames()
    {
        QFETCH(MediaWidget::Kind, kind);
        QFETCH(QString, first);
        QFETCH(QStringList, existing);
        QFETCH(QString, typed);
        QFETCH(QString, answer);
        QFETCH(QString, folder);
        QFETCH(QString, message);
        const bool edit = kind >= MediaWidget::EditWord;
        const QString section = kind == MediaWidget::NewText || kind == MediaWidget::EditText
            ? "Textos/"
            : kind == MediaWidget::NewNumber ? "Numeros/"
                                             : "Letras/";
        const QStringList itemFiles = section == "Textos/"
            ? QStringList { "menu.ogg", "image1.jpg", "audio1.ogg" }
            : section == "Numeros/" ? QStringList { "image.jpg", "sound.ogg", "letter_sound.ogg" }
                                    : wordFiles;
        for (int i = 0; i < existing.size(); ++i)
            f->addItem(
                section + first + "/" + existing.at(i), edit && i == 0 ? itemFiles : QStringList());
        MediaWidget form(kind, f->language(), first, edit ? existing.first() : QString());
        if (!edit)
            fillRequired(&form);
        field(&form,
            kind == MediaWidget::NewWord || kind == MediaWidget::EditWord ? "Palabra escrita"
                                                                          : "Nombre")
            ->setText(typed);
        if (!answer.isEmpty())
            f->answers << (answer == "si");
        const QStringList before = f->snapshot();
        QSignalSpy done(&form, &MediaWidget::done);

        button(&form, edit && section != "Textos/" ? "Aceptar" : "Agregar")->click();
        if (answer.isEmpty()) {
            QCOMPARE(f->questions, QStringList());
        } else {
            const QString letter = first == "Ntilde" ? "Ñ" : first;
            QCOMPARE(f->questions,
                QStringList { QString("Primera letra: La palabra %1 no empieza con la letra "
                                      "%2.\nLa actividad \"¿Cómo empieza?\" pide la primera "
                                      "letra de la palabra y espera la %2: el niño que "
                                      "responda bien seria corregido.\nDesea guardarla de "
                                      "todos modos?")
                                  .arg(typed, letter) });
        }
        if (message.isEmpty()) {
            QCOMPARE(f->messages, QStringList());
        } else {
            QCOMPARE(f->messages.size(), 1);
            QVERIFY2(f->messages.first().startsWith(message), qPrintable(f->messages.first()));
        }
        const QString parent = f->mediaPath(section + first);
        if (folder.isEmpty()) {
            QCOMPARE(f->snapshot(), before);
            QCOMPARE(done.count(), 0);
        } else {
            QCOMPARE(QDir(parent).entryList(QDir::Dirs | QDir::NoDotAndDotDot).count(folder), 1);
            QVERIFY(!files(parent + "/" + folder).isEmpty());
            if (edit && folder != existing.first())
                QVERIFY(!QFileInfo::exists(parent + "/" + existing.first()));
        }
    }

    void newWordNeverOverwrites()
    {
        const QString word = f->addItem("Letras/Ntilde/Nandu", { "image.jpg" });
        const QByteArray picture = f->bytes(word + "/image.jpg");
        MediaWidget form(MediaWidget::NewWord, f->language(), "Ntilde", QString());
        fillRequired(&form);
        button(&form, "Agregar")->click();
        QCOMPARE(files(word), wordFiles);
        QCOMPARE(f->bytes(word + "/image.jpg"), picture);
    }

    void editWithoutChangesTouchesNothing()
    {
        f->addItem("Letras/A/Abeja", wordFiles + QStringList { "sentence.ogg" });
        const QStringList before = f->snapshot();
        MediaWidget form(MediaWidget::EditWord, f->language(), "A", "Abeja");
        QSignalSpy done(&form, &MediaWidget::done);
        QCOMPARE(field(&form, "Imagen")->text(), f->mediaPath("Letras/A/Abeja/image.jpg"));
        QCOMPARE(
            field(&form, "Frase completa")->text(), f->mediaPath("Letras/A/Abeja/sentence.ogg"));
        QCOMPARE(field(&form, "Palabra 1")->text(), QString());
        button(&form, "Aceptar")->click();
        QCOMPARE(f->snapshot(), before);
        QCOMPARE(f->messages,
            QStringList { "Palabra editada.: La palabra Abeja ha sido editada exitosamente." });
        QCOMPARE(done.count(), 1);
    }

    void editRenamesAndReplaces_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("replaced"); // rows given a new file
        QTest::newRow("name only") << "Avion" << QStringList();
        QTest::newRow("files only") << "Abeja" << QStringList { "Imagen", "Palabra 2" };
        QTest::newRow("name and files")
            << "Avion" << QStringList { "Imagen", "Sonido de la letra", "Palabra 2" };
    }

    void editRenamesAndReplaces()
    {
        QFETCH(QString, name);
        QFETCH(QStringList, replaced);
        const QString old = f->addItem("Letras/A/Abeja", wordFiles);
        const QString renamed = f->mediaPath("Letras/A/" + name);
        QHash<QString, QByteArray> expected;
        for (const QString &file : wordFiles)
            expected[file] = f->bytes(old + "/" + file);

        MediaWidget form(MediaWidget::EditWord, f->language(), "A", "Abeja");
        field(&form, "Palabra escrita")->setText(name);
        const QHash<QString, QString> fileOfRow { { "Imagen", "image.jpg" },
            { "Sonido de la letra", "letter_sound.ogg" }, { "Palabra 2", "sentence2.ogg" } };
        for (const QString &row : replaced) {
            const QString chosen
                = row == "Imagen" ? f->picture("avion.jpg") : f->clip(row + ".ogg", "tone-2s.ogg");
            field(&form, row)->setText(chosen);
            expected[fileOfRow[row]] = f->bytes(chosen);
        }
        button(&form, "Aceptar")->click();

        QCOMPARE(f->messages.size(), 1);
        QVERIFY(f->messages.first().startsWith("Palabra editada."));
        QCOMPARE(QFileInfo::exists(old), name == "Abeja");
        QCOMPARE(files(renamed).size(), expected.size());
        for (auto it = expected.cbegin(); it != expected.cend(); ++it)
            QVERIFY2(f->bytes(renamed + "/" + it.key()) == it.value(), qPrintable(it.key()));
    }

    void editRefusesAnExistingName()
    {
        f->addItem("Letras/A/Abeja", wordFiles);
        f->addItem("Letras/A/Auto", { "image.jpg" });
        const QStringList before = f->snapshot();
        MediaWidget form(MediaWidget::EditWord, f->language(), "A", "Abeja");
        field(&form, "Palabra escrita")->setText("Auto");
        field(&form, "Imagen")->setText(f->picture("otra.jpg"));
        const QStringList withChoice = f->snapshot();
        button(&form, "Aceptar")->click();
        QCOMPARE(f->snapshot(), withChoice);
        QVERIFY(before.size() < withChoice.size());
        QCOMPARE(f->messages, QStringList { "Nombre en uso: Ya existe Auto. Elija otro nombre." });
    }

    void editNumberOfAnOlderTree()
    {
        // Made before numbers carried "letter_name.ogg".
        const QString number
            = f->addItem("Numeros/2/Dos", { "image.jpg", "sound.ogg", "letter_sound.ogg" });
        MediaWidget form(MediaWidget::EditNumber, f->language(), "2", "Dos");
        QCOMPARE(field(&form, "Nombre del numero (audio)")->text(), number + "/letter_sound.ogg");
        field(&form, "Nombre del numero (audio)")->setText(f->clip("dos.ogg", "tone-300ms.ogg"));
        button(&form, "Aceptar")->click();
        const QByteArray name = f->bytes(TestSupport::fixture("tone-300ms.ogg"));
        QCOMPARE(f->bytes(number + "/letter_sound.ogg"), name);
        QCOMPARE(f->bytes(number + "/letter_name.ogg"), name);
        QCOMPARE(f->messages,
            QStringList { "Numero editada.: El numero Dos ha sido editada exitosamente." });
    }

    void editTextReplacesPicturesInPairs()
    {
        const QString text = f->addItem("Textos/Cuentos/Luna",
            { "menu.ogg", "image1.jpg", "audio1.ogg", "image2.jpg", "audio2.ogg" });
        MediaWidget form(MediaWidget::EditText, f->language(), "Cuentos", "Luna");
        QCOMPARE(field(&form, "Cuadro 3 (imagen)")->text(), QString());
        field(&form, "Cuadro 2 (imagen)")->setText(f->picture("nueva.jpg"));
        field(&form, "Cuadro 2 (audio)")->clear();
        button(&form, "Agregar")->click();
        QCOMPARE(f->messages,
            QStringList {
                "Campos vacios en formulario.: El cuadro 2 necesita su imagen y su audio." });

        field(&form, "Cuadro 2 (audio)")->setText(f->clip("nueva.ogg", "tone-2s.ogg"));
        button(&form, "Agregar")->click();
        QCOMPARE(files(text).size(), 5);
        QCOMPARE(f->bytes(text + "/image2.jpg"), f->bytes(f->root() + "/chosen/nueva.jpg"));
        QCOMPARE(f->bytes(text + "/audio2.ogg"), f->bytes(TestSupport::fixture("tone-2s.ogg")));
        QCOMPARE(f->messages.last(), "Texto editado.: El texto Luna ha sido editado exitosamente.");
    }

    void browsingFillsTheRow_data()
    {
        QTest::addColumn<MediaWidget::Kind>("kind");
        QTest::addColumn<QString>("slot");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("filter");
        const QString pictures = "Archivos de imagen (*.jpg)";
        const QString clips = "Archivos de audio (*.ogg)";
        QTest::newRow("word picture") << MediaWidget::NewWord << "slotBrowseWordImage"
                                      << "Imagen" << pictures;
        QTest::newRow("word sentence 9") << MediaWidget::NewWord << "slotBrowseWordSentence9"
                                         << "Palabra 9" << clips;
        QTest::newRow("number name") << MediaWidget::NewNumber << "slotBrowseLetterSound"
                                     << "Nombre del numero (audio)" << clips;
        QTest::newRow("text picture 10") << MediaWidget::EditText << "slotBrowseTextImage10"
                                         << "Cuadro 10 (imagen)" << pictures;
        QTest::newRow("text menu") << MediaWidget::NewText << "slotBrowseTextMenu"
                                   << "Menu (audio)" << clips;
    }

    void browsingFillsTheRow()
    {
        QFETCH(MediaWidget::Kind, kind);
        QFETCH(QString, slot);
        QFETCH(QString, label);
        QFETCH(QString, filter);
        MediaWidget form(kind, f->language(), "Cuentos", "Luna");
        f->chosen << "/home/maestra/archivo";
        QVERIFY(QMetaObject::invokeMethod(&form, slot.toLatin1().constData()));
        QCOMPARE(field(&form, label)->text(), "/home/maestra/archivo");
        QCOMPARE(f->fileDialogs, QStringList { "Elegir archivo | " + filter });
        // Cancelled: the row is emptied.
        QVERIFY(QMetaObject::invokeMethod(&form, slot.toLatin1().constData()));
        QCOMPARE(field(&form, label)->text(), QString());
    }

    void everyControlIsNamed_data()
    {
        QTest::addColumn<MediaWidget::Kind>("kind");
        for (int kind = MediaWidget::NewWord; kind <= MediaWidget::EditText; ++kind)
            QTest::addRow("kind %d", kind) << MediaWidget::Kind(kind);
    }

    void everyControlIsNamed()
    {
        QFETCH(MediaWidget::Kind, kind);
        catalogue();
        MediaWidget form(kind, f->language(), "A", "Abeja");
        for (QLabel *label : form.findChildren<QLabel *>()) {
            if (label->buddy())
                QCOMPARE(label->buddy()->accessibleName(), label->text());
        }
        const QList<QWidget *> controls = form.findChildren<QWidget *>();
        for (QWidget *control : controls) {
            if (!control->focusPolicy() || !control->isVisibleTo(&form))
                continue;
            auto *button = qobject_cast<QPushButton *>(control);
            QVERIFY2(!control->accessibleName().isEmpty() || (button && !button->text().isEmpty()),
                control->metaObject()->className());
        }
    }

    void letterSuggestions()
    {
        catalogue();
        const QString file = f->mediaPath("Letras/Ntilde/sugerencias.txt");
        MediaWidget form(MediaWidget::LetterSuggestions, f->language(), "Ntilde", QString());
        QCOMPARE(f->bytes(file),
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Sugerencias>\n</Sugerencias>\n");

        // The number activities read the digits' files, not this one.
        auto *activity = form.findChild<QComboBox *>();
        QStringList offered;
        for (int i = 0; i < activity->count(); ++i)
            offered << activity->itemText(i);
        QCOMPARE(offered,
            (QStringList { "Letras y Numeros -  Sonidos de las Letras - Como suena",
                "Letras y Numeros -  Sonidos de las Letras - Como empieza",
                "Braille -  Cajetin - Letras escondidas" }));

        auto *text = form.findChild<QTextEdit *>();
        text->setPlainText("Primera");
        button(&form, "Aceptar")->click();
        activity->setCurrentIndex(2);
        QCOMPARE(text->toPlainText(), QString());
        text->setPlainText("Braille & <puntos>");
        button(&form, "Aceptar")->click();
        activity->setCurrentIndex(0);
        QCOMPARE(text->toPlainText(), "Primera");
        text->setPlainText("Segunda");
        button(&form, "Aceptar")->click();

        QCOMPARE(f->bytes(file),
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Sugerencias>\n"
            " <sugerencia activity=\"Letras y Numeros -  Sonidos de las Letras - Como "
            "suena\">Segunda</sugerencia>\n"
            " <sugerencia activity=\"Braille -  Cajetin - Letras escondidas\">Braille &amp; "
            "&lt;puntos&gt;</sugerencia>\n"
            "</Sugerencias>\n");
        QCOMPARE(
            f->messages, QStringList(3, "Sugerencia: La sugerencia ha sido grabada exitosamente"));
    }

    void numberSuggestionsOfferTheNumberActivities()
    {
        catalogue();
        MediaWidget form(MediaWidget::NumberSuggestions, f->language(), "4", QString());
        auto *activity = form.findChild<QComboBox *>();
        QCOMPARE(activity->count(), 2);
        QCOMPARE(activity->itemText(1), "Braille -  Cajetin - Numeros escondidos");
        QVERIFY(QFileInfo::exists(f->mediaPath("Numeros/4/sugerencias.txt")));
    }

    void textSuggestionWithoutTextGetsOne()
    {
        const QString file
            = f->tree().addFile("media/languages/Español/Textos/Cuentos/Luna/sugerencias.txt",
                "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Sugerencias>\n"
                " <sugerencia activity=\"textos\"/>\n</Sugerencias>\n");
        MediaWidget form(MediaWidget::TextSuggestions, f->language(), "Cuentos", "Luna");
        QSignalSpy done(&form, &MediaWidget::done);
        QVERIFY(!form.findChild<QComboBox *>());
        form.findChild<QTextEdit *>()->setPlainText("Lean despacio.");
        button(&form, "Aceptar")->click();
        QCOMPARE(f->bytes(file),
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Sugerencias>\n"
            " <sugerencia activity=\"textos\">Lean despacio.</sugerencia>\n"
            "</Sugerencias>\n");
        QCOMPARE(done.count(), 0);
        button(&form, "Salir")->click();
        QCOMPARE(done.count(), 1);
    }

    // A file of a form's folder that is a link to the user file: saving
    // the form never writes through it.
    void linksAreNotWrittenThrough_data()
    {
        QTest::addColumn<MediaWidget::Kind>("kind");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<QString>("link"); // inside the language
        QTest::addColumn<bool>("dangling"); // to a user file not made yet
        QTest::addColumn<QStringList>("messages");
        const QString linked = "Sugerencia: El archivo sugerencias.txt de esta carpeta es un "
                               "enlace a otro archivo.\nLa sugerencia no sera grabada.";
        const QStringList refused { linked, linked }; // on opening and on saving
        using K = MediaWidget::Kind;
        QTest::newRow("a letter's suggestions")
            << K::LetterSuggestions << "Ntilde"
            << ""
            << "Letras/Ntilde/sugerencias.txt" << false << refused;
        QTest::newRow("a digit's suggestions") << K::NumberSuggestions << "4"
                                               << ""
                                               << "Numeros/4/sugerencias.txt" << false << refused;
        QTest::newRow("a text's suggestions")
            << K::TextSuggestions << "Cuentos"
            << "Luna"
            << "Textos/Cuentos/Luna/sugerencias.txt" << false << refused;
        QTest::newRow("suggestions to a file not there")
            << K::LetterSuggestions << "B"
            << ""
            << "Letras/B/sugerencias.txt" << true << refused;
        QTest::newRow("the suggestions' lock")
            << K::LetterSuggestions << "C"
            << ""
            << "Letras/C/sugerencias.txt.lock" << false
            << QStringList { "Sugerencia: La sugerencia ha sido grabada exitosamente" };
        QTest::newRow("an edited word's picture")
            << K::EditWord << "A"
            << "Abeja"
            << "Letras/A/Abeja/image.jpg" << false
            << QStringList { "Palabra editada.: La palabra Abeja ha sido editada exitosamente." };
        QTest::newRow("a new word's sound")
            << K::NewWord << "Ntilde"
            << ""
            << "Letras/Ntilde/Nandu/sound.ogg" << true
            << QStringList { "Palabra creada.: La palabra Nandu ha sido creada exitosamente." };
    }

    void linksAreNotWrittenThrough()
    {
        QFETCH(MediaWidget::Kind, kind);
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(QString, link);
        QFETCH(bool, dangling);
        QFETCH(QStringList, messages);
        catalogue();
        f->addItem("Textos/Cuentos/Luna", {});
        if (kind == MediaWidget::EditWord)
            f->addItem("Letras/A/Abeja", wordFiles);
        const QByteArray users = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<userdb/>\n";
        const QString target = f->root() + "/data/users.xml";
        if (!dangling) {
            f->tree().addFile("data/users.xml", users);
            // A lock older than a few seconds is taken for a stale one.
            QFile file(target);
            QVERIFY(file.open(QIODevice::ReadWrite));
            file.setFileTime(
                QDateTime::currentDateTime().addSecs(-60), QFileDevice::FileModificationTime);
        }
        QDir().mkpath(QFileInfo(f->mediaPath(link)).absolutePath());
        QFile::remove(f->mediaPath(link));
        QVERIFY(QFile::link(target, f->mediaPath(link)));

        MediaWidget form(kind, f->language(), first, second, nullptr, nullptr);
        if (kind == MediaWidget::NewWord)
            fillRequired(&form);
        else if (kind == MediaWidget::EditWord)
            field(&form, "Imagen")->setText(f->picture("otra.jpg"));
        else
            form.findChild<QTextEdit *>()->setPlainText("Despacio.");
        button(&form, kind == MediaWidget::NewWord ? "Agregar" : "Aceptar")->click();

        if (dangling)
            QVERIFY(!QFileInfo::exists(target));
        else
            QCOMPARE(f->bytes(target), users);
        QCOMPARE(f->messages, messages);
    }

    // A form does not freeze on a file another machine holds: the
    // administrator is told it will be written, and it is at close.
    void suggestionsForABusyFile()
    {
        catalogue();
        const QString file = f->mediaPath("Letras/Ntilde/sugerencias.txt");
        {
            MediaWidget form(MediaWidget::LetterSuggestions, f->language(), "Ntilde", QString());
            QLockFile other(file + QStringLiteral(".lock"));
            QVERIFY(other.tryLock(0));
            form.findChild<QTextEdit *>()->setPlainText("Despacio");
            QElapsedTimer clicked;
            clicked.start();
            button(&form, "Aceptar")->click();
            QVERIFY2(clicked.elapsed() < 1000, qPrintable(QString::number(clicked.elapsed())));
            QCOMPARE(f->messages,
                QStringList { "Sugerencia: La sugerencia sera grabada en cuanto se pueda "
                              "escribir el archivo" });
            QVERIFY(!f->bytes(file).contains("Despacio"));
        }
        QVERIFY(f->bytes(file).contains(">Despacio</sugerencia>"));
    }

    void suggestionsOfADeletedFolderAreNotSaved()
    {
        const QString folder = f->addItem("Textos/Fabulas/Zorro", { "menu.ogg" });
        MediaWidget form(MediaWidget::TextSuggestions, f->language(), "Fabulas", "Zorro");
        QVERIFY(QDir(folder).removeRecursively());
        button(&form, "Aceptar")->click();
        QCOMPARE(f->messages, QStringList { "Sugerencia: La sugerencia no ha podido ser grabada" });
        QVERIFY(!QFileInfo::exists(folder));
    }
};

QTEST_MAIN(TestMediaWidget)
#include "tst_mediawidget.moc"
