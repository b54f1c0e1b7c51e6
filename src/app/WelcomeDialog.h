#pragma once

#include <QDialog>

class QLabel;
class QMovie;
class QTimer;

// The borderless intro window of the learner modes: the intro animation and
// clip, closed by Space or after 14 seconds.
class WelcomeDialog : public QDialog
{
    Q_OBJECT
public:
    static constexpr int closeDelayMs = 14000;

    // Shows itself and starts the introduction.
    WelcomeDialog();

Q_SIGNALS:
    void done();

public Q_SLOTS:
    void welcomeClose();

protected:
    // Only Space closes the dialog early: the dialog's own Escape would end
    // the program before the main window ever showed.
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;

private:
    QLabel *m_animationLabel;
    QMovie *m_animation;
    QTimer *m_closeTimer;
};
