// Owner-drawn buttons: the look of each state painted into a memory DC
// (colours from the system colours of the moment), the tab-shaped buttons,
// and the owner-draw handler that moves the default button with the focus
// in a real dialog.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/DrawButton.h"
#include "tests/TestSupport.h"
#include "tests/app/MessageTestSupport.h"

namespace {

// A hidden parent with one owner-drawn button whose text Draw reads.
class CButtonWindow {
public:
    explicit CButtonWindow(const wchar_t* pszText)
    {
        m_hParent = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr, nullptr,
                                      nullptr);
        m_hButton = ::CreateWindowExW(0, L"BUTTON", pszText, WS_CHILD | BS_OWNERDRAW, 0, 0, 120, 40, m_hParent,
                                      nullptr, nullptr, nullptr);
    }
    ~CButtonWindow() { ::DestroyWindow(m_hParent); }
    CButtonWindow(const CButtonWindow&) = delete;
    CButtonWindow& operator=(const CButtonWindow&) = delete;
    CWnd* Button() const { return CWnd::FromHandle(m_hButton); }

private:
    HWND m_hParent = nullptr;
    HWND m_hButton = nullptr;
};

DRAWITEMSTRUCT MakeItem(CCanvas& canvas, const CRect& rcItem, UINT nState)
{
    DRAWITEMSTRUCT dis{};
    dis.CtlType = ODT_BUTTON;
    dis.itemAction = ODA_DRAWENTIRE;
    dis.itemState = nState;
    dis.hDC = canvas.DC().GetSafeHdc();
    dis.rcItem = rcItem;
    return dis;
}

// Paints one button of the given text and state on a canvas of the item's size.
void PaintButton(CCanvas& canvas, const wchar_t* pszText, UINT nState)
{
    CButtonWindow window(pszText);
    ::SelectObject(canvas.DC().GetSafeHdc(), ::GetStockObject(DEFAULT_GUI_FONT));
    DRAWITEMSTRUCT dis = MakeItem(canvas, CRect(0, 0, canvas.Width(), canvas.Height()), nState);
    CDrawButton button;
    button.Draw(window.Button(), &dis);
}

int LineHeight(CCanvas& canvas)
{
    TEXTMETRICW tm{};
    ::GetTextMetricsW(canvas.DC().GetSafeHdc(), &tm);
    return tm.tmHeight;
}

}  // namespace

TEST(DrawButtonTest, EnabledDisabledAndFocusedButtonsHaveTheirColours)
{
    const COLORREF crHighlight = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    const COLORREF crShadow = ::GetSysColor(COLOR_3DDKSHADOW);
    const COLORREF crCaption = ::GetSysColor(COLOR_ACTIVECAPTION);
    const COLORREF crCaptionText = ::GetSysColor(COLOR_CAPTIONTEXT);
    const COLORREF crFace = ::GetSysColor(COLOR_BTNFACE);
    const COLORREF crGrey = ::GetSysColor(COLOR_GRAYTEXT);
    // The checks below can only tell the states apart if the colours differ.
    ASSERT_NE(crHighlight, crShadow);
    ASSERT_NE(crCaption, crFace);
    ASSERT_NE(crCaption, crCaptionText);
    ASSERT_NE(crFace, crGrey);

    struct StateCase {
        const char* name;
        UINT nState;
        COLORREF crFaceExpected;
        COLORREF crInk;
        bool bFocusFrame;
    };
    const StateCase cases[] = {
        {"enabled", 0, crCaption, crCaptionText, false},
        {"focused", ODS_FOCUS, crCaption, crCaptionText, true},
        {"disabled", ODS_DISABLED, crFace, crGrey, false},
        {"disabled and focused", ODS_DISABLED | ODS_FOCUS, crFace, crGrey, true},
    };
    for (const StateCase& c : cases) {
        SCOPED_TRACE(c.name);
        CCanvas canvas(120, 40, RGB(255, 0, 255));
        PaintButton(canvas, L"OK", c.nState);
        // Bevel: light at the left and top, dark at the right and bottom, 2 pixels.
        for (int i : {0, 1}) {
            EXPECT_EQ(canvas.Pixel(i, 20), crHighlight);
            EXPECT_EQ(canvas.Pixel(60, i), crHighlight);
            EXPECT_EQ(canvas.Pixel(119 - i, 20), crShadow);
            EXPECT_EQ(canvas.Pixel(60, 39 - i), crShadow);
        }
        // The face inside the focus frame's place, and the frame itself.
        EXPECT_EQ(canvas.Pixel(8, 8), c.crFaceExpected);
        EXPECT_EQ(canvas.Pixel(111, 31), c.crFaceExpected);
        const COLORREF crFrame = c.bFocusFrame ? c.crInk : c.crFaceExpected;
        EXPECT_EQ(canvas.Pixel(3, 20), crFrame);
        EXPECT_EQ(canvas.Pixel(60, 3), crFrame);
        EXPECT_EQ(canvas.Pixel(116, 20), crFrame);
        EXPECT_EQ(canvas.Pixel(60, 36), crFrame);
        // The text is drawn in the state's text colour.
        EXPECT_GT(canvas.CountPixels(c.crInk, CRect(6, 6, 114, 34)), 0);
    }
}

