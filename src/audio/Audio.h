#pragma once

#include <QString>
#include <QStringList>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <set>

class AudioClip;

// The single owner of the sound device. Every clip plays on mixer channel 0,
// the voice channel, so a new clip always cuts off the one that is sounding.
class Audio
{
public:
    static Audio *instance();

    // Opens the device with the fixed parameters. Calling it again once the
    // device is open does nothing. A device that cannot be opened is fatal:
    // the log record is written and the process ends with status 1.
    void init();
    bool isOpen() const { return m_open; }

    // True while the voice channel is sounding.
    bool isPlaying() const;

    // Blocks a player thread until the voice channel is silent. The mixer's
    // channel-finished callback wakes the waiters, so waiting costs no CPU.
    void waitForSilence();

    // Silences the voice channel.
    void stop();

    // The newest clip wins the one voice channel, whatever order the players
    // finish decoding in. Each clip asked for gets a ticket, in the order of
    // the requests; a clip plays only if no newer one has been asked for, so
    // a clip that is replaced never starts after the clip replacing it.
    using Ticket = std::uint64_t;
    // On the GUI thread, when a player is started with an existing file.
    Ticket request();
    // The request will never play (its player was cancelled or destroyed).
    void withdraw(Ticket ticket);
    // True when a newer clip has been asked for or has started: decoding
    // this one is wasted work.
    bool isSuperseded(Ticket ticket) const;
    // Plays clip (may be null: nothing to play) if the request is still the
    // newest and was not withdrawn; settles the request either way. When it
    // does not play, *newer is the newest request that replaced it (0: none).
    // started runs right after the clip begins, still in turn with every
    // other start, so that what it reports comes in the order heard.
    bool playIfNewest(
        Ticket ticket, AudioClip *clip, Ticket *newer, const std::function<void()> &started = {});
    // Blocks until ticket has played or been given up.
    void waitUntilSettled(Ticket ticket);
    // Silences the channel if this request's clip is the one sounding.
    void stopIfSounding(Ticket ticket);

    // Monotonic time, in nanoseconds, at which channel 0 last fell silent.
    std::int64_t lastSilenceNanoseconds() const { return m_lastSilence.load(); }

    int frequency() const { return m_frequency; }
    quint16 format() const { return m_format; }
    int channels() const { return m_channels; }
    int chunkSize() const { return m_chunkSize; }

    // The library's current error text, as the detail line of a log record.
    static QString mixerErrorLine();
    // Ends the process with status 1 after flushing the logs; safe on any thread.
    [[noreturn]] static void fatal();

    Audio(const Audio &) = delete;
    Audio &operator=(const Audio &) = delete;

private:
    Audio() = default;
    static void onChannelFinished(int channel);

    const int m_frequency = 44100;
    const quint16 m_format = 0x8010; // signed 16-bit little-endian
    const int m_channels = 2;
    const int m_chunkSize = 1024;
    bool m_open = false;

    // Never held while calling the mixer: its channel-finished callback,
    // which runs with the mixer locked, takes it.
    std::mutex m_mutex;
    std::condition_variable m_silence;

    // Guards the requests; the callback never takes it, so the mixer may be
    // called with it held.
    mutable std::mutex m_voiceMutex;
    std::condition_variable m_settled;
    Ticket m_lastTicket = 0;
    Ticket m_sounding = 0; // the newest request that started to play
    std::set<Ticket> m_pending;
    std::atomic<std::uint64_t> m_silences { 0 };
    std::atomic<std::int64_t> m_lastSilence { 0 };
};
