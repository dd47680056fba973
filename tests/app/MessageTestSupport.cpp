#include "tests/app/MessageTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>

#include "app/GdiPlus.h"
#include "app/Globals.h"
#include "app/MainFrm.h"
#include "app/Simbrel1View.h"
#include "res/resource.h"
#include "tests/TestSupport.h"

namespace {
constexpr UINT kTickMs = 10;
constexpr DWORD kStuckAfterMs = 2000;
std::map<UINT_PTR, CDialogDriver*> g_drivers;
}  // namespace

CDialogDriver::~CDialogDriver()
{
    Stop();
}

void CDialogDriver::Drive(CDialog* pDialog, std::vector<Step> steps)
{
    Stop();
    m_pDialog = pDialog;
    m_hDialog = nullptr;
    m_steps = std::move(steps);
    m_nNext = 0;
    m_nTimer = ::SetTimer(nullptr, 0, kTickMs, &CDialogDriver::OnTick);
    g_drivers[m_nTimer] = this;
}

std::function<void(CDialog*)> CDialogDriver::Run(std::vector<Step> steps)
{
    return [this, steps = std::move(steps)](CDialog* pDialog) { Drive(pDialog, steps); };
}

void CALLBACK CDialogDriver::OnTick(HWND, UINT, UINT_PTR nIDEvent, DWORD)
{
    auto it = g_drivers.find(nIDEvent);
    if (it != g_drivers.end())
        it->second->Tick();
}

void CDialogDriver::Tick()
{
    if (m_hDialog == nullptr) {
        // The object is alive until its window has gone; only its window is
        // looked at afterwards.
        if (m_pDialog->m_hWnd == nullptr || !::IsWindowVisible(m_pDialog->m_hWnd))
            return;
        m_hDialog = m_pDialog->m_hWnd;
        m_dwLastStep = ::GetTickCount();
    }
    if (!::IsWindow(m_hDialog)) {
        Stop();
        return;
    }
    if (m_nNext < m_steps.size()) {
        const Step& step = m_steps[m_nNext++];
        step(m_hDialog);
        m_dwLastStep = ::GetTickCount();
        return;
    }
    if (::GetTickCount() - m_dwLastStep > kStuckAfterMs) {
        ADD_FAILURE() << "the dialog did not close after the test's last step";
        if (auto* pDialog = dynamic_cast<CDialog*>(CWnd::FromHandlePermanent(m_hDialog)))
            pDialog->EndDialog(static_cast<int>(kStuckResult));
        Stop();
    }
}

void CDialogDriver::Stop()
{
    if (m_nTimer != 0) {
        ::KillTimer(nullptr, m_nTimer);
        g_drivers.erase(m_nTimer);
        m_nTimer = 0;
    }
}

void PumpPending()
{
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT)
            continue;
        if (!CWnd::WalkPreTranslateTree(nullptr, &msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
}

bool PumpUntil(const std::function<bool()>& done, DWORD dwTimeoutMs)
{
    const DWORD dwStart = ::GetTickCount();
    for (;;) {
        PumpPending();
        if (done())
            return true;
        const DWORD dwElapsed = ::GetTickCount() - dwStart;
        if (dwElapsed >= dwTimeoutMs)
            return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, dwTimeoutMs - dwElapsed, QS_ALLINPUT);
    }
}

std::wstring WindowText(HWND hWnd)
{
    wchar_t text[512] = {};
    ::GetWindowTextW(hWnd, text, 512);
    return text;
}

std::wstring ItemText(HWND hDialog, int nID)
{
    return WindowText(::GetDlgItem(hDialog, nID));
}

CRect ItemRect(HWND hDialog, int nID)
{
    CRect rc;
    ::GetWindowRect(::GetDlgItem(hDialog, nID), &rc);
    ::MapWindowPoints(nullptr, hDialog, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

void ClickItem(HWND hDialog, int nID)
{
    ::PostMessageW(::GetDlgItem(hDialog, nID), BM_CLICK, 0, 0);
}

void SendClicked(HWND hDialog, int nID)
{
    ::PostMessageW(hDialog, WM_COMMAND, MAKEWPARAM(nID, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(hDialog, nID)));
}

void TypeInto(HWND hDialog, int nID, const wchar_t* pszText)
{
    HWND hEdit = ::GetDlgItem(hDialog, nID);
    ::SendMessageW(hDialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(hEdit), TRUE);
    ::SendMessageW(hEdit, EM_SETSEL, 0, -1);
    ::SendMessageW(hEdit, WM_CHAR, VK_BACK, 1);
    for (const wchar_t* p = pszText; *p != 0; ++p)
        ::SendMessageW(hEdit, WM_CHAR, *p, 1);
}

void PressKey(UINT nVirtKey)
{
    HWND hFocus = ::GetFocus();
    if (hFocus == nullptr)
        hFocus = ::GetActiveWindow();
    const UINT nScan = ::MapVirtualKeyW(nVirtKey, MAPVK_VK_TO_VSC);
    ::PostMessageW(hFocus, WM_KEYDOWN, nVirtKey, static_cast<LPARAM>(1 | (nScan << 16)));
    ::PostMessageW(hFocus, WM_KEYUP, nVirtKey, static_cast<LPARAM>(1 | (nScan << 16) | (3u << 30)));
}

CCanvas::CCanvas(int nWidth, int nHeight, COLORREF crFill) : m_nWidth(nWidth), m_nHeight(nHeight)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = nWidth;
    info.bmiHeader.biHeight = -nHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* pBits = nullptr;
    m_hBitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pBits, nullptr, 0);
    m_pBits = static_cast<const DWORD*>(pBits);
    m_dc.CreateCompatibleDC(nullptr);
    m_hOld = ::SelectObject(m_dc.GetSafeHdc(), m_hBitmap);
    m_dc.FillSolidRect(0, 0, nWidth, nHeight, crFill);
}

