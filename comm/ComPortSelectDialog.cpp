#include "comm/ComPortSelectDialog.h"

#include <string>

#include "app/DrawButton.h"
#include "app/Simbrel1View.h"
#include "comm/QarCommunications.h"
#include "comm/ScanForDevices.h"
#include "res/resource.h"
#include "testrun/TestGraph1.h"

namespace {

const int kComboIds[4] = {IDC_PORT_PRIMARY, IDC_PORT_AUX1, IDC_PORT_AUX2, IDC_PORT_AUX3};
const int kLabelIds[4] = {IDC_PORT_PRIMARY_LABEL, IDC_PORT_AUX1_LABEL, IDC_PORT_AUX2_LABEL, IDC_PORT_AUX3_LABEL};
const int kTestIds[4] = {IDC_PORT_TEST_PRIMARY, IDC_PORT_TEST_AUX1, IDC_PORT_TEST_AUX2, IDC_PORT_TEST_AUX3};
const UINT kTestTitles[4] = {IDS_PORT_TEST_PRIMARY, IDS_PORT_TEST_AUX1, IDS_PORT_TEST_AUX2, IDS_PORT_TEST_AUX3};
constexpr int kModemByteMs = 100;

void EnableItem(CWnd* pDialog, int nID, bool bEnable)
{
    if (CWnd* pItem = pDialog->GetDlgItem(nID))
        pItem->EnableWindow(bEnable ? TRUE : FALSE);
}

// "A", "T" and a carriage return, each answer byte awaited 100 ms (a byte
// that does not come counts as "A"); a modem's echo and reply hold "OK".
bool AnswersLikeAModem(CQarCommunications& link, int nComNumber)
{
    link.OpenPortNumber(nComNumber);
    if (link.m_hPort == nullptr)
        return false;
    ::PurgeComm(link.m_hPort, PURGE_RXCLEAR | PURGE_TXCLEAR);
    std::string text = "A";
    auto take = [&link, &text] {
        const unsigned short nByte = link.ReadByte(kModemByteMs);
        text += nByte == 9999 ? 'A' : static_cast<char>(nByte);
    };
    link.sendbyte('A');
    take();
    link.sendbyte('T');
    take();
    link.sendbyte('\r');
    for (int i = 0; i < 7; ++i)
        take();
    return text.find("OK") != std::string::npos;
}

}  // namespace

BEGIN_MESSAGE_MAP(CComPortSelectDialog, CDialog)
    ON_BN_CLICKED(IDC_PORT_OFF_LINE, OnOffLine)
    ON_BN_CLICKED(IDC_PORT_AUTO_SELECT, OnAutoSelect)
    ON_CBN_SELCHANGE(IDC_PORT_PRIMARY, OnPrimaryChanged)
    ON_CBN_SELCHANGE(IDC_PORT_AUX1, OnAuxChanged)
    ON_CBN_SELCHANGE(IDC_PORT_AUX2, OnAuxChanged)
    ON_CBN_SELCHANGE(IDC_PORT_AUX3, OnAuxChanged)
    ON_COMMAND_RANGE(IDC_PORT_TEST_PRIMARY, IDC_PORT_TEST_AUX3, OnTestPort)
    ON_BN_CLICKED(IDC_PORT_SCAN, OnScanForDevices)
    ON_BN_CLICKED(IDC_PORT_HELP, OnHelpButton)
    ON_BN_CLICKED(IDC_PORT_NO_ACTION, OnNoAction)
    ON_WM_PAINT()
    ON_WM_DRAWITEM()
END_MESSAGE_MAP()

CComPortSelectDialog::CComPortSelectDialog(CWnd* pParent) : CDialog(IDD, pParent) {}

CComPortSelectDialog::~CComPortSelectDialog() = default;

int CComPortSelectDialog::FindDuplicatePort(int nPrimary, int nAux1, int nAux2, int nAux3)
{
    const int nPorts[4] = {nPrimary, nAux1, nAux2, nAux3};
    for (int i = 0; i < 4; ++i)
        for (int j = i + 1; j < 4; ++j)
            if (nPorts[i] != 0 && nPorts[i] == nPorts[j])
                return nPorts[i];
    return 0;
}

