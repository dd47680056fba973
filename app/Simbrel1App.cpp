#include "app/Simbrel1App.h"

#include "app/GdiPlus.h"
#include "app/Globals.h"
#include "app/MainFrm.h"
#include "app/Simbrel1Doc.h"
#include "app/Simbrel1View.h"
#include "app/WelcomePanel.h"

BEGIN_MESSAGE_MAP(CSimbrel1App, CWinApp)
    ON_COMMAND(ID_APP_ABOUT, OnHelpAbout)
    ON_COMMAND(ID_APP_EXIT, OnAppExit)
END_MESSAGE_MAP()

CString TakeWholeFileName(const CString& strRawCommandLine, const CString& strParsed)
{
    const int nAt = strRawCommandLine.Find(strParsed.GetString());
    if (strParsed.IsEmpty() || nAt < 0)
        return strParsed;
    CString strName = strRawCommandLine.Mid(nAt);
    if (!strName.IsEmpty() && strName[strName.GetLength() - 1] == L'"')
        strName = strName.Left(strName.GetLength() - 1);
    // The parsed name was first found inside the quoted program path: the
    // file name begins after that path's closing quote and one blank.
    const int nQuote = strName.Find(L'"');
    if (nQuote > 0)
        strName = strName.Mid(nQuote + 2);
    return strName;
}

CSimbrel1App::CSimbrel1App() = default;

BOOL CSimbrel1App::InitInstance()
{
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_TAB_CLASSES};
    ::InitCommonControlsEx(&icc);

    SetRegistryKey(L"Quillmar");
    LoadStdProfileSettings(4);
    AddDocTemplate(new CSingleDocTemplate(IDR_MAINFRAME, RUNTIME_CLASS(CSimbrel1Doc), RUNTIME_CLASS(CMainFrame),
                                          RUNTIME_CLASS(CSimbrel1View)));

    CCommandLineInfo cmdInfo;
    ParseCommandLine(cmdInfo);
    g_strStartupFile = cmdInfo.m_strFileName;

    Gdiplus::GdiplusStartupInput gdiplusInput;
    Gdiplus::GdiplusStartup(&m_nGdiplusToken, &gdiplusInput, nullptr);

    if (!g_strStartupFile.IsEmpty()) {
        g_strStartupFile = TakeWholeFileName(CString(::GetCommandLineW()), g_strStartupFile);
        cmdInfo.m_strFileName = g_strStartupFile;
    }

    return ProcessShellCommand(cmdInfo);
}

int CSimbrel1App::ExitInstance()
{
    if (m_nGdiplusToken != 0) {
        Gdiplus::GdiplusShutdown(m_nGdiplusToken);
        m_nGdiplusToken = 0;
    }
    return CWinApp::ExitInstance();
}

void CSimbrel1App::OnHelpAbout()
{
    const int bLive = g_bLiveReadings;
    g_bLiveReadings = 0;
    auto* pFrame = dynamic_cast<CMainFrame*>(m_pMainWnd);
    if (pFrame != nullptr && pFrame->GetMainView() != nullptr) {
        CWelcomePanel panel;
        panel.m_bAbout = 1;
        panel.DoModal();
    }
    g_bLiveReadings = bLive;
}
