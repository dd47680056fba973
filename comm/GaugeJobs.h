// CGaugeJobGroup: runs one job thread per gauge link at once and waits for
// all of them, the way every caller of the job threads does: each thread is
// created suspended, given its priority, auto-delete switched off and
// resumed; the group is waited for at most a set time (10 s); then each exit
// code is read and each handle closed.
//
// A job still running when the wait ends has failed, and its thread object,
// link and port stay its own until its handle shows that it has ended: the
// group keeps such jobs, refuses to start another job on their link or
// object, and deletes an object handed to DeleteWhenEnded only once its
// thread is over. The caller keeps the group (and its links) alive as long
// as it keeps its thread objects; the destructor waits for stragglers.
#pragma once

#include <windows.h>

#include <vector>

class CQarCommThreads;
class CQarCommunications;

class CGaugeJobGroup {
public:
    static constexpr DWORD kWaitMs = 10000;

    enum class State { NotStarted, Ended, StillRunning };
    struct Outcome {
        State state = State::NotStarted;
        DWORD dwExitCode = 0;  // valid when Ended
    };

    CGaugeJobGroup() = default;
    virtual ~CGaugeJobGroup();
    CGaugeJobGroup(const CGaugeJobGroup&) = delete;
    CGaugeJobGroup& operator=(const CGaugeJobGroup&) = delete;

    // Starts every job (set up by the caller: link, job and inputs) with the
    // priority, waits for all against one deadline and reads the exit codes.
    // True when every job ran to its end; the links' flags are the caller's
    // to test. A job whose object or link is still held by an earlier job,
    // or that shares its link with another job of the group, is not started.
    // When a thread cannot be created the rest are not started either and
    // the wait covers the ones that were.
    bool Run(CQarCommThreads* const* ppJobs, size_t nJobs, int nPriority, DWORD dwWaitMs = kWaitMs);
    bool Run(const std::vector<CQarCommThreads*>& jobs, int nPriority, DWORD dwWaitMs = kWaitMs)
    {
        return Run(jobs.data(), jobs.size(), nPriority, dwWaitMs);
    }
    // One outcome per job of the last Run, in the same order.
    const std::vector<Outcome>& GetOutcomes() const { return m_outcomes; }

    // True while a job that outlived an earlier wait still works on the link.
    bool IsLinkInUse(const CQarCommunications* pLink);
    // Deletes the object now when its thread has ended (closing its handle),
    // otherwise as soon as a later call of the group finds it ended.
    void DeleteWhenEnded(CQarCommThreads* pJob);
    // Waits at most dwWaitMs for the jobs that outlived their wait; true when
    // none is left running.
    bool WaitForStragglers(DWORD dwWaitMs);

protected:
    // Creates the job's thread suspended, sets the priority, switches
    // auto-delete off and resumes it; false when the thread was not created.
    virtual bool StartJob(CQarCommThreads& job, int nPriority);

private:
    // Closes the handles of stragglers that have ended and deletes the ones
    // handed over.
    void Reap();
    bool IsHeld(const CQarCommThreads* pJob) const;

    std::vector<Outcome> m_outcomes;
    std::vector<CQarCommThreads*> m_stragglers;  // threads that outlived a wait
    std::vector<CQarCommThreads*> m_toDelete;    // stragglers the owner gave up
};
