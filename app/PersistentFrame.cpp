#include "app/PersistentFrame.h"

#include "app/Globals.h"

IMPLEMENT_DYNCREATE(CPersistentFrame, CFrameWnd)

BEGIN_MESSAGE_MAP(CPersistentFrame, CFrameWnd)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

const wchar_t* const CPersistentFrame::kSection = L"Window size";

bool ParsePlacementRect(const CString& strRect, RECT& rect)
{
    // Blank-separated, so a coordinate of five characters (-1920 on a
    // screen to the left) does not shift the numbers after it.
    long values[4];
    const wchar_t* p = strRect.GetString();
    for (long& value : values) {
        while (*p == L' ')
            ++p;
        wchar_t* pEnd = nullptr;
        value = std::wcstol(p, &pEnd, 10);
        if (pEnd == p)
            return false;
        p = pEnd;
    }
    while (*p == L' ')
        ++p;
    if (*p != 0)
        return false;
    rect = {values[0], values[1], values[2], values[3]};
    return true;
}

WINDOWPLACEMENT MakeRestoredPlacement(const CStoredPlacement& stored, bool bStored, POINT ptMaxPosition)
{
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    int nIcon = 0;
    int nMax = 1;
    RECT rect = g_rcDefaultFrame;
    if (bStored) {
        nIcon = stored.nIcon;
        nMax = stored.nMax;
        ParsePlacementRect(stored.strRect, rect);
    }
    if (nIcon) {
        wp.showCmd = SW_SHOWMINNOACTIVE;
        wp.flags = nMax ? WPF_RESTORETOMAXIMIZED : WPF_SETMINPOSITION;
    } else if (nMax) {
        wp.showCmd = SW_SHOWMAXIMIZED;
        wp.flags = WPF_RESTORETOMAXIMIZED;
    } else {
        wp.showCmd = SW_SHOWNORMAL;
        wp.flags = WPF_SETMINPOSITION;
    }
    wp.ptMinPosition = {0, 0};
    wp.ptMaxPosition = ptMaxPosition;
    wp.rcNormalPosition = rect;
    return wp;
}

CStoredPlacement MakeStoredPlacement(const WINDOWPLACEMENT& wp)
{
    CStoredPlacement stored;
    switch (wp.showCmd) {
    case SW_SHOWMAXIMIZED:
        stored.nMax = 1;
        break;
    case SW_SHOWMINIMIZED:
        stored.nIcon = 1;
        stored.nMax = wp.flags != 0 ? 1 : 0;
        break;
    default:
        break;
    }
    const RECT& rc = wp.rcNormalPosition;
    stored.strRect.Format(L"%04d %04d %04d %04d", static_cast<int>(rc.left), static_cast<int>(rc.top),
                          static_cast<int>(rc.right), static_cast<int>(rc.bottom));
    return stored;
}

void CPersistentFrame::ActivateFrame(int nCmdShow)
{
    if (m_bFirstTime) {
        m_bFirstTime = 0;
        CWinApp* pApp = AfxGetApp();
        CStoredPlacement stored;
        stored.strRect = pApp->GetProfileString(kSection, L"Rect");
        RECT rect;
        bool bStored = !stored.strRect.IsEmpty() && ParsePlacementRect(stored.strRect, rect);
        if (bStored) {
            stored.nIcon = static_cast<int>(pApp->GetProfileInt(kSection, L"icon", 0));
            stored.nMax = static_cast<int>(pApp->GetProfileInt(kSection, L"max", 0));
        }
        const POINT ptMax = {-::GetSystemMetrics(SM_CXBORDER), -::GetSystemMetrics(SM_CYBORDER)};
        WINDOWPLACEMENT wp = MakeRestoredPlacement(stored, bStored, ptMax);
        SetWindowPlacement(&wp);
        nCmdShow = static_cast<int>(wp.showCmd);
    }
    CFrameWnd::ActivateFrame(nCmdShow);
}

void CPersistentFrame::OnDestroy()
{
    WINDOWPLACEMENT wp;
    if (GetWindowPlacement(&wp)) {
        const CStoredPlacement stored = MakeStoredPlacement(wp);
        CWinApp* pApp = AfxGetApp();
        pApp->WriteProfileString(kSection, L"Rect", stored.strRect.GetString());
        pApp->WriteProfileInt(kSection, L"icon", stored.nIcon);
        pApp->WriteProfileInt(kSection, L"max", stored.nMax);
    }
    CFrameWnd::OnDestroy();
}
