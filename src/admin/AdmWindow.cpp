#include "admin/AdmWindow.h"

AdmWindow::AdmWindow(QWidget *parent)
    : QMainWindow(parent)
{
    setWindowTitle(QStringLiteral("Purimba - Administrador"));
}