CCanvas::~CCanvas()
{
    ::SelectObject(m_dc.GetSafeHdc(), m_hOld);
    m_dc.DeleteDC();
    ::DeleteObject(m_hBitmap);
}

COLORREF CCanvas::Pixel(int x, int y) const
{
    ::GdiFlush();
    if (x < 0 || y < 0 || x >= m_nWidth || y >= m_nHeight)
        return CLR_INVALID;
    const DWORD dw = m_pBits[y * m_nWidth + x];
    return RGB((dw >> 16) & 0xFF, (dw >> 8) & 0xFF, dw & 0xFF);
}

CRect CCanvas::InkBox(COLORREF crBack, const CRect& rcArea) const
{
    CRect box(0, 0, 0, 0);
    bool bAny = false;
    for (int y = rcArea.top; y < rcArea.bottom; ++y) {
        for (int x = rcArea.left; x < rcArea.right; ++x) {
            if (Pixel(x, y) == crBack)
                continue;
            if (!bAny) {
                box = CRect(x, y, x + 1, y + 1);
                bAny = true;
            }
            box.left = x < box.left ? x : box.left;
            box.right = x + 1 > box.right ? x + 1 : box.right;
            box.top = y < box.top ? y : box.top;
            box.bottom = y + 1 > box.bottom ? y + 1 : box.bottom;
        }
    }
    return box;
}

int CCanvas::CountPixels(COLORREF cr, const CRect& rcArea) const
{
    int n = 0;
    for (int y = rcArea.top; y < rcArea.bottom; ++y)
        for (int x = rcArea.left; x < rcArea.right; ++x)
            n += Pixel(x, y) == cr ? 1 : 0;
    return n;
}

void CCanvas::CopyFromWindow(HWND hWnd, bool bClient)
{
    HDC hdc = bClient ? ::GetDC(hWnd) : ::GetWindowDC(hWnd);
    ::BitBlt(m_dc.GetSafeHdc(), 0, 0, m_nWidth, m_nHeight, hdc, 0, 0, SRCCOPY);
    ::ReleaseDC(hWnd, hdc);
    ::GdiFlush();
}

namespace {
bool FindPngEncoder(CLSID& clsid)
{
    UINT nCount = 0;
    UINT nSize = 0;
    if (Gdiplus::GetImageEncodersSize(&nCount, &nSize) != Gdiplus::Ok || nSize == 0)
        return false;
    std::vector<unsigned char> buffer(nSize);
    auto* pCodecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
    if (Gdiplus::GetImageEncoders(nCount, nSize, pCodecs) != Gdiplus::Ok)
        return false;
    for (UINT i = 0; i < nCount; ++i) {
        if (wcscmp(pCodecs[i].MimeType, L"image/png") == 0) {
            clsid = pCodecs[i].Clsid;
            return true;
        }
    }
    return false;
}
}  // namespace