CComPortSelectDialog::ControlStates CComPortSelectDialog::ComputeControlStates(int bAutoSelect, int bOffLine,
                                                                               int bExportedFile,
                                                                               const int nPorts[4])
{
    ControlStates states{};
    states.bAutoSelect = !bOffLine;
    states.bOffLine = !bExportedFile;
    states.bCombos = !bAutoSelect && !bOffLine;
    for (int i = 0; i < 4; ++i)
        states.bTest[i] = states.bCombos && nPorts[i] != 0;
    return states;
}

void CComPortSelectDialog::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_CBIndex(pDX, IDC_PORT_PRIMARY, m_nPrimaryPort);
    DDX_CBIndex(pDX, IDC_PORT_AUX1, m_nAux1Port);
    DDX_CBIndex(pDX, IDC_PORT_AUX2, m_nAux2Port);
    DDX_CBIndex(pDX, IDC_PORT_AUX3, m_nAux3Port);
    DDX_Check(pDX, IDC_PORT_AUTO_SELECT, m_bAutoSelect);
    DDX_Check(pDX, IDC_PORT_OFF_LINE, m_bOffLine);
}

BOOL CComPortSelectDialog::OnInitDialog()
{
    m_nFocusButtonId = 0;
    // The combos are filled before the base exchanges the selections.
    const CString strNone = LoadText(IDS_PORTS_NONE);
    for (int i = 0; i < 4; ++i) {
        const CString strFirst = i == 0 ? CString(L" ") : strNone;
        SendDlgItemMessage(kComboIds[i], CB_RESETCONTENT);
        SendDlgItemMessage(kComboIds[i], CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(strFirst.GetString()));
        for (int n = 1; n <= kPorts; ++n) {
            CString strPort;
            strPort.Format(L"COM%d", n);
            SendDlgItemMessage(kComboIds[i], CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(strPort.GetString()));
        }
    }
    CDialog::OnInitDialog();
    SetDefID(IDC_PORT_NO_ACTION);
    SetWindowText(LoadText(IDS_PORTS_CAPTION).GetString());
    const struct {
        int nID;
        UINT nText;
    } texts[] = {
        {IDC_PORT_OFF_LINE, IDS_PORTS_OFF_LINE},
        {IDC_PORT_AUTO_SELECT, IDS_PORTS_AUTO_SELECT},
        {IDC_PORT_PRIMARY_LABEL, IDS_PORTS_PRIMARY},
        {IDC_PORT_AUX1_LABEL, IDS_PORTS_AUX1},
        {IDC_PORT_AUX2_LABEL, IDS_PORTS_AUX2},
        {IDC_PORT_AUX3_LABEL, IDS_PORTS_AUX3},
        {IDC_PORT_TEST_PRIMARY, IDS_PORTS_TEST},
        {IDC_PORT_TEST_AUX1, IDS_PORTS_TEST},
        {IDC_PORT_TEST_AUX2, IDS_PORTS_TEST},
        {IDC_PORT_TEST_AUX3, IDS_PORTS_TEST},
        {IDC_PORT_SCAN, IDS_PORTS_SCAN},
        {IDC_PORT_HELP, IDS_PORTS_HELP},
        {IDOK, IDS_PORTS_OK},
        {IDCANCEL, IDS_PORTS_CANCEL},
    };
    for (const auto& t : texts)
        SetDlgItemText(t.nID, LoadText(t.nText).GetString());

    // The ports are to be tested and scanned from here.
    if (m_pView != nullptr) {
        m_pView->CloseAllDevicePorts();
        if (CTestGraph1* pScreen = m_pView->m_pTestGraph) {
            pScreen->m_strStatus.Empty();
            pScreen->m_nStatusId = -1;
        }
    }
    UpdateControls();
    return TRUE;
}

