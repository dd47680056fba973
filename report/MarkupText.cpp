#include "report/MarkupText.h"

#include <algorithm>
#include <memory>

// Table order settles keywords that begin alike: "\norm" before "\n",
// "\super" before "\sp".
const wchar_t* const CMarkupText::MarkupKeywords[kKeywordCount] = {
    L"\\light", L"\\norm", L"\\bold", L"\\ital", L"\\xital", L"\\ul",  L"\\xul",
    L"\\reg",   L"\\sub",  L"\\super", L"\\n",   L"\\sp",    L"\\indent", L"\\col",
};

int CMarkupText::ReadTwoDigitNumber(const CString& strText)
{
    int nValue = 0;
    for (int i = 0; i < 2 && i < strText.GetLength(); ++i) {
        const wchar_t ch = strText[i];
        if (ch < L'0' || ch > L'9')
            break;
        nValue = nValue * 10 + (ch - L'0');
    }
    return nValue;
}

std::pair<int, int> CMarkupText::NextToken(CString& strRemaining, CString& strSegment, CString& strColour)
{
    if (strRemaining.IsEmpty())
        return {0, -1};

    int nNearest = -1;
    int nCode = -1;
    for (int k = 0; k < kKeywordCount; ++k) {
        const int nPos = strRemaining.Find(MarkupKeywords[k]);
        if (nPos == 0) {
            nCode = k;
            break;
        }
        if (nPos > 0 && (nNearest < 0 || nPos < nNearest))
            nNearest = nPos;
    }

    if (nCode < 0) {
        if (nNearest < 0) {
            strSegment = strRemaining;
            strRemaining.Empty();
            return {0, -1};
        }
        strSegment = strRemaining.Left(nNearest);
        strRemaining = strRemaining.Mid(nNearest);
        return {nNearest, -1};
    }

    strRemaining = strRemaining.Mid(CString(MarkupKeywords[nCode]).GetLength());
    strSegment.Empty();
    // The arguments are taken as far as the text holds them.
    auto takeArgument = [&strRemaining](int nLength) {
        const CString strArgument = strRemaining.Left(nLength);
        strRemaining = strRemaining.Mid(strArgument.GetLength());
        return strArgument;
    };
    switch (nCode) {
    case kSpace: {
        const int nBlanks = ReadTwoDigitNumber(takeArgument(2));
        strSegment = CString(L' ', nBlanks);
        return {nBlanks, kSpace};
    }
    case kIndent:
        m_nIndent = ReadTwoDigitNumber(takeArgument(2));
        return {0, kIndent};
    case kColour:
        strColour = takeArgument(3);
        return {0, kColour};
    default:
        return {-1, nCode};
    }
}

