#include "audio/AudioMonitor.h"

#include <chrono>

AudioMonitor *AudioMonitor::instance()
{
    // Never destroyed: a player's thread may still report a clip while the
    // process exits.
    static AudioMonitor *monitor = new AudioMonitor;
    return monitor;
}

std::int64_t AudioMonitor::now()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
        std::chrono::steady_clock::now().time_since_epoch())
        .count();
}
