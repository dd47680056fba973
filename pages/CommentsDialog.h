// CCommentsDialog: the test's comment text and the modeless page that edits it.
#pragma once

#include "app/PageDialog.h"

class CSimbrel1View;

class CCommentsDialog : public CPageDialog {
public:
    enum { IDD = 134 };

    explicit CCommentsDialog(CSimbrel1View* pView);
    ~CCommentsDialog() override;

    void ClearData();
    // The "COMMENTS" section of the files.
    CString WriteToFile() const;
    void ReadFromFile();

    // Takes the edited comment text into m_strComments.
    void UpdateCommentText();

    int m_bFirstShow = 1;        // the next opening puts the focus into the comment text
    CString m_strComments;       // lines end with CR LF
};
