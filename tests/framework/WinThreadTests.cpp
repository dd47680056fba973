// The worker thread class: created suspended, priority, auto-delete off,
// ended from InitInstance with an exit code, handle closed by the caller and
// the object reused; and the wait for a group larger than one system wait.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <vector>

#include "framework/WinThread.h"

namespace {

// Counts how often it was destroyed; lives on the worker's stack.
struct CDestroyCounter {
    explicit CDestroyCounter(std::atomic<int>& count) : m_count(count) {}
    ~CDestroyCounter() { ++m_count; }
    std::atomic<int>& m_count;
};

class CCountingThread : public CWinThread {
public:
    CCountingThread(std::atomic<int>& runs, std::atomic<int>& unwound, std::atomic<int>* pDeleted = nullptr)
        : m_runs(runs), m_unwound(unwound), m_pDeleted(pDeleted)
    {
    }
    ~CCountingThread() override
    {
        if (m_pDeleted != nullptr)
            ++*m_pDeleted;
    }
    BOOL InitInstance() override
    {
        CDestroyCounter local(m_unwound);
        m_nSeenPriority = ::GetThreadPriority(GetCurrentThread());
        ++m_runs;
        if (m_bEndWithCode)
            AfxEndThread(m_nExitCode, FALSE);
        return FALSE;
    }
    int ExitInstance() override { return 7; }

    std::atomic<int>& m_runs;
    std::atomic<int>& m_unwound;
    std::atomic<int>* m_pDeleted;
    bool m_bEndWithCode = true;
    UINT m_nExitCode = 10;
    int m_nSeenPriority = 0;
};

DWORD ExitCodeAfterEnd(HANDLE hThread)
{
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(hThread, 5000));
    DWORD dwCode = 0;
    EXPECT_TRUE(GetExitCodeThread(hThread, &dwCode));
    return dwCode;
}

}  // namespace

TEST(WinThread, SuspendedThreadRunsOnlyAfterResumeWithItsPriorityAndExitCode)
{
    std::atomic<int> runs{0}, unwound{0};
    CCountingThread thread(runs, unwound);
    ASSERT_TRUE(thread.CreateThread(CREATE_SUSPENDED));
    ASSERT_NE(nullptr, thread.m_hThread);
    EXPECT_NE(0u, thread.m_nThreadID);
    EXPECT_TRUE(thread.SetThreadPriority(THREAD_PRIORITY_TIME_CRITICAL));
    EXPECT_EQ(THREAD_PRIORITY_TIME_CRITICAL, thread.GetThreadPriority());
    thread.m_bAutoDelete = FALSE;
    Sleep(50);
    EXPECT_EQ(0, runs.load());
    EXPECT_TRUE(thread.IsThreadRunning());

    EXPECT_EQ(1u, thread.ResumeThread());
    EXPECT_EQ(10u, ExitCodeAfterEnd(thread.m_hThread));
    EXPECT_EQ(1, runs.load());
    EXPECT_EQ(THREAD_PRIORITY_TIME_CRITICAL, thread.m_nSeenPriority);
    // Ending from inside InitInstance still destroys the worker's locals.
    EXPECT_EQ(1, unwound.load());
    EXPECT_FALSE(thread.IsThreadRunning());
    thread.CloseThreadHandle();
    EXPECT_EQ(nullptr, thread.m_hThread);
}

TEST(WinThread, ObjectIsReusedOnlyAfterItsHandleWasClosed)
{
    std::atomic<int> runs{0}, unwound{0};
    CCountingThread thread(runs, unwound);
    thread.m_bAutoDelete = FALSE;
    ASSERT_TRUE(thread.CreateThread());
    const HANDLE hFirst = thread.m_hThread;
    EXPECT_EQ(10u, ExitCodeAfterEnd(hFirst));
    // The handle is still held: no second thread may join the first.
    EXPECT_FALSE(thread.CreateThread());
    EXPECT_EQ(hFirst, thread.m_hThread);

    thread.CloseThreadHandle();
    thread.m_bEndWithCode = false;  // InitInstance returns FALSE: ExitInstance's code
    ASSERT_TRUE(thread.CreateThread());
    EXPECT_EQ(7u, ExitCodeAfterEnd(thread.m_hThread));
    EXPECT_EQ(2, runs.load());
    thread.CloseThreadHandle();
}

TEST(WinThread, DestructorLeavesTheCallersHandleOpen)
{
    std::atomic<int> runs{0}, unwound{0}, deleted{0};
    auto* pThread = new CCountingThread(runs, unwound, &deleted);
    pThread->m_bAutoDelete = FALSE;
    ASSERT_TRUE(pThread->CreateThread());
    const HANDLE hThread = pThread->m_hThread;
    EXPECT_EQ(10u, ExitCodeAfterEnd(hThread));
    EXPECT_EQ(0, deleted.load());
    delete pThread;
    EXPECT_EQ(1, deleted.load());
    // Still the caller's: readable and closable exactly once.
    DWORD dwCode = 0;
    EXPECT_TRUE(GetExitCodeThread(hThread, &dwCode));
    EXPECT_TRUE(CloseHandle(hThread));
}

