#include "app/Dialogs.h"
#include "app/KeyboardWidget.h"
#include "app/MenuWidget.h"
#include "app/TopWidget.h"
#include "content/DataStore.h"
#include "support/TestSupport.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QFile>
#include <QGroupBox>
#include <QLockFile>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTextEdit>
#include <QtTest>

// The side panel with its letter selection, and the top bar.
class TestSidePanel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_tree = std::make_unique<TestSupport::MediaTree>();
        m_tree->addFolder(QStringLiteral("media/system/text"));
        m_messages.clear();
        Dialogs::setInformationHandler([this](const QString &title, const QString &text) {
            m_messages << title + ": " + text;
        });
    }
    void cleanup()
    {
        Dialogs::setInformationHandler(nullptr);
        m_tree.reset();
    }

    void letterSelection()
    {
        DataStore store;
        MenuWidget panel(&store);
        KeyboardWidget *dialog = panel.letterSelection();
        QSignalSpy reported(&panel, &MenuWidget::signalSelectedLetters);
        QPushButton *selectLetters = button(&panel, "Seleccionar letras");

        // Opened and closed at once: every letter.
        selectLetters->click();
        button(dialog, "Cerrar")->click();
        QCOMPARE(reported.takeFirst().at(0).toString(), QString());
        QVERIFY(dialog->isHidden());

        button(dialog, "O")->click();
        button(dialog, "\u00d1")->click();
        QCOMPARE(dialog->selection(), QStringLiteral("\u00d1 O "));
        button(dialog, "\u00d1")->click();
        QCOMPARE(dialog->selection(), QStringLiteral("O "));
        button(dialog, "Seleccionar")->click();
        QCOMPARE(reported.takeFirst().at(0).toString(), QStringLiteral("O "));
        QCOMPARE(selectLetters->text(), QStringLiteral("LETRAS SELECCIONADAS"));

        // Reopened, it shows the selection kept; "Todas" clears it and waits.
        selectLetters->click();
        QVERIFY(button(dialog, "O")->isChecked());
        button(dialog, "Todas")->click();
        QVERIFY(!button(dialog, "Todas")->isEnabled());
        QVERIFY(!button(dialog, "Seleccionar")->isEnabled());
        QCOMPARE(reported.count(), 0);
        dialog->close(); // the window frame
        QCOMPARE(reported.count(), 1);
        QCOMPARE(reported.takeFirst().at(0).toString(), QString());
        QCOMPARE(selectLetters->text(), QStringLiteral("Seleccionar letras"));
    }

    void optionsOfEachActivity_data()
    {
        QTest::addColumn<int>("activity");
        QTest::addColumn<int>("sub");
        QTest::addColumn<QStringList>("shown");
        const QStringList always { "Voz de Mofli", "Ultima Instruccion" };
        QTest::newRow("te presento sonidos")
            << 0 << 0 << QStringList { "Segmentar palabras", "Seleccionar letras" } + always;
        QTest::newRow("te presento nombres")
            << 0 << 3 << QStringList { "Segmentar oraciones", "Seleccionar letras" } + always;
        QTest::newRow("numeros escondidos") << 0 << 7 << always;
        QTest::newRow("formemos letras, cell")
            << 1 << 2 << QStringList { "Modo escritura" } + always;
        QTest::newRow("formemos letras, perkins") << 1 << 8 << always;
        QTest::newRow("texts") << 2 << 0 << QStringList { "Ultima Instruccion" };
        QTest::newRow("writing") << 3 << 0
                                 << QStringList { "&Letra", "&Palabra", "&Frase", "&Texto" };
    }

    void optionsOfEachActivity()
    {
        QFETCH(int, activity);
        QFETCH(int, sub);
        QFETCH(QStringList, shown);
        DataStore store;
        MenuWidget panel(&store);
        panel.show();
        // From the writing activity, whose options are the furthest from the others.
        panel.setActivity(3, 0);
        panel.setActivity(activity, sub);
        QStringList visible;
        const auto buttons = panel.findChildren<QAbstractButton *>();
        for (QAbstractButton *b : buttons) {
            const bool option = !qobject_cast<QPushButton *>(b)
                || b->text() == QLatin1String("Seleccionar letras")
                || b->text() == QLatin1String("Ultima Instruccion");
            if (option && b->isVisibleTo(&panel) && b->window() == &panel)
                visible << b->text();
        }
        QCOMPARE(visible, shown);
    }

    // Activity suggestions: created with declaration, document type and
    // root; one element per pair; read back by the next panel.
    void savingActivitySuggestions()
    {
        const QString path = MenuWidget::activitySuggestionsFile();
        QStringList status;
        {
            DataStore store;
            MenuWidget panel(&store);
            connect(&panel, &MenuWidget::signalStatusMessage, this,
                [&status](const QString &text) { status << text; });
            panel.setActivity(0, 1);
            QCOMPARE(panel.activitySuggestion(),
                QStringLiteral("No hay sugerencias para esta actividad"));
            save(panel, QStringLiteral("Primero"));
            save(panel, QStringLiteral("Mejor con vocales & <calma>"));
            panel.setActivity(1, 10);
            save(panel, QStringLiteral("Dos"));
        }
        QCOMPARE(readFile(path),
            QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                       "<!DOCTYPE Sugerencias>\n"
                       "<Sugerencias>\n"
                       " <sugerencia activity=\"0\" subactivity=\"1\">Mejor con vocales &amp; "
                       "&lt;calma&gt;</sugerencia>\n"
                       " <sugerencia activity=\"1\" subactivity=\"10\">Dos</sugerencia>\n"
                       "</Sugerencias>\n"));
        // Told in the status bar: a message box would take the child's keys.
        QCOMPARE(
            status, QStringList(3, QStringLiteral("La sugerencia ha sido grabada exitosamente")));
        QCOMPARE(m_messages, QStringList());

        // A later run shows them before anything is saved.
        DataStore store;
        MenuWidget panel(&store);
        panel.setActivity(1, 10);
        QCOMPARE(panel.activitySuggestion(), QStringLiteral("Dos"));
    }

    // An element stored without text takes the new one; a file that does
    // not parse is kept aside, not written over.
    void savingOverOddFiles()
    {
        const QString path = MenuWidget::activitySuggestionsFile();
        m_tree->addFile(QStringLiteral("media/system/text/suggestions.txt"),
            "<Sugerencias><sugerencia activity=\"2\" subactivity=\"0\"/></Sugerencias>");
        {
            DataStore store;
            MenuWidget panel(&store);
            panel.setActivity(2, 0);
            save(panel, QStringLiteral("Leer despacio"));
        }
        QVERIFY(readFile(path).contains(
            "<sugerencia activity=\"2\" subactivity=\"0\">Leer despacio</sugerencia>"));

        const QByteArray broken = "<Sugerencias><sugerencia activity=";
        m_tree->addFile(QStringLiteral("media/system/text/suggestions.txt"), broken);
        DataStore store;
        MenuWidget panel(&store);
        panel.setActivity(3, 0);
        save(panel, QStringLiteral("Nueva"));
        QCOMPARE(readFile(path + QStringLiteral(".damaged")), broken);
        QVERIFY(readFile(path).contains("Nueva"));
    }

    // Another machine of the class holds the file: the child's window goes
    // on at once, the tutor sees the suggestion and is told it will be
    // written, and it is, when the lock is free.
    void savingIntoABusyFolder()
    {
        const QString path = MenuWidget::activitySuggestionsFile();
        QLockFile other(path + QStringLiteral(".lock"));
        QVERIFY(other.tryLock(0));
        DataStore store;
        QStringList status;
        {
            MenuWidget panel(&store);
            connect(&panel, &MenuWidget::signalStatusMessage, this,
                [&status](const QString &text) { status << text; });
            panel.setActivity(0, 2);
            QElapsedTimer clicked;
            clicked.start();
            save(panel, QStringLiteral("Con calma"));
            QVERIFY2(clicked.elapsed() < 1000, qPrintable(QString::number(clicked.elapsed())));
            QCOMPARE(panel.activitySuggestion(), QStringLiteral("Con calma"));
            QVERIFY(!readFile(path).contains("Con calma"));
        }
        QCOMPARE(status,
            QStringList { "La sugerencia sera grabada en cuanto se pueda escribir el archivo" });
        other.unlock();
        QTRY_VERIFY(readFile(path).contains(
            "<sugerencia activity=\"0\" subactivity=\"2\">Con calma</sugerencia>"));
        QCOMPARE(store.keptChanges(), 0);
    }

    void topBarTitles_data()
    {
        QTest::addColumn<int>("activity");
        QTest::addColumn<int>("sub");
        QTest::addColumn<QString>("title");
        QTest::newRow("0 2") << 0 << 2 << "Sonidos de Las Letras - Como empieza";
        QTest::newRow("0 6") << 0 << 6 << "Numeros - Te presento numeros";
        QTest::newRow("1 0") << 1 << 0 << "Cajetin - Exploracion Cajetin";
        QTest::newRow("1 6") << 1 << 6 << "Perkins - Exploracion cajetin";
        QTest::newRow("1 11") << 1 << 11 << "Perkins - Numeros escondidos";
        QTest::newRow("2 any") << 2 << 7 << "Lenguage";
        QTest::newRow("3 any") << 3 << 0 << "Escribir";
        // Pairs it does not name leave the title as it was.
        QTest::newRow("0 8") << 0 << 8 << "Escribir";
        QTest::newRow("1 12") << 1 << 12 << "Escribir";
    }

    void topBarTitles()
    {
        QFETCH(int, activity);
        QFETCH(int, sub);
        QFETCH(QString, title);
        TopWidget bar;
        bar.setActivity(3, 1);
        bar.setActivity(activity, sub);
        QCOMPARE(bar.title(), title);
    }

private:
    static QPushButton *button(QWidget *parent, const char *text)
    {
        const auto buttons = parent->findChildren<QPushButton *>();
        for (QPushButton *b : buttons) {
            if (b->text() == QString::fromUtf8(text))
                return b;
        }
        qFatal("no button %s", text);
    }
    static void save(MenuWidget &panel, const QString &text)
    {
        auto *tabs = panel.findChild<QTabWidget *>();
        tabs->setCurrentIndex(1);
        static_cast<QTextEdit *>(tabs->currentWidget())->setPlainText(text);
        button(&panel, "Guardar sugerencias de actividad")->click();
    }
    static QByteArray readFile(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    std::unique_ptr<TestSupport::MediaTree> m_tree;
    QStringList m_messages;
};

QTEST_MAIN(TestSidePanel)
#include "tst_sidepanel.moc"
