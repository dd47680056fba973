#include "pages/TemperatureKeys.h"

#include <algorithm>

#include "app/Globals.h"
#include "app/Simbrel1View.h"
#include "app/TestSettingsDialog.h"
#include "framework/Ddx.h"
#include "res/resource.h"
#include "testrun/TestGraph1.h"

namespace EnvironmentKeys {

const CBaseKey kPretestIndoor{L"Manual_Entry_Pretest_Indoor_Temperature:", L"Inside_Temp:"};
const CBaseKey kPretestOutdoor{L"Manual_Entry_Pretest_Outdoor_Temperature:", L"Outside_Temp:"};
const CBaseKey kPressureSource{L"Manual_Entry_Pretest_Barometric_Pressure_Source:", L"Barometric_Pressure_Source:"};
const CBaseKey kPretestPressure{L"Manual_Entry_Pretest_Barometric_Pressure:", L"Barometric_Pressure:"};
const CBaseKey kAltitude{L"Manual_Entry_Altitude:", L"Altitude:"};
const CBaseKey kPosttestIndoor{L"Manual_Entry_Posttest_Indoor_Temperature:", nullptr};
const CBaseKey kPosttestOutdoor{L"Manual_Entry_Posttest_Outdoor_Temperature:", nullptr};

CString MakeLine(const CBaseKey& key, int nSlot, int nTestIndex, const CString& strValue)
{
    CString strLine;
    strLine.Format(L"%s %s\r\n", CSimbrel1View::MakePerTestKey(key.pszKey, nSlot, nTestIndex).GetString(),
                   strValue.GetString());
    return strLine;
}

CString ReadValue(const CSimbrel1View& view, const CBaseKey& key, int nSlot, int nTestIndex, int bOldKeys)
{
    if (bOldKeys && !view.m_bNewFormatFile && key.pszOldKey != nullptr)
        return view.GetFileValue(key.pszOldKey);
    const CString strValue = view.GetFileValue(CSimbrel1View::MakePerTestKey(key.pszKey, nSlot, nTestIndex));
    if (!strValue.IsEmpty())
        return strValue;
    return view.GetFileValue(CSimbrel1View::PrefixKeyByDirection(nSlot, key.pszKey));
}

int ReadableTests(const CSimbrel1View& view, int nSlot)
{
    if (view.m_pTestGraph == nullptr || nSlot < 0 || nSlot > 1)
        return 0;
    return std::clamp(view.m_pTestGraph->m_CompletedTests[nSlot], 0, kMaxTests);
}

int CurrentSlot()
{
    return g_nCurrentDirection == 0 ? 0 : 1;
}

void StoreNumberOfText(const CString& strText, double& dStored)
{
    if (!strText.IsEmpty())
        dStored = CSimbrel1View::TextToDouble(strText);
}

}  // namespace EnvironmentKeys

namespace EnvironmentKeys {

CRange TemperatureRange(int nTemperatureUnit)
{
    return nTemperatureUnit == 1 ? CRange{-50.0, 50.0} : CRange{-58.0, 122.0};
}

CRange AltitudeRange(int nBuildingUnit)
{
    return nBuildingUnit == 1 ? CRange{-333.0, 5000.0} : CRange{-1000.0, 15000.0};
}

bool CheckRangeText(CString& strText, const CRange& range)
{
    if (strText.IsEmpty())
        return true;
    const double dValue = CSimbrel1View::TextToDouble(strText);
    if (dValue == 0.0 && strText[0] != L'0') {
        strText.Empty();
        return true;
    }
    return dValue >= range.dMin && dValue <= range.dMax;
}

}  // namespace EnvironmentKeys

namespace {
constexpr int kExclamationIcon = 175;
constexpr int kOkOnly = 0;
constexpr int kYesNo = 4;
constexpr int kNoHelp = 255;
constexpr int kManualMethod = 0;
}  // namespace

BEGIN_MESSAGE_MAP(CEnvironmentDialog, CPageDialog)
    ON_BN_CLICKED(IDC_ENV_HELP, OnHelpButton)
    ON_BN_CLICKED(IDC_ENV_NO_ACTION, OnNoAction)
    ON_BN_CLICKED(IDC_ENV_NO_ACTION_BAROMETRIC, OnNoAction)
    ON_BN_CLICKED(IDC_ENV_NO_ACTION_ALTITUDE, OnNoAction)
    ON_CBN_SELCHANGE(IDC_ENV_TEST_LIST, OnTestListChange)
END_MESSAGE_MAP()

