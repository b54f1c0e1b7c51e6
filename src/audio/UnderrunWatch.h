#pragma once

#include <cstdint>
#include <deque>

// Tells from the moments the mixer fills its buffers whether the device runs
// dry. The mixer asks for one buffer each period; a buffer asked for much
// later than that, while a clip sounds, was a gap the child heard as a click.
// A few such gaps close together mean the buffer is too small for this
// machine.
class UnderrunWatch
{
public:
    explicit UnderrunWatch(std::int64_t periodNanoseconds);

    // One buffer mixed at the time given; sounding: a clip was playing. True
    // once the device has run dry often enough to want a larger buffer; the
    // count then starts again.
    bool mixed(std::int64_t nanoseconds, bool sounding);

    // Gaps within this window count together.
    static constexpr std::int64_t window = 10'000'000'000;
    static constexpr int gapsForLarger = 3;

private:
    std::int64_t m_period;
    std::int64_t m_last = -1;
    bool m_sounding = false;
    std::deque<std::int64_t> m_gaps;
};
