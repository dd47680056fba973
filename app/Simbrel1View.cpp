#include "app/Simbrel1View.h"

#include <clocale>

#include "app/Globals.h"
#include "app/TestSettingsDialog.h"
#include "calc/DeviationsFromStandard.h"
#include "calc/FanCalibrationDialog.h"
#include "calc/QarMathFunctions.h"
#include "calc/TestResultsDialog.h"
#include "calc/ZoneDataDialog.h"
#include "comm/QarCommunications.h"
#include "pages/BaselineDataEntry.h"
#include "pages/BuildingInfoDialog.h"
#include "pages/BusinessInfoDialog.h"
#include "pages/CommentsDialog.h"
#include "pages/CustomPressuresDialog.h"
#include "pages/EN13829DataEntryDialog.h"
#include "pages/EquipmentInfoDialogIntl.h"
#include "pages/ISO9972DataEntryDialog.h"
#include "pages/ManualDataEntryDialog.h"
#include "pages/TemperatureAndAltitudeEntry.h"
#include "pages/TemperatureAndBarometricPressure.h"
#include "pages/TemperatureEntryDialog.h"
#include "pdfdriver/PdfDriverOptions.h"
#include "testrun/TestGraph1.h"

IMPLEMENT_DYNCREATE(CSimbrel1View, CView)

BEGIN_MESSAGE_MAP(CSimbrel1View, CView)
    ON_COMMAND(ID_FILE_OPEN, OnRetrieveExistingTest)
    ON_COMMAND(ID_FILE_NEW, OnNewTestWithConfiguration)
    ON_COMMAND(ID_FILE_SAVE, OnSaveConfigurationFile)
    ON_UPDATE_COMMAND_UI(ID_FILE_SAVE, OnUpdateSaveConfigurationFile)
    ON_MESSAGE(CSimbrel1View::kPageNavigateMessage, OnPageNavigate)
    // Menu commands, first paint and help menu.
    ON_WM_PAINT()
    ON_WM_TIMER()
    ON_COMMAND(ID_FILE_NEW_TEST, OnFileNewTest)
    ON_COMMAND(ID_FILE_SAVE_CURRENT_TEST, OnFileSaveCurrentTest)
    ON_COMMAND(ID_OPTIONS_BUSINESS_INFO, OnOptionsBusinessInfo)
    ON_COMMAND(ID_OPTIONS_EQUIPMENT_INFO, OnOptionsEquipmentInfo)
    ON_COMMAND(ID_OPTIONS_DEVICE_CONNECTION, OnOptionsDeviceConnection)
    ON_COMMAND(ID_OPTIONS_UNITS_SELECTION, OnUnitsSelection)
    ON_COMMAND(ID_OPTIONS_LARGE_METERS, OnOptionsDisplayLargeMeters)
    ON_COMMAND(ID_GOTO_BUILDING_TEST_INFO, OnGotoBuildingTestInfo)
    ON_COMMAND(ID_GOTO_COMMENTS, OnGotoComments)
    ON_COMMAND(ID_GOTO_TEST_SETTINGS, OnGotoTestSettings)
    ON_COMMAND(ID_GOTO_STANDARD_DATA_ENTRY, OnGotoStandardDataEntry)
    ON_COMMAND(ID_GOTO_TEST_GRAPH, OnGotoTestGraph)
    ON_COMMAND(ID_GOTO_TEST_RESULTS, OnGotoTestResults)
    ON_COMMAND(ID_GOTO_ZONE_DATA, OnGotoZoneData)
    ON_COMMAND(ID_GOTO_TEST_INFORMATION, OnGotoTestInformation)
    ON_COMMAND_RANGE(ID_HELP_PDF_1, ID_HELP_PDF_6, OnHelpPdf)
    ON_UPDATE_COMMAND_UI(ID_FILE_NEW_TEST, OnUpdateCommand)
    ON_UPDATE_COMMAND_UI(ID_FILE_NEW, OnUpdateCommand)
    ON_UPDATE_COMMAND_UI(ID_FILE_OPEN, OnUpdateCommand)
    ON_UPDATE_COMMAND_UI(ID_FILE_SAVE_CURRENT_TEST, OnUpdateCommand)
    ON_UPDATE_COMMAND_UI(ID_OPTIONS_BUSINESS_INFO, OnUpdateCommand)
    ON_UPDATE_COMMAND_UI(ID_OPTIONS_EQUIPMENT_INFO, OnUpdateCommand)
    ON_UPDATE_COMMAND_UI(ID_OPTIONS_DEVICE_CONNECTION, OnUpdateCommand)
    ON_UPDATE_COMMAND_UI(ID_OPTIONS_UNITS_SELECTION, OnUpdateCommand)
    ON_UPDATE_COMMAND_UI(ID_OPTIONS_LARGE_METERS, OnUpdateCommand)
    ON_UPDATE_COMMAND_UI(ID_GOTO_STANDARD_DATA_ENTRY, OnUpdateCommand)
    ON_UPDATE_COMMAND_UI_RANGE(ID_GOTO_BUILDING_TEST_INFO, ID_GOTO_ZONE_DATA, OnUpdateCommand)
    ON_UPDATE_COMMAND_UI(ID_GOTO_TEST_INFORMATION, OnUpdateCommand)
    // Print preview and the PDF printer driver's messages.
    ON_COMMAND(ID_AFX_FILE_PRINT_PREVIEW, StartPrintPreview)
    ON_REGISTERED_MESSAGE(g_nPdfFileSavedMessage, OnPdfFileSaved)
    ON_REGISTERED_MESSAGE(g_nPdfPrintErrorMessage, OnPdfPrintError)
