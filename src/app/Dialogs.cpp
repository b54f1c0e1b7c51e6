#include "app/Dialogs.h"

#include <QMessageBox>

namespace Dialogs {

namespace {
InformationHandler &informationHandler()
{
    static InformationHandler handler;
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

} // namespace Dialogs
