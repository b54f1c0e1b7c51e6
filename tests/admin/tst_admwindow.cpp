#include "AdminFixture.h"
#include "admin/AdmWindow.h"
#include "admin/MediaWidget.h"
#include "app/Dialogs.h"
#include "content/MediaPaths.h"

#include <QComboBox>
#include <QDir>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTreeView>
#include <QtTest>

Q_DECLARE_METATYPE(MediaWidget::Kind)

// The administrator window: languages, the three media trees, and the forms
// it opens, on a temporary media tree with the language "Español".
class TestAdmWindow : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<AdminFixture> f;
    std::unique_ptr<AdmWindow> w;

    QComboBox *combo(const char *name) { return w->findChild<QComboBox *>(name); }
    QTabWidget *tabs() { return w->findChild<QTabWidget *>(); }
    bool mediaTabsEnabled()
    {
        return tabs()->isTabEnabled(1) && tabs()->isTabEnabled(2) && tabs()->isTabEnabled(3);
    }

    // Selects Español and shows the tab holding the tree, then makes the item
    // at path (inside the language) the tree's current one.
    QTreeView *pick(const QString &treeName, const QString &path)
    {
        w->slotSelectLanguage();
        auto *tree = w->findChild<QTreeView *>(treeName);
        tabs()->setCurrentWidget(tree->parentWidget());
        auto *model = static_cast<QFileSystemModel *>(tree->model());
        tree->setCurrentIndex(model->index(f->mediaPath(path)));
        return tree;
    }

    QStringList enabledButtons(QTreeView *tree)
    {
        QStringList enabled;
        for (QPushButton *button : tree->parentWidget()->findChildren<QPushButton *>()) {
            if (button->isEnabled())
                enabled << button->text();
        }
        return enabled;
    }