END_MESSAGE_MAP()

const wchar_t* const kPartnerLogoFile = L"PartnerLogo.jpg";

namespace {
bool PathExists(const CString& strPath)
{
    return ::GetFileAttributesW(strPath.GetString()) != INVALID_FILE_ATTRIBUTES;
}
}  // namespace

CString PrepareDataFolder(const CString& strUserDataRoot, const CString& strProgramFolder,
                          const CString& strAppTitle, const std::function<void(const CString&)>& importLogo)
{
    const CString strDataFolder = strUserDataRoot + L"\\Quillmar\\" + strAppTitle + L"\\";
    if (PathExists(strDataFolder + L"DefaultUnits.dat"))
        return strDataFolder;

    // First start for this user (or a start after a copy that failed):
    // make the folder and give it the factory defaults it lacks.
    ::CreateDirectoryW((strUserDataRoot + L"\\Quillmar\\").GetString(), nullptr);
    ::CreateDirectoryW(strDataFolder.GetString(), nullptr);
    ::CopyFileW((strProgramFolder + L"DefaultUnits.dat").GetString(),
                (strDataFolder + L"DefaultUnits.dat").GetString(), FALSE);
    // A repeated first start must not replace what the user has set up since.
    for (const wchar_t* pszFile : {L"DefaultEquipmentInfo.dat", L"DefaultSettings.dat"}) {
        const CString strSource = strProgramFolder + pszFile;
        const CString strTarget = strDataFolder + pszFile;
        if (PathExists(strSource) && !PathExists(strTarget))
            ::CopyFileW(strSource.GetString(), strTarget.GetString(), TRUE);
    }
    const CString strLogo = strProgramFolder + kPartnerLogoFile;
    const bool bHasHeaderLogo = PathExists(strDataFolder + L"ReportLogo-Header.bmp") ||
                                PathExists(strDataFolder + L"ReportLogo-Header.emf");
    if (PathExists(strLogo) && !bHasHeaderLogo && importLogo)
        importLogo(strLogo);
    return strDataFolder;
}

