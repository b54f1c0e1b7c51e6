#pragma once

#include <QString>

#include <functional>

class QWidget;

// Every message box and file dialog of the program goes through here, so a
// headless test can answer them in advance instead of being blocked.
namespace Dialogs {

void information(QWidget *parent, const QString &title, const QString &text);

// Test seam: while set, information() calls it instead of showing a box.
using InformationHandler = std::function<void(const QString &title, const QString &text)>;
void setInformationHandler(InformationHandler handler);

// A question with the buttons "&Si" (the default) and "&No" (Escape); true
// for "&Si".
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

} // namespace Dialogs
