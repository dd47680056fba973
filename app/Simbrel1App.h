// The application object: start-up and shut-down of the program.
#pragma once

#include "framework/Framework.h"

// The file name of the command line taken whole from the raw command line,
// so that a path with blanks works without quotes. strParsed is the first
// argument as the command-line parser gave it.
CString TakeWholeFileName(const CString& strRawCommandLine, const CString& strParsed);

class CSimbrel1App : public CWinApp {
public:
    CSimbrel1App();

    BOOL InitInstance() override;
    int ExitInstance() override;

    void OnHelpAbout();

    ULONG_PTR m_nGdiplusToken = 0;

    DECLARE_MESSAGE_MAP()
};
