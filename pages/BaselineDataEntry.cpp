#include "pages/BaselineDataEntry.h"

#include <cwchar>

#include "app/DrawButton.h"
#include "app/Globals.h"
#include "app/KeyValueText.h"
#include "app/Lifecycle.h"
#include "app/Simbrel1View.h"
#include "framework/Ddx.h"
#include "res/resource.h"
#include "testrun/TestGraph1.h"

namespace {

constexpr int kNoHelpTopic = 255;
constexpr int kHelpTopic = 29;

struct BaselineKey {
    const wchar_t* pszNew;
    const wchar_t* pszOld;
};
constexpr BaselineKey kSourceKey = {L"Manual_Entry_Baseline_Data_Source:", L"Baseline_Data_Source:"};
constexpr BaselineKey kAverageKeys[6] = {
    {L"Manual_Entry_Pretest_Baseline_Average:", L"Pretest_Baseline_Average:"},
    {L"Manual_Entry_Pretest_Baseline_Plus:", L"Pretest_Baseline_Plus:"},
    {L"Manual_Entry_Pretest_Baseline_Minus:", L"Pretest_Baseline_Minus:"},
    {L"Manual_Entry_Posttest_Baseline_Average:", L"Posttest_Baseline_Average:"},
    {L"Manual_Entry_Posttest_Baseline_Plus:", L"Posttest_Baseline_Plus:"},
    {L"Manual_Entry_Posttest_Baseline_Minus:", L"Posttest_Baseline_Minus:"},
};
constexpr BaselineKey kPretestDataKey = {L"Manual_Entry_Pretest_Baseline_Data:", L"PretestBaselineData:"};
constexpr BaselineKey kPosttestDataKey = {L"Manual_Entry_Posttest_Baseline_Data:", L"PosttestBaselineData:"};

CString KeyFor(const BaselineKey& key, bool bNewFormat, int nSlot)
{
    if (!bNewFormat)
        return key.pszOld;
    return CSimbrel1View::PrefixKeyByDirection(nSlot, key.pszNew);
}

CString FormatAverage(double d)
{
    CString strText;
    strText.Format(L"%0.2f", d);
    return strText;
}

bool IsSlot(int d)
{
    return d == 0 || d == 1;
}

const int kAverageIds[6] = {IDC_BASELINE_PRE_AVG, IDC_BASELINE_PRE_PLUS, IDC_BASELINE_PRE_MINUS,
                            IDC_BASELINE_POST_AVG, IDC_BASELINE_POST_PLUS, IDC_BASELINE_POST_MINUS};

}  // namespace

BaselineAverages ComputeBaselineAverages(const CString& strReadings)
{
    const std::wstring& s = strReadings.str();
    double dSum = 0.0, dPlus = 0.0, dMinus = 0.0;
    int nCount = 0, nPlus = 0, nMinus = 0;
    size_t nStart = 0;
    while (nStart <= s.size()) {
        size_t nEnd = s.find_first_of(L"\r\n\f", nStart);
        if (nEnd == std::wstring::npos)
            nEnd = s.size();
        if (nEnd > nStart) {
            const double v = CSimbrel1View::TextToDouble(CString(s.substr(nStart, nEnd - nStart).c_str()));
            dSum += v;
            ++nCount;
            if (v > 0.0) {
                dPlus += v;
                ++nPlus;
            } else if (v < 0.0) {
                dMinus += v;
                ++nMinus;
            }
        }
        nStart = nEnd + 1;
    }
    BaselineAverages averages;
    if (nCount > 0 && (nPlus > 0 || nMinus > 0))
        averages.strAvg = FormatAverage(dSum / nCount);
    if (nPlus > 0)
        averages.strPlus = FormatAverage(dPlus / nPlus);
    if (nMinus > 0)
        averages.strMinus = FormatAverage(dMinus / nMinus);
    return averages;
}

