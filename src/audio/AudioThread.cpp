#include "audio/AudioThread.h"

#include "audio/Audio.h"
#include "audio/AudioClip.h"
#include "audio/AudioMonitor.h"

#include <QFileInfo>
#include <SDL.h>
#include <atomic>
#include <optional>
#include <thread>

// One start() of a player, shared with the thread that plays it. The thread
// may outlive the player: it then finishes its work and tells nobody.
struct AudioThread::Run
{
    QString file; // as the caller gave it, for the monitor
    QString path; // absolute, resolved when started
    Audio::Ticket ticket = 0; // 0: nothing to play
    std::mutex mutex;
    AudioThread *owner = nullptr; // guarded by mutex; null once dropped

    static void play(const std::shared_ptr<Run> &run);
};

// On the run's own thread.
void AudioThread::Run::play(const std::shared_ptr<Run> &run)
{
    const Audio::Ticket ticket = run->ticket;
    Audio *audio = Audio::instance();
    if (ticket != 0) {
        std::optional<AudioClip> clip;
        if (!audio->isSuperseded(ticket))
            clip.emplace(run->path);
        Audio::Ticket newer = 0;
        // Reported in turn with the other starts: a thread paused right
        // after its start must not report it after a newer clip's.
        const bool played = audio->playIfNewest(
            ticket, clip && !clip->isEmpty() ? &*clip : nullptr, &newer, [&run] {
                Q_EMIT AudioMonitor::instance()->clipStarted(run->file, AudioMonitor::now());
            });
        if (!played && newer != 0) {
            // Replaced before it could sound: like a clip cut off, it ends
            // when the clip that replaced it has ended.
            audio->waitUntilSettled(newer);
        }
        // Also keeps the decoded samples alive while the mixer may play them.
        audio->waitForSilence();
        // Nothing newer can have been asked for in a chain yet: the next step
        // waits for this run's end, posted below.
        if (played && !audio->isSuperseded(ticket))
            Q_EMIT AudioMonitor::instance()->clipSilent(run->file, audio->lastSilenceNanoseconds());
        clip.reset();
        audio->runEnded();
    }
    // SDL keeps an error text per thread and frees it only for threads it
    // started itself.
    SDL_TLSCleanup();
    std::lock_guard<std::mutex> lock(run->mutex);
    if (AudioThread *player = run->owner) {
        // Posted under the lock, so the owner cannot be destroyed meanwhile;
        // an event for an object destroyed later is dropped by Qt.
        QMetaObject::invokeMethod(
            player, [player, run] { player->runEnded(run); }, Qt::QueuedConnection);
    }
}

namespace {
std::atomic<int> liveInstances { 0 };
// GUI thread only: how many finished() signals are being delivered right now.
// A player started meanwhile is the next step of a sequence.
int finishedUnderWay = 0;
}

AudioThread::AudioThread(QObject *parent)
    : QObject(parent)
{
    ++liveInstances;
}

AudioThread::~AudioThread()
{
    --liveInstances;
    if (!m_run)
        return;
    const Audio::Ticket ticket = m_run->ticket;
    release();
    // Destroyed mid-clip (the activity or the program is closing): nobody
    // will wait for the rest of this clip.
    Audio::instance()->stopIfSounding(ticket);
}

void AudioThread::start()
{
    if (m_run)
        return;
    auto run = std::make_shared<Run>();
    run->file = file;
    const QFileInfo info(file);
    if (!file.isEmpty() && info.exists() && !info.isDir()) {
        run->path = info.absoluteFilePath();
        run->ticket = Audio::instance()->request();
    }
    run->owner = this;
    m_run = run;
    Q_EMIT AudioMonitor::instance()->clipRequested(file, finishedUnderWay > 0);
    std::thread([run] { Run::play(run); }).detach();
}

void AudioThread::cancel()
{
    if (m_run)
        release();
    if (m_oneShot)
        deleteLater();
}

void AudioThread::release()
{
    {
        std::lock_guard<std::mutex> lock(m_run->mutex);
        m_run->owner = nullptr;
    }
    if (m_run->ticket != 0)
        Audio::instance()->withdraw(m_run->ticket);
    m_run.reset();
}

void AudioThread::runEnded(const std::shared_ptr<Run> &run)
{
    // A run dropped after it had already posted its end.
    if (run != m_run)
        return;
    m_run.reset();
    ++finishedUnderWay;
    Q_EMIT finished();
    --finishedUnderWay;
}

AudioThread *AudioThread::oneShot(const QString &file, QObject *parent)
{
    auto *player = new AudioThread(parent);
    player->file = file;
    player->m_oneShot = true;
    connect(player, &AudioThread::finished, player, &QObject::deleteLater);
    return player;
}

int AudioThread::instances()
{
    return liveInstances.load();
}

void AudioThread::cancelAll(const QObject *owner)
{
    const auto players = owner->findChildren<AudioThread *>(Qt::FindDirectChildrenOnly);
    for (AudioThread *player : players)
        player->cancel();
}

void AudioThread::playOnce(const QString &file, QObject *parent)
{
    oneShot(file, parent)->start();
}
