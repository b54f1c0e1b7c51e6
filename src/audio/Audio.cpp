#include "audio/Audio.h"

#include "audio/AudioClip.h"
#include "audio/AudioMonitor.h"
#include "audio/UnderrunWatch.h"
#include "content/LogRecord.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {
constexpr int voiceChannel = 0;
// A safety net only: the channel-finished callback normally wakes the
// waiters long before this.
constexpr auto silenceRecheck = std::chrono::milliseconds(100);
} // namespace

Audio *Audio::instance()
{
    // Never destroyed: the mixer's thread may still call back while the
    // process exits.
    static Audio *audio = new Audio;
    return audio;
}

Audio::Audio() = default;
Audio::~Audio() = default;

const std::vector<int> &Audio::bufferSizes()
{
    // 5.8 ms at 22050 Hz, then twice as long each time; 1024 was the size
    // every device took before, and 2048 is there for one that runs dry even
    // with that.
    static const std::vector<int> sizes { 128, 256, 512, 1024, 2048 };
    return sizes;
}

void Audio::init()
{
    if (m_open)
        return;
    // SDL would turn SIGINT and SIGTERM into quit events nobody reads here,
    // and the program could then no longer be stopped from outside.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (!open(firstSize())) {
        writeLogRecord(
            QStringLiteral("Audio::init"), { mixerErrorLine() }, QStringLiteral("Audio::init"));
        fatal();
    }
}

std::size_t Audio::firstSize()
{
    // SDL's dummy driver keeps time by sleeping whole milliseconds per buffer:
    // with 128 frames it runs 16% fast. Nobody hears it, and what plays at
    // the real pace through it (the timing tests, the benchmark) needs its
    // clock true, which it is to half a percent from 512 frames.
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) == 0) {
        const char *driver = SDL_GetCurrentAudioDriver();
        // Left initialised: the mixer opens its device on it at once.
        if (driver && std::strcmp(driver, "dummy") == 0) {
            const std::vector<int> &sizes = bufferSizes();
            return std::size_t(std::find(sizes.begin(), sizes.end(), 512) - sizes.begin());
        }
    }
    return 0;
}

bool Audio::open(std::size_t index)
{
    const std::vector<int> &sizes = bufferSizes();
    for (; index < sizes.size(); ++index) {
        const int frames = sizes[index];
        if (frames < m_refusedBelow) {
            Mix_SetError("buffer of %d frames refused", frames);
            continue;
        }
        if (Mix_OpenAudio(m_frequency, m_format, m_channels, frames) == 0)
            break;
    }
    if (index == sizes.size())
        return false;
    int frequency = 0;
    Uint16 format = 0;
    int channels = 0;
    if (Mix_QuerySpec(&frequency, &format, &channels) != 0) {
        m_frequency = frequency;
        m_channels = channels;
    }
    m_sizeIndex = index;
    m_chunkSize.store(sizes[index]);
    m_watch = std::make_unique<UnderrunWatch>(
        std::int64_t(1e9 * sizes[index] / std::max(1, m_frequency)));
    m_wantLarger.store(false);
    Mix_ChannelFinished(&Audio::onChannelFinished);
    Mix_SetPostMix(&Audio::onMixed, nullptr);
    m_open = true;
    Q_EMIT AudioMonitor::instance()->deviceOpened(m_frequency, sizes[index]);
    return true;
}

double Audio::bufferMilliseconds() const
{
    return m_frequency > 0 ? 1000.0 * chunkSize() / m_frequency : 0;
}

void Audio::reopenLarger()
{
    const int frequency = m_frequency;
    const int channels = m_channels;
    const std::size_t index = m_sizeIndex;
    Mix_SetPostMix(nullptr, nullptr);
    Mix_CloseAudio();
    m_open = false;
    // Asked with the rate the device chose, so that clips decoded for it
    // still fit; a device that now refuses the larger sizes gets the old one.
    m_frequency = frequency;
    m_channels = channels;
    if (open(index + 1) || open(index))
        return;
    writeLogRecord(
        QStringLiteral("Audio::init"), { mixerErrorLine() }, QStringLiteral("Audio::init"));
    fatal();
}

