// Commands: the route view, document, frame, application; command ranges;
// and the enabling of menu entries (CCmdUI) when a popup menu opens.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/framework/WindowTestSupport.h"

namespace {

std::string Entry(const char* pszWho, UINT nID)
{
    return std::string(pszWho) + " " + std::to_string(nID);
}

struct MenuState {
    bool bGrayed;
    bool bChecked;
    std::string text;
};

MenuState StateOf(HMENU hMenu, UINT nID)
{
    UINT nState = ::GetMenuState(hMenu, nID, MF_BYCOMMAND);
    wchar_t text[64] = {};
    ::GetMenuStringW(hMenu, nID, text, 64, MF_BYCOMMAND);
    return {(nState & MF_GRAYED) != 0, (nState & MF_CHECKED) != 0, CString(text).ToAnsi()};
}

// Opens the popup menu for real, as a click would, and closes it again at
// once: the system sends the frame WM_INITMENUPOPUP on the way.
void CALLBACK EndMenuProc(HWND, UINT, UINT_PTR nIDEvent, DWORD)
{
    ::KillTimer(nullptr, nIDEvent);
    ::EndMenu();
}

void OpenAndCloseMenu(CWnd* pFrame, HMENU hPopup)
{
    ::SetTimer(nullptr, 0, 10, &EndMenuProc);
    ::TrackPopupMenu(hPopup, TPM_RETURNCMD, 10, 10, 0, *pFrame, nullptr);
}

using CommandTest = DocViewFixture;

}  // namespace

TEST_F(CommandTest, CommandsGoToViewDocumentFrameThenApplication)
{
    ASSERT_NE(m_pTemplate->OpenDocumentFile(nullptr), nullptr);
    CTestFrame* pFrame = Frame();

    struct Case {
        UINT nID;
        std::vector<std::string> handled;
    };
    const Case cases[] = {
        {kIdViewOnly, {Entry("view", kIdViewOnly)}},
        {kIdShared, {Entry("view", kIdShared)}},
        {kIdDocOnly, {Entry("doc", kIdDocOnly)}},
        {kIdFrameOnly, {Entry("frame", kIdFrameOnly)}},
        {kIdAppOnly, {Entry("app", kIdAppOnly)}},
        {kIdNoHandler, {}},
        {kIdRangeFirst, {Entry("frame range", kIdRangeFirst)}},
        {kIdRangeFirst + 2, {Entry("frame range", kIdRangeFirst + 2)}},
        {kIdRangeLast, {Entry("frame range", kIdRangeLast)}},
        {kIdRangeFirst - 1, {}},
        {kIdRangeLast + 1, {}},
    };
    // From a menu (code 0) and from an accelerator (code 1) alike.
    for (WORD nCode : {0, 1}) {
        for (const Case& c : cases) {
            g_trio.handled.clear();
            pFrame->SendMessage(WM_COMMAND, MAKEWPARAM(c.nID, nCode), 0);
            EXPECT_EQ(g_trio.handled, c.handled) << "command " << c.nID << " code " << nCode;
        }
    }
}

TEST_F(CommandTest, MenuEntriesAreEnabledByTheirHandlers)
{
    ASSERT_NE(m_pTemplate->OpenDocumentFile(nullptr), nullptr);
    CTestFrame* pFrame = Frame();

    HMENU hPopup = ::CreatePopupMenu();
    HMENU hSub = ::CreatePopupMenu();
    ::AppendMenuW(hSub, MF_STRING, kIdNoHandler + 100, L"Inner");
    struct Item {
        UINT nID;
        UINT nFlags;  // as the menu starts
        MenuState expected;
    };
    const Item items[] = {
        {kIdNoHandler, MF_STRING, {true, false, "No handler"}},
        {kIdViewOnly, MF_STRING | MF_GRAYED, {false, false, "View"}},
        {kIdDocOnly, MF_STRING | MF_GRAYED, {false, false, "Document"}},
        {kIdAppOnly, MF_STRING | MF_GRAYED, {false, false, "Application"}},
        {kIdRangeFirst + 1, MF_STRING | MF_GRAYED, {false, false, "Range"}},
        {kIdUpdateOnly, MF_STRING | MF_GRAYED, {false, true, "Updated text"}},
        {kIdUpdateDisables, MF_STRING, {true, false, "Disabled by its handler"}},
        {kIdUpdateRouted, MF_STRING | MF_GRAYED, {false, false, "Routed"}},
    };
    for (const Item& item : items) {
        const char* pszText = item.expected.text.c_str();
        CString strText(item.nID == kIdUpdateOnly ? "Before" : pszText);
        ::AppendMenuW(hPopup, item.nFlags, item.nID, strText.GetString());
    }
    ::AppendMenuW(hPopup, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuW(hPopup, MF_POPUP, reinterpret_cast<UINT_PTR>(hSub), L"Sub");

    OpenAndCloseMenu(pFrame, hPopup);
    for (const Item& item : items) {
        MenuState state = StateOf(hPopup, item.nID);
        EXPECT_EQ(state.bGrayed, item.expected.bGrayed) << item.expected.text;
        EXPECT_EQ(state.bChecked, item.expected.bChecked) << item.expected.text;
        EXPECT_EQ(state.text, item.expected.text);
    }
    // The view's enabling handler let the frame's decide.
    EXPECT_EQ(g_trio.handled, (std::vector<std::string>{Entry("view update", kIdUpdateRouted),
                                                         Entry("frame update", kIdUpdateRouted)}));
    EXPECT_EQ(StateOf(hPopup, kIdNoHandler + 100).bGrayed, false) << "a closed sub-menu was updated";
    EXPECT_EQ(::GetMenuItemCount(hPopup), 10) << "separator and sub-menu stay";

    // An entry added later is updated the next time the menu opens.
    ::AppendMenuW(hPopup, MF_STRING | MF_GRAYED, kIdFrameOnly, L"Added later");
    OpenAndCloseMenu(pFrame, hPopup);
    EXPECT_FALSE(StateOf(hPopup, kIdFrameOnly).bGrayed);
    ::DestroyMenu(hPopup);
}

TEST_F(CommandTest, FrameMenuEntriesWithoutHandlersAreDisabledButNotTheSystemMenu)
{
    ASSERT_NE(m_pTemplate->OpenDocumentFile(nullptr), nullptr);
    CTestFrame* pFrame = Frame();
    HMENU hFile = ::GetSubMenu(pFrame->GetMenu(), 0);
    ASSERT_NE(hFile, nullptr);
    pFrame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(hFile), MAKELPARAM(0, FALSE));
    int nCommands = 0;
    for (int i = 0; i < ::GetMenuItemCount(hFile); ++i) {
        UINT nID = ::GetMenuItemID(hFile, i);
        if (nID == 0 || nID == static_cast<UINT>(-1))
            continue;
        ++nCommands;
        EXPECT_TRUE(::GetMenuState(hFile, i, MF_BYPOSITION) & MF_GRAYED) << "command " << nID;
    }
    EXPECT_GT(nCommands, 0);

    HMENU hSystem = ::GetSystemMenu(*pFrame, FALSE);
    ASSERT_NE(hSystem, nullptr);
    pFrame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(hSystem), MAKELPARAM(0, TRUE));
    EXPECT_FALSE(::GetMenuState(hSystem, SC_CLOSE, MF_BYCOMMAND) & MF_GRAYED);
}
