#include "activities/braille/BrailleWidget.h"
#include "activities/letters/LetrasWidget.h"
#include "app/Dialogs.h"
#include "support/TestSupport.h"
#include "users/ReportDialog.h"

#include <QDir>
#include <QFile>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTextDocument>
#include <QtTest>
#include <memory>

// The report of a learner who has not answered yet, as the tutor sees,
// exports and prints it.
class TestReportDialog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void window();
    void everyRowIsEmpty();
    void exportStartsWithLearnerAndFirstSection();
    void sections_data();
    void sections();
    void exportFile_data();
    void exportFile();
    void printIntoPdf();
    void printCancelled();
    void learnerNameShowsAsTyped();
    void summaryOfEveryActivityFirst();

private:
    // The rows of each section of the export text, by section name.
    QMap<QString, QStringList> textSections() const;
    void clickButton(const char *name);

    const QString m_learner = QStringLiteral("Begoña");
    std::unique_ptr<TestSupport::MediaTree> m_tree;
    std::unique_ptr<LetrasWidget> m_letters;
    std::unique_ptr<BrailleWidget> m_braille;
    std::unique_ptr<ReportDialog> m_dialog;
    QString m_html;
    QString m_text;
    int m_messages = 0;
};

void TestReportDialog::initTestCase()
{
    m_tree = std::make_unique<TestSupport::MediaTree>();
    m_letters = std::make_unique<LetrasWidget>();
    m_braille = std::make_unique<BrailleWidget>();
    m_html = ReportDialog::htmlReport(m_learner, m_letters.get(), m_braille.get());
    m_text = ReportDialog::textReport(m_learner, m_letters.get(), m_braille.get());
    // Export and printing fail silently: a message box would be a fault.
    Dialogs::setInformationHandler([this](const QString &, const QString &) { ++m_messages; });
}

void TestReportDialog::init()
{
    m_dialog = std::make_unique<ReportDialog>(nullptr, nullptr);
    m_dialog->setReport(m_html, m_text);
    m_messages = 0;
}

void TestReportDialog::cleanup()
{
    QCOMPARE(m_messages, 0);
    Dialogs::setSaveFileHandler(nullptr);
    Dialogs::setPrinterHandler(nullptr);
    m_dialog.reset();
}

QMap<QString, QStringList> TestReportDialog::textSections() const
{
    QMap<QString, QStringList> sections;
    QString current;
    const QStringList lines = m_text.split(QLatin1Char('\n'));
    for (const QString &line : lines) {
        if (line.startsWith(QLatin1String("Actividad\t"))) {
            current = line.section(QLatin1Char('\t'), 1);
            sections[current];
        } else if (!current.isEmpty() && !line.isEmpty()
            && !line.startsWith(QLatin1String("Objeto\t"))) {
            sections[current] << line;
        }
    }
    return sections;
}

void TestReportDialog::clickButton(const char *name)
{
    auto *button = m_dialog->findChild<QPushButton *>(QLatin1String(name));
    QVERIFY(button);
    QTest::mouseClick(button, Qt::LeftButton);
}

void TestReportDialog::window()
{
    m_dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_dialog.get()));
    QCOMPARE(m_dialog->windowTitle(), QStringLiteral("Purimba - Reportes"));
    QCOMPARE(m_dialog->minimumSize(), QSize(640, 480));

    // The report is shown, and the three buttons sit in a row below it.
    auto *view = m_dialog->findChild<QTextBrowser *>();
    QVERIFY(view->isReadOnly());
    QVERIFY(view->toPlainText().startsWith(QStringLiteral("Usuario : Begoña")));
    QStringList order;
    auto buttons = m_dialog->findChildren<QPushButton *>();
    std::sort(buttons.begin(), buttons.end(),
        [](const QWidget *a, const QWidget *b) { return a->x() < b->x(); });
    for (const QPushButton *button : std::as_const(buttons)) {
        QCOMPARE(button->y(), buttons.first()->y());
        QVERIFY(button->y() > view->geometry().bottom());
        order << button->text();
    }
    QCOMPARE(order, (QStringList { "Exportar datos", "Imprimir", "Cerrar" }));

    const auto widgets = m_dialog->findChildren<QWidget *>();
    for (const QWidget *widget : widgets) {
        if (widget->focusPolicy() != Qt::NoFocus && widget->isVisibleTo(m_dialog.get()))
            QVERIFY2(!widget->accessibleName().isEmpty(), widget->metaObject()->className());
    }

    clickButton("closeButton");
    QVERIFY(!m_dialog->isVisible());
    QCOMPARE(m_dialog->exportText(), m_text);
}