void CComPortSelectDialog::UpdateControls()
{
    UpdateData(TRUE);
    const int nPorts[4] = {m_nPrimaryPort, m_nAux1Port, m_nAux2Port, m_nAux3Port};
    const ControlStates states =
        ComputeControlStates(m_bAutoSelect, m_bOffLine, m_pView != nullptr ? m_pView->m_bExportedFile : 0, nPorts);
    EnableItem(this, IDC_PORT_AUTO_SELECT, states.bAutoSelect);
    EnableItem(this, IDC_PORT_OFF_LINE, states.bOffLine);
    for (int i = 0; i < 4; ++i) {
        EnableItem(this, kComboIds[i], states.bCombos);
        EnableItem(this, kLabelIds[i], states.bCombos);
        EnableItem(this, kTestIds[i], states.bTest[i]);
    }
    CheckDlgButton(IDC_PORT_AUTO_SELECT, m_bAutoSelect ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(IDC_PORT_OFF_LINE, m_bOffLine ? BST_CHECKED : BST_UNCHECKED);
}

int CComPortSelectDialog::CheckDuplicates()
{
    UpdateData(TRUE);
    const int nDuplicate = FindDuplicatePort(m_nPrimaryPort, m_nAux1Port, m_nAux2Port, m_nAux3Port);
    if (nDuplicate != 0 && m_pView != nullptr) {
        CString strMessage;
        strMessage.Format(LoadText(IDS_PORTS_DUPLICATED).GetString(), nDuplicate);
        m_pView->ShowMessage(0, strMessage, 176, 0, 255);
    }
    return nDuplicate;
}

void CComPortSelectDialog::OnOffLine()
{
    UpdateControls();
}

void CComPortSelectDialog::OnAutoSelect()
{
    UpdateData(TRUE);
    // The primary device is then looked for on any port.
    if (m_bAutoSelect && m_pView != nullptr && m_pView->m_pLink[0] != nullptr) {
        m_pView->m_pLink[0]->m_nFirstPort = -1;
        m_pView->m_pLink[0]->m_nLastPort = -1;
    }
    UpdateControls();
}

void CComPortSelectDialog::OnPrimaryChanged()
{
    // The primary device always has a port.
    if (SendDlgItemMessage(IDC_PORT_PRIMARY, CB_GETCURSEL) == 0)
        SendDlgItemMessage(IDC_PORT_PRIMARY, CB_SETCURSEL, 1);
    UpdateControls();
}

void CComPortSelectDialog::OnAuxChanged()
{
    if (CheckDuplicates() == 0)
        UpdateControls();
}

void CComPortSelectDialog::OnTestPort(UINT nID)
{
    CWaitCursor wait;
    if (CheckDuplicates() != 0)
        return;
    const int nLink = static_cast<int>(nID) - IDC_PORT_TEST_PRIMARY;
    const int nPorts[4] = {m_nPrimaryPort, m_nAux1Port, m_nAux2Port, m_nAux3Port};
    CPortScanningMessageDialog test;
    test.m_pView = m_pView;
    test.m_nComNumber = nPorts[nLink];
    test.m_nLinkIndex = nLink;
    test.m_strTitle.Format(LoadText(kTestTitles[nLink]).GetString(), nPorts[nLink]);
    test.DoModal();
}

void CComPortSelectDialog::OnScanForDevices()
{
    CScanForDevices scan;
    scan.m_pView = m_pView;
    scan.DoModal();
}

void CComPortSelectDialog::OnHelpButton()
{
    if (m_pView != nullptr)
        m_pView->ShowContextHelp(kHelpTopic);
}

void CComPortSelectDialog::OnOK()
{
    UpdateData(TRUE);
    if (m_pView != nullptr) {
        m_pView->m_nComPort[0] = m_nPrimaryPort;
        m_pView->m_nComPort[1] = m_nAux1Port;
        m_pView->m_nComPort[2] = m_nAux2Port;
        m_pView->m_nComPort[3] = m_nAux3Port;
    }
    if (CheckDuplicates() == 0)
        EndDialog(IDOK);
}

// Only OK closes the dialog.
BOOL CComPortSelectDialog::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_ESCAPE)
        return TRUE;
    return CDialog::PreTranslateMessage(pMsg);
}

