// The one place through which every modal dialog and message box of the
// program is shown. Normally nothing is installed and a person answers.
// Test programs install an answerer that replies for the person, records
// what was shown, and fails the test for a question it has no reply for;
// so an unattended run always ends on its own.
#pragma once

#include <windows.h>

class CDialog;
class CString;

// What the program's own message box shows, as an answerer sees it.
struct CUiMessage {
    UINT nIDText;            // the caller's string id
    const wchar_t* pszText;  // the text shown (valid during the call)
    int nIcon;
    int nKind;
    int nHelpTopic;
};

// Implemented by the dialogs that show such a message, so an answerer can
// reply by message (its string id) rather than by dialog template: it finds
// the interface on the dialog given to AnswerDialog with dynamic_cast.
class CUiMessageSource {
public:
    virtual ~CUiMessageSource() = default;
    virtual CUiMessage GetUiMessage() const = 0;
};

// A common file dialog (framework/FileDialog.h) about to run, as an answerer
// sees it; the texts are valid during the call.
struct CUiFileDialog {
    BOOL bOpen;                   // Open (else Save As)
    const wchar_t* pszTitle;      // "" for the system's own
    const wchar_t* pszFilter;     // in the "Name (*.ext)|*.ext||" form
    const wchar_t* pszDefExt;
    const wchar_t* pszFileName;   // the name offered
    const wchar_t* pszInitialDir;
    DWORD dwFlags;                // OFN_...
};

class CUiAnswerer {
public:
    virtual ~CUiAnswerer() = default;

    // A message box with the given text and MB_ style; returns the button
    // code (IDOK, IDYES, ...) to act as if it had been pressed.
    virtual int AnswerMessageBox(const wchar_t* pszText, UINT nType) = 0;

    // A modal dialog about to run (the program's message boxes included:
    // see CUiMessageSource). Return true with *pResult set to answer it
    // without showing it; return false to let it run (the test then drives
    // it, for example through posted messages or a timer).
    virtual bool AnswerDialog(CDialog* pDialog, UINT nIDTemplate, INT_PTR* pResult) = 0;

    // A file dialog about to run: return IDOK with the chosen full path in
    // strPath, or IDCANCEL, as if the person had chosen so.
    virtual INT_PTR AnswerFileDialog(const CUiFileDialog& dialog, CString& strPath) = 0;
};

// Installs an answerer for the calling program (nullptr: people answer);
// returns the one installed before.
CUiAnswerer* AfxSetUiAnswerer(CUiAnswerer* pAnswerer);
CUiAnswerer* AfxGetUiAnswerer();

// The class library's standard message box: the application title as
// caption, owned by the main window. Returns the button code.
int AfxMessageBox(const wchar_t* pszText, UINT nType = MB_OK);
int AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK);
