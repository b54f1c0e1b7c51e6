#pragma once

#include <QMainWindow>

// The learner's main window. Created hidden; showWindow() brings it up once
// the welcome dialog is done.
class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit MainWindow(bool tutor, QWidget *parent = nullptr);

    bool isTutor() const { return m_tutor; }

public Q_SLOTS:
    void showWindow();

private:
    const bool m_tutor;
};
