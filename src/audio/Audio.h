#pragma once

#include <QString>
#include <QStringList>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <set>
#include <vector>

class AudioClip;
class UnderrunWatch;

// The single owner of the sound device. Every clip plays on mixer channel 0,
// the voice channel, so a new clip always cuts off the one that is sounding.
class Audio
{
public:
    static Audio *instance();

    // Opens the device with the fixed parameters and the smallest buffer of
    // bufferSizes() it accepts: the smaller the buffer, the sooner a clip
    // started is heard. Calling it again once the device is open does
    // nothing. A device that refuses every size is fatal: the log record is
    // written and the process ends with status 1.
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

    // As the device was opened: it may choose its own rate and channels.
    int frequency() const { return m_frequency; }
    quint16 format() const { return m_format; }
    int channels() const { return m_channels; }
    // The mixer's buffer in sample frames, and how long it takes to play: a
    // clip started is heard up to that much later.
    int chunkSize() const { return m_chunkSize.load(); }
    double bufferMilliseconds() const;

    // The buffers tried, smallest first. A device that runs dry with one
    // (its gaps heard as clicks) is opened again, while nothing plays, with
    // the next.
    static const std::vector<int> &bufferSizes();

    // Test seam, never called by the program: the device refuses every
    // buffer smaller than frames, as some sound cards do.
    void refuseBuffersBelowForTesting(int frames) { m_refusedBelow = frames; }

    // The library's current error text, as the detail line of a log record.
    static QString mixerErrorLine();
    // Ends the process with status 1 after flushing the logs; safe on any thread.
    [[noreturn]] static void fatal();

    Audio(const Audio &) = delete;
    Audio &operator=(const Audio &) = delete;

    // A player's thread has made its last call to the mixer.
    void runEnded();

private:
    Audio();
    ~Audio();
    static void onChannelFinished(int channel);
    static void onMixed(void *, std::uint8_t *, int);
    // Where in bufferSizes() opening starts.
    static std::size_t firstSize();
    // Opens the device with the first size from index on that it accepts;
    // false when it accepts none.
    bool open(std::size_t index);
    // After underruns, and only while no player uses the mixer.
    void reopenLarger();

    // The program's clips are recorded at 22050 Hz: the device plays them
    // as they are, and decoding does not resample them.
    int m_frequency = 22050;
    const quint16 m_format = 0x8010; // signed 16-bit little-endian
    int m_channels = 2;
    std::atomic<int> m_chunkSize { 0 };
    std::size_t m_sizeIndex = 0;
    int m_refusedBelow = 0;
    bool m_open = false;
    // Written by the mixer's thread only.
    std::unique_ptr<UnderrunWatch> m_watch;
    std::atomic<bool> m_wantLarger { false };
    std::atomic<bool> m_clipOn { false }; // the voice channel sounds
    // Requests whose player thread may still call the mixer.
    std::atomic<int> m_activeRuns { 0 };

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