CSimbrel1View::CSimbrel1View()
{
    // The records are made in this order: later ones are given earlier ones.
    m_pBusinessInfo = new CBusinessInfoDialog();
    m_pFanCalibration = new CFanCalibrationDialog();
    m_pSettings = new CTestSettingsDialog(this);
    m_pComments = new CCommentsDialog(this);
    m_pTestGraph = new CTestGraph1(this);
    m_pMath = new CQarMathFunctions();

    m_strFileVersionTag.Empty();
    m_bNewFormatFile = 1;

    m_pDeviations = new CDeviationsFromStandard(this);
    m_pManualEntry = new CManualDataEntryDialog();
    m_pCustomPressures = new CCustomPressuresDialog();

    m_pCustomPressures->m_pView = this;
    m_pBusinessInfo->m_pView = this;
    m_pManualEntry->m_pView = this;
    m_pFanCalibration->m_pView = this;
    m_pSettings->m_pFanCalibration = m_pFanCalibration;
    m_pTestGraph->m_pFanCalibration = m_pFanCalibration;
    m_pTestGraph->m_pSettings = m_pSettings;
    m_pSettings->m_pTestGraph = m_pTestGraph;

    for (CQarCommunications*& pLink : m_pLink) {
        pLink = new CQarCommunications();
        pLink->m_bConnected = 0;
    }
    ResetChannelTables();

    m_pZoneData = new CZoneDataDialog(this);
    m_pZoneData->m_pTestGraph = m_pTestGraph;
    m_pEquipment = new CEquipmentInfoDialogIntl();
    m_pEquipment->m_pView = this;
    m_pTestGraph->m_pEquipment = m_pEquipment;

    m_pResults = new CTestResultsDialog(this);
    m_pBaseline = new CBaselineDataEntry();
    m_pBaseline->m_pView = this;
    m_pBuildingInfo = new CBuildingInfoDialog(this);
    m_pEn13829 = new CEN13829DataEntryDialog(this);
    m_pIso9972 = new CISO9972DataEntryDialog(this);
    m_pTemperature = new CTemperatureEntryDialog();
    m_pTemperature->m_pView = this;
    m_pTempBaro = new CTemperatureAndBarometricPressure();
    m_pTempBaro->m_pView = this;
    m_pTempAltitude = new CTemperatureAndAltitudeEntry();
    m_pTempAltitude->m_pView = this;

    m_pResults->m_pBuildingInfo = m_pBuildingInfo;
    m_pResults->m_pTestGraph = m_pTestGraph;

    GetProgramFolder();
    SetupDataFolder();

    ApplyUnits();
    m_pFanCalibration->ResetToFactory();

    m_bTestOpen = 0;
    m_bFirstPaint = 1;
    m_bShowPressureWarning = 1;
    m_pPageFont = nullptr;

    // Needs the data folder: the two folder files live there.
    LoadPreferences();

    ClearPageInsets();
    m_bAnnounceScan = 1;

    // Date texts follow the user's settings; numbers keep the decimal point.
    std::setlocale(LC_TIME, "");

    ResetNetDeviceRecord(m_NetDevice);
    m_bReidentifying = 0;
    m_bDisconnecting = 0;
    m_pPdfOptions = nullptr;

    m_bComInitialized = SUCCEEDED(::CoInitialize(nullptr));
    if (!m_bComInitialized)
        AfxMessageBox(L"CoInitialize FAILED");

    if (SUCCEEDED(CreatePdfDriverOptions(&m_pPdfOptions)) && m_pPdfOptions != nullptr) {
        m_bPdfDriverAvailable = 1;
    } else {
        m_pPdfOptions = nullptr;
        m_bPdfDriverAvailable = 0;
        CString strText;
        strText.Format(L"The Quillmar PDF Writer Driver\nis not installed or is inoperative.\n\n"
                       L"Please reinstall %s\nto reinstall the writer driver.",
                       GetAppTitle().GetString());
        AfxMessageBox(strText.GetString());
    }

    WSADATA wsaData;
    m_bWinsockStarted = ::WSAStartup(MAKEWORD(2, 2), &wsaData) == 0;
}

