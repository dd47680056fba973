// The central view: the one view of the main window. It creates, owns and
// deletes every page and record of the open test, the gauge links and the
// maths object, and holds the state several subsystems share.
#pragma once

#include "app/KeyValueText.h"
#include "comm/GaugeJobs.h"
#include "comm/WifiDeviceInfo.h"
#include "framework/Framework.h"
#include "report/PrintFrame.h"

class CBaselineDataEntry;
class CBuildingInfoDialog;
class CBusinessInfoDialog;
class CCommentsDialog;
class CComPortSelectDialog;
class CCustomPressuresDialog;
class CDateTimeCtrl;
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
class CDib;
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
    // Links of a test: the shut-down flag (the main window closes), the
    // primary COM port found by auto-selection (-1 none yet), the channel
    // check under way; AreAllPortsConnected: 0 with no link in use, else 1
    // when every link in use that has a COM port (all under auto-selection)
    // is connected.
    int m_bShuttingDown = 0;
    int m_nPrimaryPort = -1;
    int m_bChannelCheckRunning = 0;
    int AreAllPortsConnected() const;
    // Idle monitoring: the last channel check allocated channels; the
    // connection state (-1 after a device failure).
    int m_bChannelsAllocated = 0;
    int m_nConnectionState = 0;

    // Device scan. Port probes still running when a scan stopped waiting
    // stay here, with their links, until their threads have ended: checked
    // at the next scan, waited for when the view goes.
    CGaugeJobGroup m_ScanProbes;

    // Units and file. Unit indexes: flow 0 cfm, 1 m³/h, 2 l/s; building
    // 0 ft, 1 m; leakage-area lengths 0 in, 1 cm; temperature 0 F, 1 C.
    int m_nFlowUnit = 0;
    int m_nBuildingUnit = 0;
    int m_nLeakageUnit = 0;
    int m_nTemperatureUnit = 0;
    double m_dFlowFactor = 1.0;       // flow unit per cfm
    double m_dBuildingFactor = 1.0;   // building unit per ft
    double m_dLeakageFactor = 1.0;
    // Unit names per direction slot: what a file held, or the current ones.
    CString m_strFlowUnitName[2];
    CString m_strBuildingUnitName[2];
    CString m_strLeakageUnitName[2];
    CString m_strTemperatureUnitName[2];
    // The units the stored values are held in; a units change converts
    // from these.
    int m_nPrevFlowUnit = 0;
    double m_dPrevFlowFactor = 1.0;
    int m_nPrevBuildingUnit = 0;
    double m_dPrevBuildingFactor = 1.0;
    int m_nPrevLeakageUnit = 0;
    int m_nPrevTemperatureUnit = 0;
    CString m_strProgramFolder;
    CKeyedText m_strFileText;   // re-indexed whenever it changes
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

    // Cruise: the last choices of the cruise dialog (-1 and "" before the first).
    int m_nCruiseBaseline = -1;
    CString m_strCruisePressure;

    // The timer tick's gates, on plain values.
    struct CTickInput {
        int bPdfRunning = 0, bReidentifying = 0, bSkipNext = 0;
        int bScreenShown = 0, bOffLine = 0;
        int bCheckBusy = 0, bIdleRunning = 0, bStepRunning = 0, bFanListDropped = 0, bDeviceDialogOpen = 0,
            bStarting = 0;
        int bAllConnected = 0, nTickCount = 0, bHiddenForPrint = 0, bTestRunning = 0, bPrimaryLink = 0,
            bLiveReadings = 0;
        wchar_t chMethod = 0;
    };
    enum class TickGate { Ignore, Skip, OffLineStatus, Proceed };
    enum class TickWork { None, ChannelCheck, Step, Idle };
    static TickGate PlanTickGate(const CTickInput& in);
    static TickWork PlanTickWork(const CTickInput& in);
    // Timer 2: "KA\r\n" to every idle network link; the number sent.
    int SendKeepAlives();
    void RunChannelCheck();
    int m_bStepRunning = 0;
    int m_bIdleRunning = 0;

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

    // Print frame: report commands, page plan, page frame and header, the
    // report pages' drawing routines.
    int m_bPreviewJustStarted = 0;
    int m_bPdfMode = 0;
    int m_nTotalPages = 0;
    int m_nFirstCommentsPage = 0;
    std::vector<int> m_nCommentLinesOnPage;   // as many pages as the comments need
    int m_bTestOnTwoPages[2][32] = {};
    CString m_strDateLine;
    CString m_strFileLine;
    CString m_strRunningHead;
    CPageCaps m_PageCaps;             // of the page being drawn
    CString m_strReportLogoProblem;   // shown once at the end of the job
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, HandlerInfo* pHandlerInfo) override;
    BOOL OnPreparePrinting(CPrintInfo* pInfo) override;
    void OnPrint(CDC* pDC, CPrintInfo* pInfo) override;
    void OnEndPrinting(CDC* pDC, CPrintInfo* pInfo) override;
    CReportCommandInput GetReportCommandInput() const;
    void OnReportCommand(UINT nID);
    // Prints a report through the standard print command; true when printed.
    bool PrintReport(int nType);
    bool PrintTestReport() { return PrintReport(1); }
    void PreviewReport(int nType);
    void PreviewTestReport() { PreviewReport(1); }
    void StartPrintPreview();
    void OnEndPrintPreview(CDC* pDC, CPrintInfo* pInfo, POINT point, CView* pView) override;
    int CanPrintZoneReport() const;
    CPoint PrintPageHeader(CDC* pDC, CPrintInfo* pInfo, UINT nIDTitle, CFont* pTitleFont, CFont* pTextFont, int x,
                           int y);
    CSize PrintText(CDC* pDC, int nWidth, int x, int y, const CString& strText);
    void PrintRule(CDC* pDC, int nLineHeight, int x, int y);
    void DrawPenLine(CDC* pDC, int nThickness, int x1, int y1, int x2, int y2);
    CRect TwipsToDeviceRect(CDC* pDC, const CRect& rcTwips) const;
    void PrintLabelAndSymbol(CDC* pDC, CMarkupText& renderer, CFont* pFont, const CRect& rc, const CString& strLabel,
                             const CString& strSymbol);
    int CountCommentLines();
    int CountZoneReportRows(int d) const;
    // The report pages' bodies.
    void ComposeTestReportPage(CDC* pDC, CPrintInfo* pInfo, CFont* pBoldFont, CFont* pRegularFont,
                               CFont* pUnderlinedFont, int x, int y);
    CPoint ComposeZoneDataReportPage(CDC* pDC, CPrintInfo* pInfo, CFont* pBoldFont, CFont* pRegularFont, int x, int y);
    void PrintGraphPage(CDC* pDC, CPrintInfo* pInfo, int x, int y);
    // Report logos of the data folder (the drawing problem kept for the job's end).
    CString GetReportLogoPath(int nFormat, int nPosition) const;
    CString GetReportLogoFile(int nPosition) const;
    CSize DrawReportLogo(CDC* pDC, const CRect& rcBox, int nPosition);
    CSize DrawBmpLogo(CDC* pDC, const CRect& rcBox, const CString& strPath);
    CSize DrawEmfLogo(CDC* pDC, const CRect& rcBox, const CString& strPath);
    bool ConvertImageToDib(const CString& strPath, CDib* pDib, bool bSave);
    // Zone data report.
    int PrintZoneTableRow(CDC* pDC, int y, int L, const CString* pTexts);
    int PrintTwoCellRow(CDC* pDC, int x0, int y, int L, const CString& strFirst, const CString& strSecond);
    int PrintZpdInputTable(CDC* pDC, int y, int L, CFont* pBoldFont, CFont* pRegularFont);
    void PrintZonePressureChart(CDC* pDC);
    double AverageBaselineMarkerValue(int nSlot) const;
    CString GetLargestRingText(int nSlot) const;
    // Test report and graph report pages.
    int m_bPrintingGraph = 0;   // 1 only while PrintGraph draws
    CPoint PrintTestReportSummary(CDC* pDC, CFont* pBoldFont, CFont* pRegularFont, CFont* pUnderlinedFont, int x,
                                  int y, int L, int S);
    CPoint PrintTestStandardBlock(CDC* pDC, int x, int y, int L, int nValueX, CFont* pBoldFont, CFont* pRegularFont);
    CString GetAirChangeRateText() const;
    CString GetReportFlowUnitLabel() const;
    void PrintGraph(CDC* pDC, const CRect& rc);
    CPoint PrintBuildingAndEquipmentPage(CDC* pDC, CFont* pBoldFont, CFont* pRegularFont, int x, int y, int L);
    CPoint PrintEquipmentSection(CDC* pDC, int x, int y, CFont* pRegularFont, CFont* pBoldFont);
    static CString FormatIsoDimensionLabel(UINT nID, const CString& strSymbol, const CString& strUnit, int bNational);
    CPoint PrintTestDataPage(CDC* pDC, int nPage, int x, int y, int L, CFont* pRegularFont, CFont* pBoldFont);
    CPoint PrintEnvironmentSection(CDC* pDC, int x, int y, int L, int d, int t, CFont* pRegularFont, CFont* pBoldFont);
    CPoint PrintBaselineSection(CDC* pDC, int x, int y, int L, int d, int t, CFont* pRegularFont, CFont* pBoldFont);
    CPoint PrintDataPointsTable(CDC* pDC, int x, int y, int L, int d, int t, CFont* pRegularFont, CFont* pBoldFont);
    CPoint PrintDataPointsTableIso(CDC* pDC, int x, int y, int L, int d, int t, CFont* pRegularFont, CFont* pBoldFont);
    int PrintDataPointsHeader(CDC* pDC, int d, int x, int y, int L, const int* pColumns, CFont* pRegularFont,
                              CFont* pBoldFont, int bIso);
    int PrintDataPointRows(CDC* pDC, int y, int L, int d, int t, const int* pColumns, int bIso);
    CPoint PrintDeviationsSection(CDC* pDC, int x, int y, int L, int d, int t, CFont* pBoldFont, CFont* pRegularFont);
    CPoint PrintCommentsPage(CDC* pDC, int nPage, int x, int y, int L, CFont* pRegularFont, CFont* pBoldFont);
    // Sets up the PDF printer driver for a PDF job; FALSE ends the job.
    BOOL PreparePdfDriver();
    // PDF output through the PDF printer driver.
    int m_bPdfError = 0;
    int m_bPdfDriverConfigured = 0;      // set-up done, restore owed
    CString m_strPdfFileName;
    wchar_t* m_pszSavedPdfProfile = nullptr;   // the driver's, freed with CoTaskMemFree
    long m_nSavedPdfProfile = 0;
    void OnFilePdfTestReport() { PdfReport(kReportTest); }
    void OnFilePdfGraphReport() { PdfReport(kReportGraph); }
    void OnFilePdfZoneDataReport() { PdfReport(kReportZoneData); }
    void PdfReport(int nType);
    int AskPdfFileName();
    void FinishPdfOutput();
    LRESULT OnPdfFileSaved(WPARAM wParam, LPARAM lParam);
    LRESULT OnPdfPrintError(WPARAM wParam, LPARAM lParam);
    // Handles the driver's messages already in the view's queue.
    void DispatchPdfDriverMessages();
    void RestorePdfDriver();

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

    // Key-value text: "key value" lines of the test, configuration and
    // default files. A key is found only at the text's start or right after
    // a CR or LF; its value ends at the first CR or LF and loses its leading
    // blanks. A missing key, and a last line without a line break, give "".
    CString GetFileValue(const CString& strKey) const;   // in m_strFileText
    CString GetPrefixedFileValue(const CString& strPrefix, const CString& strKey) const;
    static CString GetTextValue(const CString& strKey, const CString& strText);
    // prefix + key + " " + value + "\n", also for an empty value.
    static CString MakeKeyLine(const CString& strPrefix, const CString& strKey, const CString& strValue);
    // The direction's prefixed key line; "" for an empty value (no line).
    static CString MakeDirectionKeyLine(int nDirection, const CString& strKey, const CString& strValue);
    // "P_" + key for direction 0, "D_" + key for any other.
    static CString PrefixKeyByDirection(int nDirection, const CString& strKey);
    // "P_Key_for_Test_3:" from "Key:", direction 0 and test index 2.
    static CString MakePerTestKey(const CString& strKey, int nDirection, int nTestIndex);
    // Every CR CR becomes one CR, left to right (three in a row give two).
    static CString CollapseDoubleCR(const CString& strText);
    // The text's leading number with a decimal point in every locale;
    // 0 when it has none or it is not finite.
    static double TextToDouble(const CString& strText);

    // Preferences and folders: five values under
    // HKCU\software\Quillmar\<application title>\Preferences and the two
    // folder files of the data folder.
    void GetProgramFolder();
    void LoadPreferences();
    void SavePreferences();
    void RestoreDevicePreferences();
    void TransferPreferences(int bSave);
    // The key's transfer; hKey null: nothing is saved, and loading gives
    // every value its default and both folders the documents folder.
    void TransferPreferenceValues(int bSave, HKEY hKey);
    // The preferences key, each level opened or created with read and write
    // access; null when a level fails.
    static HKEY OpenPreferencesKey(const CString& strAppTitle);
    // A folder file of the data folder: UTF-16LE without byte-order mark.
    CString ReadFolderFile(const CString& strFileName) const;
    void WriteFolderFile(const CString& strFileName, const CString& strFolder) const;
    static CString GetAppTitle();
    // Whole files of UTF-16LE text without byte-order mark (the default and
    // folder files); an odd last byte is dropped and a zero character ends
    // the text. The one way files are written: the target is first tried
    // for writing, the text (after U+FEFF with bByteOrderMark) goes into
    // the target's name + ".new", is flushed and then put in the target's
    // place, so a write that fails part-way keeps the old file whole. False
    // when the file cannot be read, or cannot be written (*pError then says
    // why, naming the file; its operation is opOpen when the file could not
    // be created at all, and then nothing was changed).
    static bool ReadUtf16TextFile(const CString& strPath, CString& strText);
    static bool WriteUtf16TextFile(const CString& strPath, const CString& strText, CFileException* pError,
                                   bool bByteOrderMark = false);

    // Units of measure.
    void SetUnitsFromNames(const CString& strFlow, const CString& strBuilding, const CString& strLeakage,
                           const CString& strTemperature);
    void ApplyUnits();
    // The current units become the ones stored values are held in: nothing to convert.
    void AcceptCurrentUnits();
    void ReadDefaultUnitsFile();
    void WriteDefaultUnitsFile();
    // The four "TEST UNITS INFO" lines, without prefix, with the names of
    // the direction slot; and their reading into that slot.
    CString WriteUnitsKeys(int nDirection) const;
    void ReadUnitsKeys(int nDirection);
    static void ConvertFahrenheitToCelsius(double& dValue);
    static void ConvertCelsiusToFahrenheit(double& dValue);
    void ConvertStoredTemperatures(int nNewTemperatureUnit);
    static void ConvertTemperatureText(int bToCelsius, CString& strText);
    void ConvertStoredAltitudes(int nNewBuildingUnit);
    static void ConvertAltitudeText(int bToMetres, CString& strText);
    void OnUnitsSelection();
    // Shows the units selection dialog with the current choice; IDOK with
    // the new choice in the arguments.
    INT_PTR ShowUnitsSelectionDialog(int& nFlowUnit, int& nBuildingUnit, int& nLeakageUnit, int& nTemperatureUnit,
                                     int& bSetAsDefaults);
    // The direction converted when only one is: the one with completed
    // tests, or the current one when both or neither have tests.
    int GetUnitsDirection() const;
    // Applies a confirmed units choice and converts every stored value.
    void ChangeUnits(int nFlowUnit, int nBuildingUnit, int nLeakageUnit, int nTemperatureUnit, int bSetAsDefaults,
                     int nDirection);

    // Pages. A page asks the view to move on by posting kPageNavigateMessage
    // with its dialog id in wParam and a PageAction in lParam.
    static constexpr UINT kPageNavigateMessage = WM_USER + 5;
    enum PageAction {
        kPageOK = 1,
        kPageCancel = 2,
        kPageNext = 3,
        kPagePrevious = 4,
        kPageTestScreenToBuilding = 10,
        kPageBuildingToTestScreen = 11,
    };
    // Closes the sending page and opens the one that follows it.
    LRESULT OnPageNavigate(WPARAM nPageId, LPARAM nAction);
    void SetPageInsets(int nLeft, int nTop, int nRight, int nBottom);
    void ClearPageInsets();
    void RefreshOpenPages();
    // Stores the edits of every open page (re-creating each when
    // m_bRecreatePages is set), then updates the current direction's results.
    void CommitOpenPages();
    void CloseAllPages();
    // Sizes the page to fill the client area at the largest scale that
    // keeps its proportions (m_dPageScale) and puts it over the client area;
    // minimises it while the main window is minimised.
    void PlacePageDialog(CWnd* pPage);
    // The window's rectangle grown by the insets, times m_dPageScale.
    void ScalePageDialog(CWnd* pWnd);
    // For a page whose controls need no insets of their own: when a layout
    // is pending, places the page, makes the page font with dFactor, scales
    // and re-fonts every visible control, and clears the request.
    void LayoutPageIfPending(CWnd* pPage, double dFactor);
    // 1: closes every open page and marks it hidden (m_bPagesHidden);
    // 0: opens the hidden pages again and re-creates the open ones, so that
    // they take a new layout.
    void HideOpenDialogs(int bHide);
    void OnFrameMoved(int x, int y);
    void OnFrameSized(UINT nType, int cx, int cy);
    // Recomputes and reformats the results of one direction.
    void UpdateResults(int nDirection);
    // The building volume of the current direction.
    double GetBuildingVolume() const;
    // 1 for '+', ',', '-', '.' and the digits, and for CR and LF when line
    // breaks are allowed; otherwise 0.
    static int IsNumberChar(wchar_t ch, int bLineBreaks);
    static int GetOtherDirection(int nDirection);

    // Test and configuration files. OfferToSaveChanges asks whether to save
    // a changed test; false when the test must stay open (it was to be saved
    // and could not be).
    bool OfferToSaveChanges();
    // The whole text of a test file, or with bAsConfiguration of a
    // configuration file (no measured data), without byte-order mark.
    CString BuildFileText(int bAsConfiguration) const;
    // The direction whose settings and units a saved file carries: 1 when
    // both have completed tests, else the only one with them, else the
    // current one.
    int GetSavedDirection() const;
    // Asks for a name and writes a test (m_bSaveAsTest 1) or configuration;
    // the chosen name's extension decides which text is written.
    enum SaveResult { kSaveCancelled, kSaveWritten, kSaveFailed };
    SaveResult SaveFileAs();
    // Save Current Test File; SaveCurrentTestFile does its work and tells
    // what the save came to.
    void OnFileSaveCurrentTest();
    SaveResult SaveCurrentTestFile();
    void OnSaveConfigurationFile();
    void OnUpdateSaveConfigurationFile(CCmdUI* pCmdUI);
    // "QSE " and the program's version.
    CString GetProgramVersionTag() const;
    // The version number of m_strFileText (0 when no version key has a
    // value), and m_strFileVersionTag from the same key.
    int GetFileVersionNumber();
    // "a.b.c.d" as a x 1000000 + b x 10000 + c x 100 + d, read from the
    // right; parts missing at the left count 0.
    static int VersionTextToNumber(const CString& strVersion);
    // The calculations-data sections of a test file.
    CString WriteCalculationsData(int d) const;
    CString WriteCombinedCalculationsData() const;
    // One line of those sections: the label, a colon and the value with
    // eight decimals.
    static CString FormatCalculationLine(const CString& strLabel, double dValue);

    // Opening test and configuration files. A file above kMaxFileBytes is
    // refused unread; the largest the format allows is far smaller.
    static constexpr ULONGLONG kMaxFileBytes = 64ull * 1024 * 1024;
    void OpenFile(int bAsConfiguration, const CString& strPath);
    void OnRetrieveExistingTest();
    void OnNewTestWithConfiguration();
    void ReadAllSections(int bIsTest, int nDirection, const CString& strPrefix);
    void ClearAllRecords();
    // Decodes a file's bytes into m_strFileText: UTF-16LE after any number
    // of byte-order marks (or when it begins "QAR"), otherwise 8-bit text;
    // a zero character ends the text.
    void LoadFileText(const BYTE* pBytes, size_t nCount);
    int IsNewFormatFile();
    int IsTestFile() const;
    // 0 when the counts of completed tests and entries the text gives fit
    // the store, else the first key whose count does not.
    static const wchar_t* FindCountBeyondStore(const CKeyedText& text);
    void ShowStartPage();
    void DisconnectAllDevices();
    void ClearViewBackground();

    // Menu commands, first paint and help menu.
    // The state of a menu command from the view's state: enabled, check
    // mark (-1 left as it is) and text (empty: left as it is).
    struct CCommandInput {
        int bTestOpen;
        int bTestInProgress;
        int nDirectionsWithData;   // -1 none, 0 or 1 that slot, 2 both
        wchar_t chMethod[2];       // method letter per slot
        int nCurrentDirection;
        int bZonal;
        int nStandard;
        int bLargeMeters;
    };
    struct CCommandState {
        bool bEnabled;
        int nCheck;
        CString strText;
    };
    static CCommandState GetCommandState(UINT nID, const CCommandInput& input);
    CCommandInput GetCommandInput() const;
    // The test screen runs a test, or starts or ends one.
    int IsTestInProgress() const;
    void OnUpdateCommand(CCmdUI* pCmdUI);
    void OnFileNewTest();
    void OnOptionsEquipmentInfo();
    void OnOptionsDeviceConnection();
    void OnOptionsDisplayLargeMeters();
    void BeginGoto();
    void OnGotoBuildingTestInfo();
    void OnGotoComments();
    void OnGotoTestSettings();
    void OnGotoTestGraph();
    void OnGotoTestResults();
    void OnGotoZoneData();
    void OnGotoTestInformation();
    void OnGotoStandardDataEntry();
    void OnPaint();
    void OnTimer(UINT_PTR nIDEvent);
    void DrawBackgroundPicture(CDC* pDC);
    // Where the background picture of nPicWidth x nPicHeight goes in a client
    // area of nWidth x nHeight; false when there is nothing to draw.
    static bool GetBackgroundPictureRect(int nWidth, int nHeight, int nPicWidth, int nPicHeight, CRect& rcPicture);
    // Help menu.
    void AddHelpPdfMenu();
    // A help file's menu text: its name up to the first dot.
    static CString GetHelpPdfEntryText(const CString& strFileName);
    void OpenHelpPdf(const CString& strPath);
    void OnHelpPdf(UINT nID);
    int m_nHelpPdfCount = 0;

    // Message boxes and numeric edit fields. ShowMessage shows the text, or
    // string nIDText when the text is empty, with icon 175 (the system's
    // exclamation icon) or an icon resource, kind 0 to 11 and a help topic
    // (255 none); it returns the code of the button pressed (1 OK, 2 Cancel,
    // 4 Retry, 6 Yes, 7 No). The sizable box opens at screen position x, y.
    int ShowMessage(int nIDText, const CString& strText, int nIcon, int nKind, int nHelpTopic);
    int ShowSizableMessage(int nIDText, const CString& strText, int x, int y, int nWidth, int nHeight, int nIcon,
                           int nKind, int nHelpTopic);
    // Called from a numeric edit's change notification: makes one
    // correction to the focused edit's text; 1 when it changed the text.
    int FilterNumericEdit(CWnd* pDialog, int bWarn, int bNoMinus, int bNoPoint);
    // Removes a misplaced first occurrence of ch (when it must be first)
    // and a second one; the index of the last removal, or -1.
    static int RemoveExtraChar(int bMustBeFirst, CString& strText, wchar_t ch);
    // The correction FilterNumericEdit makes, on the text alone: 0 none,
    // 1 a character removed, 2 commas removed; nCaret gets the caret index.
    static int CleanNumericText(CString& strText, int bNoMinus, int bNoPoint, int& nCaret);

    // Context help: the topic's section of "QEhelp.txt" of the program
    // folder in the help panel, modally.
    void ShowContextHelp(int nTopic);
    // The text without its leading blanks (U+0020 only; tabs stay).
    static CString StripLeadingBlanks(const CString& strText);
    // Busy-waits until the program clock (app/Clock.h) has advanced by nMs;
    // processes no messages meanwhile.
    static void DelayMs(int nMs);

    // View services. Date keys are "YYYYMMDD"; a key that is not a valid
    // eight-digit date has no local date and never changes a picker.
    static bool IsValidDateKey(const CString& strKey);
    // The key's short date in the user's locale; "" for an invalid key.
    static CString FormatDateKeyLocal(const CString& strKey);
    static CString FormatDateKeyForLocale(const CString& strKey, LCID lcid);
    // Characters 1-4, 5-6 and the last two, read as decimal digits up to
    // the first non-digit (none: 0).
    static int GetDateKeyYear(const CString& strKey);
    static int GetDateKeyMonth(const CString& strKey);
    static int GetDateKeyDay(const CString& strKey);
    // Date-time pickers: blank (format " ") while they hold no date of a key.
    static void InitDatePicker(int bUseToday, CDateTimeCtrl* pPicker, const CString& strKey, CString& strLocal);
    static void ResetDatePickerFormat(CDateTimeCtrl* pPicker);
    // 0 with the picker's date as key and local date; otherwise the
    // picker's status and both outputs unchanged.
    static int ReadDatePicker(CDateTimeCtrl* pPicker, CString& strKey, CString& strLocal);
    // 1 when the key is empty or invalid (the picker stays as it is), else 0.
    static int SetDatePickerFromKey(CDateTimeCtrl* pPicker, const CString& strKey, CString& strLocal);
    static CString DotsToSlashes(const CString& strText);
    // "Pressurization Test: 3" (bDepress 0) or "Depressurization Test: 3"
    // for test index 2.
    static CString GetTestLabel(int bDepress, int nTestIndex);
    struct CTestPair {
        int nDirection;
        int nTestIndex;
    };
    // One item per completed test, direction 0 first; the item index of
    // the pair to select, or -1.
    int FillTestCombo(CWnd* pCombo, std::vector<CTestPair>& pairs, int nDirection, int nTestIndex) const;
    // "Ring A" and the like; "" for a ring below 0.
    static CString GetRingLabel(int nRing, wchar_t chFanCode);
    // The string's first character in upper or lower case; 0 for an empty
    // string.
    static wchar_t GetStringInitial(UINT nIDString, int bUpper);
    static CString RemoveCommas(const CString& strText);
    static double PercentDeviationFromCurve(double dPressure, double dFlow, double dC, double dN);
    // Warns (once per call) when the adjusted building pressure is above
    // the fan's limit; 1 when the warning was shown.
    int CheckAdjustedPressureLimit(double dPressure, wchar_t chFanCode);
    // The per-test environment lines of the test-data section.
    CString GetTestEnvironmentText(int nDirection, int nTestIndex) const;
    // Which records give those lines, in the order they are joined.
    enum class EnvironmentSource { ManualEntry, Temperature, TemperatureBarometric, Baseline, TemperatureAltitude };
    static std::vector<EnvironmentSource> GetTestEnvironmentSources(int nMethodIndex, int nStandard,
                                                                    wchar_t chMethodLetter);
    void RunEquipmentDialog(int bKeepLayout);
    void OnOptionsBusinessInfo();
    // Live readings on or off; returns the state before.
    int SetLiveReadingsEnabled(int bEnabled);
    // The shared page font, from the font of the page's control 1 (taken
    // once per run) scaled by GetPageFontScale(view) x dFactor and the
    // screen's resolution.
    void CreatePageFont(CWnd* pPage, double dFactor);
    // The smaller of the client width / 590 and height / 380; 0 when pWnd
    // has no window.
    double GetPageFontScale(CWnd* pWnd) const;

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