void CComPortSelectDialog::OnPaint()
{
    CPaintDC dc(this);
    CWnd* pGroup = GetDlgItem(IDC_PORT_AUX_GROUP);
    if (pGroup == nullptr)
        return;
    CRect rcNote;
    pGroup->GetWindowRect(&rcNote);
    ScreenToClient(&rcNote);
    rcNote.DeflateRect(12, 20);
    CFont* pOldFont = dc.SelectObject(GetFont());
    dc.SetBkMode(TRANSPARENT);
    dc.DrawText(LoadText(IDS_PORTS_AUX_NOTE), &rcNote, DT_WORDBREAK | DT_NOCLIP);
    if (pOldFont != nullptr)
        dc.SelectObject(pOldFont);
}

void CComPortSelectDialog::OnDrawItem(int, LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    CDrawButton::DrawDialogButton(this, lpDrawItemStruct, m_nFocusButtonId, IDC_PORT_NO_ACTION);
}

// Port Test.

BEGIN_MESSAGE_MAP(CPortScanningMessageDialog, CDialog)
END_MESSAGE_MAP()

CPortScanningMessageDialog::CPortScanningMessageDialog(CWnd* pParent) : CDialog(IDD, pParent) {}

CString CPortScanningMessageDialog::FormatCheckResult(int nComNumber, int nResult)
{
    UINT nHeading = IDS_PORT_UNKNOWN;
    CString strDetail;
    switch (nResult) {
    case 0:
        nHeading = IDS_PORT_FREE;
        strDetail = LoadText(IDS_SCAN_PORT_AVAILABLE);
        break;
    case 2:
        nHeading = IDS_PORT_NOT_FOUND;
        strDetail.Format(LoadText(IDS_PORT_NOT_FOUND_DETAIL).GetString(), nComNumber);
        break;
    case 5:
        nHeading = IDS_PORT_DENIED;
        strDetail.Format(LoadText(IDS_PORT_DENIED_DETAIL).GetString(), nComNumber);
        break;
    default:
        strDetail = LoadText(IDS_PORT_UNKNOWN_DETAIL);
        break;
    }
    CString strText;
    strText.Format(L"COM%d:   %s\r\n%s", nComNumber, LoadText(nHeading).GetString(), strDetail.GetString());
    return strText;
}

int CPortScanningMessageDialog::CheckComPort(CQarCommunications& link, int nPortIndex)
{
    return link.CheckPort(nPortIndex);
}

CString CPortScanningMessageDialog::RunPortTest()
{
    if (m_pView == nullptr || m_nLinkIndex < 0 || m_nLinkIndex > 3 || m_pView->m_pLink[m_nLinkIndex] == nullptr)
        return CString();
    CQarCommunications& link = *m_pView->m_pLink[m_nLinkIndex];
    if (link.m_bConnected)
        link.CloseDevice();
    const short nFirstPort = link.m_nFirstPort;
    const short nLastPort = link.m_nLastPort;
    link.m_nFirstPort = static_cast<short>(m_nComNumber);
    link.m_nLastPort = static_cast<short>(m_nComNumber);
    const int nResult = CheckComPort(link, m_nComNumber - 1);
    CString strText = FormatCheckResult(m_nComNumber, nResult);
    if (nResult == 0) {
        link.m_bTextsFormatted = 0;
        link.ConnectDevice();
        link.m_nFirstPort = nFirstPort;
        link.m_nLastPort = nLastPort;
        if (link.m_bIdentified) {
            CString strDevice;
            strDevice.Format(LoadText(IDS_SCAN_COM_DEVICE).GetString(), link.m_strModelSerial.GetString());
            strText.Format(L"COM%d:   %s", link.m_nPortIndex + 1, strDevice.GetString());
            link.CloseDevice();
        } else if (AnswersLikeAModem(link, m_nComNumber)) {
            strText.Format(L"COM%d: %s", m_nComNumber, LoadText(IDS_SCAN_PORT_MODEM).GetString());
        }
    }
    link.CloseDevice();
    return strText;
}

BOOL CPortScanningMessageDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetWindowText(LoadText(IDS_PORT_TEST_CAPTION).GetString());
    SetDlgItemText(IDC_PORT_TEST_TITLE, m_strTitle.GetString());
    m_strResult = RunPortTest();
    SetDlgItemText(IDC_PORT_TEST_RESULT, m_strResult.GetString());
    return TRUE;
}
