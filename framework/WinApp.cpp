#include "framework/WinApp.h"

#include "framework/DocTemplate.h"
#include "framework/GdiObject.h"
#include "framework/Document.h"
#include "framework/UiAnswerer.h"
#include "framework/Wnd.h"

IMPLEMENT_DYNAMIC(CWinApp, CCmdTarget)

BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
END_MESSAGE_MAP()

namespace {
CWinApp* g_pApp = nullptr;
constexpr UINT kAppTitleStringId = 57344;
}  // namespace

CWinApp* AfxGetApp()
{
    return g_pApp;
}

CWnd* AfxGetMainWnd()
{
    return g_pApp != nullptr ? g_pApp->m_pMainWnd : nullptr;
}

HWND AfxGetMainWndHandle()
{
    CWnd* pWnd = AfxGetMainWnd();
    return pWnd != nullptr ? pWnd->m_hWnd : nullptr;
}

HINSTANCE AfxGetInstanceHandle()
{
    return g_pApp != nullptr && g_pApp->m_hInstance != nullptr ? g_pApp->m_hInstance : ::GetModuleHandleW(nullptr);
}

const wchar_t* AfxGetAppName()
{
    return g_pApp != nullptr && g_pApp->m_pszAppName != nullptr ? g_pApp->m_pszAppName : L"";
}

void CCommandLineInfo::ParseParam(const wchar_t* pszParam, BOOL bFlag, BOOL)
{
    if (bFlag)
        return;
    if (m_strFileName.IsEmpty()) {
        m_strFileName = pszParam;
        m_nShellCommand = FileOpen;
    }
}

CRecentFileList::CRecentFileList(const wchar_t* pszSection, const wchar_t* pszEntryFormat, int nSize)
    : m_strSection(pszSection), m_strEntryFormat(pszEntryFormat), m_nMaxSize(nSize)
{
}

void CRecentFileList::Add(const wchar_t* pszPathName)
{
    CString strPath(pszPathName);
    for (auto it = m_files.begin(); it != m_files.end(); ++it) {
        if (it->CompareNoCase(strPath.GetString()) == 0) {
            m_files.erase(it);
            break;
        }
    }
    m_files.insert(m_files.begin(), strPath);
    if (static_cast<int>(m_files.size()) > m_nMaxSize)
        m_files.resize(m_nMaxSize);
}

void CRecentFileList::ReadList()
{
    m_files.clear();
    CWinApp* pApp = AfxGetApp();
    for (int i = 0; i < m_nMaxSize && pApp != nullptr; ++i) {
        CString strEntry;
        strEntry.Format(m_strEntryFormat.GetString(), i + 1);
        CString strFile = pApp->GetProfileString(m_strSection.GetString(), strEntry.GetString());
        if (!strFile.IsEmpty())
            m_files.push_back(strFile);
    }
}

void CRecentFileList::WriteList() const
{
    CWinApp* pApp = AfxGetApp();
    if (pApp == nullptr)
        return;
    for (int i = 0; i < m_nMaxSize; ++i) {
        CString strEntry;
        strEntry.Format(m_strEntryFormat.GetString(), i + 1);
        pApp->WriteProfileString(m_strSection.GetString(), strEntry.GetString(),
                                 i < GetSize() ? m_files[i].GetString() : nullptr);
    }
}

CWinApp::CWinApp(const wchar_t* pszAppName)
{
    if (pszAppName != nullptr) {
        m_strAppName = pszAppName;
        m_pszAppName = m_strAppName.GetString();
    }
    g_pApp = this;
}

CWinApp::~CWinApp()
{
    if (g_pApp == this)
        g_pApp = nullptr;
}

BOOL CWinApp::InitApplication()
{
    if (m_pszAppName == nullptr) {
        m_strAppName.LoadString(kAppTitleStringId);
        m_pszAppName = m_strAppName.GetString();
    }
    return TRUE;
}

BOOL CWinApp::InitInstance()
{
    return TRUE;
}

int CWinApp::ExitInstance()
{
    if (m_pRecentFileList)
        m_pRecentFileList->WriteList();
    m_templates.clear();
    return 0;
}

BOOL CWinApp::PreTranslateMessage(MSG* pMsg)
{
    return CWnd::WalkPreTranslateTree(AfxGetMainWndHandle(), pMsg);
}

BOOL CWinApp::OnIdle(LONG)
{
    // Temporary wrappers handed out while messages were processed are no
    // longer referenced once the queue is empty.
    CWnd::DeleteTempMap();
    CGdiObject::DeleteTempMap();
    return FALSE;
}

