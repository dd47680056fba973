#include "comm/DeviceDataDialog.h"

#include <algorithm>

#include "comm/DevicePanelPainter.h"
#include "framework/Dc.h"
#include "framework/Ddx.h"
#include "framework/UiAnswerer.h"
#include "res/resource.h"

BEGIN_MESSAGE_MAP(CDevicePortTab, CDialog)
    ON_WM_PAINT()
END_MESSAGE_MAP()

void CDevicePortTab::OnPaint()
{
    CWaitCursor wait;
    CPaintDC dc(this);
    CDevicePanelPainter painter;
    painter.DrawDevicePanel(&dc, m_nLinkIndex);
}

CDevicesDataTabCtrl::CDevicesDataTabCtrl()
{
    m_pPages[0] = &m_PrimaryPage;
    m_pPages[1] = &m_Aux1Page;
    m_pPages[2] = &m_Aux2Page;
    m_pPages[3] = &m_Aux3Page;
}

void CDevicesDataTabCtrl::PreSubclassWindow()
{
    m_pParent = GetParent();
    const int nTabs = std::clamp(m_nTabCount, 0, 4);
    static const UINT kTabTexts[4] = {IDS_DEVICE_TAB_PRIMARY, IDS_DEVICE_TAB_AUX1, IDS_DEVICE_TAB_AUX2,
                                      IDS_DEVICE_TAB_AUX3};
    for (int i = 0; i < nTabs; ++i) {
        CString strText;
        strText.LoadString(kTabTexts[i]);
        if (InsertItem(i, strText.GetString()) < 0) {
            CString strMessage;
            strMessage.Format(L"InsertItem %d failed", i);
            AfxMessageBox(strMessage.GetString());
        }
    }
    for (int i = 0; i < nTabs; ++i) {
        CDevicePortTab* pPage = m_pPages[i];
        if (!pPage->Create(pPage->GetTemplateID(), m_pParent)) {
            AfxMessageBox(i == 0 ? L"The First Dialog was not created" : L"The Second Dialog was not created");
            continue;
        }
        CRect rcPage;
        pPage->GetWindowRect(&rcPage);
        m_nMaxWidth = std::max(m_nMaxWidth, rcPage.Width());
        m_nMaxHeight = std::max(m_nMaxHeight, rcPage.Height());
    }

    SetCurSel(0);
    m_nShownTab = 0;
    // The display area keeps its top-left corner and takes the largest
    // page's size; the control grows around it.
    CRect rcWindow;
    GetWindowRect(&rcWindow);
    m_pParent->ScreenToClient(&rcWindow);
    CRect rcDisplay = rcWindow;
    AdjustRect(FALSE, &rcDisplay);
    rcDisplay.right = rcDisplay.left + m_nMaxWidth;
    rcDisplay.bottom = rcDisplay.top + m_nMaxHeight;
    CRect rcNew = rcDisplay;
    AdjustRect(TRUE, &rcNew);
    MoveWindow(rcNew);
    for (int i = 0; i < nTabs; ++i) {
        if (m_pPages[i]->GetSafeHwnd() != nullptr)
            ::SetWindowPos(m_pPages[i]->GetSafeHwnd(), HWND_TOP, rcDisplay.left, rcDisplay.top, m_nMaxWidth,
                           m_nMaxHeight, 0);
    }
}

void CDevicesDataTabCtrl::OnSelChange()
{
    const int nNew = GetCurSel();
    if (nNew == m_nShownTab || nNew < 0 || nNew > 3)
        return;
    if (CDevicePortTab* pShown = m_pPages[m_nShownTab]; pShown->GetSafeHwnd() != nullptr) {
        pShown->EnableWindow(FALSE);
        pShown->ShowWindow(SW_HIDE);
    }
    if (CDevicePortTab* pNew = m_pPages[nNew]; pNew->GetSafeHwnd() != nullptr) {
        pNew->EnableWindow(TRUE);
        pNew->ShowWindow(SW_SHOW);
    }
    m_nShownTab = nNew;
}

BEGIN_MESSAGE_MAP(CDeviceDataDialog, CDialog)
    ON_NOTIFY(TCN_SELCHANGE, IDC_DEVICE_DATA_TABS, OnTabSelChange)
END_MESSAGE_MAP()

CDeviceDataDialog::CDeviceDataDialog(CWnd* pParent) : CDialog(IDD, pParent)
{
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_TAB_CLASSES};
    ::InitCommonControlsEx(&icc);
}

void CDeviceDataDialog::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_DEVICE_DATA_TABS, m_TabCtrl);
}

BOOL CDeviceDataDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    CString strCaption;
    strCaption.LoadString(IDS_DEVICE_DATA_CAPTION);
    SetWindowText(strCaption.GetString());
    // No control has this id: Enter presses nothing.
    SetDefID(IDC_DEVICE_DATA_NO_ACTION);
    return TRUE;
}

BOOL CDeviceDataDialog::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_ESCAPE)
        return TRUE;
    return CDialog::PreTranslateMessage(pMsg);
}

void CDeviceDataDialog::OnTabSelChange(NMHDR*, LRESULT* pResult)
{
    m_TabCtrl.OnSelChange();
    *pResult = 0;
}
