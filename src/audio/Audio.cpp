#include "audio/Audio.h"

#include "audio/AudioClip.h"
#include "audio/AudioMonitor.h"
#include "content/LogRecord.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>

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

void Audio::init()
{
    if (m_open)
        return;
    // SDL would turn SIGINT and SIGTERM into quit events nobody reads here,
    // and the program could then no longer be stopped from outside.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (Mix_OpenAudio(m_frequency, m_format, m_channels, m_chunkSize) != 0) {
        writeLogRecord(
            QStringLiteral("Audio::init"), { mixerErrorLine() }, QStringLiteral("Audio::init"));
        fatal();
    }
    Mix_ChannelFinished(&Audio::onChannelFinished);
    m_open = true;
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
