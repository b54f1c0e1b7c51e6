#include "app/CreditsWindow.h"

#include "content/MediaPaths.h"

#include <QLabel>
#include <QPixmap>
#include <QVBoxLayout>

CreditsWindow::CreditsWindow(QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(tr("Creditos"));
    m_picture = new QLabel(this);
    m_picture->setPixmap(QPixmap(MediaPaths::uiFile(QStringLiteral("credits.jpg"))));
    m_picture->setAccessibleName(tr("Creditos"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_picture);
}