// A folder given as a Unix path is reached through Wine's Z: drive.
std::wstring ScreensFolder()
{
    const wchar_t* pszFolder = _wgetenv(L"VUDADAR_SCREENS");
    if (pszFolder == nullptr || *pszFolder == 0)
        return {};
    std::wstring folder = pszFolder;
    if (folder[0] == L'/')
        folder = L"Z:" + folder;
    for (wchar_t& ch : folder)
        ch = ch == L'/' ? L'\\' : ch;
    if (folder.back() != L'\\')
        folder += L'\\';
    ::CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

std::wstring SaveScreenshot(HWND hWnd, const wchar_t* pszName)
{
    const std::wstring folder = ScreensFolder();
    if (folder.empty())
        return {};
    ::RedrawWindow(hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
    CRect rc;
    ::GetWindowRect(hWnd, &rc);

    // A 24-bit top-down DIB section copied from the window's DC.
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = rc.Width();
    info.bmiHeader.biHeight = -rc.Height();
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    HDC hdcWindow = ::GetWindowDC(hWnd);
    void* pBits = nullptr;
    HBITMAP hBitmap = ::CreateDIBSection(hdcWindow, &info, DIB_RGB_COLORS, &pBits, nullptr, 0);
    HDC hdcMemory = ::CreateCompatibleDC(hdcWindow);
    HGDIOBJ hOld = ::SelectObject(hdcMemory, hBitmap);
    ::BitBlt(hdcMemory, 0, 0, rc.Width(), rc.Height(), hdcWindow, 0, 0, SRCCOPY | CAPTUREBLT);
    ::GdiFlush();
    ::SelectObject(hdcMemory, hOld);
    ::DeleteDC(hdcMemory);
    ::ReleaseDC(hWnd, hdcWindow);

    const std::wstring path = folder + pszName;
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    bool bSaved = false;
    if (Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok) {
        {
            CLSID png{};
            const int nStride = (rc.Width() * 3 + 3) & ~3;
            Gdiplus::Bitmap image(rc.Width(), rc.Height(), nStride, PixelFormat24bppRGB, static_cast<BYTE*>(pBits));
            bSaved = FindPngEncoder(png) && image.GetLastStatus() == Gdiplus::Ok &&
                     image.Save(path.c_str(), &png, nullptr) == Gdiplus::Ok;
        }
        Gdiplus::GdiplusShutdown(token);
    }
    ::DeleteObject(hBitmap);
    EXPECT_TRUE(bSaved) << "screenshot not saved";
    return bSaved ? path : std::wstring();
}

CTestView::CTestView(const wchar_t* pszFolderName) : m_strSavedRoot(g_strUserDataRoot)
{
    g_strUserDataRoot = MakeTempFolder(pszFolderName).c_str();
    m_pView = new CSimbrel1View;
}

CTestView::~CTestView()
{
    delete m_pView;
    g_strUserDataRoot = m_strSavedRoot;
}

ViewFileTest::ViewFileTest(const wchar_t* pszViewFolder, const wchar_t* pszFolder)
    : m_view(pszViewFolder), m_pszFolder(pszFolder)
{
}

void ViewFileTest::SetUp()
{
    m_strSavedVersion = g_strProgramVersion;
    g_strProgramVersion = kVersion;
    m_nSavedDirection = g_nCurrentDirection;
    m_bSavedLiveReadings = g_bLiveReadings;
    m_folder = MakeTempFolder(m_pszFolder);
    V()->m_strProgramFolder = m_folder.c_str();
    V()->m_strFileFolder = Folder();
}

void ViewFileTest::TearDown()
{
    EXPECT_TRUE(m_answerer.AllRepliesUsed());
    g_strProgramVersion = m_strSavedVersion;
    g_nCurrentDirection = m_nSavedDirection;
    g_bLiveReadings = m_bSavedLiveReadings;
}

CTestGraph1& ViewFileTest::Store() const
{
    return *V()->m_pTestGraph;
}

CTestSettingsDialog& ViewFileTest::Settings() const
{
    return *V()->m_pSettings;
}

CString ViewFileTest::Folder() const
{
    return CString(m_folder.c_str()).Left(static_cast<int>(m_folder.size()) - 1);
}

void ProgramTest::PrepareApplication()
{
    m_app.m_hInstance = ::GetModuleHandleW(nullptr);
    m_app.m_nCmdShow = SW_SHOWNORMAL;
    ASSERT_TRUE(m_app.InitApplication());
}

void ProgramTest::OpenMainWindow()
{
    m_answerer.ReplyToDialog(IDD_WELCOME_PANEL, IDOK);
    ASSERT_TRUE(m_app.InitInstance());
    m_pFrame = dynamic_cast<CMainFrame*>(m_app.m_pMainWnd);
    ASSERT_NE(nullptr, m_pFrame);
}

void ProgramTest::StartProgram()
{
    ASSERT_NO_FATAL_FAILURE(PrepareApplication());
    ASSERT_NO_FATAL_FAILURE(OpenMainWindow());
    m_pView = m_pFrame->GetMainView();
    ASSERT_NE(nullptr, m_pView);
    PumpPending();
}

void ProgramTest::CloseProgram()
{
    if (m_pFrame != nullptr) {
        m_pFrame->SendMessage(WM_CLOSE);
        // The close posts the quit message, which ends no loop here.
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message != WM_QUIT) {
                ::TranslateMessage(&msg);
                ::DispatchMessageW(&msg);
            }
        }
    }
    m_app.ExitInstance();
}

void ProgramTest::Post(UINT nPage, int nAction)
{
    ASSERT_TRUE(::PostMessageW(m_pView->m_hWnd, CSimbrel1View::kPageNavigateMessage, nPage, nAction));
    PumpPending();
}

std::vector<std::pair<WPARAM, LPARAM>> ProgramTest::PumpCollectingRequests()
{
    std::vector<std::pair<WPARAM, LPARAM>> requests;
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT)
            continue;
        if (msg.message == CSimbrel1View::kPageNavigateMessage && msg.hwnd == m_pView->GetSafeHwnd()) {
            requests.emplace_back(msg.wParam, msg.lParam);
            continue;
        }
        if (!CWnd::WalkPreTranslateTree(nullptr, &msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    return requests;
}