void TestReportDialog::everyRowIsEmpty()
{
    const QString emptyRow = QStringLiteral(
        "</td><td align=\"center\">0</td><td align=\"center\">0</td><td align=\"center\">0.00%"
        "</td><td align=\"center\">0</td><td align=\"center\"><font color=\"red\">&times;</font>"
        "</td></tr>");
    const QStringList rows = m_html.split(QStringLiteral("<tr><td>")).mid(1);
    // 4 × 27 + 10 letters and numbers, 2 × (6 + 27 + 10) braille.
    QCOMPARE(rows.size(), 204);
    for (const QString &row : rows)
        QVERIFY2(row.contains(emptyRow), qPrintable(row));
    // The learner, the summary of every activity, then the tables.
    QVERIFY(m_html.startsWith(QStringLiteral("<B>Usuario : Begoña</B><BR>")));
    const qsizetype firstTable = m_html.indexOf(QStringLiteral("<P>Actividad : "));
    QCOMPARE(m_html.indexOf(QStringLiteral("<P>Actividad : Como Suena<br>")), firstTable);
    QVERIFY(m_html.indexOf(QStringLiteral("Resumen")) < firstTable);
    QVERIFY(m_html.contains(
        QStringLiteral("<P><HR></P><hr><P>Actividad : Puntos Escondidos Cajetin<br>")));

    int lines = 0;
    const auto sections = textSections();
    for (const QStringList &section : sections) {
        for (const QString &line : section) {
            QVERIFY2(line.endsWith(QStringLiteral("\t0\t0\t0.00\t0\tNO")), qPrintable(line));
            ++lines;
        }
    }
    QCOMPARE(lines, 204);
}

void TestReportDialog::exportStartsWithLearnerAndFirstSection()
{
    const QStringList lines = m_text.split(QLatin1Char('\n'));
    QCOMPARE(lines.mid(0, 3),
        (QStringList { "Usuario\tBegoña", "Actividad\tComo Suena",
            "Objeto\tCorrectas\tTotal\tDesempe&ntilde;o\tConsecutivas\tDominio" }));
    // The braille part follows the letters part after an empty line.
    QVERIFY(m_text.contains(QStringLiteral("NO\n\nActividad\tPuntos Escondidos Cajetin\n")));
}

void TestReportDialog::sections_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QStringList>("sample"); // consecutive labels
    QTest::newRow("how it sounds") << "Como Suena" << 27 << QStringList { "A", "B" };
    QTest::newRow("hidden objects") << "Objetos Escondidos" << 27 << QStringList { "N", "Ñ", "O" };
    QTest::newRow("hidden numbers") << "Numeros Escondidos" << 10 << QStringList { "0", "1" };
    QTest::newRow("hidden dots in the cell")
        << "Puntos Escondidos Cajetin" << 6 << QStringList { "P1", "P2", "P3", "P4", "P5", "P6" };
    QTest::newRow("hidden letters on the Perkins")
        << "Letras Escondidas Maquina Perkins" << 27 << QStringList { "Y", "Z" };
    QTest::newRow("hidden numbers on the Perkins")
        << "Numeros Escondidos Maquina Perkins" << 10 << QStringList { "8", "9" };
}

void TestReportDialog::sections()
{
    QFETCH(QString, name);
    QFETCH(int, rows);
    QFETCH(QStringList, sample);

    const auto all = textSections();
    QCOMPARE(all.size(), 11);
    QCOMPARE(int(m_html.count(QStringLiteral("<P>Actividad : "))), 11);

    QStringList labels;
    for (const QString &line : all.value(name))
        labels << line.section(QLatin1Char('\t'), 0, 0);
    QCOMPARE(labels.size(), rows);
    const int at = int(labels.indexOf(sample.first()));
    QVERIFY(at >= 0);
    QCOMPARE(labels.mid(at, sample.size()), sample);

    // The rich text has the same rows under the same name.
    const QString html = m_html.section(QStringLiteral("<P>Actividad : ") + name + "<br>", 1)
                             .section(QStringLiteral("</table>"), 0, 0);
    QCOMPARE(int(html.count(QStringLiteral("<tr><td>"))), rows);
    QVERIFY(html.contains(QStringLiteral("<tr><td>") + sample.last() + QStringLiteral("</td>")));
}