CString ExtractBaselineReadings(const CString& strFileText, const CString& strKey)
{
    const std::wstring& s = strFileText.str();
    const size_t nKey = FindKeyAtLineStart(s, strKey.str());
    if (nKey == std::wstring::npos)
        return CString();
    const size_t nStart = nKey + static_cast<size_t>(strKey.GetLength());
    const size_t nFeed = s.find(L'\f', nStart);
    if (nFeed == std::wstring::npos)
        return CString();
    std::wstring block = s.substr(nStart, nFeed - nStart);
    const size_t nFirst = block.find_first_not_of(L' ');
    block.erase(0, nFirst == std::wstring::npos ? block.size() : nFirst);
    const size_t nLastLf = block.rfind(L'\n');
    if (nLastLf != std::wstring::npos && nLastLf > 0)
        block.erase(nLastLf);
    return CString(block.c_str());
}

int CheckBaselineAverages(const CString& strPreAvg, const CString& strPrePlus, const CString& strPreMinus,
                          const CString& strPostAvg, const CString& strPostPlus, const CString& strPostMinus)
{
    auto partly = [](const CString& a, const CString& b, const CString& c) {
        const int nEmpty = (a.IsEmpty() ? 1 : 0) + (b.IsEmpty() ? 1 : 0) + (c.IsEmpty() ? 1 : 0);
        return nEmpty > 0 && nEmpty < 3;
    };
    if (partly(strPreAvg, strPrePlus, strPreMinus))
        return IDS_BASELINE_PRETEST_PARTLY;
    if (partly(strPostAvg, strPostPlus, strPostMinus))
        return IDS_BASELINE_POSTTEST_PARTLY;
    auto num = [](const CString& s) { return CSimbrel1View::TextToDouble(s); };
    if (num(strPrePlus) < 0.0 || num(strPreMinus) > 0.0 || num(strPostPlus) < 0.0 || num(strPostMinus) > 0.0)
        return IDS_BASELINE_WRONG_SIGN;
    if (num(strPreAvg) > num(strPrePlus) || num(strPreMinus) > num(strPreAvg) || num(strPostAvg) > num(strPostPlus) ||
        num(strPostMinus) > num(strPostAvg))
        return IDS_BASELINE_AVG_OUTSIDE;
    return 0;
}

bool DropDoubleLineBreak(CString& strText)
{
    const int n = strText.GetLength();
    if (n <= 3 || strText.Right(4) != L"\r\n\r\n")
        return false;
    strText = strText.Left(n - 2);
    return true;
}

CBaselineDataEntry::CBaselineDataEntry() : CDialog(IDD)
{
    TraceLifecycle("CBaselineDataEntry", true);
    ClearData(0);
    ClearData(1);
}

CBaselineDataEntry::~CBaselineDataEntry()
{
    TraceLifecycle("CBaselineDataEntry", false);
}

void CBaselineDataEntry::ClearData(int nSlot)
{
    if (!IsSlot(nSlot))
        return;
    for (CString* pTexts : {m_strPretestAvg, m_strPretestPlus, m_strPretestMinus, m_strPosttestAvg,
                            m_strPosttestPlus, m_strPosttestMinus, m_strPretestReadings, m_strPosttestReadings})
        pTexts[nSlot].Empty();
}

CString CBaselineDataEntry::WriteToFile(int nSlot)
{
    if (!IsSlot(nSlot))
        return CString();
    CString strSource;
    strSource.Format(L"%d", m_nDataSource[nSlot]);
    CString strText = CSimbrel1View::MakeDirectionKeyLine(nSlot, kSourceKey.pszNew, strSource);
    if (m_nDataSource[nSlot] == 1) {
        const CString* pTexts[6] = {&m_strPretestAvg[nSlot],  &m_strPretestPlus[nSlot],  &m_strPretestMinus[nSlot],
                                    &m_strPosttestAvg[nSlot], &m_strPosttestPlus[nSlot], &m_strPosttestMinus[nSlot]};
        for (int i = 0; i < 6; ++i)
            strText += CSimbrel1View::MakeDirectionKeyLine(nSlot, kAverageKeys[i].pszNew, *pTexts[i]);
        return strText;
    }
    if (!m_strPretestReadings[nSlot].IsEmpty())
        strText += CSimbrel1View::MakeDirectionKeyLine(nSlot, kPretestDataKey.pszNew, m_strPretestReadings[nSlot]) +
                   L"\f\r\n";
    if (!m_strPosttestReadings[nSlot].IsEmpty())
        strText += CSimbrel1View::MakeDirectionKeyLine(nSlot, kPosttestDataKey.pszNew, m_strPosttestReadings[nSlot]) +
                   L"\f\r\n";
    return strText;
}

