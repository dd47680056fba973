#include "comm/GaugeJobs.h"

#include <algorithm>

#include "comm/QarCommThreads.h"

CGaugeJobGroup::~CGaugeJobGroup()
{
    // Every job ends on its own within its protocol's time-outs; its object
    // and link must outlive it.
    WaitForStragglers(INFINITE);
}

bool CGaugeJobGroup::StartJob(CQarCommThreads& job, int nPriority)
{
    if (!job.CreateThread(CREATE_SUSPENDED))
        return false;
    job.SetThreadPriority(nPriority);
    job.m_bAutoDelete = FALSE;
    job.ResumeThread();
    return true;
}

bool CGaugeJobGroup::IsHeld(const CQarCommThreads* pJob) const
{
    return std::find(m_stragglers.begin(), m_stragglers.end(), pJob) != m_stragglers.end();
}

bool CGaugeJobGroup::Run(CQarCommThreads* const* ppJobs, size_t nJobs, int nPriority, DWORD dwWaitMs)
{
    Reap();
    m_outcomes.assign(nJobs, Outcome{});
    bool bAllEnded = true;
    std::vector<HANDLE> handles;
    std::vector<size_t> started;
    for (size_t i = 0; i < nJobs; ++i) {
        CQarCommThreads* pJob = ppJobs[i];
        // Two threads on one link would interleave their bytes on one port.
        const bool bLinkTaken =
            pJob != nullptr && std::any_of(ppJobs, ppJobs + i, [pJob](const CQarCommThreads* pOther) {
                return pOther != nullptr && pOther->m_pLink == pJob->m_pLink;
            });
        if (pJob == nullptr || pJob->m_pLink == nullptr || pJob->m_hThread != nullptr || IsHeld(pJob) ||
            IsLinkInUse(pJob->m_pLink) || bLinkTaken) {
            bAllEnded = false;
            continue;
        }
        if (!StartJob(*pJob, nPriority)) {
            bAllEnded = false;
            break;
        }
        handles.push_back(pJob->m_hThread);
        started.push_back(i);
    }

    WaitForAllObjects(handles.data(), handles.size(), dwWaitMs);

    for (size_t i : started) {
        CQarCommThreads* pJob = ppJobs[i];
        Outcome& outcome = m_outcomes[i];
        // The exit code alone cannot tell: a running thread reads STILL_ACTIVE.
        DWORD dwExitCode = 0;
        if (WaitForSingleObject(pJob->m_hThread, 0) == WAIT_OBJECT_0 &&
            GetExitCodeThread(pJob->m_hThread, &dwExitCode)) {
            outcome.state = State::Ended;
            outcome.dwExitCode = dwExitCode;
            pJob->CloseThreadHandle();
        } else {
            outcome.state = State::StillRunning;
            m_stragglers.push_back(pJob);
            bAllEnded = false;
        }
    }
    return bAllEnded;
}

bool CGaugeJobGroup::IsLinkInUse(const CQarCommunications* pLink)
{
    Reap();
    return std::any_of(m_stragglers.begin(), m_stragglers.end(),
                       [pLink](const CQarCommThreads* pJob) { return pJob->m_pLink == pLink; });
}

void CGaugeJobGroup::DeleteWhenEnded(CQarCommThreads* pJob)
{
    if (pJob == nullptr)
        return;
    Reap();
    if (!IsHeld(pJob) && pJob->IsThreadRunning())
        m_stragglers.push_back(pJob);
    if (IsHeld(pJob)) {
        if (std::find(m_toDelete.begin(), m_toDelete.end(), pJob) == m_toDelete.end())
            m_toDelete.push_back(pJob);
        return;
    }
    pJob->CloseThreadHandle();
    delete pJob;
}

bool CGaugeJobGroup::WaitForStragglers(DWORD dwWaitMs)
{
    std::vector<HANDLE> handles;
    for (const CQarCommThreads* pJob : m_stragglers)
        handles.push_back(pJob->m_hThread);
    WaitForAllObjects(handles.data(), handles.size(), dwWaitMs);
    Reap();
    return m_stragglers.empty();
}

void CGaugeJobGroup::Reap()
{
    for (auto it = m_stragglers.begin(); it != m_stragglers.end();) {
        CQarCommThreads* pJob = *it;
        if (pJob->IsThreadRunning()) {
            ++it;
            continue;
        }
        pJob->CloseThreadHandle();
        it = m_stragglers.erase(it);
        const auto handedOver = std::find(m_toDelete.begin(), m_toDelete.end(), pJob);
        if (handedOver != m_toDelete.end()) {
            m_toDelete.erase(handedOver);
            delete pJob;
        }
    }
}