TEST(DrawButtonTest, OneLineTextIsCentredAMultiLineTextIsWrappedFromTheTop)
{
    const COLORREF crCaption = ::GetSysColor(COLOR_ACTIVECAPTION);
    const CRect rcInner(6, 6, 114, 74);

    CCanvas single(120, 80, RGB(255, 0, 255));
    PaintButton(single, L"Proceed", 0);
    const CRect inkSingle = single.InkBox(crCaption, rcInner);
    ASSERT_FALSE(inkSingle.IsRectEmpty());
    // Centred by the text's advance, which may reach past its last stroke.
    const int nSingleWidth = single.DC().GetTextExtent(L"Proceed", 7).cx;
    EXPECT_NEAR(inkSingle.left, 2 + (116 - nSingleWidth) / 2, 2);
    EXPECT_NEAR((inkSingle.top + inkSingle.bottom) / 2.0, 40.0, 4.0);
    EXPECT_LT(inkSingle.Height(), LineHeight(single) + 1);

    CCanvas multi(120, 80, RGB(255, 0, 255));
    PaintButton(multi, L"Select\nDevice", 0);
    const CRect inkMulti = multi.InkBox(crCaption, CRect(2, 2, 118, 78));
    ASSERT_FALSE(inkMulti.IsRectEmpty());
    const int nLine = LineHeight(multi);
    EXPECT_LT(inkMulti.top, 2 + nLine / 2) << "a wrapped text starts at the top";
    EXPECT_GT(inkMulti.Height(), nLine) << "two lines";
    const int nWider = std::max(multi.DC().GetTextExtent(L"Select", 6).cx, multi.DC().GetTextExtent(L"Device", 6).cx);
    EXPECT_NEAR(inkMulti.left, 2 + (116 - nWider) / 2, 2);
}

TEST(DrawButtonTest, AnAmpersandPrintsAsItself)
{
    const COLORREF crCaption = ::GetSysColor(COLOR_ACTIVECAPTION);
    CCanvas withAmpersand(120, 40, RGB(255, 0, 255));
    PaintButton(withAmpersand, L"A&B", 0);
    CCanvas without(120, 40, RGB(255, 0, 255));
    PaintButton(without, L"AB", 0);
    const CSize szAmpersand = without.DC().GetTextExtent(L"&", 1);
    const int nWith = withAmpersand.InkBox(crCaption, CRect(6, 6, 114, 34)).Width();
    const int nWithout = without.InkBox(crCaption, CRect(6, 6, 114, 34)).Width();
    EXPECT_GE(nWith - nWithout, szAmpersand.cx / 2);
}

namespace {

int Lightness(COLORREF cr)
{
    return (GetRValue(cr) * 30 + GetGValue(cr) * 59 + GetBValue(cr) * 11) / 100;
}

// Sets one system colour for a scope and puts the old one back.
class CScopedSysColor {
public:
    CScopedSysColor(int nIndex, COLORREF cr) : m_nIndex(nIndex), m_crOld(::GetSysColor(nIndex))
    {
        ::SetSysColors(1, &m_nIndex, &cr);
    }
    ~CScopedSysColor() { ::SetSysColors(1, &m_nIndex, &m_crOld); }
    CScopedSysColor(const CScopedSysColor&) = delete;
    CScopedSysColor& operator=(const CScopedSysColor&) = delete;

private:
    int m_nIndex;
    COLORREF m_crOld;
};

}  // namespace

