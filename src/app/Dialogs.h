#pragma once

#include <QString>
#include <functional>

class QPrinter;
class QWidget;

// Every message box and file dialog of the program goes through here, so a
// headless test can answer them in advance instead of being blocked.
namespace Dialogs {

void information(QWidget *parent, const QString &title, const QString &text);

// Test seam: while set, information() calls it instead of showing a box.
using InformationHandler = std::function<void(const QString &title, const QString &text)>;
void setInformationHandler(InformationHandler handler);

// A question with the buttons "&Si" and "&No"; "&No" answers Enter and
// Escape, so that a key pressed out of habit never deletes or stores
// anything. True for "&Si".
bool question(QWidget *parent, const QString &title, const QString &text);

// Test seam: while set, question() returns its answer instead of asking.
using QuestionHandler = std::function<bool(const QString &title, const QString &text)>;
void setQuestionHandler(QuestionHandler handler);

// An open-file dialog starting with an empty name; the chosen path, or the
// empty string when it was cancelled.
QString openFile(QWidget *parent, const QString &title, const QString &filter);

// Test seam: while set, openFile() returns its answer instead of asking.
using OpenFileHandler = std::function<QString(const QString &title, const QString &filter)>;
void setOpenFileHandler(OpenFileHandler handler);

// A save-file dialog starting with an empty name; the chosen path exactly as
// given (no extension added), or the empty string when it was cancelled.
QString saveFile(QWidget *parent, const QString &title, const QString &filter);

// Test seam: while set, saveFile() returns its answer instead of asking.
using SaveFileHandler = std::function<QString(const QString &title, const QString &filter)>;
void setSaveFileHandler(SaveFileHandler handler);

// The platform's print dialog for printer; true when it was accepted, the
// printer then set up as the user chose.
bool choosePrinter(QWidget *parent, QPrinter *printer);

// Test seam: while set, choosePrinter() calls it instead of showing a dialog
// (it may set the printer up, say to print into a PDF file).
using PrinterHandler = std::function<bool(QPrinter *printer)>;
void setPrinterHandler(PrinterHandler handler);

} // namespace Dialogs
