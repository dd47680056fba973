// The smaller message box that opens at a given screen position (the test
// screen asks its questions next to the clicked point with it). The same
// kinds, painting and keys as CMessageDialog, without Help button and check
// box; kinds 10 and 11 show "OK" alone.
#pragma once

#include "app/MessageDialog.h"

// The kinds of the sizable box: those of the message box for 0 to 9 (kind 6
// closes itself too, so a box without buttons never stays open for good);
// 10, 11 and any other kind show "OK" alone.
CMessageKindLayout GetSizableMessageKindLayout(int nKind);

class CSizableMessageDialog : public CDialog, public CUiMessageSource {
    DECLARE_DYNAMIC(CSizableMessageDialog)
public:
    enum { IDD = IDD_SIZABLE_MESSAGE_DIALOG };

    explicit CSizableMessageDialog(CWnd* pParent = nullptr);
    ~CSizableMessageDialog() override;

    CSimbrel1View* m_pView = nullptr;
    int m_nAutoCloseMs = 0;
    int m_nHelpTopic = 255;  // stored, not used
    int m_nKind = 0;
    CString m_strText;
    int m_nIcon = IDI_MESSAGE_EXCLAMATION;
    int m_nResult1 = IDOK;
    int m_nResult2 = IDCANCEL;
    // Screen position of the top-left corner; the size is stored, not used.
    int m_nX = 0;
    int m_nY = 0;
    int m_nWidth = 0;
    int m_nHeight = 0;
    // The string id the caller gave, for the answerer of tests.
    int m_nIDText = 0;

    CUiMessage GetUiMessage() const override;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

    void OnPaint();
    void OnTimer(UINT_PTR nIDEvent);
    void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct);

private:
    int m_nFocusButtonId = 0;

    DECLARE_MESSAGE_MAP()
};
