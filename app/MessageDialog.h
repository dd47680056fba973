// The program's own message box: a large bold text scaled to fill the box,
// an icon, one or two owner-drawn buttons chosen by the message kind, an
// optional Help button and "Turn off this warning" check box, and an
// optional automatic close. Callers go through the view's ShowMessage.
// Created modeless, the same box is the wait window while a PDF file is
// written.
#pragma once

#include "framework/Framework.h"
#include "res/resource.h"

class CSimbrel1View;

// What a message kind shows on its two buttons (text, result code, shown)
// and whether button 1 is centred and the box closes itself.
struct CMessageKindLayout {
    UINT nIDText1;
    int nResult1;
    bool bShow1;
    UINT nIDText2;
    int nResult2;
    bool bShow2;
    bool bCentre1;
    int nAutoCloseMs;
};
// Kinds 0 to 11 of the message box; any other kind shows "OK" alone.
CMessageKindLayout GetMessageKindLayout(int nKind);

// Where the message text goes in a client area of nWidth x nHeight, the
// font height it is first measured with and the largest height it may get
// (nCapDivisor: the height cap is the client height divided by it).
struct CMessageTextLayout {
    CRect rcText;
    int nFirstHeight;
    int nMaxHeight;
};
CMessageTextLayout GetMessageTextLayout(int nWidth, int nHeight, int nCapDivisor);
// The font height that makes a text whose extent at nFirstHeight is
// szExtent fill szText, at most nMaxHeight; 0 when the extent is empty
// (an empty text, or line feeds only): then no text is drawn.
int FitMessageFontHeight(CSize szText, CSize szExtent, int nFirstHeight, int nMaxHeight);
// Paints the icon (175: the system's exclamation icon, else the program's
// icon resource) and the text, centred and as large as fits.
void PaintMessage(CDC& dc, const CRect& rcClient, int nIcon, const CString& strText, int nCapDivisor);

// What a key-down does in a message box: Esc is swallowed; in a Yes/No box
// (kind 4) the first letters of "Yes" and "No" answer, whatever the shift
// state; anything else goes on to the dialog.
enum class MessageKeyAction { PassOn, Swallow, Button1, Button2 };
MessageKeyAction GetMessageKeyAction(int nKind, UINT nVirtKey);

// The parts both message boxes share once their window exists: the key
// rules for a message of the box (true when the key was taken), and the
// kind's buttons 1 (IDOK) and 2 (IDCANCEL) with their texts, shown or
// hidden (button 1 also when bHideButton1), button 1 centred for kinds 0
// and 8.
bool TranslateMessageKey(CDialog* pDialog, const MSG* pMsg, int nKind, int nResult1, int nResult2);
void SetUpMessageButtons(CDialog* pDialog, const CMessageKindLayout& layout, bool bHideButton1);

class CMessageDialog : public CDialog, public CUiMessageSource {
public:
    enum { IDD = IDD_MESSAGE_DIALOG };

    // Without a parent the box is owned by the main window.
    explicit CMessageDialog(CWnd* pParent = nullptr);
    ~CMessageDialog() override;

    int m_bTurnOffWarning = 0;
    CSimbrel1View* m_pView = nullptr;
    int m_nAutoCloseMs = 0;
    int m_nHelpTopic = 255;
    int m_nKind = 0;
    CString m_strText;
    int m_nIcon = IDI_MESSAGE_EXCLAMATION;
    int m_bShowTurnOff = 0;
    int m_nTimerId = 0;
    int m_nResult1 = IDOK;
    int m_nResult2 = IDCANCEL;
    // The string id the caller gave, for the answerer of tests.
    int m_nIDText = 0;

    using CDialog::Create;
    // The modeless box, from template 167 with no parent, shown at once.
    virtual BOOL Create();
    // Replaces the text of the open box and repaints it at once.
    void SetMessageText(const CString& strText);

    CUiMessage GetUiMessage() const override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

    void OnPaint();
    void OnTimer(UINT_PTR nIDEvent);
    void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct);
    void OnHelpButton();
    void OnTurnOffWarning();

private:
    int m_nFocusButtonId = 0;

    DECLARE_MESSAGE_MAP()
};
