#include "audio/UnderrunWatch.h"

UnderrunWatch::UnderrunWatch(std::int64_t periodNanoseconds)
    : m_period(periodNanoseconds)
{
}

bool UnderrunWatch::mixed(std::int64_t nanoseconds, bool sounding)
{
    const std::int64_t last = m_last;
    const bool wasSounding = m_sounding;
    m_last = nanoseconds;
    m_sounding = sounding;
    // Silence cannot be heard breaking up, nor can the start of a clip after
    // it (the device also asks late after a pause of the whole system).
    if (!sounding || !wasSounding || last < 0)
        return false;
    // The device holds about two buffers: the one being heard and the next.
    // Later than that, it played nothing for a while. Less is the jitter of
    // a busy machine, which the second buffer absorbs.
    if (nanoseconds - last <= 3 * m_period)
        return false;
    m_gaps.push_back(nanoseconds);
    while (nanoseconds - m_gaps.front() > window)
        m_gaps.pop_front();
    if (int(m_gaps.size()) < gapsForLarger)
        return false;
    m_gaps.clear();
    return true;
}
