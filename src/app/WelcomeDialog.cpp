#include "app/WelcomeDialog.h"

#include "audio/Audio.h"
#include "audio/AudioThread.h"
#include "content/MediaPaths.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMovie>
#include <QTimer>
#include <QVBoxLayout>

WelcomeDialog::WelcomeDialog()
    : QDialog(nullptr, Qt::FramelessWindowHint)
{
    setModal(true);
    setFixedSize(600, 450);
    setAccessibleName(tr("Bienvenido a Purimba"));

    Audio::instance()->init();

    QPalette background = palette();
    background.setColor(QPalette::All, QPalette::Window, QColor(0, 68, 227));
    setPalette(background);
    setAutoFillBackground(true);

    m_animationLabel = new QLabel(this);
    m_animation = new QMovie(MediaPaths::uiFile(QStringLiteral("int.mng")), QByteArray(), this);
    m_animationLabel->setMovie(m_animation);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_animationLabel);
    m_animation->start();

    show();

    AudioThread::playOnce(MediaPaths::systemClip(QStringLiteral("intro.ogg")), this);

    // Not cancelled by Space: done() then follows a second time, which the
    // main window expects.
    m_closeTimer = new QTimer(this);
    m_closeTimer->setSingleShot(true);
    m_closeTimer->setInterval(closeDelayMs);
    connect(m_closeTimer, &QTimer::timeout, this, &WelcomeDialog::welcomeClose);
    m_closeTimer->start();
}

void WelcomeDialog::welcomeClose()
{
    Q_EMIT done();
    close();
}

void WelcomeDialog::keyPressEvent(QKeyEvent *event)
{
    event->accept();
}

void WelcomeDialog::keyReleaseEvent(QKeyEvent *event)
{
    if (event->key() != Qt::Key_Space || event->isAutoRepeat())
        return;
    // The silent clip takes the voice channel, cutting the intro off at once.
    AudioThread::playOnce(MediaPaths::systemClip(QStringLiteral("blank.ogg")), this);
    welcomeClose();
}
