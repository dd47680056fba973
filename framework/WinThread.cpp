#include "framework/WinThread.h"

#include <process.h>

#include <algorithm>

IMPLEMENT_DYNAMIC(CWinThread, CCmdTarget)

namespace {

// Thrown by AfxEndThread inside a CWinThread's own thread and caught by its
// entry routine, so that ending a worker from deep inside its job still
// destroys every object on the way out.
struct CThreadExitRequest {
    UINT nExitCode;
    BOOL bDelete;
};

thread_local CWinThread* t_pCurrentThread = nullptr;

}  // namespace

CWinThread::CWinThread() = default;

// The handle is not closed here: with auto-delete off it belongs to the
// caller, and with auto-delete on Delete closed it already.
CWinThread::~CWinThread() = default;

BOOL CWinThread::CreateThread(DWORD dwCreateFlags, UINT nStackSize, LPSECURITY_ATTRIBUTES pSecurityAttributes)
{
    if (m_hThread != nullptr)
        return FALSE;
    // Always suspended at first: an auto-delete thread that ended before its
    // handle was stored here would leave the object half-deleted.
    unsigned nThreadId = 0;
    const uintptr_t hThread = _beginthreadex(pSecurityAttributes, nStackSize, &CWinThread::ThreadEntry, this,
                                             CREATE_SUSPENDED, &nThreadId);
    if (hThread == 0)
        return FALSE;
    m_hThread = reinterpret_cast<HANDLE>(hThread);
    m_nThreadID = nThreadId;
    if ((dwCreateFlags & CREATE_SUSPENDED) == 0)
        ::ResumeThread(m_hThread);
    return TRUE;
}

BOOL CWinThread::SetThreadPriority(int nPriority)
{
    return m_hThread != nullptr && ::SetThreadPriority(m_hThread, nPriority) ? TRUE : FALSE;
}

int CWinThread::GetThreadPriority() const
{
    return m_hThread != nullptr ? ::GetThreadPriority(m_hThread) : THREAD_PRIORITY_ERROR_RETURN;
}

DWORD CWinThread::ResumeThread()
{
    return m_hThread != nullptr ? ::ResumeThread(m_hThread) : static_cast<DWORD>(-1);
}

DWORD CWinThread::SuspendThread()
{
    return m_hThread != nullptr ? ::SuspendThread(m_hThread) : static_cast<DWORD>(-1);
}

void CWinThread::CloseThreadHandle()
{
    if (m_hThread != nullptr)
        CloseHandle(m_hThread);
    m_hThread = nullptr;
    m_nThreadID = 0;
}

bool CWinThread::IsThreadRunning() const
{
    return m_hThread != nullptr && WaitForSingleObject(m_hThread, 0) == WAIT_TIMEOUT;
}

BOOL CWinThread::InitInstance()
{
    return FALSE;
}

int CWinThread::ExitInstance()
{
    return 0;
}

int CWinThread::Run()
{
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return ExitInstance();
}

void CWinThread::Delete()
{
    if (!m_bAutoDelete)
        return;
    CloseThreadHandle();
    delete this;
}

unsigned __stdcall CWinThread::ThreadEntry(void* pParam)
{
    CWinThread* pThread = static_cast<CWinThread*>(pParam);
    t_pCurrentThread = pThread;
    UINT nExitCode = 0;
    BOOL bDelete = TRUE;
    try {
        nExitCode = static_cast<UINT>(pThread->InitInstance() ? pThread->Run() : pThread->ExitInstance());
    } catch (const CThreadExitRequest& request) {
        nExitCode = request.nExitCode;
        bDelete = request.bDelete;
    }
    t_pCurrentThread = nullptr;
    if (bDelete)
        pThread->Delete();
    return nExitCode;
}

void AfxEndThread(UINT nExitCode, BOOL bDelete)
{
    if (t_pCurrentThread != nullptr)
        throw CThreadExitRequest{nExitCode, bDelete};
    ExitThread(nExitCode);
}

DWORD WaitForAllObjects(const HANDLE* phHandles, std::size_t nCount, DWORD dwTimeoutMs)
{
    // Handles that stay signalled (threads, processes, manual-reset events)
    // may be waited for part after part; one deadline bounds the whole wait.
    const ULONGLONG nDeadline = GetTickCount64() + dwTimeoutMs;
    for (std::size_t nFirst = 0; nFirst < nCount; nFirst += MAXIMUM_WAIT_OBJECTS) {
        const DWORD nPart = static_cast<DWORD>(std::min<std::size_t>(MAXIMUM_WAIT_OBJECTS, nCount - nFirst));
        DWORD dwWait = INFINITE;
        if (dwTimeoutMs != INFINITE) {
            const ULONGLONG nNow = GetTickCount64();
            dwWait = nNow < nDeadline ? static_cast<DWORD>(nDeadline - nNow) : 0;
        }
        const DWORD dwResult = WaitForMultipleObjects(nPart, phHandles + nFirst, TRUE, dwWait);
        if (dwResult == WAIT_TIMEOUT || dwResult == WAIT_FAILED)
            return dwResult;
    }
    return WAIT_OBJECT_0;
}