void CBaselineDataEntry::ReadFromFile()
{
    if (m_pView == nullptr)
        return;
    ReadFromText(m_pView->m_strFileText.GetText(), m_pView->m_bNewFormatFile != 0, g_nCurrentDirection);
}

void CBaselineDataEntry::ReadFromText(const CString& strFileText, bool bNewFormat, int nCurrentSlot)
{
    CTestGraph1* pStore = m_pView != nullptr ? m_pView->m_pTestGraph : nullptr;
    for (int d = 0; d < 2; ++d) {
        if (!bNewFormat && d != nCurrentSlot)
            continue;
        m_nDataSource[d] = _wtoi(CSimbrel1View::GetTextValue(KeyFor(kSourceKey, bNewFormat, d), strFileText).GetString());
        if (m_nDataSource[d] == 1) {
            CString* pTexts[6] = {&m_strPretestAvg[d],  &m_strPretestPlus[d],  &m_strPretestMinus[d],
                                  &m_strPosttestAvg[d], &m_strPosttestPlus[d], &m_strPosttestMinus[d]};
            for (int i = 0; i < 6; ++i)
                *pTexts[i] = CSimbrel1View::GetTextValue(KeyFor(kAverageKeys[i], bNewFormat, d), strFileText);
            if (pStore != nullptr) {
                pStore->m_TestBaselinePlusPre[d][0] = CSimbrel1View::TextToDouble(m_strPretestPlus[d]);
                pStore->m_TestBaselineMinusPre[d][0] = CSimbrel1View::TextToDouble(m_strPretestMinus[d]);
                pStore->m_TestBaselinePlusPost[d][0] = CSimbrel1View::TextToDouble(m_strPosttestPlus[d]);
                pStore->m_TestBaselineMinusPost[d][0] = CSimbrel1View::TextToDouble(m_strPosttestMinus[d]);
            }
            continue;
        }
        m_strPretestReadings[d] = ExtractBaselineReadings(strFileText, KeyFor(kPretestDataKey, bNewFormat, d));
        ComputePretestAverages(d);
        m_strPosttestReadings[d] = ExtractBaselineReadings(strFileText, KeyFor(kPosttestDataKey, bNewFormat, d));
        ComputePosttestAverages(d);
    }
}

void CBaselineDataEntry::ComputePretestAverages(int nSlot)
{
    if (!IsSlot(nSlot))
        return;
    const BaselineAverages a = ComputeBaselineAverages(m_strPretestReadings[nSlot]);
    m_strPretestAvg[nSlot] = a.strAvg;
    m_strPretestPlus[nSlot] = a.strPlus;
    m_strPretestMinus[nSlot] = a.strMinus;
}

void CBaselineDataEntry::ComputePosttestAverages(int nSlot)
{
    if (!IsSlot(nSlot))
        return;
    const BaselineAverages a = ComputeBaselineAverages(m_strPosttestReadings[nSlot]);
    m_strPosttestAvg[nSlot] = a.strAvg;
    m_strPosttestPlus[nSlot] = a.strPlus;
    m_strPosttestMinus[nSlot] = a.strMinus;
}

