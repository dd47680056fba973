#include "app/Globals.h"

CString g_strStartupFile;
const CString g_strDepressKeyPrefix(L"D_");
const CString g_strPressKeyPrefix(L"P_");
const UINT g_nPdfFileSavedMessage = ::RegisterWindowMessageW(L"NOVAPDF2_FILESAVED");
const UINT g_nPdfPrintErrorMessage = ::RegisterWindowMessageW(L"NOVAPDF2_PRINTERROR");
CString g_strProgramVersion;
CString g_strUserDataRoot;
CString g_strDocumentsFolder;
const CRect g_rcDefaultFrame(1, 1, 640, 480);
const CString g_strDefaultTargetTolerance(L"2.0");
const CString g_strDefaultDataSamples(L"100");
const CString g_strDefaultFanAdjust(L"1.0");
const CString g_strDefaultHighPressureLimit(L"90");
const CString g_strDefaultFanStartPercent(L"0.0");

CSimbrel1View* g_pView = nullptr;
int g_bVerboseWifiErrors = 0;
int g_bLiveReadings = 0;
int g_nCurrentDirection = 1;