CSimbrel1View::~CSimbrel1View()
{
    if (m_bWinsockStarted)
        ::WSACleanup();

    SavePreferences();

    delete m_pManualEntry;
    m_pManualEntry = nullptr;
    delete m_pMath;
    m_pMath = nullptr;
    delete m_pTestGraph;
    m_pTestGraph = nullptr;
    delete m_pComments;
    m_pComments = nullptr;
    delete m_pSettings;
    m_pSettings = nullptr;
    delete m_pFanCalibration;
    m_pFanCalibration = nullptr;
    delete m_pBusinessInfo;
    m_pBusinessInfo = nullptr;
    delete m_pPageFont;
    m_pPageFont = nullptr;
    delete m_pDeviations;
    m_pDeviations = nullptr;

    // A connected gauge is closed before its link goes.
    for (CQarCommunications*& pLink : m_pLink) {
        if (pLink != nullptr && pLink->m_bConnected)
            pLink->CloseDevice();
        delete pLink;
        pLink = nullptr;
    }

    delete m_pCustomPressures;
    m_pCustomPressures = nullptr;
    delete m_pZoneData;
    m_pZoneData = nullptr;
    delete m_pEquipment;
    m_pEquipment = nullptr;
    delete m_pBuildingInfo;
    m_pBuildingInfo = nullptr;
    delete m_pResults;
    m_pResults = nullptr;
    delete m_pBaseline;
    m_pBaseline = nullptr;
    delete m_pEn13829;
    m_pEn13829 = nullptr;
    delete m_pIso9972;
    m_pIso9972 = nullptr;
    delete m_pTemperature;
    m_pTemperature = nullptr;
    delete m_pTempBaro;
    m_pTempBaro = nullptr;
    delete m_pTempAltitude;
    m_pTempAltitude = nullptr;

    if (m_pPdfOptions != nullptr) {
        m_pPdfOptions->CleanUp(L"Quillmar PDF Writer", 1);
        m_pPdfOptions->Release();
        m_pPdfOptions = nullptr;
    }

    if (m_bComInitialized)
        ::CoUninitialize();
    if (g_pView == this)
        g_pView = nullptr;
}

void CSimbrel1View::SetupDataFolder()
{
    m_strDataFolder = PrepareDataFolder(g_strUserDataRoot, m_strProgramFolder, GetAppTitle(),
                                        [this](const CString& strLogo) { m_pBusinessInfo->ImportLogoFile(strLogo); });
}

void CSimbrel1View::OnInitialUpdate()
{
    CView::OnInitialUpdate();

    m_strTestTitle.LoadString(IDS_TEST_FILE_NOT_OPEN);
    if (CDocument* pDoc = GetDocument())
        pDoc->SetTitle(m_strTestTitle.GetString());

    m_nFlowUnit = 0;
    m_nBuildingUnit = 0;
    m_nLeakageUnit = 0;
    m_nTemperatureUnit = 0;
    ReadDefaultUnitsFile();
    m_pEquipment->ReadDefaultsFile();
    m_pSettings->ReadDefaultsFile();

    ApplyUnits();
    AcceptCurrentUnits();

    AddHelpPdfMenu();

    g_pView = this;
}

BOOL CSimbrel1View::PreTranslateMessage(MSG* pMsg)
{
    if ((pMsg->message == WM_KEYUP && pMsg->wParam == VK_ESCAPE) || pMsg->message == WM_SYSKEYUP) {
        RefreshOpenPages();
    } else if (pMsg->message == WM_KEYDOWN && (pMsg->wParam == 0x56 || pMsg->wParam == VK_F7)) {
        if (AfxMessageBox(L"Do you wish to enable Verbose WIFI Error Messages?", MB_YESNO) == IDYES)
            g_bVerboseWifiErrors = 1;
    }
    return CView::PreTranslateMessage(pMsg);
}

void CSimbrel1View::OnDraw(CDC*)
{
    // The view paints in its own WM_PAINT handler.
}

void CSimbrel1View::OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo)
{
    pInfo->m_nNumPreviewPages = 1;
    CView::OnBeginPrinting(pDC, pInfo);
}

void CSimbrel1View::ResetNetDeviceRecord(CWifiDeviceInfo& device)
{
    device.m_strAddress.Empty();
    device.m_nPort = 0;
    device.m_nSerialNumber = 0;
    device.m_nBusy = 0;
    device.m_nExtra = 0;
}

void CSimbrel1View::CloseAllDevicePorts()
{
    if (m_pTestGraph != nullptr && m_pTestGraph->m_FanSpeed > 0 && m_pLink[0] != nullptr) {
        m_pTestGraph->m_FanSpeed = 0;
        m_pLink[0]->SetFanSpeed(0);
    }
    for (CQarCommunications* pLink : m_pLink)
        if (pLink != nullptr && pLink->m_bConnected)
            pLink->CloseDevice();
}
