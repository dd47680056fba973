// The program's clock and its replacement in tests.
#include "app/Clock.h"

#include <windows.h>

namespace {
CRunTimeClock g_RunTimeClock;
CClock* g_pInstalledClock = nullptr;
}  // namespace

std::int64_t CRunTimeClock::GetMilliseconds()
{
    static const std::int64_t nFrequency = [] {
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        return static_cast<std::int64_t>(frequency.QuadPart);
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    // Whole seconds and the remainder apart, so the product never overflows.
    const std::int64_t nTicks = counter.QuadPart;
    return nTicks / nFrequency * 1000 + nTicks % nFrequency * 1000 / nFrequency;
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
