#include "app/MainWindow.h"

#include "audio/Audio.h"

MainWindow::MainWindow(bool tutor, QWidget *parent)
    : QMainWindow(parent)
    , m_tutor(tutor)
{
    setWindowTitle(QStringLiteral("Purimba"));
    Audio::instance()->init();
}

void MainWindow::showWindow()
{
    // The welcome dialog reports done() twice when Space closed it early.
    if (isVisible())
        return;
    show();
}
