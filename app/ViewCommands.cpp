// The view's menu commands, their enabling, the first paint, the background
// picture and the help menu.
#include "app/Simbrel1View.h"

#include <shellapi.h>

#include "app/GdiPlus.h"
#include "app/Globals.h"
#include "app/StandardSelectionDialog.h"
#include "app/TestSettingsDialog.h"
#include "calc/DeviationsFromStandard.h"
#include "calc/TestResultsDialog.h"
#include "calc/ZoneDataDialog.h"
#include "comm/ComPortSelectDialog.h"
#include "pages/BuildingInfoDialog.h"
#include "pages/CommentsDialog.h"
#include "pages/CustomPressuresDialog.h"
#include "pages/EN13829DataEntryDialog.h"
#include "pages/EquipmentInfoDialogIntl.h"
#include "pages/ISO9972DataEntryDialog.h"
#include "res/resource.h"
#include "testrun/TestGraph1.h"

namespace {
constexpr int kCgsb = 0;
constexpr int kEn13829 = 1;
constexpr int kAstmE779 = 2;
constexpr int kIso9972 = 3;
constexpr UINT_PTR kTimerTick = 1;
constexpr UINT_PTR kTimerKeepAlive = 2;
constexpr int kMaxHelpPdfs = 6;

bool IsAutoMethod(wchar_t ch)
{
    return ch == L'A' || ch == L'S';
}
}  // namespace

// ---------------------------------------------------------------------------
// Enabling.

int CSimbrel1View::IsTestInProgress() const
{
    const CTestGraph1* p = m_pTestGraph;
    return p != nullptr && (p->m_bTestRunning || p->m_bTestStarting || p->m_bTestStepping) ? 1 : 0;
}

CSimbrel1View::CCommandInput CSimbrel1View::GetCommandInput() const
{
    CCommandInput input{};
    input.bTestOpen = m_bTestOpen;
    input.bTestInProgress = IsTestInProgress();
    input.nDirectionsWithData = m_pTestGraph->GetDirectionsWithData();
    input.chMethod[0] = m_pSettings->m_chMethodLetter[0];
    input.chMethod[1] = m_pSettings->m_chMethodLetter[1];
    input.nCurrentDirection = g_nCurrentDirection == 0 ? 0 : 1;
    input.bZonal = m_pSettings->m_bZonalActive;
    input.nStandard = m_pSettings->m_nStandard;
    input.bLargeMeters = m_pTestGraph->m_bDisplayLargeMeters;
    return input;
}

CSimbrel1View::CCommandState CSimbrel1View::GetCommandState(UINT nID, const CCommandInput& in)
{
    CCommandState state{false, -1, CString()};
    const bool bFree = !in.bTestInProgress;
    const bool bOpenAndFree = in.bTestOpen && bFree;
    const bool bResults = bOpenAndFree && in.nDirectionsWithData != -1;
    switch (nID) {
    case ID_FILE_NEW_TEST:
    case ID_FILE_NEW:
    case ID_FILE_OPEN:
    case ID_OPTIONS_DEVICE_CONNECTION:
    case ID_OPTIONS_UNITS_SELECTION:
        state.bEnabled = bFree;
        break;
    case ID_FILE_SAVE:
    case ID_FILE_SAVE_CURRENT_TEST:
    case ID_OPTIONS_BUSINESS_INFO:
    case ID_OPTIONS_EQUIPMENT_INFO:
    case ID_GOTO_BUILDING_TEST_INFO:
    case ID_GOTO_COMMENTS:
    case ID_GOTO_TEST_SETTINGS:
    case ID_GOTO_TEST_GRAPH:
        state.bEnabled = bOpenAndFree;
        break;
    case ID_OPTIONS_LARGE_METERS:
        state.bEnabled = IsAutoMethod(in.chMethod[in.nCurrentDirection == 0 ? 0 : 1]);
        state.nCheck = in.bLargeMeters ? 1 : 0;
        break;
    case ID_GOTO_TEST_RESULTS:
        state.bEnabled = bResults;
        break;
    case ID_GOTO_ZONE_DATA: {
        const int nShown = in.nDirectionsWithData == 2 ? (in.nCurrentDirection == 0 ? 0 : 1)
                                                       : (in.nDirectionsWithData == 0 ? 0 : 1);
        state.bEnabled = bResults && in.bZonal && IsAutoMethod(in.chMethod[nShown]);
        break;
    }
    case ID_GOTO_TEST_INFORMATION:
        state.bEnabled = bResults;
        state.strText.LoadString(IDS_DEVIATIONS_MENU_TEXT);
        break;
    case ID_GOTO_STANDARD_DATA_ENTRY:
        state.bEnabled = bOpenAndFree && (in.nStandard == kEn13829 || in.nStandard == kIso9972);
        if (state.bEnabled) {
            state.strText.LoadString(IDS_EN13829_DATA_ENTRY_MENU);
            if (in.nStandard == kIso9972)
                state.strText.Replace(L"EN 13829", L"ISO 9972");
        }
        break;
    default:
        // The help entries are always available.
        state.bEnabled = nID >= ID_HELP_PDF_1 && nID <= ID_HELP_PDF_6;
        break;
    }
    return state;
}

