// The one clock that the program's short waits read. Production reads the
// performance counter; tests install a clock that runs faster than real time,
// so a wait of seconds passes in a few calls, on the same code path.
#pragma once

#include <cstdint>

class CClock {
public:
    virtual ~CClock() = default;
    // Milliseconds since an arbitrary start; never goes backwards.
    virtual std::int64_t GetMilliseconds() = 0;
};

// Elapsed real time from the performance counter. The C run-time clock()
// advances in steps of one system tick on Windows, so a short wait read from
// it could end up to a tick early; a wait here is never shorter than asked.
class CRunTimeClock : public CClock {
public:
    std::int64_t GetMilliseconds() override;
};

// A clock for tests: every reading advances it by a fixed step, so a busy
// wait ends after a known number of readings whatever the machine's speed.
class CSteppingClock : public CClock {
public:
    explicit CSteppingClock(std::int64_t nStepMs) : m_nStepMs(nStepMs) {}
    std::int64_t GetMilliseconds() override;

    std::int64_t m_nNowMs = 0;
    std::int64_t m_nStepMs;
    int m_nReadings = 0;
};

// The clock in use; the run-time clock unless another is installed.
CClock& GetProgramClock();
// Installs pClock (nullptr: the run-time clock again) and returns the one
// installed before (nullptr for the run-time clock).
CClock* SetProgramClock(CClock* pClock);

// Installs a clock for one scope and puts the previous one back.
class CScopedProgramClock {
public:
    explicit CScopedProgramClock(CClock& clock) : m_pOld(SetProgramClock(&clock)) {}
    ~CScopedProgramClock() { SetProgramClock(m_pOld); }
    CScopedProgramClock(const CScopedProgramClock&) = delete;
    CScopedProgramClock& operator=(const CScopedProgramClock&) = delete;

private:
    CClock* m_pOld;
};