void Audio::runEnded()
{
    m_activeRuns.fetch_sub(1);
}

// Runs on the mixer's thread with the mixer locked: it only takes the time.
void Audio::onMixed(void *, std::uint8_t *, int)
{
    Audio *audio = instance();
    if (audio->m_watch->mixed(AudioMonitor::now(), audio->m_clipOn.load())
        && audio->m_sizeIndex + 1 < bufferSizes().size())
        audio->m_wantLarger.store(true);
}

bool Audio::isPlaying() const
{
    return m_open && Mix_Playing(voiceChannel) != 0;
}

void Audio::waitForSilence()
{
    for (;;) {
        // Read the count before looking at the channel, so that a clip ending
        // between the look and the wait is not missed.
        const std::uint64_t seen = m_silences.load();
        if (!isPlaying())
            return;
        std::unique_lock<std::mutex> lock(m_mutex);
        m_silence.wait_for(lock, silenceRecheck, [&] { return m_silences.load() != seen; });
    }
}

void Audio::stop()
{
    if (m_open)
        Mix_HaltChannel(voiceChannel);
}

Audio::Ticket Audio::request()
{
    // Here, on the GUI thread before a player starts, and only when no
    // other player is left calling the mixer: closing the device under a
    // player would pull its channels away.
    if (m_wantLarger.load() && m_activeRuns.load() == 0)
        reopenLarger();
    m_activeRuns.fetch_add(1);
    std::lock_guard<std::mutex> lock(m_voiceMutex);
    const Ticket ticket = ++m_lastTicket;
    m_pending.insert(ticket);
    return ticket;
}

void Audio::withdraw(Ticket ticket)
{
    {
        std::lock_guard<std::mutex> lock(m_voiceMutex);
        m_pending.erase(ticket);
    }
    m_settled.notify_all();
}

bool Audio::isSuperseded(Ticket ticket) const
{
    std::lock_guard<std::mutex> lock(m_voiceMutex);
    return m_sounding > ticket || (!m_pending.empty() && *m_pending.rbegin() > ticket);
}

bool Audio::playIfNewest(
    Ticket ticket, AudioClip *clip, Ticket *newer, const std::function<void()> &started)
{
    bool played = false;
    {
        std::lock_guard<std::mutex> lock(m_voiceMutex);
        const bool wanted = m_pending.erase(ticket) > 0;
        Ticket newest = m_sounding > ticket ? m_sounding : 0;
        if (!m_pending.empty() && *m_pending.rbegin() > ticket)
            newest = *m_pending.rbegin();
        if (clip && wanted && newest == 0) {
            clip->play();
            m_sounding = ticket;
            // After play(): cutting the clip before off reports its end.
            m_clipOn.store(true);
            played = true;
            if (started)
                started();
        }
        *newer = newest;
    }
    m_settled.notify_all();
    return played;
}

void Audio::waitUntilSettled(Ticket ticket)
{
    std::unique_lock<std::mutex> lock(m_voiceMutex);
    m_settled.wait(lock, [&] { return m_pending.count(ticket) == 0; });
}

void Audio::stopIfSounding(Ticket ticket)
{
    std::lock_guard<std::mutex> lock(m_voiceMutex);
    if (ticket != 0 && m_sounding == ticket)
        stop();
}

// Runs on the mixer's thread with the mixer locked: it must not call the
// mixer, only wake the players.
void Audio::onChannelFinished(int channel)
{
    if (channel != voiceChannel)
        return;
    Audio *audio = instance();
    audio->m_clipOn.store(false);
    audio->m_lastSilence.store(AudioMonitor::now());
    {
        std::lock_guard<std::mutex> lock(audio->m_mutex);
        audio->m_silences.fetch_add(1);
    }
    audio->m_silence.notify_all();
}

QString Audio::mixerErrorLine()
{
    return QStringLiteral("Mix_GetError =  ") + QString::fromLocal8Bit(Mix_GetError());
}

void Audio::fatal()
{
    std::fflush(stdout);
    std::fflush(stderr);
    // _Exit: other player threads may be running, and static destructors
    // must not run underneath them.
    std::_Exit(1);
}