int CWinApp::Run()
{
    MSG msg;
    LONG lIdleCount = 0;
    for (;;) {
        while (!::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            if (!OnIdle(lIdleCount++))
                break;
        }
        BOOL bGot = ::GetMessageW(&msg, nullptr, 0, 0);
        if (bGot == 0 || bGot == -1)
            break;
        if (!PreTranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        lIdleCount = 0;
    }
    return ExitInstance();
}

void CWinApp::SetRegistryKey(const wchar_t* pszRegistryKey)
{
    m_strRegistryKey = pszRegistryKey;
    m_pszRegistryKey = m_strRegistryKey.GetString();
    m_strProfileName = AfxGetAppName();
    if (m_strProfileName.IsEmpty() && m_pszAppName == nullptr) {
        m_strAppName.LoadString(kAppTitleStringId);
        m_pszAppName = m_strAppName.GetString();
        m_strProfileName = m_strAppName;
    }
    m_pszProfileName = m_strProfileName.GetString();
}

HKEY CWinApp::GetAppRegistryKey()
{
    if (m_pszRegistryKey == nullptr)
        return nullptr;
    HKEY hSoftware = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, L"Software", 0, KEY_WRITE | KEY_READ, &hSoftware) != ERROR_SUCCESS)
        return nullptr;
    HKEY hCompany = nullptr;
    HKEY hApp = nullptr;
    DWORD dw = 0;
    if (::RegCreateKeyExW(hSoftware, m_pszRegistryKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                          KEY_WRITE | KEY_READ, nullptr, &hCompany, &dw) == ERROR_SUCCESS) {
        ::RegCreateKeyExW(hCompany, m_pszProfileName, 0, nullptr, REG_OPTION_NON_VOLATILE,
                          KEY_WRITE | KEY_READ, nullptr, &hApp, &dw);
        ::RegCloseKey(hCompany);
    }
    ::RegCloseKey(hSoftware);
    return hApp;
}

HKEY CWinApp::GetSectionKey(const wchar_t* pszSection)
{
    HKEY hApp = GetAppRegistryKey();
    if (hApp == nullptr)
        return nullptr;
    HKEY hSection = nullptr;
    DWORD dw = 0;
    ::RegCreateKeyExW(hApp, pszSection, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE | KEY_READ, nullptr,
                      &hSection, &dw);
    ::RegCloseKey(hApp);
    return hSection;
}

UINT CWinApp::GetProfileInt(const wchar_t* pszSection, const wchar_t* pszEntry, int nDefault)
{
    HKEY hSection = GetSectionKey(pszSection);
    if (hSection == nullptr)
        return static_cast<UINT>(nDefault);
    DWORD dwValue = 0;
    DWORD dwType = 0;
    DWORD dwCount = sizeof dwValue;
    LONG lResult = ::RegQueryValueExW(hSection, pszEntry, nullptr, &dwType, reinterpret_cast<BYTE*>(&dwValue), &dwCount);
    ::RegCloseKey(hSection);
    if (lResult == ERROR_SUCCESS && dwType == REG_DWORD && dwCount == sizeof dwValue)
        return dwValue;
    return static_cast<UINT>(nDefault);
}

CString CWinApp::GetProfileString(const wchar_t* pszSection, const wchar_t* pszEntry, const wchar_t* pszDefault)
{
    CString strDefault(pszDefault != nullptr ? pszDefault : L"");
    HKEY hSection = GetSectionKey(pszSection);
    if (hSection == nullptr)
        return strDefault;
    DWORD dwType = 0;
    DWORD dwCount = 0;
    LONG lResult = ::RegQueryValueExW(hSection, pszEntry, nullptr, &dwType, nullptr, &dwCount);
    CString strValue;
    if (lResult == ERROR_SUCCESS && (dwType == REG_SZ || dwType == REG_EXPAND_SZ)) {
        // Room for a value stored without its terminating zero.
        int nChars = static_cast<int>(dwCount / sizeof(wchar_t));
        wchar_t* p = strValue.GetBuffer(nChars + 1);
        std::fill(p, p + nChars + 1, L'\0');
        lResult = ::RegQueryValueExW(hSection, pszEntry, nullptr, &dwType, reinterpret_cast<BYTE*>(p), &dwCount);
        strValue.ReleaseBuffer();
    } else {
        lResult = ERROR_FILE_NOT_FOUND;
    }
    ::RegCloseKey(hSection);
    return lResult == ERROR_SUCCESS ? strValue : strDefault;
}