void CSimbrel1View::OnUpdateCommand(CCmdUI* pCmdUI)
{
    const CCommandState state = GetCommandState(pCmdUI->m_nID, GetCommandInput());
    pCmdUI->Enable(state.bEnabled);
    if (state.nCheck >= 0)
        pCmdUI->SetCheck(state.nCheck);
    if (!state.strText.IsEmpty())
        pCmdUI->SetText(state.strText.GetString());
}

// ---------------------------------------------------------------------------
// Commands.

void CSimbrel1View::OnFileNewTest()
{
    m_strFileVersionTag.Empty();
    ClearViewBackground();
    SetLiveReadingsEnabled(0);
    m_pTestGraph->m_bReshow = 0;

    CommitOpenPages();
    // A test that had to be saved and could not be stays open: a new test
    // would throw its data away.
    if (!OfferToSaveChanges())
        return;
    RestoreDevicePreferences();

    m_pComments->m_bFirstShow = 1;
    CloseAllPages();

    ClearAllRecords();
    m_bNewFormatFile = 1;
    DisconnectAllDevices();
    m_pBuildingInfo->m_strTestDate.Empty();
    m_pBuildingInfo->m_strTestDateUniv.Empty();
    m_pBuildingInfo->m_strTestDateLocal.Empty();

    ReadDefaultUnitsFile();
    m_pEquipment->ReadDefaultsFile();

    m_pTestGraph->m_bHasTestData = 0;
    m_bTestOpen = 1;
    m_strTestTitle.LoadString(IDS_UNTITLED);
    if (CDocument* pDoc = GetDocument())
        pDoc->SetTitle(m_strTestTitle.GetString());

    m_pSettings->ReadDefaultsFile();
    switch (m_pSettings->m_nStandard) {
    case kEn13829:
        m_pCustomPressures->SetEn13829Pressures();
        break;
    case kIso9972:
        m_pCustomPressures->SetIso9972Pressures();
        break;
    case kCgsb:
        m_pCustomPressures->SetCgsbPressures();
        break;
    case kAstmE779:
        m_pCustomPressures->SetAstmE779Pressures();
        break;
    default:
        break;
    }

    g_nCurrentDirection = 1;
    m_pSettings->m_chDirectionLetter[1] = L'D';
    m_pSettings->m_chDirectionLetter[0] = L'P';

    m_strSavedText = BuildFileText(0);

    m_pZoneData->m_bResetGraphed = 1;
    if (m_pTestGraph->GetDirectionsWithData() != -1)
        m_pZoneData->UpdateZoneData(0);

    m_bOffLine = 0;
    m_bLayoutPending = 1;

    CTestStandardSelection standardDialog(this);
    standardDialog.m_pView = this;
    standardDialog.DoModal();

    RunEquipmentDialog(1);
    ShowStartPage();
}

void CSimbrel1View::OnOptionsEquipmentInfo()
{
    RunEquipmentDialog(0);
}

