#include "app/Dialogs.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPushButton>

namespace Dialogs {

namespace {
InformationHandler &informationHandler()
{
    static InformationHandler handler;
    return handler;
}

QuestionHandler &questionHandler()
{
    static QuestionHandler handler;
    return handler;
}

OpenFileHandler &openFileHandler()
{
    static OpenFileHandler handler;
    return handler;
}

SaveFileHandler &saveFileHandler()
{
    static SaveFileHandler handler;
    return handler;
}

PrinterHandler &printerHandler()
{
    static PrinterHandler handler;
    return handler;
}
} // namespace

void information(QWidget *parent, const QString &title, const QString &text)
{
    if (informationHandler()) {
        informationHandler()(title, text);
        return;
    }
    QMessageBox::information(parent, title, text);
}

void setInformationHandler(InformationHandler handler)
{
    informationHandler() = std::move(handler);
}

bool question(QWidget *parent, const QString &title, const QString &text)
{
    if (questionHandler())
        return questionHandler()(title, text);
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::NoButton, parent);
    QPushButton *yes = box.addButton(QObject::tr("&Si"), QMessageBox::YesRole);
    QPushButton *no = box.addButton(QObject::tr("&No"), QMessageBox::NoRole);
    box.setDefaultButton(no);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

void setQuestionHandler(QuestionHandler handler)
{
    questionHandler() = std::move(handler);
}

QString openFile(QWidget *parent, const QString &title, const QString &filter)
{
    if (openFileHandler())
        return openFileHandler()(title, filter);
    return QFileDialog::getOpenFileName(parent, title, QString(), filter);
}

void setOpenFileHandler(OpenFileHandler handler)
{
    openFileHandler() = std::move(handler);
}

QString saveFile(QWidget *parent, const QString &title, const QString &filter)
{
    if (saveFileHandler())
        return saveFileHandler()(title, filter);
    // Qt's own dialog: the platform's would add the filter's extension.
    return QFileDialog::getSaveFileName(
        parent, title, QString(), filter, nullptr, QFileDialog::DontUseNativeDialog);
}

void setSaveFileHandler(SaveFileHandler handler)
{
    saveFileHandler() = std::move(handler);
}

bool choosePrinter(QWidget *parent, QPrinter *printer)
{
    if (printerHandler())
        return printerHandler()(printer);
    QPrintDialog dialog(printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

void setPrinterHandler(PrinterHandler handler)
{
    printerHandler() = std::move(handler);
}

} // namespace Dialogs
