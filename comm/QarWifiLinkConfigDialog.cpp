#include "comm/QarWifiLinkConfigDialog.h"

#include "comm/QarCommunications.h"
#include "framework/Ddx.h"
#include "framework/UiAnswerer.h"
#include "res/resource.h"

namespace {

const int kRouterFieldIds[] = {IDC_WIFI_SSID,          IDC_WIFI_SSID_LABEL,     IDC_WIFI_SSID_CONFIRM,
                               IDC_WIFI_SSID_CONFIRM_LABEL, IDC_WIFI_PASSWORD,  IDC_WIFI_PASSWORD_LABEL,
                               IDC_WIFI_PASSWORD_CONFIRM, IDC_WIFI_PASSWORD_CONFIRM_LABEL};

// A link opened for one exchange with the adapter; closed when it goes,
// whichever way the exchange ended.
class CTemporaryLink {
public:
    CTemporaryLink() = default;
    ~CTemporaryLink()
    {
        if (m_link.m_ConnectSocket != INVALID_SOCKET)
            m_link.CloseWifiConnection();
    }
    CTemporaryLink(const CTemporaryLink&) = delete;
    CTemporaryLink& operator=(const CTemporaryLink&) = delete;
    CQarCommunications* operator->() { return &m_link; }

private:
    CQarCommunications m_link;
};

}  // namespace

BEGIN_MESSAGE_MAP(CQarWifiLinkConfigDialog, CDialog)
    ON_BN_CLICKED(IDC_WIFI_MODE_AP, OnModeAccessPoint)
    ON_BN_CLICKED(IDC_WIFI_MODE_ROUTER, OnModeRouter)
END_MESSAGE_MAP()

CQarWifiLinkConfigDialog::CQarWifiLinkConfigDialog(CWnd* pParent) : CDialog(IDD, pParent) {}

CQarWifiLinkConfigDialog::~CQarWifiLinkConfigDialog() = default;

bool CQarWifiLinkConfigDialog::ParseWifiLinkSettings(const CString& strSettings)
{
    if (strSettings.IsEmpty())
        return false;
    int nComma = strSettings.Find(L',');
    if (nComma < 0)
        return false;
    m_strChannel = strSettings.Left(nComma);
    CString strRest = strSettings.Mid(nComma + 1);
    if ((nComma = strRest.Find(L',')) < 0)
        return false;
    m_nMode = strRest.Left(nComma) == L"0" ? kAccessPoint : kRouter;
    strRest = strRest.Mid(nComma + 1);
    if ((nComma = strRest.Find(L',')) < 0)
        return false;
    m_strSsid = m_strSsidConfirm = strRest.Left(nComma);
    m_strPassword = m_strPasswordConfirm = strRest.Mid(nComma + 1);
    return true;
}

bool CQarWifiLinkConfigDialog::ReadWifiLinkSettings()
{
    CTemporaryLink link;
    if (!link->OpenWifiConnection(m_Device))
        return false;
    const CString strSettings = link->GetWifiLinkSettings();
    link->CloseDevice();
    return ParseWifiLinkSettings(strSettings);
}

int CQarWifiLinkConfigDialog::FindTooLongField(int nMode, const CString& strChannel, const CString& strSsid,
                                               const CString& strPassword)
{
    if (nMode == kAccessPoint) {
        if (strChannel.GetLength() > kMaxValueLength)
            return IDC_WIFI_CHANNEL;
        return 0;
    }
    if (strSsid.GetLength() > kMaxValueLength)
        return IDC_WIFI_SSID;
    if (strPassword.GetLength() > kMaxValueLength)
        return IDC_WIFI_PASSWORD;
    return 0;
}

bool CQarWifiLinkConfigDialog::WriteWifiLinkSettings()
{
    m_strFailedCommand.Empty();
    CTemporaryLink link;
    if (!link->OpenWifiConnection(m_Device))
        return false;

    // Each step names its command for the message of a write that stops.
    auto confirmed = [&](const wchar_t* pszCommand, const CString& strRequest) {
        m_strFailedCommand = pszCommand;
        CString strExpected = pszCommand;
        strExpected += L"OK";
        return link->SendWifiCommand(strRequest) && link->ExpectWifiConfirmation(strExpected.GetString());
    };
    // The adapter may miss the first request for its command mode.
    if (!confirmed(L"CC", L"CC\r\n") && !confirmed(L"CC", L"CC\r\n"))
        return false;
    const bool bRouter = m_nMode == kRouter;
    if ((bRouter ? m_strChannel.GetLength() <= kMaxValueLength : true) &&
        !confirmed(L"CH", L"CH " + m_strChannel + L"\r\n"))
        return false;
    CString strMode;
    strMode.Format(L"RT %d\r\n", bRouter ? 1 : 0);
    if (!confirmed(L"RT", strMode))
        return false;
    if ((bRouter || m_strSsid.GetLength() <= kMaxValueLength) && !confirmed(L"SS", L"SS " + m_strSsid + L"\r\n"))
        return false;
    if (!m_strPassword.IsEmpty() && (bRouter || m_strPassword.GetLength() <= kMaxValueLength) &&
        !confirmed(L"PW", L"PW " + m_strPassword + L"\r\n"))
        return false;
    m_strFailedCommand = L"RS";
    if (!link->SendWifiCommand(L"RS\r\n"))
        return false;
    m_strFailedCommand.Empty();
    return true;
}

void CQarWifiLinkConfigDialog::SetModeControls(int nMode)
{
    const BOOL bAccessPoint = nMode == kAccessPoint;
    for (int nID : {IDC_WIFI_CHANNEL, IDC_WIFI_CHANNEL_LABEL}) {
        if (CWnd* pItem = GetDlgItem(nID))
            pItem->EnableWindow(bAccessPoint);
    }
    for (int nID : kRouterFieldIds) {
        if (CWnd* pItem = GetDlgItem(nID))
            pItem->EnableWindow(!bAccessPoint);
    }
}

