// The program's clock and its replacement in tests.
#include "app/Clock.h"

#include <ctime>

namespace {
CRunTimeClock g_RunTimeClock;
CClock* g_pInstalledClock = nullptr;
}  // namespace

std::int64_t CRunTimeClock::GetMilliseconds()
{
    return static_cast<std::int64_t>(std::clock()) * 1000 / CLOCKS_PER_SEC;
}

std::int64_t CSteppingClock::GetMilliseconds()
{
    ++m_nReadings;
    m_nNowMs += m_nStepMs;
    return m_nNowMs;
}

CClock& GetProgramClock()
{
    return g_pInstalledClock != nullptr ? *g_pInstalledClock : g_RunTimeClock;
}

CClock* SetProgramClock(CClock* pClock)
{
    CClock* pOld = g_pInstalledClock;
    g_pInstalledClock = pClock;
    return pOld;
}