private Q_SLOTS:
    void init()
    {
        f = std::make_unique<AdminFixture>();
        w = std::make_unique<AdmWindow>();
        w->show();
    }
    void cleanup()
    {
        w.reset();
        f.reset();
    }

    void startsWithoutALanguage()
    {
        QCOMPARE(w->statusBar()->currentMessage(), "Idioma no ha sido seleccionado.");
        QVERIFY(!tabs()->isTabEnabled(1) && !tabs()->isTabEnabled(2) && !tabs()->isTabEnabled(3));
        QCOMPARE(combo("selectLanguage")->currentText(), "Español");
        // "Crear" waits for a name.
        QVERIFY(!button(tabs()->widget(0), "Crear")->isEnabled());
        w->findChild<QLineEdit *>("newLanguage")->setText("  ");
        QVERIFY(!button(tabs()->widget(0), "Crear")->isEnabled());
        w->findChild<QLineEdit *>("newLanguage")->setText("Ingles");
        QVERIFY(button(tabs()->widget(0), "Crear")->isEnabled());
    }

    void createLanguage()
    {
        w->findChild<QLineEdit *>("newLanguage")->setText("Ingles");
        button(tabs()->widget(0), "Crear")->click();

        const QString root = MediaPaths::languageRoot("Ingles");
        const QStringList letters
            = QDir(root + "/Letras").entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        QCOMPARE(letters.size(), 27);
        QVERIFY(letters.contains("Ntilde") && letters.contains("N") && letters.contains("Z"));
        QCOMPARE(QDir(root + "/Numeros").entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(), 10);
        QCOMPARE(QDir(root + "/Textos").entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name),
            (QStringList { "Cuentos", "Fabulas", "Poesias", "Trabalenguas" }));
        QCOMPARE(f->messages,
            QStringList { "Idioma creado: El idioma Ingles ha sido creado.\nPara "
                          "agregar medios a este idioma, seleccione la "
                          "pestaña correspondiente" });
        QCOMPARE(combo("selectLanguage")->currentText(), "Ingles");
        QCOMPARE(combo("deleteLanguage")->currentIndex(), -1);
        QCOMPARE(combo("selectLanguage")->count(), 2);
        QVERIFY(mediaTabsEnabled());
        QCOMPARE(w->currentLanguage(), "Ingles");
        QCOMPARE(w->statusBar()->currentMessage(), "Idioma seleccionado : Ingles");
        QCOMPARE(w->findChild<QLineEdit *>("newLanguage")->text(), QString());
    }

    void refusedLanguageNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("message"); // how it begins
        const QString invalid = "Nombre no valido: ";
        QTest::newRow("parent") << "../x" << invalid;
        QTest::newRow("separator") << "a/b" << invalid;
        QTest::newRow("backslash") << "a\\b" << invalid;
        QTest::newRow("dot dot") << ".." << invalid;
        QTest::newRow("dot") << "." << invalid;
        QTest::newRow("hidden") << ".Ingles" << invalid;
        QTest::newRow("hidden dots") << "...x" << invalid;
        QTest::newRow("a case twin") << "ESPAÑOL"
                                     << "Nombre en uso: Ya existe Español, que solo se "
                                        "diferencia de ESPAÑOL en mayusculas o minusculas.";
    }

    void refusedLanguageNames()
    {
        QFETCH(QString, name);
        QFETCH(QString, message);
        const QStringList before = f->snapshot();
        w->findChild<QLineEdit *>("newLanguage")->setText(name);
        button(tabs()->widget(0), "Crear")->click();
        QCOMPARE(f->snapshot(), before);
        QCOMPARE(f->messages.size(), 1);
        QVERIFY2(f->messages.first().startsWith(message), qPrintable(f->messages.first()));
        QVERIFY(!mediaTabsEnabled());
    }

    void createWithoutMediaFolder()
    {
        QVERIFY(QDir(MediaPaths::languagesFolder()).removeRecursively());
        w->findChild<QLineEdit *>("newLanguage")->setText("Ingles");
        button(tabs()->widget(0), "Crear")->click();
        QCOMPARE(f->messages,
            QStringList { "Error: El directorio de medios no ha podido ser encontrado" });
        QVERIFY(!QFileInfo::exists(MediaPaths::languagesFolder()));
    }

    void deleteLanguageAsksFirst()
    {
        f->addItem("Letras/A/Abeja", { "image.jpg" });
        const QStringList before = f->snapshot();
        f->answers << false;
        combo("deleteLanguage")->setCurrentText("Español");
        button(tabs()->widget(0), "Eliminar")->click();
        QCOMPARE(f->snapshot(), before);
        QCOMPARE(f->questions,
            QStringList { "Eliminar idioma: Esta seguro de eliminar el idioma "
                          "Español?\nTodos los medios asociados con este "
                          "idioma seran eliminados." });
        QVERIFY(f->messages.isEmpty());

        button(tabs()->widget(0), "Eliminar")->click();
        QVERIFY(!QFileInfo::exists(MediaPaths::languageRoot("Español")));
        QVERIFY(QFileInfo::exists(MediaPaths::languagesFolder()));
        QCOMPARE(
            f->messages, QStringList { "Idioma eliminado: El idioma Español ha sido eliminado" });
        QVERIFY(!mediaTabsEnabled() && !w->isLanguageSelected());
        // Nothing left to select or delete.
        QCOMPARE(combo("selectLanguage")->count(), 0);
        QVERIFY(!button(tabs()->widget(0), "Seleccionar")->isEnabled());
        QVERIFY(!button(tabs()->widget(0), "Eliminar")->isEnabled());
        w->slotDeleteLanguage(); // the empty name
        QVERIFY(QFileInfo::exists(MediaPaths::languagesFolder()));
    }

    // The list of languages to delete starts with none chosen, whatever was
    // just made or selected: deleting is never one key away.
    void nothingIsChosenForDeletion_data()
    {
        QTest::addColumn<QString>("step");
        QTest::newRow("opened") << "";
        QTest::newRow("a language made") << "create";
        QTest::newRow("a language selected") << "select";
        QTest::newRow("shown again") << "show";
    }

    void nothingIsChosenForDeletion()
    {
        QFETCH(QString, step);
        if (step == "create") {
            w->findChild<QLineEdit *>("newLanguage")->setText("Ingles");
            button(tabs()->widget(0), "Crear")->click();
        } else if (step == "select") {
            w->slotSelectLanguage();
        } else if (step == "show") {
            combo("deleteLanguage")->setCurrentIndex(0);
            w->hide();
            w->show();
        }
        QCOMPARE(combo("deleteLanguage")->currentIndex(), -1);
        QVERIFY(!button(tabs()->widget(0), "Eliminar")->isEnabled());
        w->slotDeleteLanguage();
        QVERIFY(f->questions.isEmpty());
        QVERIFY(QFileInfo::exists(MediaPaths::languageRoot("Español")));

        combo("deleteLanguage")->setCurrentText("Español");
        QVERIFY(button(tabs()->widget(0), "Eliminar")->isEnabled());
    }

    // Every deletion question, shown as the administrator sees it: Enter or
    // Space right away keeps everything.
    void deletionQuestionsDefaultToNo_data()
    {
        QTest::addColumn<QString>("tree"); // empty for the language
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("key");
        QTest::newRow("language, Enter") << ""
                                         << ""
                                         << "Eliminar" << int(Qt::Key_Return);
        QTest::newRow("language, Space") << ""
                                         << ""
                                         << "Eliminar" << int(Qt::Key_Space);
        QTest::newRow("word") << "Letras"
                              << "Letras/A/Abeja"
                              << "Eliminar palabra" << int(Qt::Key_Return);
        QTest::newRow("number") << "Numeros"
                                << "Numeros/3/Tres"
                                << "Eliminar" << int(Qt::Key_Enter);
        QTest::newRow("text") << "Textos"
                              << "Textos/Cuentos/Luna"
                              << "Eliminar" << int(Qt::Key_Space);
    }

    void deletionQuestionsDefaultToNo()
    {
        QFETCH(QString, tree);
        QFETCH(QString, path);
        QFETCH(QString, button);
        QFETCH(int, key);
        f->addItem("Letras/A/Abeja", { "image.jpg" });
        f->addItem("Numeros/3/Tres", { "image.jpg" });
        f->addItem("Textos/Cuentos/Luna", { "menu.ogg" });
        QWidget *page = tabs()->widget(0);
        if (tree.isEmpty())
            combo("deleteLanguage")->setCurrentText("Español");
        else
            page = pick(tree, path)->parentWidget();
        const QStringList before = f->snapshot();

        Dialogs::setQuestionHandler(nullptr);
        QStringList seen; // each box's default button, then whether the key closed it
        QTimer answer;
        QPointer<QMessageBox> pressed;
        connect(&answer, &QTimer::timeout, this, [&] {
            if (pressed) { // the key did not close it
                seen << "still open";
                pressed->reject();
                return;
            }
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            seen << box->defaultButton()->text();
            pressed = box;
            QTest::keyClick(box->focusWidget() ? box->focusWidget() : box, Qt::Key(key));
        });
        answer.start(20);
        ::button(page, button)->click();
        answer.stop();

        QCOMPARE(seen, QStringList { "&No" });
        QCOMPARE(f->snapshot(), before);
        QVERIFY(f->messages.isEmpty());
    }

    void deletionNeverLeavesTheTree()
    {
        QTemporaryDir outside;
        QFile(outside.filePath("keep.txt")).open(QIODevice::WriteOnly);
        const QString word = f->addItem("Letras/A/Abeja", { "image.jpg" });
        QVERIFY(QFile::link(outside.path(), word + "/fuera"));
        QVERIFY(QFile::link(outside.path(), MediaPaths::languagesFolder() + "/Enlace"));
        w->hide();
        w->show(); // shown again, it lists the languages again

        QTreeView *tree = pick("Letras", "Letras/A/Abeja");
        button(tree->parentWidget(), "Eliminar palabra")->click();
        QVERIFY(!QFileInfo::exists(word));

        combo("deleteLanguage")->setCurrentText("Enlace");
        button(tabs()->widget(0), "Eliminar")->click();
        QVERIFY(!QFileInfo(MediaPaths::languagesFolder() + "/Enlace").isSymLink());
        QVERIFY(QFileInfo::exists(outside.filePath("keep.txt")));
        QVERIFY(QFileInfo::exists(MediaPaths::languageRoot("Español")));
    }

    void buttonsFollowTheCurrentItem_data()
    {
        QTest::addColumn<QString>("tree");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QStringList>("enabled");
        QTest::newRow("letter") << "Letras"
                                << "Letras/A" << QStringList { "Sugerencias", "Agregar palabra" };
        QTest::newRow("word") << "Letras"
                              << "Letras/A/Abeja"
                              << QStringList { "Editar palabra", "Eliminar palabra" };
        QTest::newRow("word named like its section")
            << "Letras"
            << "Letras/A/Letras" << QStringList { "Editar palabra", "Eliminar palabra" };
        QTest::newRow("inside a word") << "Letras"
                                       << "Letras/A/Abeja/extra" << QStringList();
        QTest::newRow("digit") << "Numeros"
                               << "Numeros/3" << QStringList { "Sugerencias", "Agregar" };
        QTest::newRow("number") << "Numeros"
                                << "Numeros/3/Tres" << QStringList { "Editar", "Eliminar" };
        QTest::newRow("category") << "Textos"
                                  << "Textos/Cuentos" << QStringList { "Agregar" };
        QTest::newRow("text") << "Textos"
                              << "Textos/Cuentos/Luna"
                              << QStringList { "Sugerencias", "Editar", "Eliminar" };
    }

    void buttonsFollowTheCurrentItem()
    {
        QFETCH(QString, tree);
        QFETCH(QString, path);
        QFETCH(QStringList, enabled);
        f->addItem("Letras/A/Abeja/extra", {});
        f->addItem("Letras/A/Letras", {});
        f->addItem("Numeros/3/Tres", {});
        f->addItem("Textos/Cuentos/Luna", {});
        QTreeView *view = pick(tree, path);
        QCOMPARE(enabledButtons(view), enabled);
        view->setCurrentIndex(QModelIndex());
        QCOMPARE(enabledButtons(view), QStringList());
    }

    void aHandMadeLanguageWithoutNumbers()
    {
        f->tree().addFolder("media/languages/Aymara/Letras/A");
        w->hide();
        w->show();
        combo("selectLanguage")->setCurrentText("Aymara");
        w->slotSelectLanguage();
        tabs()->setCurrentIndex(2);
        QVERIFY(w->findChild<QTreeView *>("Numeros")->isHidden());
        tabs()->setCurrentIndex(1);
        QVERIFY(!w->findChild<QTreeView *>("Letras")->isHidden());
    }

    void formsOpenWithTheirKindAndNames_data()
    {
        QTest::addColumn<QString>("tree");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("button");
        QTest::addColumn<MediaWidget::Kind>("kind");
        QTest::addColumn<QString>("target");
        QTest::newRow("new word") << "Letras"
                                  << "Letras/Ntilde"
                                  << "Agregar palabra" << MediaWidget::NewWord << "Letras/Ntilde";
        QTest::newRow("letter suggestions")
            << "Letras"
            << "Letras/A"
            << "Sugerencias" << MediaWidget::LetterSuggestions << "Letras/A";
        QTest::newRow("edit word") << "Letras"
                                   << "Letras/A/Abeja"
                                   << "Editar palabra" << MediaWidget::EditWord << "Letras/A/Abeja";
        QTest::newRow("new number") << "Numeros"
                                    << "Numeros/3"
                                    << "Agregar" << MediaWidget::NewNumber << "Numeros/3";
        QTest::newRow("number suggestions")
            << "Numeros"
            << "Numeros/3"
            << "Sugerencias" << MediaWidget::NumberSuggestions << "Numeros/3";
        QTest::newRow("edit number") << "Numeros"
                                     << "Numeros/3/Tres"
                                     << "Editar" << MediaWidget::EditNumber << "Numeros/3/Tres";
        QTest::newRow("new text") << "Textos"
                                  << "Textos/Cuentos"
                                  << "Agregar" << MediaWidget::NewText << "Textos/Cuentos";
        QTest::newRow("text suggestions")
            << "Textos"
            << "Textos/Cuentos/Luna"
            << "Sugerencias" << MediaWidget::TextSuggestions << "Textos/Cuentos/Luna";
        QTest::newRow("edit text") << "Textos"
                                   << "Textos/Cuentos/Luna"
                                   << "Editar" << MediaWidget::EditText << "Textos/Cuentos/Luna";
    }

    void formsOpenWithTheirKindAndNames()
    {
        QFETCH(QString, tree);
        QFETCH(QString, path);
        QFETCH(QString, button);
        QFETCH(MediaWidget::Kind, kind);
        QFETCH(QString, target);
        f->addItem("Letras/A/Abeja", {});
        f->addItem("Numeros/3/Tres", {});
        f->addItem("Textos/Cuentos/Luna", {});
        QTreeView *view = pick(tree, path);
        ::button(view->parentWidget(), button)->click();
        const QList<MediaWidget *> forms = w->findChildren<MediaWidget *>();
        QCOMPARE(forms.size(), 1);
        QCOMPARE(forms.first()->kind(), kind);
        QCOMPARE(forms.first()->targetPath(), f->mediaPath(target));
        QVERIFY(forms.first()->isVisible() && !forms.first()->isModal());
    }

    void deleteWordAndSeeTheTreeFollow()
    {
        f->addItem("Numeros/3/Tres", { "image.jpg" });
        QTreeView *tree = pick("Numeros", "Numeros/3/Tres");
        auto *model = static_cast<QFileSystemModel *>(tree->model());
        const QModelIndex digit = model->index(f->mediaPath("Numeros/3"));
        QTRY_COMPARE(model->rowCount(digit), 1);

        f->answers << false;
        button(tree->parentWidget(), "Eliminar")->click();
        QVERIFY(QFileInfo::exists(f->mediaPath("Numeros/3/Tres")));
        button(tree->parentWidget(), "Eliminar")->click();
        QVERIFY(!QFileInfo::exists(f->mediaPath("Numeros/3/Tres")));
        QCOMPARE(f->questions.last(),
            "Eliminar numero: Esta seguro de eliminar Tres?\nTodos los "
            "medios asociados con este numero seran eliminados.");
        QCOMPARE(f->messages,
            QStringList { "Eliminar numero: El numero Tres ha sido eliminada exitosamente." });
        QTRY_COMPARE(model->rowCount(digit), 0);
    }

    void aNewWordShowsInTheTree()
    {
        QTreeView *tree = pick("Letras", "Letras/B");
        auto *model = static_cast<QFileSystemModel *>(tree->model());
        const QModelIndex letter = model->index(f->mediaPath("Letras/B"));
        tree->expand(letter);
        button(tree->parentWidget(), "Agregar palabra")->click();
        auto *form = w->findChild<MediaWidget *>();
        const QStringList rows { "Imagen", "Sonido de objeto", "Palabra audible",
            "Sonido de la letra", "Nombre de la letra" };
        for (QLineEdit *edit : form->findChildren<QLineEdit *>()) {
            if (edit->accessibleName() == "Palabra escrita")
                edit->setText("Barco");
            else if (edit->accessibleName() == "Imagen")
                edit->setText(f->picture("barco.jpg"));
            else if (rows.contains(edit->accessibleName()))
                edit->setText(f->clip(edit->accessibleName() + ".ogg"));
        }
        QPointer<MediaWidget> open(form);
        button(form, "Agregar")->click();
        QTRY_VERIFY(open.isNull()); // closed and deleted
        QTRY_COMPARE(model->rowCount(letter), 1);
        QCOMPARE(model->fileName(model->index(0, 0, letter)), "Barco");
    }
};

QTEST_MAIN(TestAdmWindow)
#include "tst_admwindow.moc"