TEST(WinThread, AutoDeleteObjectGoesWithItsThread)
{
    std::atomic<int> runs{0}, unwound{0}, deleted{0};
    auto* pThread = new CCountingThread(runs, unwound, &deleted);
    pThread->m_bEndWithCode = false;
    ASSERT_TRUE(pThread->CreateThread());
    for (int i = 0; i < 500 && deleted.load() == 0; ++i)
        Sleep(10);
    EXPECT_EQ(1, runs.load());
    EXPECT_EQ(1, deleted.load());
}

TEST(WinThread, EndingWithoutDeleteKeepsAnAutoDeleteObject)
{
    std::atomic<int> runs{0}, unwound{0}, deleted{0};
    auto thread = std::make_unique<CCountingThread>(runs, unwound, &deleted);
    ASSERT_TRUE(thread->CreateThread(CREATE_SUSPENDED));
    const HANDLE hThread = thread->m_hThread;
    thread->ResumeThread();
    EXPECT_EQ(10u, ExitCodeAfterEnd(hThread));
    EXPECT_EQ(0, deleted.load());
    thread->CloseThreadHandle();
}

namespace {

// Manual-reset events, all set except the ones listed.
class CEventSet {
public:
    CEventSet(size_t nCount, const std::vector<size_t>& unset)
    {
        for (size_t i = 0; i < nCount; ++i)
            m_events.push_back(CreateEventW(nullptr, TRUE, TRUE, nullptr));
        for (size_t i : unset)
            ResetEvent(m_events[i]);
    }
    ~CEventSet()
    {
        for (HANDLE hEvent : m_events)
            CloseHandle(hEvent);
    }
    std::vector<HANDLE> m_events;
};

}  // namespace

TEST(WaitForAllObjects, GroupsBeyondOneSystemWaitShareOneDeadline)
{
    struct Case {
        size_t nCount;
        std::vector<size_t> unset;
        DWORD dwTimeoutMs;
        DWORD dwExpected;
    };
    const Case cases[] = {
        {0, {}, 0, WAIT_OBJECT_0},
        {64, {}, 0, WAIT_OBJECT_0},
        {200, {}, 100, WAIT_OBJECT_0},
        {200, {199}, 150, WAIT_TIMEOUT},     // the last part
        {200, {0, 70, 150}, 150, WAIT_TIMEOUT},
        {65, {64}, 0, WAIT_TIMEOUT},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.nCount << " handles, " << c.unset.size() << " unset");
        CEventSet events(c.nCount, c.unset);
        const ULONGLONG nStart = GetTickCount64();
        EXPECT_EQ(c.dwExpected, WaitForAllObjects(events.m_events.data(), c.nCount, c.dwTimeoutMs));
        const ULONGLONG nElapsed = GetTickCount64() - nStart;
        if (c.dwExpected == WAIT_TIMEOUT) {
            EXPECT_GE(nElapsed + 20, c.dwTimeoutMs);
        }
        EXPECT_LT(nElapsed, c.dwTimeoutMs + 400u);
    }

    // The first part ends late; the last one has only what is left of the
    // same 400 ms, not 400 ms of its own.
    CEventSet events(130, {5, 129});
    const HANDLE hSetter = CreateThread(
        nullptr, 0,
        [](void* pEvent) -> DWORD {
            Sleep(300);
            SetEvent(static_cast<HANDLE>(pEvent));
            return 0;
        },
        events.m_events[5], 0, nullptr);
    ASSERT_NE(nullptr, hSetter);
    const ULONGLONG nStart = GetTickCount64();
    EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), WaitForAllObjects(events.m_events.data(), 130, 400));
    const ULONGLONG nElapsed = GetTickCount64() - nStart;
    EXPECT_GE(nElapsed + 20, 400u);
    EXPECT_LT(nElapsed, 650u);
    WaitForSingleObject(hSetter, INFINITE);
    CloseHandle(hSetter);
}

TEST(WaitForAllObjects, WaitsForThreadsInEveryPartAndFailsOnABadHandle)
{
    // 70 threads that end at different times: two parts, both waited for.
    std::vector<HANDLE> threads;
    for (int i = 0; i < 70; ++i) {
        threads.push_back(CreateThread(
            nullptr, 0,
            [](void* pParam) -> DWORD {
                Sleep(static_cast<DWORD>(reinterpret_cast<uintptr_t>(pParam)));
                return 0;
            },
            reinterpret_cast<void*>(static_cast<uintptr_t>(i % 2 == 0 ? 10 : 120)), 0, nullptr));
        ASSERT_NE(nullptr, threads.back());
    }
    EXPECT_EQ(WAIT_OBJECT_0, WaitForAllObjects(threads.data(), threads.size(), 5000));
    for (HANDLE hThread : threads) {
        EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(hThread, 0));
        CloseHandle(hThread);
    }

    CEventSet events(66, {});
    events.m_events.push_back(nullptr);
    EXPECT_EQ(WAIT_FAILED, WaitForAllObjects(events.m_events.data(), events.m_events.size(), 100));
    events.m_events.pop_back();
}
