#include "app/WelcomePanel.h"

#include "app/DrawButton.h"
#include "app/GdiPlus.h"

BEGIN_MESSAGE_MAP(CWelcomePanel, CDialog)
    ON_WM_TIMER()
    ON_WM_LBUTTONDOWN()
    ON_WM_RBUTTONDOWN()
    ON_WM_SIZE()
    ON_WM_CTLCOLOR()
    ON_WM_DRAWITEM()
    ON_WM_PAINT()
END_MESSAGE_MAP()

namespace {
// The panel is designed on a 580 x 380 canvas and scaled to its window.
constexpr double kDesignWidth = 580.0;
constexpr double kDesignHeight = 380.0;
// The two logos are placed on a 1261 x 834 canvas.
constexpr double kPictureDesignWidth = 1261.0;
constexpr double kPictureDesignHeight = 834.0;
constexpr UINT_PTR kSecondTimer = 1;
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kYellow = RGB(255, 255, 0);
constexpr COLORREF kShadow = RGB(128, 128, 128);
constexpr int kCentred = -1;
}  // namespace

struct CWelcomePanel::TextItem {
    UINT nIDString;          // string-table text the item starts with, or 0
    const wchar_t* pszText;  // literal text (after the string-table text)
    int x;                   // kCentred: centred on the panel
    int y;
    int nHeight;
    bool bItalic;
    int nShadowX;
    int nShadowY;
    COLORREF crText;
    int nWeight;
};

namespace {
const CWelcomePanel::TextItem* PanelItems(int& nCount);
}

CPanelFit FitPanelToScreen(int nPanelWidth, int nPanelHeight, int nScreenWidth, int nScreenHeight)
{
    const int nTargetWidth = nScreenWidth * 8 / 10;
    const int nTargetHeight = nScreenHeight * 8 / 10;
    CPanelFit fit{};
    fit.dScale = static_cast<double>(nTargetWidth) / nPanelWidth;
    const double dPanelAspect = static_cast<double>(nPanelHeight) / nPanelWidth;
    const double dTargetAspect = static_cast<double>(nTargetHeight) / nTargetWidth;
    if (dPanelAspect > dTargetAspect)
        fit.dScale *= dTargetAspect / dPanelAspect;
    fit.x = nScreenWidth / 10;
    fit.y = nScreenHeight / 10;
    fit.cx = static_cast<int>(nPanelWidth * fit.dScale);
    fit.cy = static_cast<int>(nPanelHeight * fit.dScale);
    return fit;
}

CWelcomePanel::CWelcomePanel(CWnd* pParent) : CDialog(IDD, pParent) {}

CWelcomePanel::~CWelcomePanel()
{
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd))
        DestroyWindow();
}

CString CWelcomePanel::GetVersionText()
{
    CString strVersion;
    wchar_t szModule[MAX_PATH];
    if (::GetModuleFileNameW(nullptr, szModule, MAX_PATH) == 0)
        return strVersion;
    DWORD dwHandle = 0;
    DWORD dwSize = ::GetFileVersionInfoSizeW(szModule, &dwHandle);
    if (dwSize == 0)
        return strVersion;
    std::vector<BYTE> data(dwSize);
    if (!::GetFileVersionInfoW(szModule, 0, dwSize, data.data()))
        return strVersion;
    VS_FIXEDFILEINFO* pInfo = nullptr;
    UINT nLen = 0;
    if (!::VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&pInfo), &nLen) || pInfo == nullptr ||
        nLen < sizeof(VS_FIXEDFILEINFO))
        return strVersion;
    if (pInfo->dwSignature == 0xFEEF04BD)
        strVersion.Format(L"%d.%d.%d.%d", HIWORD(pInfo->dwProductVersionMS), LOWORD(pInfo->dwProductVersionMS),
                          HIWORD(pInfo->dwProductVersionLS), LOWORD(pInfo->dwProductVersionLS));
    return strVersion;
}

void CWelcomePanel::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
}

BOOL CWelcomePanel::OnInitDialog()
{
    m_strVersion = GetVersionText();

    if (CWnd* pOk = GetDlgItem(IDOK))
        pOk->ShowWindow(m_bAbout ? SW_SHOW : SW_HIDE);

    CRect rcWindow;
    GetWindowRect(&rcWindow);
    const CPanelFit fit = FitPanelToScreen(rcWindow.Width(), rcWindow.Height(), ::GetSystemMetrics(SM_CXSCREEN),
                                           ::GetSystemMetrics(SM_CYSCREEN));
    m_dScale = fit.dScale;
    ::MoveWindow(m_hWnd, fit.x, fit.y, fit.cx, fit.cy, FALSE);
    if (CWnd* pOk = GetDlgItem(IDOK)) {
        WINDOWPLACEMENT wp;
        pOk->GetWindowPlacement(&wp);
        const CRect& rc = *reinterpret_cast<CRect*>(&wp.rcNormalPosition);
        pOk->MoveWindow(static_cast<int>(rc.left * m_dScale), static_cast<int>(rc.top * m_dScale),
                        static_cast<int>(rc.Width() * m_dScale), static_cast<int>(rc.Height() * m_dScale), FALSE);
    }

    CDialog::OnInitDialog();
    m_nTimerId = SetTimer(kSecondTimer, 1000);
    m_nSeconds = 0;
    m_nCloseAfter = 5;
    m_crBack = RGB(0, 0, 0);
    if (m_brBack.GetSafeHandle() == nullptr)
        m_brBack.CreateSolidBrush(m_crBack);
    return TRUE;
}