// The other tab takes the gradient inactive caption colour where the grey
// text reads on it; a scheme that makes it as dark as that text (Wine's
// does) gets a lighter tab, still unlike the selected one and the band.
TEST(DrawButtonTest, TabsShowSelectedOtherAndDisabledStates)
{
    const COLORREF crGreyText = RGB(128, 128, 128);
    const COLORREF schemes[] = {RGB(200, 215, 235), RGB(128, 128, 128)};
    for (const COLORREF crScheme : schemes) {
        SCOPED_TRACE(testing::Message() << "gradient inactive caption " << std::hex << crScheme);
        CScopedSysColor scheme(COLOR_GRADIENTINACTIVECAPTION, crScheme);
        ASSERT_EQ(::GetSysColor(COLOR_GRADIENTINACTIVECAPTION), crScheme);
        const COLORREF crBack = ::GetSysColor(COLOR_ACTIVECAPTION);
        const COLORREF crFace = ::GetSysColor(COLOR_BTNFACE);
        ASSERT_NE(crBack, crFace);
        const bool bReadable = Lightness(crScheme) >= Lightness(crGreyText) + 60;

        struct TabCase {
            const char* name;
            int bSelected;
            UINT nState;
            COLORREF crText;
        };
        const TabCase cases[] = {
            {"selected", 1, 0, RGB(0, 0, 0)},
            {"other", 0, 0, crGreyText},
            {"other, disabled", 0, ODS_DISABLED, crGreyText},
        };
        // Item (1, 1, 101, 31): the text rectangle is (3, 3, 99, 29), h = 26.
        const CRect rcItem(1, 1, 101, 31);
        for (const TabCase& c : cases) {
            SCOPED_TRACE(c.name);
            CCanvas canvas(104, 34, RGB(255, 0, 255));
            CButtonWindow window(L"Tab");
            ::SelectObject(canvas.DC().GetSafeHdc(), ::GetStockObject(DEFAULT_GUI_FONT));
            DRAWITEMSTRUCT dis = MakeItem(canvas, rcItem, c.nState);
            CDrawButton button;
            button.DrawTab(nullptr, window.Button(), c.bSelected, &dis);

            EXPECT_EQ(canvas.Pixel(0, 0), crBack) << "the background covers the item grown by 1";
            EXPECT_EQ(canvas.Pixel(4, 4), crBack) << "the cut top-left corner";
            EXPECT_EQ(canvas.Pixel(95, 5), crBack) << "right of the slanted edge";
            const COLORREF crTab = canvas.Pixel(10, 20);
            EXPECT_EQ(canvas.Pixel(80, 28), crTab);
            if (c.bSelected || (c.nState & ODS_DISABLED) != 0) {
                EXPECT_EQ(crTab, crFace);
            } else if (bReadable) {
                EXPECT_EQ(crTab, crScheme);
            } else {
                EXPECT_GE(Lightness(crTab), Lightness(crGreyText) + 60);
                EXPECT_NE(crTab, crFace);
                EXPECT_NE(crTab, crBack);
            }
            EXPECT_GT(canvas.CountPixels(c.crText, CRect(3, 3, 99, 29)), 0) << "the text reads";
        }
    }
}

namespace {

enum : WORD {
    IDC_ROW_EDIT = 1001,
    IDC_ROW_ENABLED = 1101,
    IDC_ROW_DISABLED = 1102,
    IDC_ROW_TWO_LINES = 1103,
    IDC_ROW_AMPERSAND = 1104,
    IDC_TAB_SELECTED = 1201,
    IDC_TAB_OTHER = 1202,
    IDC_TAB_DISABLED = 1203,
    IDC_ROW_NO_ACTION = 1999,
};

// A page of owner-drawn buttons as the program's dialogs have them.
class CButtonRowDialog : public CDialog {
public:
    CButtonRowDialog() : m_template(WS_POPUP | WS_CAPTION | DS_MODALFRAME, 330, 120, L"Buttons")
    {
        const DWORD V = WS_VISIBLE | WS_TABSTOP;
        m_template.AddControl(L"EDIT", IDC_ROW_EDIT, V | WS_BORDER | ES_AUTOHSCROLL, 10, 10, 100, 14);
        m_template.AddControl(L"BUTTON", IDC_ROW_ENABLED, V | BS_OWNERDRAW, 10, 34, 70, 24, L"Enabled");
        m_template.AddControl(L"BUTTON", IDC_ROW_DISABLED, V | WS_DISABLED | BS_OWNERDRAW, 90, 34, 70, 24,
                              L"Disabled");
        m_template.AddControl(L"BUTTON", IDC_ROW_TWO_LINES, V | BS_OWNERDRAW, 170, 34, 70, 24, L"Two\nLines");
        m_template.AddControl(L"BUTTON", IDC_ROW_AMPERSAND, V | BS_OWNERDRAW, 250, 34, 70, 24, L"Save & Exit");
        m_template.AddControl(L"BUTTON", IDC_TAB_SELECTED, V | BS_OWNERDRAW, 10, 74, 90, 16, L"Pressurization");
        m_template.AddControl(L"BUTTON", IDC_TAB_OTHER, V | BS_OWNERDRAW, 100, 74, 90, 16, L"Depressurization");
        m_template.AddControl(L"BUTTON", IDC_TAB_DISABLED, V | WS_DISABLED | BS_OWNERDRAW, 190, 74, 90, 16,
                              L"Disabled tab");
        m_template.AddControl(L"BUTTON", IDC_ROW_NO_ACTION, BS_DEFPUSHBUTTON, 10, 100, 50, 14, L"No Action");
    }

