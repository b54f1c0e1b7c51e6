#pragma once

#include <QDialog>

class QLabel;

// The credits picture, shown from the "Acerca de Purimba" entry. Created
// hidden; closing it only hides it, so it can be shown again.
class CreditsWindow : public QDialog
{
    Q_OBJECT
public:
    explicit CreditsWindow(QWidget *parent = nullptr);

private:
    QLabel *m_picture;
};
