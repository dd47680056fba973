// The pause dialog of a running test or cruise (a large message and three
// choices) and the dialog it opens to adjust the automatic test settings
// in place.
#pragma once

#include "framework/Dialog.h"

class CSimbrel1View;
class CTestSettingsDialog;

class CTestPauseDialog : public CDialog {
public:
    enum { IDD = 224 };
    static constexpr int kResultProceed = 11;
    static constexpr int kResultStop = 12;

    explicit CTestPauseDialog(CWnd* pParent = nullptr);

    // The message's character height for an area of nWidth x nHeight whose
    // text measured measured at a height of nHeight / 20: the largest that
    // fits both ways, never above nHeight / 7 (also for a text measured as
    // nothing, such as a string that failed to load).
    static int ChooseMessageHeight(int nWidth, int nHeight, CSize measured);
    // Draws the message centred in the area; returns the height chosen.
    int DrawMessage(CDC* pDC, const CRect& rcArea);
    // The area between the Help button's bottom and the Adjust button's top.
    CRect GetMessageArea() const;

    CString m_strMessage = L"message text";
    int m_bTest = 1;
    int m_nHelpTopic = 0;
    CWnd m_AdjustButton;
    CWnd m_ProceedButton;
    CWnd m_StopButton;
    int m_nLastMessageHeight = 0;   // the font height of the last drawn message

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    void OnAdjust();
    void OnProceed();
    void OnStop();
    void OnHelpButton();
    void OnPaint();
    void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct);

    int m_nFocusButtonId = 0;

    DECLARE_MESSAGE_MAP()
};

class CAdjustSettingsDialog : public CDialog {
public:
    enum { IDD = 225 };

    explicit CAdjustSettingsDialog(CWnd* pParent = nullptr);

    CWnd m_FanAdjustEdit;
    CWnd m_ToleranceEdit;
    CWnd m_LimitEdit;
    CWnd m_FanStartEdit;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
    void OnEditChange();
    void OnHelpButton();
    void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct);
    CSimbrel1View* View() const;
    CTestSettingsDialog* Settings() const;

    int m_nFocusButtonId = 0;

    DECLARE_MESSAGE_MAP()
};
