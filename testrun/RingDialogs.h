// The two questions about the fan's flow rings: the ring change (also used,
// with a warning text above its buttons, to offer customising the target
// pressures) and the ring installed before a test or cruise.
#pragma once

#include "framework/Dialog.h"

class CSimbrel1View;

class CChangeRingDialog : public CDialog {
public:
    enum { IDD = 166 };

    explicit CChangeRingDialog(CWnd* pParent = nullptr);

    CString m_strFirstButton;
    CString m_strSecondButton;
    int m_nHelpTopic = 0;
    CSimbrel1View* m_pView = nullptr;
    int m_bFiveTimesBaseline = 0;
    int m_bBelow10Pa = 0;
    int m_nSuggestedMinimumTarget = 0;   // Pa

    int IsTargetCheckMode() const { return m_bFiveTimesBaseline || m_bBelow10Pa; }
    // The target-check mode's warning text and caption for a standard
    // (3 ISO 9972).
    static CString GetTargetCheckText(int bFiveTimesBaseline, int nStandard, int nSuggested);
    static UINT GetTargetCheckCaptionId(int bFiveTimesBaseline, int nStandard);

protected:
    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    void OnFirstButton();
    void OnSecondButton();
    void OnHelpButton();
    void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct);
    void MoveItemDown(int nID, int nPixels, int nTaller);
    int FitWarning(int nTaller);

    int m_nFocusButtonId = 0;

    DECLARE_MESSAGE_MAP()
};

class CRingTypeDialog : public CDialog {
public:
    enum { IDD = 139 };
    static constexpr int kResultTerminate = 6;

    explicit CRingTypeDialog(CWnd* pParent = nullptr);

    // The five ring buttons of a fan: their captions, which are shown and
    // which enabled.
    struct CRingButtons {
        wchar_t chLabel[5] = {};
        int bShown[5] = {};
        int bEnabled[5] = {};
    };
    static CRingButtons GetRingButtons(wchar_t chFanCode);

    int m_nInstalledRing = 0;
    wchar_t m_chFanCode = L'3';
    CSimbrel1View* m_pView = nullptr;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    void OnTerminate();
    void OnHelpButton();
    void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct);

    int m_nFocusButtonId = 0;

    DECLARE_MESSAGE_MAP()
};