void CSimbrel1View::OnOptionsDeviceConnection()
{
    m_bDeviceDialogOpen = 1;
    if (m_pTestGraph->m_bShown) {
        m_pTestGraph->SetStatusText(IDS_WAITING_FOR_OPERATOR, CString());
        DisconnectAllDevices();
    }
    const int bLiveReadings = SetLiveReadingsEnabled(0);

    // The dialog may write the view's ports while it runs (a scan does):
    // these put them back when it is not confirmed.
    const int bKeptAutoSelect = m_bAutoSelect;
    const int bKeptOffLine = m_bOffLine;
    int nKeptPorts[4];
    for (int i = 0; i < 4; ++i)
        nKeptPorts[i] = m_nComPort[i];

    CComPortSelectDialog dialog(this);
    dialog.m_pView = this;
    dialog.m_bAutoSelect = m_bAutoSelect;
    dialog.m_bOffLine = m_bOffLine;
    dialog.m_nPrimaryPort = m_nComPort[0];
    dialog.m_nAux1Port = m_nComPort[1];
    dialog.m_nAux2Port = m_nComPort[2];
    dialog.m_nAux3Port = m_nComPort[3];
    m_pDeviceDialog = &dialog;
    const INT_PTR nResult = dialog.DoModal();
    m_pDeviceDialog = nullptr;
    m_bRecheckDevices = 0;

    if (nResult == IDOK) {
        m_bAutoSelect = dialog.m_bAutoSelect;
        m_bOffLine = dialog.m_bOffLine;
        m_nComPort[0] = dialog.m_nPrimaryPort;
        m_nComPort[1] = dialog.m_nAux1Port;
        m_nComPort[2] = dialog.m_nAux2Port;
        m_nComPort[3] = dialog.m_nAux3Port;
        if (m_pTestGraph->m_bShown)
            m_bRecheckDevices = 1;
    } else {
        m_bAutoSelect = bKeptAutoSelect;
        m_bOffLine = bKeptOffLine;
        for (int i = 0; i < 4; ++i)
            m_nComPort[i] = nKeptPorts[i];
    }

    m_pTestGraph->m_bDeviceSetupChanged = 1;
    m_bLayoutPending = 0;
    SetLiveReadingsEnabled(bLiveReadings);
    RefreshOpenPages();
    m_bDeviceDialogOpen = 0;
}

void CSimbrel1View::OnOptionsDisplayLargeMeters()
{
    const int bOn = m_pTestGraph->m_bDisplayLargeMeters ? 0 : 1;
    m_pTestGraph->m_bDisplayLargeMeters = bOn;
    m_pTestGraph->m_bLargeMeters = bOn;
    if (m_pTestGraph->m_bShown)
        m_pTestGraph->RedrawGraph();
    m_bLayoutPending = 0;
    RefreshOpenPages();
}

void CSimbrel1View::BeginGoto()
{
    CommitOpenPages();
    CloseAllPages();
    m_bPagesHidden = 0;
    m_bLayoutPending = 1;
}

void CSimbrel1View::OnGotoBuildingTestInfo()
{
    BeginGoto();
    m_pBuildingInfo->ShowPage();
}

void CSimbrel1View::OnGotoComments()
{
    BeginGoto();
    m_pComments->ShowPage();
}

void CSimbrel1View::OnGotoTestSettings()
{
    BeginGoto();
    m_pSettings->ShowPage();
}

void CSimbrel1View::OnGotoTestGraph()
{
    BeginGoto();
    const int d = g_nCurrentDirection == 0 ? 0 : 1;
    if (m_pTestGraph->m_CompletedTests[d] <= 0)
        m_pTestGraph->UpdateRingCalibration(d);
    if (!m_pTestGraph->ShowTestGraph())
        m_pSettings->ShowPage();
}

void CSimbrel1View::OnGotoTestResults()
{
    BeginGoto();
    m_pResults->CreateModeless();
}

void CSimbrel1View::OnGotoZoneData()
{
    BeginGoto();
    m_pZoneData->CreateModeless();
}

void CSimbrel1View::OnGotoTestInformation()
{
    BeginGoto();
    m_pDeviations->ShowPage();
}

void CSimbrel1View::OnGotoStandardDataEntry()
{
    BeginGoto();
    if (m_pSettings->m_nStandard == kIso9972)
        m_pIso9972->ShowPage();
    else
        m_pEn13829->ShowPage();
}

// ---------------------------------------------------------------------------
// Painting.

void CSimbrel1View::OnPaint()
{
    CPaintDC paintDC(this);
    if (m_bFirstPaint) {
        // Cleared first: the opening below may show a message box, whose
        // repaints must not start the timers or open the file again.
        m_bFirstPaint = 0;
        SetTimer(kTimerKeepAlive, 6000);
        m_nTimer1 = SetTimer(kTimerTick, 10);
        m_nTickCount = 240;
        OnTimer(kTimerTick);
        if (!g_strStartupFile.IsEmpty())
            OpenFile(0, g_strStartupFile);
    }
    if (!m_bTestOpen) {
        CClientDC dc(this);
        DrawBackgroundPicture(&dc);
    }
}

