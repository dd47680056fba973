// CWinApp: the one application object: start-up, the message loop, the
// profile in the registry, the recent-file list and the document template.
#pragma once

#include <memory>
#include <vector>

#include "framework/CmdTarget.h"
#include "framework/String.h"

class CDocTemplate;
class CDocument;
class CWnd;

// What the command line asks for: a new document, or a file to open.
class CCommandLineInfo {
public:
    enum { FileNew, FileOpen, FileNothing = -1 };
    virtual ~CCommandLineInfo() = default;
    // Called for each argument after the program name; a flag starts with '/' or '-'.
    virtual void ParseParam(const wchar_t* pszParam, BOOL bFlag, BOOL bLast);

    CString m_strFileName;
    int m_nShellCommand = FileNew;
};

// The most recently used files, kept in the profile section "Recent File List".
class CRecentFileList {
public:
    CRecentFileList(const wchar_t* pszSection, const wchar_t* pszEntryFormat, int nSize);
    void Add(const wchar_t* pszPathName);
    void ReadList();
    void WriteList() const;
    int GetSize() const { return static_cast<int>(m_files.size()); }
    const CString& operator[](int i) const { return m_files.at(i); }
    int GetMaxSize() const { return m_nMaxSize; }

private:
    CString m_strSection;
    CString m_strEntryFormat;
    int m_nMaxSize;
    std::vector<CString> m_files;
};

class CWinApp : public CCmdTarget {
    DECLARE_DYNAMIC(CWinApp)
public:
    explicit CWinApp(const wchar_t* pszAppName = nullptr);
    ~CWinApp() override;
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    virtual BOOL InitApplication();
    virtual BOOL InitInstance();
    virtual int ExitInstance();
    // The message loop; returns the exit code of ExitInstance.
    virtual int Run();
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    // Work done when the message queue is empty; true to be called again.
    virtual BOOL OnIdle(LONG lCount);

    // Profile: with a registry key the values live under
    // HKEY_CURRENT_USER\Software\<key>\<application name>\<section>.
    void SetRegistryKey(const wchar_t* pszRegistryKey);
    UINT GetProfileInt(const wchar_t* pszSection, const wchar_t* pszEntry, int nDefault);
    CString GetProfileString(const wchar_t* pszSection, const wchar_t* pszEntry, const wchar_t* pszDefault = nullptr);
    BOOL WriteProfileInt(const wchar_t* pszSection, const wchar_t* pszEntry, int nValue);
    BOOL WriteProfileString(const wchar_t* pszSection, const wchar_t* pszEntry, const wchar_t* pszValue);
    // The application's own key (created when missing); the caller closes it.
    HKEY GetAppRegistryKey();
    HKEY GetSectionKey(const wchar_t* pszSection);

    void LoadStdProfileSettings(UINT nMaxMRU = 4);
    virtual void AddToRecentFileList(const wchar_t* pszPathName);
    CRecentFileList* GetRecentFileList() { return m_pRecentFileList.get(); }

    void AddDocTemplate(CDocTemplate* pTemplate);
    CDocTemplate* GetFirstDocTemplate() const { return m_templates.empty() ? nullptr : m_templates.front().get(); }
    virtual CDocument* OpenDocumentFile(const wchar_t* pszFileName);

    void ParseCommandLine(CCommandLineInfo& rCmdInfo);
    // Carries out the command line's request; false when it failed.
    BOOL ProcessShellCommand(CCommandLineInfo& rCmdInfo);

    // Command handlers a derived application may map.
    void OnFileNew();
    void OnAppExit();

    const wchar_t* m_pszAppName = nullptr;
    const wchar_t* m_pszRegistryKey = nullptr;
    const wchar_t* m_pszProfileName = nullptr;
    HINSTANCE m_hInstance = nullptr;
    int m_nCmdShow = SW_SHOWNORMAL;
    CWnd* m_pMainWnd = nullptr;

protected:
    CString m_strAppName;
    CString m_strRegistryKey;
    CString m_strProfileName;
    std::vector<std::unique_ptr<CDocTemplate>> m_templates;
    std::unique_ptr<CRecentFileList> m_pRecentFileList;

    DECLARE_MESSAGE_MAP()
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
HWND AfxGetMainWndHandle();
HINSTANCE AfxGetInstanceHandle();
const wchar_t* AfxGetAppName();

// The program's entry as wWinMain calls it; returns the exit code.
int AfxWinMain(HINSTANCE hInstance, int nCmdShow);