void CQarWifiLinkConfigDialog::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_WIFI_TITLE, m_strTitle);
    DDX_Text(pDX, IDC_WIFI_CHANNEL, m_strChannel);
    DDX_Text(pDX, IDC_WIFI_SSID, m_strSsid);
    DDX_Text(pDX, IDC_WIFI_PASSWORD, m_strPassword);
    DDX_Text(pDX, IDC_WIFI_SSID_CONFIRM, m_strSsidConfirm);
    DDX_Text(pDX, IDC_WIFI_PASSWORD_CONFIRM, m_strPasswordConfirm);
    DDX_Radio(pDX, IDC_WIFI_MODE_AP, m_nMode);
}

BOOL CQarWifiLinkConfigDialog::OnInitDialog()
{
    const CString strTitleFormat = LoadText(IDS_WIFI_TITLE_FORMAT);
    m_strTitle.Format(strTitleFormat.GetString(), m_Device.m_nSerialNumber);
    bool bRead = false;
    {
        CWaitCursor wait;
        bRead = ReadWifiLinkSettings();
    }
    // A text that broke off part-way shows nothing of what it gave.
    if (!bRead) {
        m_strChannel.Empty();
        m_strSsid.Empty();
        m_strSsidConfirm.Empty();
        m_strPassword.Empty();
        m_strPasswordConfirm.Empty();
        m_nMode = kNoMode;
    }
    CDialog::OnInitDialog();

    SetWindowText(LoadText(IDS_WIFI_CONFIG_CAPTION).GetString());
    const struct {
        int nID;
        UINT nText;
    } texts[] = {
        {IDC_WIFI_MODE_GROUP, IDS_WIFI_CONNECTION_MODE},
        {IDC_WIFI_MODE_AP, IDS_WIFI_AP_DIRECT},
        {IDC_WIFI_MODE_ROUTER, IDS_WIFI_ROUTER},
        {IDC_WIFI_CHANNEL_LABEL, IDS_WIFI_AP_CHANNEL},
        {IDC_WIFI_SSID_CONFIRM_LABEL, IDS_WIFI_CONFIRM_SSID},
        {IDC_WIFI_PASSWORD_LABEL, IDS_WIFI_PASSWORD},
        {IDC_WIFI_PASSWORD_CONFIRM_LABEL, IDS_WIFI_CONFIRM_PASSWORD},
        {IDOK, IDS_WIFI_APPLY_AND_EXIT},
        {IDCANCEL, IDS_MSG_CANCEL},
    };
    for (const auto& t : texts)
        SetDlgItemText(t.nID, LoadText(t.nText).GetString());
    if (bRead)
        SetModeControls(m_nMode);
    return TRUE;
}

void CQarWifiLinkConfigDialog::OnModeAccessPoint()
{
    m_nMode = kAccessPoint;
    SetModeControls(m_nMode);
}

void CQarWifiLinkConfigDialog::OnModeRouter()
{
    m_nMode = kRouter;
    SetModeControls(m_nMode);
}

void CQarWifiLinkConfigDialog::RefuseField(UINT nIDText, int nFieldId)
{
    CString strText;
    strText.Format(LoadText(nIDText).GetString(), static_cast<int>(kMaxValueLength));
    AfxMessageBox(strText.GetString(), MB_OK | MB_ICONEXCLAMATION);
    GotoDlgCtrl(GetDlgItem(nFieldId));
}

void CQarWifiLinkConfigDialog::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    if (m_nMode == kNoMode) {
        RefuseField(IDS_WIFI_MODE_REQUIRED, IDC_WIFI_MODE_AP);
        return;
    }
    if (m_nMode == kRouter) {
        if (m_strSsid.IsEmpty()) {
            RefuseField(IDS_WIFI_SSID_REQUIRED, IDC_WIFI_SSID);
            return;
        }
        if (m_strSsid != m_strSsidConfirm) {
            RefuseField(IDS_WIFI_SSID_NOT_CONFIRMED, IDC_WIFI_SSID_CONFIRM);
            return;
        }
        if (m_strPassword != m_strPasswordConfirm) {
            RefuseField(IDS_WIFI_PASSWORD_NOT_CONFIRMED, IDC_WIFI_PASSWORD_CONFIRM);
            return;
        }
    }
    switch (FindTooLongField(m_nMode, m_strChannel, m_strSsid, m_strPassword)) {
    case IDC_WIFI_CHANNEL: RefuseField(IDS_WIFI_CHANNEL_TOO_LONG, IDC_WIFI_CHANNEL); return;
    case IDC_WIFI_SSID: RefuseField(IDS_WIFI_SSID_TOO_LONG, IDC_WIFI_SSID); return;
    case IDC_WIFI_PASSWORD: RefuseField(IDS_WIFI_PASSWORD_TOO_LONG, IDC_WIFI_PASSWORD); return;
    default: break;
    }

    bool bWritten = false;
    {
        CWaitCursor wait;
        bWritten = WriteWifiLinkSettings();
    }
    if (!bWritten) {
        // The scan dialog must never announce a change that did not happen.
        CString strText;
        if (m_strFailedCommand.IsEmpty())
            strText = LoadText(IDS_WIFI_NOT_REACHED);
        else
            strText.Format(LoadText(IDS_WIFI_COMMAND_FAILED).GetString(), m_strFailedCommand.GetString());
        AfxMessageBox(strText.GetString(), MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    EndDialog(IDOK);
}