void CBaselineDataEntry::ClearAverages(int nSlot)
{
    if (!IsSlot(nSlot))
        return;
    for (CString* pTexts : {m_strPretestAvg, m_strPretestPlus, m_strPretestMinus, m_strPosttestAvg,
                            m_strPosttestPlus, m_strPosttestMinus})
        pTexts[nSlot].Empty();
}

bool CBaselineDataEntry::AllAveragesEmpty(int nSlot) const
{
    if (!IsSlot(nSlot))
        return true;
    return m_strPretestAvg[nSlot].IsEmpty() && m_strPretestPlus[nSlot].IsEmpty() &&
           m_strPretestMinus[nSlot].IsEmpty() && m_strPosttestAvg[nSlot].IsEmpty() &&
           m_strPosttestPlus[nSlot].IsEmpty() && m_strPosttestMinus[nSlot].IsEmpty();
}

bool CBaselineDataEntry::IsPretestPartlyFilled(int nSlot) const
{
    return IsSlot(nSlot) && CheckBaselineAverages(m_strPretestAvg[nSlot], m_strPretestPlus[nSlot],
                                                  m_strPretestMinus[nSlot], L"", L"", L"") == IDS_BASELINE_PRETEST_PARTLY;
}

bool CBaselineDataEntry::IsPosttestPartlyFilled(int nSlot) const
{
    return IsSlot(nSlot) && CheckBaselineAverages(L"", L"", L"", m_strPosttestAvg[nSlot], m_strPosttestPlus[nSlot],
                                                  m_strPosttestMinus[nSlot]) == IDS_BASELINE_POSTTEST_PARTLY;
}

// ---------------------------------------------------------------------------
// The dialog.

int CBaselineDataEntry::Slot() const
{
    return g_nCurrentDirection == 1 ? 1 : 0;
}

void CBaselineDataEntry::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    const int d = Slot();
    // Radio 2091 is source 0, radio 2090 source 1.
    if (pDX->m_bSaveAndValidate) {
        if (IsDlgButtonChecked(IDC_BASELINE_SOURCE_GAUGE))
            m_nDataSource[d] = 1;
        else if (IsDlgButtonChecked(IDC_BASELINE_SOURCE_READINGS))
            m_nDataSource[d] = 0;
    } else {
        CheckDlgButton(IDC_BASELINE_SOURCE_GAUGE, m_nDataSource[d] == 1 ? BST_CHECKED : BST_UNCHECKED);
        CheckDlgButton(IDC_BASELINE_SOURCE_READINGS, m_nDataSource[d] == 1 ? BST_UNCHECKED : BST_CHECKED);
    }
    DDX_Text(pDX, IDC_BASELINE_PRE_AVG, m_strPretestAvg[d]);
    DDX_Text(pDX, IDC_BASELINE_PRE_PLUS, m_strPretestPlus[d]);
    DDX_Text(pDX, IDC_BASELINE_PRE_MINUS, m_strPretestMinus[d]);
    DDX_Text(pDX, IDC_BASELINE_POST_AVG, m_strPosttestAvg[d]);
    DDX_Text(pDX, IDC_BASELINE_POST_PLUS, m_strPosttestPlus[d]);
    DDX_Text(pDX, IDC_BASELINE_POST_MINUS, m_strPosttestMinus[d]);
}

void CBaselineDataEntry::SetPageTexts()
{
    SetDlgItemTextFromString(0, IDS_BASELINE_CAPTION);
    SetDlgItemTextFromString(IDC_BASELINE_HELP, IDS_MSG_HELP);
    SetDlgItemTextFromString(IDC_BASELINE_PRE_LABEL, IDS_BASELINE_PRETEST_DATA);
    SetDlgItemTextFromString(IDC_BASELINE_POST_LABEL, IDS_BASELINE_POSTTEST_DATA);
    SetDlgItemTextFromString(IDC_BASELINE_CLEAR, IDS_BASELINE_CLEAR_DATA);
    SetDlgItemTextFromString(IDCANCEL, IDS_MSG_CANCEL);
    SetDlgItemTextFromString(IDC_BASELINE_GROUP, IDS_BASELINE_SOURCE);
    SetDlgItemTextFromString(IDC_BASELINE_SOURCE_READINGS, IDS_BASELINE_INDIVIDUAL);
    SetDlgItemTextFromString(IDC_BASELINE_SOURCE_GAUGE, IDS_BASELINE_GAUGE_MODE);
    SetDlgItemTextFromString(IDC_BASELINE_PRE_AVG_LABEL, IDS_BASELINE_P_AVG);
    SetDlgItemTextFromString(IDC_BASELINE_POST_AVG_LABEL, IDS_BASELINE_P_AVG);
}

