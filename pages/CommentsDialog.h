// CCommentsDialog: the test's comment text and the modeless page that edits
// it. The report prints the lines as the comment field wraps them, so the
// page makes the field's own line breaks real whenever it is left.
#pragma once

#include <vector>

#include "app/PageDialog.h"

class CSimbrel1View;

class CCommentsDialog : public CPageDialog {
public:
    enum { IDD = 134 };

    explicit CCommentsDialog(CSimbrel1View* pView);
    ~CCommentsDialog() override;

    void ClearData() override;
    // The "COMMENTS" section of the files: "Comments: " + text + form feed
    // + CR LF when there is a text, then always "END OF COMMENTS" CR LF.
    CString WriteToFile();
    // The text after the first "Comments:" that starts a line, up to the
    // form feed (else "END OF COMMENTS"); files without it give the older
    // "Comment_1:" to "Comment_20:" keys, one line each.
    void ReadFromFile();
    // The comments block of a file text, as ReadFromFile takes it.
    static CString ParseCommentsBlock(const CString& strFileText);

    // Takes the field into m_strComments with the places where the field
    // wraps made real line breaks and trailing white space removed, and
    // shows the stored text.
    void UpdateCommentText();
    // The text with CR CR LF (a soft line break) put in at each line start
    // (character index) that follows no line break: the field's wrapping.
    static CString MarkSoftLineBreaks(const CString& strText, const std::vector<int>& lineStarts);
    // The field reports its soft line breaks (CR CR LF) when on.
    void SetSoftLineBreaks(int bOn);
    // Widens the field's wrapping width to 44 page-font heights, and
    // further for typed lines that need it, within the page.
    void FitCommentEdit();

    int m_bFirstShow = 1;        // the next opening puts the focus into the comment text
    CString m_strComments;       // lines end with CR LF
    CWnd m_editComments;         // the comment field while the page is open

    BOOL OnInitDialog() override;
    void StoreTypedValues() override { UpdateCommentText(); }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void SetTexts() override;
    bool GetControlInsets(int nID, RECT& rcInsets) const override;

    void OnNext();
    void OnPrevious();

    DECLARE_MESSAGE_MAP()
};
