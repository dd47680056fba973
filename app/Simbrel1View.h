// The central view: the one view of the main window. It creates, owns and
// deletes every page and record of the open test, the gauge links and the
// maths object, and holds the state several subsystems share.
#pragma once

#include "comm/WifiDeviceInfo.h"
#include "framework/Framework.h"

class CBaselineDataEntry;
class CBuildingInfoDialog;
class CBusinessInfoDialog;
class CCommentsDialog;
class CComPortSelectDialog;
class CCustomPressuresDialog;
class CDeviationsFromStandard;
class CEN13829DataEntryDialog;
class CEquipmentInfoDialogIntl;
class CFanCalibrationDialog;
class CISO9972DataEntryDialog;
class CManualDataEntryDialog;
class CQarCommunications;
class CQarMathFunctions;
class CTemperatureAndAltitudeEntry;
class CTemperatureAndBarometricPressure;
class CTemperatureEntryDialog;
class CTestGraph1;
class CTestResultsDialog;
class CTestSettingsDialog;
class CZoneDataDialog;
struct IPdfDriverOptions;

class CSimbrel1View : public CView {
    DECLARE_DYNCREATE(CSimbrel1View)
public:
    CSimbrel1View();
    ~CSimbrel1View() override;

    // Links and devices.
    int m_bDisconnecting = 0;
    CWifiDeviceInfo m_NetDevice;
    int m_bReidentifying = 0;
    int m_bPdfRunning = 0;
    int m_bExportedFile = 0;
    int m_bSavedAutoSelect = 0;
    int m_bSavedOffLine = 0;
    int m_bAnnounceScan = 1;
    int m_bAutoSelect = 0;
    int m_bOffLine = 0;
    int m_bDeviceDialogOpen = 0;
    int m_bRecheckDevices = 0;
    CComPortSelectDialog* m_pDeviceDialog = nullptr;
    CQarCommunications* m_pLink[4] = {};
    int m_nComPort[4] = {};

    // Units and file.
    int m_nFlowUnits = 0;
    int m_nDimensionUnits = 0;
    int m_nLeakageAreaUnits = 0;
    int m_nTemperatureUnits = 0;
    double m_dFlowFactor = 1.0;
    double m_dLengthFactor = 1.0;
    double m_dAreaLengthFactor = 1.0;
    int m_nPrevFlowUnits = 0;
    int m_nPrevDimensionUnits = 0;
    int m_nPrevLeakageAreaUnits = 0;
    int m_nPrevTemperatureUnits = 0;
    double m_dPrevFlowFactor = 1.0;
    double m_dPrevLengthFactor = 1.0;
    CString m_strProgramFolder;
    CString m_strFileText;
    int m_nFileVersion = 0;
    int m_bNewFormatFile = 1;
    CString m_strFileVersionTag;
    CString m_strTestTitle;
    CString m_strDataFolder;
    CString m_strFileFolder;
    CString m_strSavedText;
    CString m_strLoadedText;
    int m_bSaveAsTest = 0;
    int m_bSaveAsConfiguration = 0;
    int m_bTestOpen = 0;

    // Timer state.
    int m_nTickCount = 0;
    int m_bInTick = 0;
    int m_bAfterIdleReading = 0;
    int m_bScanAnnounced = 0;
    UINT_PTR m_nTimer1 = 0;

    // Page records.
    CDeviationsFromStandard* m_pDeviations = nullptr;
    CEquipmentInfoDialogIntl* m_pEquipment = nullptr;
    CCustomPressuresDialog* m_pCustomPressures = nullptr;
    CManualDataEntryDialog* m_pManualEntry = nullptr;
    CFanCalibrationDialog* m_pFanCalibration = nullptr;
    CTestGraph1* m_pTestGraph = nullptr;
    CTestSettingsDialog* m_pSettings = nullptr;
    CZoneDataDialog* m_pZoneData = nullptr;
    CQarMathFunctions* m_pMath = nullptr;
    CCommentsDialog* m_pComments = nullptr;
    CEN13829DataEntryDialog* m_pEn13829 = nullptr;
    CISO9972DataEntryDialog* m_pIso9972 = nullptr;
    CBuildingInfoDialog* m_pBuildingInfo = nullptr;
    CTemperatureEntryDialog* m_pTemperature = nullptr;
    CTemperatureAndBarometricPressure* m_pTempBaro = nullptr;
    CTemperatureAndAltitudeEntry* m_pTempAltitude = nullptr;
    CBaselineDataEntry* m_pBaseline = nullptr;
    CTestResultsDialog* m_pResults = nullptr;
    CBusinessInfoDialog* m_pBusinessInfo = nullptr;

    // Page layout.
    WINDOWPLACEMENT m_TestGraphPlacement{};
    double m_dPageScale = 1.0;
    LOGFONTW m_PageLogFont{};
    int m_bPageLogFontTaken = 0;
    int m_bLayoutPending = 0;
    CFont* m_pPageFont = nullptr;
    int m_nPageInsetLeft = 0;
    int m_nPageInsetTop = 0;
    int m_nPageInsetRight = 0;
    int m_nPageInsetBottom = 0;
    int m_bPagesHidden = 0;
    int m_bRecreatePages = 0;
    CSize m_ClientSize;
    CPoint m_FrameOrigin;
    int m_bMainIconic = 0;

    // Printing.
    CString m_strPdfFolder;
    int m_bPreviewStarting = 0;
    int m_nReportType = 0;
    int m_bPreviewShowing = 0;
    IPdfDriverOptions* m_pPdfOptions = nullptr;
    int m_bPdfDriverAvailable = 0;
    CString m_strPdfFile;

    // Other.
    int m_bShowPressureWarning = 1;
    int m_bFirstPaint = 1;
    CString m_strHelpPdf[260];

    void OnInitialUpdate() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    void OnDraw(CDC* pDC) override;
    void OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo) override;

    // First start of a user: the per-user data folder and its default files.
    void SetupDataFolder();

    // Gauge links and network devices.
    void ResetNetDeviceRecord(CWifiDeviceInfo& device);
    void CloseAllDevicePorts();
    void ResetChannelTables();

    // Preferences and folders.
    void GetProgramFolder();
    void LoadPreferences();
    void SavePreferences();
    void RestoreDevicePreferences();

    // Units.
    void ApplyUnits();
    void ReadDefaultUnitsFile();

    // Pages.
    void ClearPageInsets();
    void RefreshOpenPages();
    void CommitOpenPages();
    void CloseAllPages();
    void OnFrameMoved(int x, int y);
    void OnFrameSized(UINT nType, int cx, int cy);

    // Files: asks whether to save a changed test; false when the test must
    // stay open (it was to be saved and could not be).
    bool OfferToSaveChanges();

    // Help menu.
    void AddHelpPdfMenu();

private:
    bool m_bComInitialized = false;
    bool m_bWinsockStarted = false;

    DECLARE_MESSAGE_MAP()
};

// Name of the partner's logo picture that a user's first start imports as
// the report header logo, when the program folder holds it.
extern const wchar_t* const kPartnerLogoFile;

// Sets up the per-user data folder below strUserDataRoot and returns it
// (with a trailing backslash). On a user's first start (no
// "DefaultUnits.dat" there) the folder is made and the default files are
// copied from the program folder; a default file or logo the user already
// has is never replaced. importLogo is called with the partner logo's path
// when it is to be imported.
CString PrepareDataFolder(const CString& strUserDataRoot, const CString& strProgramFolder,
                          const CString& strAppTitle, const std::function<void(const CString&)>& importLogo);
