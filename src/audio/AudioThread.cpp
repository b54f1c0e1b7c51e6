#include "audio/AudioThread.h"

#include "audio/Audio.h"
#include "audio/AudioClip.h"
#include "audio/AudioMonitor.h"

#include <QFileInfo>

AudioThread::AudioThread(QObject *parent)
    : QThread(parent)
{
}

AudioThread::~AudioThread()
{
    if (isRunning()) {
        // Destroyed mid-clip (the program is closing): cut the clip short so
        // the thread can end instead of outliving its object.
        Audio::instance()->stop();
        wait();
    }
}

void AudioThread::start()
{
    if (isRunning())
        return;
    m_playing = file;
    Q_EMIT AudioMonitor::instance()->clipRequested(m_playing);
    QThread::start();
}

AudioThread *AudioThread::oneShot(const QString &file, QObject *parent)
{
    auto *player = new AudioThread(parent);
    player->file = file;
    connect(player, &QThread::finished, player, &QObject::deleteLater);
    return player;
}

void AudioThread::playOnce(const QString &file, QObject *parent)
{
    oneShot(file, parent)->start();
}

void AudioThread::run()
{
    const QFileInfo info(m_playing);
    if (m_playing.isEmpty() || !info.exists() || info.isDir())
        return;
    Audio *audio = Audio::instance();
    {
        AudioClip clip(m_playing);
        clip.play();
        Q_EMIT AudioMonitor::instance()->clipStarted(m_playing, AudioMonitor::now());
        audio->waitForSilence();
    }
}
