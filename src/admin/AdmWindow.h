#pragma once

#include <QMainWindow>

// The media administrator's window (administrator mode). It never opens the
// sound device.
class AdmWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit AdmWindow(QWidget *parent = nullptr);
};