bool CSimbrel1View::GetBackgroundPictureRect(int nWidth, int nHeight, int nPicWidth, int nPicHeight,
                                              CRect& rcPicture)
{
    const int nLeft = nWidth / 8;
    const int nTop = nHeight / 8;
    const int w = nWidth - 2 * nLeft;
    const int h = nHeight - 2 * nTop;
    // An empty area (a minimised or flattened view) or picture has no fit.
    if (w <= 0 || h <= 0 || nPicWidth <= 0 || nPicHeight <= 0)
        return false;
    const double a = static_cast<double>(nPicHeight) / nPicWidth;
    const double r = static_cast<double>(h) / w;
    int x, y, cx, cy;
    if (a > r) {
        cx = static_cast<int>(h / a);
        cy = h;
        x = nLeft + (w - cx) / 2;
        y = nTop;
    } else {
        cx = w;
        cy = static_cast<int>(w * a);
        x = nLeft;
        y = nTop + (h - cy) / 2;
    }
    y -= h / 32;
    rcPicture.SetRect(x, y, x + cx, y + cy);
    return true;
}

void CSimbrel1View::DrawBackgroundPicture(CDC* pDC)
{
    if (pDC == nullptr || pDC->GetSafeHdc() == nullptr)
        return;
    Gdiplus::Bitmap* pBitmap =
        Gdiplus::Bitmap::FromResource(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDB_BACKGROUND_PICTURE));
    if (pBitmap == nullptr)
        return;
    CRect rcClient;
    GetClientRect(&rcClient);
    CRect rcPicture;
    if (pBitmap->GetLastStatus() == Gdiplus::Ok &&
        GetBackgroundPictureRect(rcClient.Width(), rcClient.Height(), static_cast<int>(pBitmap->GetWidth()),
                                 static_cast<int>(pBitmap->GetHeight()), rcPicture)) {
        pDC->Rectangle(&rcClient);
        Gdiplus::Graphics graphics(pDC->GetSafeHdc());
        graphics.DrawImage(pBitmap, rcPicture.left, rcPicture.top, rcPicture.Width(), rcPicture.Height());
    }
    delete pBitmap;
}

void CSimbrel1View::ClearViewBackground()
{
    if (GetSafeHwnd() == nullptr)
        return;
    CClientDC dc(this);
    CRect rc;
    GetClientRect(&rc);
    HGDIOBJ hOldBrush = ::SelectObject(dc.GetSafeHdc(), ::GetStockObject(WHITE_BRUSH));
    dc.Rectangle(&rc);
    ::SelectObject(dc.GetSafeHdc(), hOldBrush);
}

// ---------------------------------------------------------------------------
// Help menu.

CString CSimbrel1View::GetHelpPdfEntryText(const CString& strFileName)
{
    const int nDot = strFileName.Find(L'.');
    return nDot < 0 ? strFileName : strFileName.Left(nDot);
}

void CSimbrel1View::AddHelpPdfMenu()
{
    CWnd* pMain = AfxGetMainWnd();
    HMENU hMenu = pMain != nullptr && pMain->GetSafeHwnd() != nullptr ? pMain->GetMenu() : nullptr;
    if (hMenu == nullptr || ::GetMenuItemCount(hMenu) <= 0)
        return;
    HMENU hHelp = ::GetSubMenu(hMenu, 3);
    if (hHelp == nullptr)
        return;
    WIN32_FIND_DATAW data;
    const CString strPattern = m_strProgramFolder + L"HelpPdfs\\*.pdf";
    HANDLE hFind = ::FindFirstFileW(strPattern.GetString(), &data);
    if (hFind == INVALID_HANDLE_VALUE)
        return;
    m_nHelpPdfCount = 0;
    do {
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            continue;
        const CString strName = data.cFileName;
        if (m_nHelpPdfCount == 0)
            ::AppendMenuW(hHelp, MF_SEPARATOR, 0, nullptr);
        ::AppendMenuW(hHelp, MF_STRING, ID_HELP_PDF_1 + m_nHelpPdfCount, GetHelpPdfEntryText(strName).GetString());
        m_strHelpPdf[m_nHelpPdfCount] = m_strProgramFolder + L"HelpPdfs\\" + strName;
        ++m_nHelpPdfCount;
    } while (m_nHelpPdfCount < kMaxHelpPdfs && ::FindNextFileW(hFind, &data));
    ::FindClose(hFind);
    pMain->DrawMenuBar();
}

void CSimbrel1View::OpenHelpPdf(const CString& strPath)
{
    const auto nResult = reinterpret_cast<INT_PTR>(
        ::ShellExecuteW(GetSafeHwnd(), L"open", strPath.GetString(), nullptr, nullptr, SW_SHOWNORMAL));
    if (nResult <= 32)
        AfxMessageBox(IDS_PDF_READER_REQUIRED);
}

void CSimbrel1View::OnHelpPdf(UINT nID)
{
    const int k = static_cast<int>(nID - ID_HELP_PDF_1);
    if (k >= 0 && k < kMaxHelpPdfs && k < m_nHelpPdfCount)
        OpenHelpPdf(m_strHelpPdf[k]);
}
