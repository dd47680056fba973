// The welcome panel shown at start-up (closing itself after a few seconds)
// and, from Help > About, until the user presses OK. It paints its own
// content, scaled to 80 % of the screen.
#pragma once

#include "framework/Framework.h"

// Where the panel goes on a screen: 80 % of it at most, keeping the
// panel's proportions, placed a tenth of the screen in from the top left.
struct CPanelFit {
    double dScale;
    int x;
    int y;
    int cx;
    int cy;
};
CPanelFit FitPanelToScreen(int nPanelWidth, int nPanelHeight, int nScreenWidth, int nScreenHeight);

class CWelcomePanel : public CDialog {
public:
    enum { IDD = IDD_WELCOME_PANEL };

    explicit CWelcomePanel(CWnd* pParent = nullptr);
    ~CWelcomePanel() override;

    // The product version of the program's version resource, "a.b.c.d";
    // empty when the program has none.
    static CString GetVersionText();

    int m_bAbout = 0;
    CString m_strVersion;
    double m_dScale = 1.0;
    UINT_PTR m_nTimerId = 0;
    int m_nSeconds = 0;
    int m_nCloseAfter = 5;
    double m_dScaleX = 1.0;
    double m_dScaleY = 1.0;
    CBrush m_brBack;
    COLORREF m_crBack = RGB(0, 0, 0);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    void OnTimer(UINT_PTR nIDEvent);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnRButtonDown(UINT nFlags, CPoint point);
    void OnSize(UINT nType, int cx, int cy);
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct);
    void OnPaint();

public:
    // One text of the panel, placed on the 580 x 380 design canvas.
    struct TextItem;

private:
    void DrawPanelFrame(CDC* pDC, const CRect& rcClient);
    void DrawPanelTexts(CDC* pDC, const CRect& rcClient);
    void DrawScaledTextItem(CDC* pDC, const CRect& rcClient, const TextItem& item);
    void DrawTextItem(CDC* pDC, int x, int y, int nHeight, const TextItem& item, const CString& strText);
    void DrawScaledPicture(CDC* pDC, const CRect& rcClient, UINT nIDBitmap, int x, int y, int cx, int cy);

    DECLARE_MESSAGE_MAP()
};
