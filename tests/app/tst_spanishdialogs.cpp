#include "app/Dialogs.h"
#include "app/StartUp.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QLabel>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

// Qt's own dialogs speak Spanish once the start-up has loaded Qt's
// translations, whatever the locale the program was started in.
class TestSpanishDialogs : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void texts_data();
    void texts();
    void informationBoxButton();

private:
    bool m_loaded = false;
};

void TestSpanishDialogs::initTestCase()
{
    // A desktop in English: the dialogs must not follow it.
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QVERIFY(QCoreApplication::translate("QPlatformTheme", "Cancel") == QLatin1String("Cancel"));
    m_loaded = StartUp::installSpanishTranslations();
    if (!m_loaded) {
        QSKIP(qPrintable(QStringLiteral("Qt's Spanish translations (qt_es.qm, qtbase_es.qm; "
                                        "Debian package qt6-translations-l10n) are not in ")
            + QLibraryInfo::path(QLibraryInfo::TranslationsPath)));
    }
    QCOMPARE(QLocale().language(), QLocale::Spanish);
    // Only Qt's own dialogs are translated; a platform's would follow the desktop.
    QVERIFY(QCoreApplication::testAttribute(Qt::AA_DontUseNativeDialogs));
}

void TestSpanishDialogs::texts_data()
{
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("expected");

    const auto buttonText = [](QDialogButtonBox::StandardButton which) {
        QDialogButtonBox box(which);
        return box.button(which)->text();
    };
    QTest::newRow("Cancel button") << buttonText(QDialogButtonBox::Cancel) << "Cancelar";
    QTest::newRow("Save button") << buttonText(QDialogButtonBox::Save) << "Guardar";
    QTest::newRow("Close button") << buttonText(QDialogButtonBox::Close) << "Cerrar";

    QMessageBox message(QMessageBox::Information, "t", "x", QMessageBox::Ok | QMessageBox::No);
    QTest::newRow("message box OK") << message.button(QMessageBox::Ok)->text() << "Aceptar";
    QTest::newRow("message box No") << message.button(QMessageBox::No)->text() << "&No";

    // The report's export dialog.
    QFileDialog save(nullptr, "Elegir archivo", QString(), "Archivos CSV (*.csv)");
    save.setAcceptMode(QFileDialog::AcceptSave);
    const auto label = [&save](const char *name) {
        const auto *found = save.findChild<QLabel *>(QLatin1String(name));
        return found ? found->text() : QStringLiteral("<no %1>").arg(QLatin1String(name));
    };
    const auto *saveButtons = save.findChild<QDialogButtonBox *>();
    QVERIFY(saveButtons);
    QTest::newRow("file dialog, look in") << label("lookInLabel") << "Ver en:";
    QTest::newRow("file dialog, file name") << label("fileNameLabel") << "&Nombre de fichero:";
    QTest::newRow("file dialog, file type") << label("fileTypeLabel") << "Ficheros de tipo:";
    QTest::newRow("file dialog, save")
        << saveButtons->button(QDialogButtonBox::Save)->text() << "&Guardar";
    QTest::newRow("file dialog, cancel")
        << saveButtons->button(QDialogButtonBox::Cancel)->text() << "Cancelar";

    QTest::newRow("file dialog, a folder's type")
        << QFileIconProvider().type(QFileInfo(QDir::tempPath())) << "Carpeta";

    QPrinter printer;
    QPrintDialog print(&printer);
    QTest::newRow("print dialog title") << print.windowTitle() << "Imprimir";
}

void TestSpanishDialogs::texts()
{
    QFETCH(QString, shown);
    QFETCH(QString, expected);
    QCOMPARE(shown, expected);
}

// The program's own information boxes take Qt's standard OK button.
void TestSpanishDialogs::informationBoxButton()
{
    QStringList buttons;
    QTimer answer;
    connect(&answer, &QTimer::timeout, this, [&buttons, &answer] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        answer.stop();
        for (const QAbstractButton *button : box->buttons())
            buttons << button->text();
        box->accept();
    });
    answer.start(10);
    Dialogs::information(nullptr, QStringLiteral("Purimba"), QStringLiteral("Listo"));
    QCOMPARE(buttons, QStringList { QStringLiteral("Aceptar") });
}

QTEST_MAIN(TestSpanishDialogs)
#include "tst_spanishdialogs.moc"
