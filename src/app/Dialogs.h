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

} // namespace Dialogs