void CWelcomePanel::OnTimer(UINT_PTR)
{
    ++m_nSeconds;
    if (!m_bAbout && m_nSeconds >= m_nCloseAfter) {
        KillTimer(kSecondTimer);
        OnOK();
    }
}

void CWelcomePanel::OnLButtonDown(UINT nFlags, CPoint point)
{
    m_nCloseAfter = 0;
    DefWindowProc(WM_LBUTTONDOWN, nFlags, MAKELPARAM(point.x, point.y));
}

void CWelcomePanel::OnRButtonDown(UINT nFlags, CPoint point)
{
    m_nCloseAfter = 120;
    DefWindowProc(WM_RBUTTONDOWN, nFlags, MAKELPARAM(point.x, point.y));
}

void CWelcomePanel::OnSize(UINT nType, int cx, int cy)
{
    DefWindowProc(WM_SIZE, nType, MAKELPARAM(cx, cy));
    m_dScaleX = cx / kDesignWidth;
    m_dScaleY = cy / kDesignHeight;
}

HBRUSH CWelcomePanel::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    if (nCtlColor == CTLCOLOR_DLG || nCtlColor == CTLCOLOR_STATIC) {
        pDC->SetBkColor(m_crBack);
        return static_cast<HBRUSH>(m_brBack.GetSafeHandle());
    }
    return CDialog::OnCtlColor(pDC, pWnd, nCtlColor);
}

void CWelcomePanel::OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    if (lpDrawItemStruct->CtlType == ODT_BUTTON) {
        CDrawButton button;
        button.Draw(CWnd::FromHandle(lpDrawItemStruct->hwndItem), lpDrawItemStruct);
        return;
    }
    DefWindowProc(WM_DRAWITEM, static_cast<WPARAM>(nIDCtl), reinterpret_cast<LPARAM>(lpDrawItemStruct));
}

void CWelcomePanel::OnPaint()
{
    CPaintDC dc(this);
    CRect rcClient;
    GetClientRect(&rcClient);
    DrawPanelFrame(&dc, rcClient);
    DrawPanelTexts(&dc, rcClient);
}

void CWelcomePanel::DrawPanelFrame(CDC* pDC, const CRect& rcClient)
{
    const int w = rcClient.Width();
    const int h = rcClient.Height();
    constexpr int kEdge = 4;
    CGdiObject* pOldPen = pDC->SelectStockObject(NULL_PEN);
    CGdiObject* pOldBrush = pDC->SelectStockObject(WHITE_BRUSH);
    const POINT left[] = {{0, 0}, {kEdge, kEdge}, {kEdge, h - kEdge}, {0, h}, {0, 0}};
    const POINT top[] = {{0, 0}, {w, 0}, {w - kEdge, kEdge}, {kEdge, kEdge}, {0, 0}};
    pDC->Polygon(left, 5);
    pDC->Polygon(top, 5);
    pDC->SelectStockObject(GRAY_BRUSH);
    const POINT right[] = {{w, 0}, {w, h}, {w - kEdge, h - kEdge}, {w - kEdge, kEdge}, {w, 0}};
    const POINT bottom[] = {{0, h}, {kEdge, h - kEdge}, {w - kEdge, h - kEdge}, {w, h}, {0, h}};
    pDC->Polygon(right, 5);
    pDC->Polygon(bottom, 5);
    pDC->SelectObject(pOldBrush);
    pDC->SelectObject(pOldPen);
}

void CWelcomePanel::DrawPanelTexts(CDC* pDC, const CRect& rcClient)
{
    int nCount = 0;
    const TextItem* pItems = PanelItems(nCount);
    for (int i = 0; i < nCount; ++i)
        DrawScaledTextItem(pDC, rcClient, pItems[i]);

    DrawScaledPicture(pDC, rcClient, IDB_WELCOME_LOGO_MAKER, 122, 442, 385, 143);
    DrawScaledPicture(pDC, rcClient, IDB_WELCOME_LOGO_PARTNER, 640, 445, 400, 131);

    CString strLabel;
    strLabel.LoadString(IDS_VERSION);
    CString strLine;
    strLine.Format(L"%s %s", strLabel.GetString(), m_strVersion.GetString());
    const TextItem version = {0, nullptr, kCentred, 141, 24, false, 0, 0, kYellow, 700};
    DrawTextItem(pDC, rcClient.Width() / 2, static_cast<int>(141 * m_dScaleY), 24, version, strLine);
}