    BOOL CreateModeless() { return CreateIndirect(m_template.Get(), nullptr); }

    std::vector<UINT> m_commands;

protected:
    BOOL OnInitDialog() override
    {
        SetDefID(IDC_ROW_NO_ACTION);
        return CDialog::OnInitDialog();
    }
    void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct)
    {
        if (nIDCtl >= IDC_TAB_SELECTED && nIDCtl <= IDC_TAB_DISABLED) {
            CDrawButton button;
            button.DrawTab(nullptr, CWnd::FromHandle(lpDrawItemStruct->hwndItem), nIDCtl == IDC_TAB_SELECTED,
                           lpDrawItemStruct);
            return;
        }
        CDrawButton::DrawDialogButton(this, lpDrawItemStruct, m_nFocusButtonId, IDC_ROW_NO_ACTION);
    }
    void OnCommandRange(UINT nID) { m_commands.push_back(nID); }

private:
    CMemoryDialogTemplate m_template;
    int m_nFocusButtonId = 0;

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CButtonRowDialog, CDialog)
    ON_WM_DRAWITEM()
    ON_COMMAND_RANGE(IDC_ROW_ENABLED, IDC_ROW_NO_ACTION, OnCommandRange)
END_MESSAGE_MAP()

}  // namespace

TEST(DrawButtonTest, TheDefaultButtonMovesWithTheFocusAndBackToNoAction)
{
    CButtonRowDialog dialog;
    ASSERT_TRUE(dialog.CreateModeless());
    dialog.ShowWindow(SW_SHOW);
    const HWND h = dialog.m_hWnd;
    auto focus = [&](int nID) {
        dialog.GotoDlgCtrl(dialog.GetDlgItem(nID));
        PumpPending();
    };
    auto defaultId = [&] { return LOWORD(dialog.GetDefID()); };

    focus(IDC_ROW_EDIT);
    EXPECT_EQ(defaultId(), IDC_ROW_NO_ACTION);
    focus(IDC_ROW_ENABLED);
    EXPECT_EQ(defaultId(), IDC_ROW_ENABLED);
    EXPECT_EQ(::GetWindowLongW(::GetDlgItem(h, IDC_ROW_ENABLED), GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
    PressKey(VK_RETURN);
    PumpPending();
    focus(IDC_ROW_TWO_LINES);
    EXPECT_EQ(defaultId(), IDC_ROW_TWO_LINES);
    focus(IDC_ROW_EDIT);
    EXPECT_EQ(defaultId(), IDC_ROW_NO_ACTION);
    PressKey(VK_RETURN);
    PumpPending();
    EXPECT_EQ(dialog.m_commands, (std::vector<UINT>{IDC_ROW_ENABLED, IDC_ROW_NO_ACTION}));

    // The real paint: caption-coloured faces, button face for the disabled.
    focus(IDC_ROW_TWO_LINES);
    ::RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    CRect rcClient;
    ::GetClientRect(h, &rcClient);
    CCanvas shown(rcClient.Width(), rcClient.Height(), RGB(255, 0, 255));
    shown.CopyFromWindow(h, true);
    const CRect rcEnabled = ItemRect(h, IDC_ROW_ENABLED);
    const CRect rcDisabled = ItemRect(h, IDC_ROW_DISABLED);
    EXPECT_EQ(shown.Pixel(rcEnabled.left + 6, rcEnabled.top + 5), ::GetSysColor(COLOR_ACTIVECAPTION));
    EXPECT_EQ(shown.Pixel(rcDisabled.left + 6, rcDisabled.top + 5), ::GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(shown.Pixel(rcEnabled.left, rcEnabled.top + 10), ::GetSysColor(COLOR_BTNHIGHLIGHT));
    SaveScreenshot(h, L"buttons.png");
    dialog.DestroyWindow();
}