void CBaselineDataEntry::UpdateControlStates()
{
    const bool bReadings = m_nDataSource[Slot()] == 0;
    for (const int nId : {IDC_BASELINE_PRE_READINGS, IDC_BASELINE_POST_READINGS})
        if (CWnd* p = GetDlgItem(nId))
            p->EnableWindow(bReadings);
    for (const int nId : kAverageIds)
        if (CWnd* p = GetDlgItem(nId))
            p->EnableWindow(!bReadings);
}

void CBaselineDataEntry::UpdateAverages(int nEditId, bool bPretest)
{
    if (m_bUpdating)
        return;
    CString strText;
    GetDlgItemText(nEditId, strText);
    if (DropDoubleLineBreak(strText)) {
        // Putting the text back notifies again; the averages follow then.
        SetDlgItemText(nEditId, strText.GetString());
        const int nEnd = strText.GetLength();
        SendDlgItemMessage(nEditId, EM_SETSEL, static_cast<WPARAM>(nEnd), static_cast<LPARAM>(nEnd));
        return;
    }
    const int d = Slot();
    const BaselineAverages a = ComputeBaselineAverages(strText);
    m_bUpdating = true;
    if (bPretest) {
        m_strPretestAvg[d] = a.strAvg;
        m_strPretestPlus[d] = a.strPlus;
        m_strPretestMinus[d] = a.strMinus;
        SetDlgItemText(IDC_BASELINE_PRE_AVG, a.strAvg.GetString());
        SetDlgItemText(IDC_BASELINE_PRE_PLUS, a.strPlus.GetString());
        SetDlgItemText(IDC_BASELINE_PRE_MINUS, a.strMinus.GetString());
    } else {
        m_strPosttestAvg[d] = a.strAvg;
        m_strPosttestPlus[d] = a.strPlus;
        m_strPosttestMinus[d] = a.strMinus;
        SetDlgItemText(IDC_BASELINE_POST_AVG, a.strAvg.GetString());
        SetDlgItemText(IDC_BASELINE_POST_PLUS, a.strPlus.GetString());
        SetDlgItemText(IDC_BASELINE_POST_MINUS, a.strMinus.GetString());
    }
    m_bUpdating = false;
}

void CBaselineDataEntry::UpdatePretestAverages()
{
    UpdateAverages(IDC_BASELINE_PRE_READINGS, true);
}

void CBaselineDataEntry::UpdatePosttestAverages()
{
    UpdateAverages(IDC_BASELINE_POST_READINGS, false);
}