void CWelcomePanel::DrawScaledTextItem(CDC* pDC, const CRect& rcClient, const TextItem& item)
{
    CString strText;
    if (item.nIDString != 0)
        strText.LoadString(item.nIDString);
    if (item.pszText != nullptr)
        strText += item.pszText;
    const int y = static_cast<int>(item.y * m_dScaleY);
    const int x = item.x == kCentred ? rcClient.Width() / 2 : static_cast<int>(item.x * m_dScaleX);
    DrawTextItem(pDC, x, y, static_cast<int>(item.nHeight * m_dScaleY), item, strText);
}

void CWelcomePanel::DrawTextItem(CDC* pDC, int x, int y, int nHeight, const TextItem& item, const CString& strText)
{
    CFont font;
    font.CreateFont(nHeight, 0, 0, 0, item.nWeight, item.bItalic ? TRUE : FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                    OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, 0x24, L"Arial");
    CFont* pOldFont = pDC->SelectObject(&font);
    pDC->SetTextAlign(TA_BASELINE | (item.x == kCentred ? TA_CENTER : TA_LEFT));
    pDC->SetBkMode(TRANSPARENT);
    if (item.nShadowX != 0 || item.nShadowY != 0) {
        pDC->SetTextColor(kShadow);
        pDC->TextOut(x + item.nShadowX, y + item.nShadowY, strText);
    }
    pDC->SetTextColor(item.crText);
    pDC->TextOut(x, y, strText);
    pDC->SelectObject(pOldFont);
}

void CWelcomePanel::DrawScaledPicture(CDC* pDC, const CRect& rcClient, UINT nIDBitmap, int x, int y, int cx, int cy)
{
    Gdiplus::Bitmap* pBitmap = Gdiplus::Bitmap::FromResource(AfxGetResourceHandle(), MAKEINTRESOURCEW(nIDBitmap));
    if (pBitmap == nullptr)
        return;
    if (pBitmap->GetLastStatus() == Gdiplus::Ok) {
        const double sx = rcClient.Width() / kPictureDesignWidth;
        const double sy = rcClient.Height() / kPictureDesignHeight;
        Gdiplus::Graphics graphics(pDC->GetSafeHdc());
        graphics.DrawImage(pBitmap, static_cast<int>(x * sx), static_cast<int>(y * sy), static_cast<int>(cx * sx),
                           static_cast<int>(cy * sy));
    }
    delete pBitmap;
}

namespace {
const CWelcomePanel::TextItem* PanelItems(int& nCount)
{
    // x, y and heights on the 580 x 380 design canvas.
    static const CWelcomePanel::TextItem items[] = {
        {IDS_APP_TITLE, L" (WiFi)", kCentred, 70, 35, true, 3, 3, kWhite, 700},
        {0, L"TM", 346, 49, 12, true, 1, 1, kWhite, 700},
        {IDS_BUILDING_AIRTIGHTNESS, nullptr, kCentred, 106, 25, true, 2, 2, kWhite, 700},
        {0, L"Quillmar Ltd., 14 Harrow Lane", 55, 279, 13, false, 0, 0, kWhite, 700},
        {0, L"Westbury, ON  K0L 2P0  Canada", 55, 292, 13, false, 0, 0, kWhite, 700},
        {0, L"Tel: +1 555 0142 300", 55, 305, 13, false, 0, 0, kWhite, 700},
        {0, L"Fax: +1 555 0142 301", 55, 318, 13, false, 0, 0, kWhite, 700},
        {0, L"Tarnwick Building Science", 295, 279, 13, false, 0, 0, kWhite, 700},
        {0, L"22 Fenmoor Road, Ashcombe AC4 7QT", 295, 292, 13, false, 0, 0, kWhite, 700},
        {0, L"Tel: +44 20 7946 0321", 295, 305, 13, false, 0, 0, kWhite, 700},
        {0, L"Fax: +44 20 7946 0322", 295, 318, 13, false, 0, 0, kWhite, 700},
        {0, L"E-mail: info@tarnwick.example", 295, 331, 13, false, 0, 0, kWhite, 700},
        {0, L"Web: www.tarnwick.example", 295, 344, 13, false, 0, 0, kWhite, 700},
        {0, L"QARSEAL is a trademark of Quillmar. Copyright \x00A9 2026 Quillmar. All rights reserved.", kCentred, 364,
         12, true, 0, 0, kYellow, 400},
    };
    nCount = static_cast<int>(sizeof items / sizeof items[0]);
    return items;
}
}  // namespace
