#include "users/ReportDialog.h"

#include "activities/ActivityWidget.h"
#include "app/Dialogs.h"
#include "content/DataStore.h"
#include "users/ReportSummary.h"

#include <QHBoxLayout>
#include <QPrinter>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

ReportDialog::ReportDialog(UserDatabase *, ActivityCatalogue *, QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Purimba - Reportes"));
    setMinimumSize(640, 480);

    m_view = new QTextBrowser(this);
    m_view->setObjectName(QStringLiteral("reportView"));
    m_view->setAccessibleName(QStringLiteral("Reporte del usuario"));

    auto *buttons = new QHBoxLayout;
    const auto addButton = [this, buttons](const QString &text, const char *name) {
        auto *button = new QPushButton(text, this);
        button->setObjectName(QLatin1String(name));
        button->setAccessibleName(text);
        // Enter in the view must not export or print by surprise.
        button->setAutoDefault(false);
        buttons->addWidget(button);
        return button;
    };
    QPushButton *save = addButton(QStringLiteral("Exportar datos"), "exportButton");
    QPushButton *print = addButton(QStringLiteral("Imprimir"), "printButton");
    QPushButton *close = addButton(QStringLiteral("Cerrar"), "closeButton");
    connect(save, &QPushButton::clicked, this, &ReportDialog::slotSaveAs);
    connect(print, &QPushButton::clicked, this, &ReportDialog::slotPrint);
    connect(close, &QPushButton::clicked, this, &QDialog::hide);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_view);
    layout->addLayout(buttons);
}

void ReportDialog::setReport(const QString &html, const QString &text)
{
    m_view->setHtml(html);
    m_text = text;
}

QString ReportDialog::exportText() const
{
    return m_text;
}

QString ReportDialog::htmlReport(
    const QString &user, const ActivityWidget *letters, const ActivityWidget *braille)
{
    QList<const ScoreManager *> managers;
    for (const ActivityWidget *widget : { letters, braille }) {
        for (const ScoreManager *manager : widget->scoreManagers())
            managers << manager;
    }
    // A name is free text: "<" or "&" in it must show as typed. The summary
    // comes first, for a teacher who has no time for the tables below it.
    return QStringLiteral("<B>Usuario : ") + user.toHtmlEscaped() + QStringLiteral("</B><BR>")
        + ReportSummary::html(managers) + letters->scoreToHTML() + QStringLiteral("<hr>")
        + braille->scoreToHTML();
}

QString ReportDialog::textReport(
    const QString &user, const ActivityWidget *letters, const ActivityWidget *braille)
{
    return QStringLiteral("Usuario\t") + user + QLatin1Char('\n') + letters->scoreToExcel()
        + QLatin1Char('\n') + braille->scoreToExcel();
}

void ReportDialog::slotSaveAs()
{
    const QString path = Dialogs::saveFile(
        this, QStringLiteral("Elegir archivo"), QStringLiteral("Archivos CSV (*.csv)"));
    if (path.isEmpty())
        return;
    // An export that fails half-way must not leave a cut-off file under the
    // name of one the tutor had saved before.
    DataStore::writeAtomically(path, m_text.toUtf8());
}

void ReportDialog::slotPrint()
{
    QPrinter printer(QPrinter::ScreenResolution);
    if (!Dialogs::choosePrinter(this, &printer))
        return;
    m_view->print(&printer);
}
