#include "app/DrawButton.h"

IMPLEMENT_DYNAMIC(CDrawButton, CObject)

void CDrawButton::Draw(CWnd* pButton, LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    CString strText;
    if (pButton != nullptr)
        pButton->GetWindowText(strText);
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
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(crText);
    CRect rcText = rcFace;
    if (strText.Find(L'\n') >= 0)
        dc.DrawText(strText, &rcText, DT_CENTER | DT_WORDBREAK | DT_NOPREFIX);
    else
        dc.DrawText(strText, &rcText, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);

    if (bFocused) {
        dc.SelectStockObject(NULL_BRUSH);
        CRect rcFocus = rcFace;
        rcFocus.DeflateRect(1, 1);
        dc.Rectangle(&rcFocus);
    }

    dc.SelectObject(pOldBrush);
    dc.SelectObject(pOldPen);
    dc.Detach();
}
