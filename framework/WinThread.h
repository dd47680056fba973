// CWinThread: a worker thread and the object that describes it. The caller
// creates the system thread (usually suspended), sets its priority, and with
// auto-delete switched off keeps the object after the thread has ended to
// read what it left there. The thread runs InitInstance; a worker that has
// no message loop ends itself there with AfxEndThread.
//
// The handle m_hThread belongs to the caller once auto-delete is off: the
// caller waits on it, reads the exit code and closes it (CloseThreadHandle);
// the object never closes it. While the handle is held the object starts no
// new thread, so a thread that outlived its caller's wait is never joined by
// a second one on the same object.
#pragma once

#include <cstddef>

#include "framework/CmdTarget.h"

class CWinThread : public CCmdTarget {
    DECLARE_DYNAMIC(CWinThread)
public:
    CWinThread();
    ~CWinThread() override;
    CWinThread(const CWinThread&) = delete;
    CWinThread& operator=(const CWinThread&) = delete;

    // Starts a new system thread for this object (CREATE_SUSPENDED in
    // dwCreateFlags leaves it suspended). FALSE when the object still holds
    // the handle of an earlier thread or the system refuses the thread.
    BOOL CreateThread(DWORD dwCreateFlags = 0, UINT nStackSize = 0,
                      LPSECURITY_ATTRIBUTES pSecurityAttributes = nullptr);
    BOOL SetThreadPriority(int nPriority);
    int GetThreadPriority() const;
    // The previous suspend count, or (DWORD)-1 on failure.
    DWORD ResumeThread();
    DWORD SuspendThread();
    // Closes the handle of an ended thread and forgets it; the object may
    // then start another thread.
    void CloseThreadHandle();
    // True while the object holds the handle of a thread that has not ended.
    bool IsThreadRunning() const;

    // Runs in the new thread. Returning FALSE ends it through ExitInstance;
    // returning TRUE runs the thread's message loop first.
    virtual BOOL InitInstance();
    // The thread's exit code.
    virtual int ExitInstance();
    // The message loop of a thread that has windows; ends on WM_QUIT.
    virtual int Run();
    // Deletes the object when auto-delete is on (called as the thread ends).
    virtual void Delete();

    HANDLE m_hThread = nullptr;
    DWORD m_nThreadID = 0;
    BOOL m_bAutoDelete = TRUE;

private:
    static unsigned __stdcall ThreadEntry(void* pParam);
};

// Ends the calling thread with the exit code. Inside a thread that a
// CWinThread started, the stack unwinds first (every local is destroyed) and
// with bDelete the object is deleted when its auto-delete is on; any other
// thread simply exits.
[[noreturn]] void AfxEndThread(UINT nExitCode, BOOL bDelete = TRUE);

// Waits until every handle is signalled, at most dwTimeoutMs (INFINITE for no
// limit) in all. A group of more than MAXIMUM_WAIT_OBJECTS is waited for in
// parts against the same deadline. WAIT_OBJECT_0 when all are signalled,
// WAIT_TIMEOUT when the time ran out first, WAIT_FAILED when a wait failed.
DWORD WaitForAllObjects(const HANDLE* phHandles, std::size_t nCount, DWORD dwTimeoutMs);