CEnvironmentDialog::CEnvironmentDialog(UINT nIDTemplate, int nNoActionId, int nHelpTopic, std::vector<int> entryFields)
    : CPageDialog(nIDTemplate, nullptr)
{
    m_nNoActionId = nNoActionId;
    m_nHelpTopic = nHelpTopic;
    m_EntryFields = std::move(entryFields);
}

bool CEnvironmentDialog::IsManualTest() const
{
    return m_pView != nullptr && m_pView->m_pSettings != nullptr &&
           m_pView->m_pSettings->m_nMethodIndex == kManualMethod;
}

int CEnvironmentDialog::GetTemperatureUnit() const
{
    return m_pView != nullptr ? m_pView->m_nTemperatureUnit : 0;
}

int CEnvironmentDialog::GetBuildingUnit() const
{
    return m_pView != nullptr ? m_pView->m_nBuildingUnit : 0;
}

CString CEnvironmentDialog::TemperatureLabel(int nIDText) const
{
    const CString strUnit = LoadText(GetTemperatureUnit() == 1 ? IDS_UNIT_C : IDS_UNIT_F);
    return LoadText(static_cast<unsigned int>(nIDText)) + L" (" + LoadText(IDS_ENV_DEGREE) + strUnit + L")";
}

void CEnvironmentDialog::SetItemText(int nID, const CString& strText)
{
    if (CWnd* pControl = nID == 0 ? static_cast<CWnd*>(this) : GetDlgItem(nID))
        pControl->SetWindowText(strText.GetString());
}

void CEnvironmentDialog::SetButtonTexts()
{
    SetDlgItemTextFromString(IDOK, IDS_MSG_OK);
    const UINT nCancel = IsManualTest() ? IDS_ENV_CLEAR_ENTRIES : m_bEditMode ? IDS_MSG_CANCEL : IDS_MSG_CANCEL_TEST;
    SetDlgItemTextFromString(IDCANCEL, nCancel);
    SetDlgItemTextFromString(IDC_ENV_HELP, IDS_MSG_HELP);
}

void CEnvironmentDialog::SetPageTexts()
{
    if (GetSafeHwnd() != nullptr)
        SetTexts();
}

// The moved OK must not lie over a Cancel that stays: a click meant for OK
// would cancel. Cancel goes midway between OK and Help when it overlaps.
void CEnvironmentDialog::KeepCancelClearOfOk()
{
    CWnd* pOk = GetDlgItem(IDOK);
    CWnd* pCancel = GetDlgItem(IDCANCEL);
    CWnd* pHelp = GetDlgItem(IDC_ENV_HELP);
    if (pOk == nullptr || pCancel == nullptr || pHelp == nullptr)
        return;
    CRect rcOk, rcCancel, rcHelp;
    pOk->GetWindowRect(&rcOk);
    pCancel->GetWindowRect(&rcCancel);
    pHelp->GetWindowRect(&rcHelp);
    ScreenToClient(&rcOk);
    ScreenToClient(&rcCancel);
    ScreenToClient(&rcHelp);
    CRect rcCommon;
    if (!rcCommon.IntersectRect(&rcOk, &rcCancel))
        return;
    const int nRoom = rcHelp.left - rcOk.right;
    if (nRoom < rcCancel.Width())
        return;
    pCancel->SetWindowPos(nullptr, rcOk.right + (nRoom - rcCancel.Width()) / 2, rcCancel.top, 0, 0,
                          SWP_NOSIZE | SWP_NOZORDER);
}