BOOL CBaselineDataEntry::OnInitDialog()
{
    const int d = Slot();
    const int nOther = 1 - d;
    if (m_pView != nullptr && m_pView->m_pTestGraph != nullptr && m_pView->m_pTestGraph->m_CompletedTests[nOther] > 0 &&
        m_pView->m_pTestGraph->m_CompletedTests[d] == 0 && m_strPretestAvg[d].IsEmpty()) {
        m_nDataSource[d] = m_nDataSource[nOther];
        ClearData(d);
    }
    CDialog::OnInitDialog();
    SetDefID(IDC_BASELINE_NO_ACTION);
    SetPageTexts();
    UpdateControlStates();
    // In gauge mode the six averages stay as they are: the controls show
    // them, OK reads them back and Cancel must leave them untouched.
    if (m_nDataSource[d] != 1) {
        SetDlgItemText(IDC_BASELINE_PRE_READINGS, m_strPretestReadings[d].GetString());
        if (!m_strPretestReadings[d].IsEmpty())
            UpdatePretestAverages();
        SetDlgItemText(IDC_BASELINE_POST_READINGS, m_strPosttestReadings[d].GetString());
        if (!m_strPosttestReadings[d].IsEmpty())
            UpdatePosttestAverages();
    }
    m_nUndoSource = m_nDataSource[d];
    const CString* pTexts[8] = {&m_strPretestAvg[d],  &m_strPretestPlus[d],  &m_strPretestMinus[d],
                                &m_strPosttestAvg[d], &m_strPosttestPlus[d], &m_strPosttestMinus[d],
                                &m_strPretestReadings[d], &m_strPosttestReadings[d]};
    for (int i = 0; i < 8; ++i)
        m_strUndo[i] = *pTexts[i];
    return TRUE;
}

int CBaselineDataEntry::Ask(UINT nString, int nKind)
{
    if (m_pView == nullptr)
        return IDYES;
    return m_pView->ShowMessage(static_cast<int>(nString), L"", IDI_MESSAGE_NOTE, nKind, kNoHelpTopic);
}

void CBaselineDataEntry::OnOK()
{
    const int d = Slot();
    UpdateData(TRUE);
    if (m_nDataSource[d] != 1) {
        auto trimmed = [this](int nId) {
            CString strText;
            GetDlgItemText(nId, strText);
            std::wstring s = strText.str();
            const size_t nLast = s.find_last_not_of(L" \t\r\n");
            s.erase(nLast == std::wstring::npos ? 0 : nLast + 1);
            return CString(s.c_str());
        };
        m_strPretestReadings[d] = trimmed(IDC_BASELINE_PRE_READINGS);
        m_strPosttestReadings[d] = trimmed(IDC_BASELINE_POST_READINGS);
        EndDialog(IDOK);
        return;
    }
    const int nMessage = CheckBaselineAverages(m_strPretestAvg[d], m_strPretestPlus[d], m_strPretestMinus[d],
                                               m_strPosttestAvg[d], m_strPosttestPlus[d], m_strPosttestMinus[d]);
    if (nMessage != 0) {
        Ask(static_cast<UINT>(nMessage), 0);
        return;
    }
    EndDialog(IDOK);
}

void CBaselineDataEntry::OnCancel()
{
    const int d = Slot();
    m_nDataSource[d] = m_nUndoSource;
    CString* pTexts[8] = {&m_strPretestAvg[d],  &m_strPretestPlus[d],  &m_strPretestMinus[d],
                          &m_strPosttestAvg[d], &m_strPosttestPlus[d], &m_strPosttestMinus[d],
                          &m_strPretestReadings[d], &m_strPosttestReadings[d]};
    for (int i = 0; i < 8; ++i)
        *pTexts[i] = m_strUndo[i];
    EndDialog(IDCANCEL);
}

void CBaselineDataEntry::ChangeSource(int nNewSource)
{
    const int d = Slot();
    if (m_nDataSource[d] == nNewSource)
        return;
    const int nOld = m_nDataSource[d];
    UpdateData(TRUE);
    m_nDataSource[d] = nNewSource;
    if (!AllAveragesEmpty(d) && Ask(IDS_BASELINE_SOURCE_CHANGE, 4) != IDYES) {
        m_nDataSource[d] = nOld;
        UpdateData(FALSE);
        return;
    }
    if (nNewSource == 0)
        ClearData(d);
    m_bUpdating = true;
    SetDlgItemText(IDC_BASELINE_PRE_READINGS, L"");
    SetDlgItemText(IDC_BASELINE_POST_READINGS, L"");
    m_bUpdating = false;
    m_strPretestReadings[d].Empty();
    m_strPosttestReadings[d].Empty();
    ClearAverages(d);
    UpdateControlStates();
    UpdateData(FALSE);
    if (CWnd* p = GetDlgItem(nNewSource == 1 ? IDC_BASELINE_PRE_AVG : IDC_BASELINE_PRE_READINGS))
        p->SetFocus();
}