BOOL CWinApp::WriteProfileInt(const wchar_t* pszSection, const wchar_t* pszEntry, int nValue)
{
    HKEY hSection = GetSectionKey(pszSection);
    if (hSection == nullptr)
        return FALSE;
    DWORD dwValue = static_cast<DWORD>(nValue);
    LONG lResult = ::RegSetValueExW(hSection, pszEntry, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dwValue), sizeof dwValue);
    ::RegCloseKey(hSection);
    return lResult == ERROR_SUCCESS;
}

BOOL CWinApp::WriteProfileString(const wchar_t* pszSection, const wchar_t* pszEntry, const wchar_t* pszValue)
{
    HKEY hSection = GetSectionKey(pszSection);
    if (hSection == nullptr)
        return FALSE;
    LONG lResult;
    if (pszValue == nullptr) {
        lResult = ::RegDeleteValueW(hSection, pszEntry);
        if (lResult == ERROR_FILE_NOT_FOUND)
            lResult = ERROR_SUCCESS;
    } else {
        lResult = ::RegSetValueExW(hSection, pszEntry, 0, REG_SZ, reinterpret_cast<const BYTE*>(pszValue),
                                   static_cast<DWORD>((wcslen(pszValue) + 1) * sizeof(wchar_t)));
    }
    ::RegCloseKey(hSection);
    return lResult == ERROR_SUCCESS;
}

void CWinApp::LoadStdProfileSettings(UINT nMaxMRU)
{
    if (nMaxMRU == 0)
        return;
    m_pRecentFileList = std::make_unique<CRecentFileList>(L"Recent File List", L"File%d", static_cast<int>(nMaxMRU));
    m_pRecentFileList->ReadList();
}

void CWinApp::AddToRecentFileList(const wchar_t* pszPathName)
{
    if (m_pRecentFileList)
        m_pRecentFileList->Add(pszPathName);
}

void CWinApp::AddDocTemplate(CDocTemplate* pTemplate)
{
    m_templates.emplace_back(pTemplate);
}

CDocument* CWinApp::OpenDocumentFile(const wchar_t* pszFileName)
{
    CDocTemplate* pTemplate = GetFirstDocTemplate();
    return pTemplate != nullptr ? pTemplate->OpenDocumentFile(pszFileName) : nullptr;
}

void CWinApp::ParseCommandLine(CCommandLineInfo& rCmdInfo)
{
    int argc = 0;
    LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    if (argv == nullptr)
        return;
    for (int i = 1; i < argc; ++i) {
        const wchar_t* pszParam = argv[i];
        BOOL bFlag = (pszParam[0] == L'-' || pszParam[0] == L'/') && pszParam[1] != 0;
        if (bFlag)
            ++pszParam;
        rCmdInfo.ParseParam(pszParam, bFlag, i == argc - 1);
    }
    ::LocalFree(argv);
}

BOOL CWinApp::ProcessShellCommand(CCommandLineInfo& rCmdInfo)
{
    switch (rCmdInfo.m_nShellCommand) {
    case CCommandLineInfo::FileNew:
        OnFileNew();
        return m_pMainWnd != nullptr;
    case CCommandLineInfo::FileOpen:
        return OpenDocumentFile(rCmdInfo.m_strFileName.GetString()) != nullptr;
    default:
        return TRUE;
    }
}

void CWinApp::OnFileNew()
{
    if (CDocTemplate* pTemplate = GetFirstDocTemplate())
        pTemplate->OpenDocumentFile(nullptr);
}

void CWinApp::OnAppExit()
{
    if (m_pMainWnd != nullptr)
        m_pMainWnd->SendMessage(WM_CLOSE);
}

int AfxWinMain(HINSTANCE hInstance, int nCmdShow)
{
    CWinApp* pApp = AfxGetApp();
    if (pApp == nullptr)
        return -1;
    pApp->m_hInstance = hInstance;
    pApp->m_nCmdShow = nCmdShow;
    if (!pApp->InitApplication())
        return -1;
    if (!pApp->InitInstance()) {
        // A main window that exists already must not outlive the failure.
        if (pApp->m_pMainWnd != nullptr && pApp->m_pMainWnd->m_hWnd != nullptr)
            pApp->m_pMainWnd->DestroyWindow();
        return pApp->ExitInstance();
    }
    return pApp->Run();
}