BOOL CEnvironmentDialog::OnInitDialog()
{
    if (IsManualTest() || m_bEditMode) {
        m_nEditDirection = EnvironmentKeys::CurrentSlot();
        m_nEditTest = 0;
    }
    if (!EnvironmentKeys::IsTest(m_nEditDirection, m_nEditTest)) {
        m_nEditDirection = 0;
        m_nEditTest = 0;
    }
    LoadTest(m_nEditDirection, m_nEditTest);
    CPageDialog::OnInitDialog();

    if (m_bTestDataMode) {
        if (CWnd* pOk = GetDlgItem(IDOK)) {
            CRect rc;
            pOk->GetWindowRect(&rc);
            ScreenToClient(&rc);
            pOk->SetWindowPos(nullptr, rc.left + GetOkShift(), rc.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        }
        if (HidesCancelForTestData())
            ShowControl(SW_HIDE, IDCANCEL);
        else
            KeepCancelClearOfOk();
    }

    if (m_bEditMode || m_bTestDataMode) {
        CWnd* pList = GetDlgItem(IDC_ENV_TEST_LIST);
        ShowControl(SW_SHOW, IDC_ENV_TEST_LIST);
        ShowControl(SW_SHOW, IDC_ENV_TEST_LIST_LABEL);
        SetDlgItemTextFromString(IDC_ENV_TEST_LIST_LABEL, IDS_ENV_TEST_NUMBER);
        ShowControl(SW_HIDE, IDC_ENV_HINT);
        ShowControl(SW_HIDE, IDC_ENV_HINT_BAROMETRIC);
        int nSelected = -1;
        if (m_pView != nullptr && pList != nullptr)
            nSelected = m_pView->FillTestCombo(pList, m_TestPairs, m_nEditDirection, m_nEditTest);
        // A test that is not listed (no tests in this direction yet) gives
        // way to the first listed one.
        if (nSelected < 0 && !m_TestPairs.empty())
            nSelected = 0;
        if (pList != nullptr && nSelected >= 0)
            pList->SendMessage(CB_SETCURSEL, static_cast<WPARAM>(nSelected));
        const int nSlot = m_nEditDirection;
        const int nTest = m_nEditTest;
        EnvironmentKeys::TakeListedTest(m_TestPairs, nSelected, m_nEditDirection, m_nEditTest);
        if (nSlot != m_nEditDirection || nTest != m_nEditTest) {
            LoadTest(m_nEditDirection, m_nEditTest);
            UpdateData(FALSE);
        }
        if (pList != nullptr)
            pList->EnableWindow(m_bTestDataMode ? FALSE : TRUE);
    }
    AfterLoad();
    if (CWnd* pFocus = GetDlgItem(GetFirstFocus()))
        GotoDlgCtrl(pFocus);
    return FALSE;
}

void CEnvironmentDialog::OnTestListChange()
{
    CWnd* pList = GetDlgItem(IDC_ENV_TEST_LIST);
    if (pList == nullptr)
        return;
    const int nItem = static_cast<int>(pList->SendMessage(CB_GETCURSEL));
    if (nItem < 0 || nItem >= static_cast<int>(m_TestPairs.size()))
        return;
    EnvironmentKeys::TakeListedTest(m_TestPairs, nItem, m_nEditDirection, m_nEditTest);
    LoadTest(m_nEditDirection, m_nEditTest);
    UpdateData(FALSE);
    AfterLoad();
}

void CEnvironmentDialog::OnOK()
{
    UpdateData(TRUE);
    const std::vector<CTestedText> texts = GetTestedTexts();
    for (const CTestedText& text : texts) {
        if (EnvironmentKeys::CheckRangeText(*text.pText, text.range))
            continue;
        // What was emptied shows empty; the refused text stays as typed.
        UpdateData(FALSE);
        if (m_pView != nullptr) {
            const CString strMessage =
                LoadText(static_cast<unsigned int>(text.nIDLabel)) + L" " + LoadText(IDS_OUT_OF_RANGE);
            m_pView->ShowMessage(0, strMessage, kExclamationIcon, kOkOnly, kNoHelp);
        }
        if (CWnd* pEdit = GetDlgItem(text.nIDEdit))
            GotoDlgCtrl(pEdit);
        return;
    }
    UpdateData(FALSE);
    UpdateData(TRUE);

    if (m_bEditMode) {
        const int nAnswer = m_pView != nullptr
                                ? m_pView->ShowMessage(IDS_ENV_KEEP_CHANGES, CString(), kExclamationIcon, kYesNo, kNoHelp)
                                : IDYES;
        m_bEditMode = 0;
        if (nAnswer == IDNO) {
            BeforeAccept();
            EndDialog(IDOK);
            return;
        }
    }
    BeforeAccept();
    StoreTest(m_nEditDirection, m_nEditTest);
    EndDialog(IDOK);
}

void CEnvironmentDialog::OnCancel()
{
    if (!IsManualTest()) {
        EndDialog(IDCANCEL);
        return;
    }
    // "Clear Entries": the whole direction, and the dialog stays.
    ClearDirection(m_nEditDirection);
    UpdateData(FALSE);
    AfterLoad();
}

BOOL CEnvironmentDialog::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_ESCAPE)
        return TRUE;
    return CPageDialog::PreTranslateMessage(pMsg);
}

void CEnvironmentDialog::FilterSigned()
{
    if (m_pView != nullptr)
        m_pView->FilterNumericEdit(this, 1, 0, 0);
}

void CEnvironmentDialog::FilterUnsigned()
{
    if (m_pView != nullptr)
        m_pView->FilterNumericEdit(this, 1, 1, 0);
}
