#include "audio/AudioMonitor.h"

#include <chrono>

AudioMonitor *AudioMonitor::instance()
{
    static AudioMonitor monitor;
    return &monitor;
}

std::int64_t AudioMonitor::now()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}
