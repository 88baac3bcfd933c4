#include "TopmostPeriod.h"

TopmostPeriod::Change TopmostPeriod::start()
{
    m_topmost = true;
    return Change::raise;
}

// The first tick raises the panel again (something may have come up above it since the layout)
// unless the period is already over; a panel whose camera did not open by then closes.
TopmostPeriod::Tick TopmostPeriod::tick(bool deviceOpened, bool dialogOpen)
{
    unsigned tick = m_ticks++;
    if (tick == 0 && !deviceOpened)
        return {lower(), true, true};
    if (m_over || dialogOpen || tick >= kLastTick) {
        m_over = true;
        return {lower(), true, false};
    }
    if (tick == 0) {
        m_topmost = true;
        return {Change::raise, false, false};
    }
    return {Change::none, false, false};
}

TopmostPeriod::Change TopmostPeriod::dialogOpens()
{
    m_over = true;
    return lower();
}

TopmostPeriod::Change TopmostPeriod::lower()
{
    if (!m_topmost)
        return Change::none;
    m_topmost = false;
    return Change::lower;
}