CRect CMarkupText::DrawLine(CDC* pDC, CRect rc, CFont* pBaseFont, CString strText, int nAlign)
{
    m_pBaseFont = pBaseFont;
    LOGFONTW lfBase{};
    pBaseFont->GetLogFont(&lfBase);
    const int h = lfBase.lfHeight;
    const bool bTextMode = pDC->GetMapMode() == MM_TEXT;

    CFont* pOldFont = pDC->SelectObject(pBaseFont);
    CRect rcBlank = rc;
    pDC->DrawText(L" ", 1, &rcBlank, DT_CALCRECT | DT_NOPREFIX);
    const int nBlankWidth = rcBlank.Width();

    std::unique_ptr<CFont> pCurrentFont;   // the font of the latest keyword
    CRect rcBound;
    CRect rcCurrent = rc;
    CRect rcLine = rc;

    const int nPasses = strText.IsEmpty() ? 0 : (nAlign == kAlignLeft ? 1 : 2);
    CRect rcStart = rc;
    for (int nPass = 0; nPass < nPasses; ++nPass) {
        const bool bDraw = nPass == nPasses - 1;
        LOGFONTW lfWork = lfBase;
        pDC->SelectObject(pBaseFont);
        pCurrentFont.reset();
        CString strColour = L"blk";
        CString strRemaining = strText;
        CString strSegment;
        rcCurrent = rcStart;
        rcLine = rcStart;
        CRect rcLineStart = rcStart;
        bool bMeasured = false;

        std::pair<int, int> token{1, 0};
        while (token.first > 0 || token.second >= 0) {
            // After a keyword at the very end nothing is left: the segment
            // still holds what was drawn last and must not be drawn again.
            if (strRemaining.IsEmpty())
                break;
            token = NextToken(strRemaining, strSegment, strColour);
            const auto [n, nCode] = token;
            if (nCode == -1 || nCode == kSpace || nCode == kIndent) {
                if (n < 0)
                    continue;
                if (pCurrentFont != nullptr)
                    pDC->SelectObject(pCurrentFont.get());
                pDC->DrawText(strSegment, &rcCurrent, DT_CALCRECT | DT_NOPREFIX);
                if (!bMeasured) {
                    rcLine = rcCurrent;
                    rcLineStart = rcCurrent;
                    rcBound = rcCurrent;
                    bMeasured = true;
                }
                rcBound.right = std::max(rcBound.right, rcCurrent.right);
                if (bDraw) {
                    pDC->SetTextColor(strColour == L"red" ? RGB(255, 0, 0) : RGB(0, 0, 0));
                    pDC->DrawText(strSegment, &rcCurrent, DT_NOCLIP | DT_NOPREFIX);
                    pDC->SetTextColor(RGB(0, 0, 0));
                }
                rcCurrent.OffsetRect(rcCurrent.Width(), 0);
                continue;
            }

            switch (nCode) {
            case kLight: lfWork.lfWeight = 300; break;
            case kNorm: lfWork.lfWeight = 400; break;
            case kBold: lfWork.lfWeight = 700; break;
            case kItal: lfWork.lfItalic = TRUE; break;
            case kXItal: lfWork.lfItalic = FALSE; break;
            case kUl: lfWork.lfUnderline = TRUE; break;
            case kXUl: lfWork.lfUnderline = FALSE; break;
            case kReg:
                lfWork.lfHeight = h;
                rcCurrent.top = rcLineStart.top;
                rcCurrent.bottom = rcLineStart.bottom;
                break;
            case kSub:
                lfWork.lfHeight = static_cast<int>(0.9 * h);
                // Down and to the side by the base height: y grows downward
                // in MM_TEXT only.
                if (bTextMode)
                    rcCurrent.OffsetRect(-h / 7, -h / 4);
                else
                    rcCurrent.OffsetRect(h / 7, h / 4);
                break;
            case kSuper:
                lfWork.lfHeight = (4 * h) / 5;
                if (bTextMode)
                    rcCurrent.OffsetRect(0, h / 8);
                else
                    rcCurrent.OffsetRect(0, -h / 8);
                break;
            case kNewLine:
                rcCurrent.top += static_cast<int>(0.92 * rcCurrent.Height());
                rcCurrent.bottom = rcCurrent.top + rcLine.Height();
                rcCurrent.left = rcLine.left + m_nIndent * nBlankWidth;
                rcCurrent.right = rcLine.right;
                rcLineStart = rcCurrent;
                lfWork.lfHeight = h;
                break;
            default:   // "\col": the tokenizer has taken the colour name
                break;
            }
            auto pNewFont = std::make_unique<CFont>();
            pNewFont->CreateFontIndirect(&lfWork);
            // The font being replaced may still be selected; put the new one
            // in its place before it is released.
            if (pCurrentFont != nullptr)
                pDC->SelectObject(pNewFont.get());
            pCurrentFont = std::move(pNewFont);
        }

        if (!bDraw) {
            const int nWidth = rcCurrent.left - rcLine.left;
            if (nAlign == kAlignCentre) {
                const int nCentre = (rc.left + rc.right) / 2;
                const int nHalf = nWidth / 2;
                rcStart = CRect(nCentre - nHalf, rc.top, nCentre + nHalf, rc.bottom);
            } else {
                rcStart = CRect(rc.right - nWidth, rc.top, rc.right, rc.bottom);
            }
        }
    }

    pDC->SelectObject(pOldFont != nullptr ? pOldFont : pBaseFont);
    pDC->SetTextColor(RGB(0, 0, 0));
    pCurrentFont.reset();
    rcBound.bottom = rcCurrent.bottom;
    return rcBound;
}

std::vector<CString> CMarkupText::SplitLines(const CString& strText)
{
    constexpr size_t kMaxLines = 10;
    std::vector<CString> lines;
    int nStart = 0;
    int nAt = 0;
    while ((nAt = strText.Find(L"\\n", nAt)) >= 0) {
        if (strText.Mid(nAt, 5) == L"\\norm") {
            nAt += 5;
            continue;
        }
        const CString strPiece = strText.Mid(nStart, nAt - nStart);
        if (!strPiece.IsEmpty()) {
            lines.push_back(strPiece);
            if (lines.size() == kMaxLines)
                return lines;
        }
        nAt += 2;
        nStart = nAt;
    }
    lines.push_back(strText.Mid(nStart));
    return lines;
}

void CMarkupText::DrawMultiLine(CDC* pDC, CRect rc, CFont* pFont, const CString& strText, int nAlign)
{
    for (const CString& strLine : SplitLines(strText)) {
        const CRect rcBound = DrawLine(pDC, rc, pFont, strLine, nAlign);
        // The bound's height carries the sign of the y axis, so the lines run
        // down the page in MM_TEXT and in MM_TWIPS alike.
        rc.OffsetRect(0, rcBound.Height());
    }
}
