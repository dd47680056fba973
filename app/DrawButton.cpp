#include "app/DrawButton.h"

IMPLEMENT_DYNAMIC(CDrawButton, CObject)

namespace {
constexpr COLORREF kTabGreyText = RGB(128, 128, 128);
constexpr COLORREF kBlack = RGB(0, 0, 0);
// How much lighter than the grey text a tab must be for the text to read.
constexpr int kTabTextContrast = 60;

int Lightness(COLORREF cr)
{
    return (GetRValue(cr) * 30 + GetGValue(cr) * 59 + GetBValue(cr) * 11) / 100;
}

// The other tab in the gradient inactive caption colour; where a scheme
// makes that as dark as the grey text (Wine's does), it is taken three
// quarters of the way to the button face, so the tab reads as a lighter,
// unselected one.
COLORREF OtherTabColour()
{
    const COLORREF cr = ::GetSysColor(COLOR_GRADIENTINACTIVECAPTION);
    if (Lightness(cr) >= Lightness(kTabGreyText) + kTabTextContrast)
        return cr;
    const COLORREF crFace = ::GetSysColor(COLOR_BTNFACE);
    return RGB((GetRValue(cr) + 3 * GetRValue(crFace)) / 4, (GetGValue(cr) + 3 * GetGValue(crFace)) / 4,
               (GetBValue(cr) + 3 * GetBValue(crFace)) / 4);
}

CString ButtonText(CWnd* pButton)
{
    CString strText;
    if (pButton != nullptr)
        pButton->GetWindowText(strText);
    return strText;
}

// A text with a line feed is wrapped from the top; any other stands on one
// line in the middle. An ampersand prints as itself.
void DrawButtonText(CDC& dc, const CString& strText, const CRect& rcText)
{
    CRect rc = rcText;
    if (strText.Find(L'\n') >= 0)
        dc.DrawText(strText, &rc, DT_CENTER | DT_WORDBREAK | DT_NOPREFIX);
    else
        dc.DrawText(strText, &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}
}  // namespace

void CDrawButton::Draw(CWnd* pButton, LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    const CString strText = ButtonText(pButton);
    CDC dc;
    dc.Attach(lpDrawItemStruct->hDC);

    CRect rcFace(lpDrawItemStruct->rcItem);
    rcFace.DeflateRect(2, 2);
    const int L = rcFace.left;
    const int T = rcFace.top;
    const int R = rcFace.right;
    const int B = rcFace.bottom;
    const bool bEnabled = !(lpDrawItemStruct->itemState & ODS_DISABLED);
    const bool bFocused = (lpDrawItemStruct->itemState & ODS_FOCUS) != 0;

    // A 2-pixel bevel: light at the top and left, dark at the bottom and right.
    CGdiObject* pOldPen = dc.SelectStockObject(NULL_PEN);
    CBrush brLight(::GetSysColor(COLOR_BTNHIGHLIGHT));
    CBrush* pOldBrush = dc.SelectObject(&brLight);
    const POINT light[] = {{L - 2, B + 2}, {L - 2, T - 2}, {R + 2, T - 2}, {R, T}, {L, T}, {L, B}};
    dc.Polygon(light, 6);
    CBrush brDark(::GetSysColor(COLOR_3DDKSHADOW));
    dc.SelectObject(&brDark);
    const POINT dark[] = {{R, T}, {R, B}, {L, B}, {L - 2, B + 2}, {R + 2, B + 2}, {R + 2, T - 2}};
    dc.Polygon(dark, 6);

    dc.FillSolidRect(&rcFace, ::GetSysColor(bEnabled ? COLOR_ACTIVECAPTION : COLOR_BTNFACE));

    const COLORREF crText = ::GetSysColor(bEnabled ? COLOR_CAPTIONTEXT : COLOR_GRAYTEXT);
    CPen penText(PS_SOLID, 2, crText);
    dc.SelectObject(&penText);
    const int nOldBkMode = dc.SetBkMode(TRANSPARENT);
    const COLORREF crOldText = dc.SetTextColor(crText);
    DrawButtonText(dc, strText, rcFace);

    if (bFocused) {
        dc.SelectStockObject(NULL_BRUSH);
        CRect rcFocus = rcFace;
        rcFocus.DeflateRect(1, 1);
        dc.Rectangle(&rcFocus);
    }

    dc.SetTextColor(crOldText);
    dc.SetBkMode(nOldBkMode);
    dc.SelectObject(pOldBrush);
    dc.SelectObject(pOldPen);
    dc.Detach();
}

void CDrawButton::DrawTab(CDC*, CWnd* pButton, int bSelected, LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    const CString strText = ButtonText(pButton);
    CDC dc;
    dc.Attach(lpDrawItemStruct->hDC);

    const CRect rcItem(lpDrawItemStruct->rcItem);
    CRect rcText = rcItem;
    rcText.DeflateRect(2, 2);
    const int h = rcText.Height();
    const int L = rcText.left;
    const int T = rcText.top;
    const int R = rcText.right;
    const int B = rcItem.bottom;
    const bool bEnabled = !(lpDrawItemStruct->itemState & ODS_DISABLED);

    CGdiObject* pOldPen = dc.SelectStockObject(NULL_PEN);
    CBrush brBack(::GetSysColor(COLOR_ACTIVECAPTION));
    CBrush* pOldBrush = dc.SelectObject(&brBack);
    CRect rcBack = rcItem;
    rcBack.InflateRect(1, 1);
    dc.Rectangle(&rcBack);

    // The tab: a cut corner at the top left and a slanted right edge.
    CBrush brTab(bSelected || !bEnabled ? ::GetSysColor(COLOR_BTNFACE) : OtherTabColour());
    dc.SelectObject(&brTab);
    const POINT tab[] = {{L, B}, {L, T + h / 4}, {L + h / 4, T}, {R - h, T}, {R, B}, {L, B}};
    dc.Polygon(tab, 6);

    const int nOldBkMode = dc.SetBkMode(TRANSPARENT);
    const COLORREF crOldText = dc.SetTextColor(bSelected ? kBlack : kTabGreyText);
    DrawButtonText(dc, strText, rcText);

    dc.SetTextColor(crOldText);
    dc.SetBkMode(nOldBkMode);
    dc.SelectObject(pOldBrush);
    dc.SelectObject(pOldPen);
    dc.Detach();
}

bool CDrawButton::DrawDialogButton(CDialog* pDialog, LPDRAWITEMSTRUCT lpDrawItemStruct, int& nFocusButtonId,
                                   int nNoActionId)
{
    if (lpDrawItemStruct->CtlType != ODT_BUTTON)
        return false;
    CDrawButton button;
    button.Draw(CWnd::FromHandle(lpDrawItemStruct->hwndItem), lpDrawItemStruct);

    // With the hidden default button this makes Enter press the button that
    // has the focus, and do nothing while another control has it.
    const int nID = static_cast<int>(lpDrawItemStruct->CtlID);
    if (lpDrawItemStruct->itemState & ODS_FOCUS) {
        pDialog->SetDefID(static_cast<UINT>(nID));
        nFocusButtonId = nID;
    } else if (nFocusButtonId == nID) {
        pDialog->SetDefID(static_cast<UINT>(nNoActionId));
    }
    return true;
}