BOOL CBaselineDataEntry::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_KEYDOWN) {
        if (pMsg->wParam == VK_ESCAPE)
            return TRUE;
        const int nId = ::GetDlgCtrlID(pMsg->hwnd);
        if (::GetParent(pMsg->hwnd) == GetSafeHwnd() &&
            (nId == IDC_BASELINE_PRE_READINGS || nId == IDC_BASELINE_POST_READINGS)) {
            const UINT nKey = static_cast<UINT>(pMsg->wParam);
            if (nKey == VK_SPACE || (nKey > '9' && nKey != VK_OEM_PERIOD && nKey != VK_DECIMAL)) {
                const wchar_t ch = static_cast<wchar_t>(::MapVirtualKeyW(nKey, MAPVK_VK_TO_CHAR) & 0xFFFF);
                if (!CSimbrel1View::IsNumberChar(ch, 1))
                    return TRUE;
            }
        }
    }
    return CDialog::PreTranslateMessage(pMsg);
}

BEGIN_MESSAGE_MAP(CBaselineDataEntry, CDialog)
    ON_WM_DRAWITEM()
END_MESSAGE_MAP()

void CBaselineDataEntry::OnDrawItem(int, LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    if (lpDrawItemStruct != nullptr)
        CDrawButton::DrawDialogButton(this, lpDrawItemStruct, m_nFocusButtonId, IDC_BASELINE_NO_ACTION);
}

BOOL CBaselineDataEntry::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const int nId = LOWORD(wParam);
    const int nCode = HIWORD(wParam);
    if (nCode == EN_CHANGE && lParam != 0) {
        if (nId == IDC_BASELINE_PRE_READINGS)
            UpdatePretestAverages();
        else if (nId == IDC_BASELINE_POST_READINGS)
            UpdatePosttestAverages();
        else if (m_pView != nullptr && !m_bUpdating)
            m_pView->FilterNumericEdit(this, 1, 0, 0);
        return TRUE;
    }
    if (nCode != BN_CLICKED)
        return CDialog::OnCommand(wParam, lParam);
    const int d = Slot();
    switch (nId) {
    case IDC_BASELINE_SOURCE_GAUGE:
        ChangeSource(1);
        return TRUE;
    case IDC_BASELINE_SOURCE_READINGS:
        ChangeSource(0);
        return TRUE;
    case IDC_BASELINE_HELP:
        if (m_pView != nullptr)
            m_pView->ShowContextHelp(kHelpTopic);
        return TRUE;
    case IDC_BASELINE_CLEAR:
        if (Ask(IDS_CLEAR_ALL_ENTRIES, 4) == IDYES) {
            ClearData(d);
            m_bUpdating = true;
            SetDlgItemText(IDC_BASELINE_PRE_READINGS, L"");
            SetDlgItemText(IDC_BASELINE_POST_READINGS, L"");
            m_bUpdating = false;
            ClearAverages(d);
            UpdateData(FALSE);
        }
        return TRUE;
    case IDC_BASELINE_NO_ACTION: {
        // Enter outside the readings: on to the next enabled average edit;
        // with none enabled the walk ends where it started.
        const HWND hStart = ::GetFocus();
        HWND hNext = hStart;
        for (int i = 0; i < 64; ++i) {
            hNext = ::GetNextDlgTabItem(GetSafeHwnd(), hNext, FALSE);
            if (hNext == nullptr || hNext == hStart)
                break;
            const int nNextId = ::GetDlgCtrlID(hNext);
            if (std::find(std::begin(kAverageIds), std::end(kAverageIds), nNextId) != std::end(kAverageIds)) {
                ::SetFocus(hNext);
                break;
            }
        }
        return TRUE;
    }
    default:
        return CDialog::OnCommand(wParam, lParam);
    }
}