void TestReportDialog::exportFile_data()
{
    QTest::addColumn<QString>("chosen"); // relative to a fresh folder; "" cancels
    QTest::addColumn<QByteArray>("before"); // the file's bytes before the export
    QTest::addColumn<bool>("written");
    QTest::newRow("a name without extension") << "reporte" << QByteArray() << true;
    QTest::newRow("an older export is replaced")
        << "reporte.csv" << QByteArray(100000, 'x') << true;
    QTest::newRow("cancelled") << "" << QByteArray() << false;
    QTest::newRow("a folder that cannot hold it") << "plain-file/reporte" << QByteArray() << false;
}

// The export text is written unchanged, as UTF-8, under exactly the chosen
// name; a cancelled or failed export writes nothing and says nothing.
void TestReportDialog::exportFile()
{
    QFETCH(QString, chosen);
    QFETCH(QByteArray, before);
    QFETCH(bool, written);

    QTemporaryDir dir;
    QFile plain(dir.filePath(QStringLiteral("plain-file")));
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.close();
    const QString path = chosen.isEmpty() ? QString() : dir.filePath(chosen);
    if (!before.isEmpty()) {
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write(before);
    }
    QStringList asked;
    Dialogs::setSaveFileHandler([&](const QString &title, const QString &filter) {
        asked << title << filter;
        return path;
    });

    clickButton("exportButton");
    QCOMPARE(asked, (QStringList { "Elegir archivo", "Archivos CSV (*.csv)" }));
    const QStringList expectedEntries = written
        ? QStringList { "plain-file", QFileInfo(chosen).fileName() }
        : QStringList { "plain-file" };
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot),
        expectedEntries);
    if (written) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), m_text.toUtf8());
    }
}

// The printed report is the rich text as shown, learner name and all.
void TestReportDialog::printIntoPdf()
{
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (pdftotext.isEmpty())
        QSKIP("pdftotext (poppler-utils) is not installed: the printed PDF cannot be read back");
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("reporte.pdf"));
    int resolution = 0;
    Dialogs::setPrinterHandler([&](QPrinter *printer) {
        resolution = printer->resolution();
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(pdf);
        return true;
    });

    clickButton("printButton");
    QCOMPARE(resolution, QPrinter(QPrinter::ScreenResolution).resolution());
    QProcess reader;
    reader.start(
        pdftotext, { QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf, QStringLiteral("-") });
    QVERIFY(reader.waitForFinished(30000));
    QCOMPARE(reader.exitCode(), 0);
    const QString printed = QString::fromUtf8(reader.readAllStandardOutput());
    QVERIFY2(printed.contains(QStringLiteral("Usuario : Begoña")), qPrintable(printed.left(300)));
    QVERIFY(printed.contains(QStringLiteral("Como Suena")));
    QVERIFY(printed.contains(QStringLiteral("Numeros Escondidos Maquina Perkins")));
}

void TestReportDialog::printCancelled()
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("reporte.pdf"));
    Dialogs::setPrinterHandler([&](QPrinter *printer) {
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(pdf);
        return false;
    });
    clickButton("printButton");
    QVERIFY(!QFile::exists(pdf));
}

void TestReportDialog::learnerNameShowsAsTyped()
{
    QTextDocument shown;
    shown.setHtml(
        ReportDialog::htmlReport(QStringLiteral("Ana <b>& Bea"), m_letters.get(), m_braille.get()));
    QVERIFY(shown.toPlainText().startsWith(QStringLiteral("Usuario : Ana <b>& Bea\n")));
}

// Above the tables, one summary line for each of the report's activities,
// in the order of the tables.
void TestReportDialog::summaryOfEveryActivityFirst()
{
    QStringList activities;
    const QStringList lines = m_text.split(QLatin1Char('\n'));
    for (const QString &line : lines) {
        if (line.startsWith(QLatin1String("Actividad\t")))
            activities << line.section(QLatin1Char('\t'), 1);
    }
    QCOMPARE(activities.size(), 11);

    QTextDocument shown;
    shown.setHtml(m_html);
    const QString summary
        = shown.toPlainText().section(QStringLiteral("Actividad : Como Suena\n"), 0, 0);
    QStringList summarised;
    const QStringList shownLines = summary.split(QLatin1Char('\n'));
    for (const QString &line : shownLines) {
        if (line.endsWith(QStringLiteral(": sin respuestas todavía")))
            summarised << line.section(QLatin1Char(':'), 0, 0);
    }
    QCOMPARE(summarised, activities);
}

QTEST_MAIN(TestReportDialog)
#include "tst_reportdialog.moc"
