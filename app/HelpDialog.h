// The help panel: one topic of the help text file "QEhelp.txt" of the
// program folder, title as caption and text in a read-only edit, scaled
// to the size of the view. The view's ShowContextHelp fills and runs it.
#pragma once

#include <string>

#include "framework/Framework.h"
#include "res/resource.h"

class CSimbrel1View;

// The text of a help file's bytes. UTF-16LE when the first two characters
// are "@@" or the bytes start with the UTF-16LE byte-order mark; otherwise
// 8-bit text, each byte one character. Either ends at the first NUL.
CString DecodeHelpFile(const std::string& bytes);
// Finds topic nTopic in a decoded help text: the first "@@<topic>" (so a
// longer number that starts with it and comes first matches too). The
// title is the rest of the marker line; the text runs from the next line
// up to the next "@@" and is empty when no "@@" follows. False when the
// marker is absent.
bool FindHelpTopic(const CString& strHelp, int nTopic, CString& strTitle, CString& strText);
// Reads and searches a help file; false when it cannot be read or does not
// hold the topic.
bool LoadHelpTopic(const CString& strPath, int nTopic, CString& strTitle, CString& strText);

class CHelpDialog : public CDialog {
public:
    enum { IDD = IDD_HELP_PANEL };

    // Without a parent the panel is owned by the main window.
    explicit CHelpDialog(CWnd* pParent = nullptr);

    CString m_strText;
    CSimbrel1View* m_pView = nullptr;
    CString m_strTitle;
    double m_dScale = 1.0;
    int m_nLeft = 0;
    int m_nTop = 0;

    // The panel's scale for a panel of w x h in a view of vw x vh: the
    // view's width, or less when the panel would then be taller than the
    // view. 1.0 when either size is empty.
    static double GetPanelScale(int w, int h, int vw, int vh);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

    void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct);
    void OnTextChanged();

private:
    void FitToView();
    void ScaleControl(int nID);

    CString m_strSavedText;

    DECLARE_MESSAGE_MAP()
};
