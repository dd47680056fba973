// CCommentsDialog: the test's comment text and the modeless page that edits it.
#pragma once

#include "framework/Dialog.h"

class CSimbrel1View;

class CCommentsDialog : public CDialog {
public:
    enum { IDD = 134 };

    explicit CCommentsDialog(CSimbrel1View* pView);
    ~CCommentsDialog() override;

    void ClearData();
    // The "COMMENTS" section of the files.
    CString WriteToFile() const;
    void ReadFromFile();

    // The page window: ShowPage creates and shows it (its layout taken when
    // the view asks for one), DestroyWindow closes it, RefreshPage gives the
    // remembered control the focus again while it is open.
    void ShowPage();
    BOOL DestroyWindow() override;
    void RefreshPage();
    BOOL OnInitDialog() override;
    // Takes the edited comment text into m_strComments.
    void UpdateCommentText();

    CSimbrel1View* m_pView = nullptr;
    int m_bCreated = 0;          // the page window exists
    int m_nFocusCtrlId = 0;
    int m_bHiddenForPrint = 0;   // closed for printing; shown again afterwards
    int m_bFirstShow = 1;        // the next opening puts the focus into the comment text
    CString m_strComments;       // lines end with CR LF
};
