// The whole start-up and shut-down of the program in this process.
#include <gtest/gtest.h>

#include "app/Globals.h"
#include "app/MainFrm.h"
#include "app/PersistentFrame.h"
#include "app/Simbrel1App.h"
#include "app/Simbrel1View.h"
#include "tests/TestSupport.h"
#include "tests/app/MessageTestSupport.h"

class MainWindowTest : public ProgramTest {
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(PrepareApplication());
        m_app.SetRegistryKey(L"Quillmar");
        ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Quillmar\\QARSEAL Vudadar 5.1\\Window size");
    }
};

TEST_F(MainWindowTest, StartsMaximisedWithItsTitleAndMenus)
{
    OpenMainWindow();
    EXPECT_TRUE(m_pFrame->IsZoomed());
    EXPECT_EQ(m_pFrame->GetWindowText().ToAnsi(), "Test File Not Open - QARSEAL Vudadar Airtightness Test ");
    HMENU hMenu = m_pFrame->GetMenu();
    ASSERT_NE(hMenu, nullptr);
    EXPECT_EQ(::GetMenuItemCount(hMenu), 4);
    ASSERT_NE(g_pView, nullptr);
    EXPECT_EQ(m_pFrame->GetMainView(), g_pView);
    EXPECT_EQ(g_pView->m_strTestTitle.ToAnsi(), "Test File Not Open");
    EXPECT_EQ(m_answerer.dialogs.size(), 1u);

    // Closing with no gauge connected sends no fan command and stores the placement.
    CloseProgram();
    EXPECT_EQ(g_pView, nullptr);
    EXPECT_EQ(m_app.m_pMainWnd, nullptr);
    EXPECT_EQ(m_app.GetProfileInt(CPersistentFrame::kSection, L"max", -1), 1u);
    EXPECT_EQ(m_app.GetProfileInt(CPersistentFrame::kSection, L"icon", -1), 0u);
    RECT rect;
    EXPECT_TRUE(ParsePlacementRect(m_app.GetProfileString(CPersistentFrame::kSection, L"Rect"), rect));
}

TEST_F(MainWindowTest, MinimisedFromMaximisedComesBackMinimised)
{
    OpenMainWindow();
    m_pFrame->ShowWindow(SW_MINIMIZE);
    CloseProgram();
    EXPECT_EQ(m_app.GetProfileInt(CPersistentFrame::kSection, L"icon", -1), 1u);
    EXPECT_EQ(m_app.GetProfileInt(CPersistentFrame::kSection, L"max", -1), 1u);

    // The next start restores to the stored state at the first activation.
    OpenMainWindow();
    WINDOWPLACEMENT wp;
    m_pFrame->GetWindowPlacement(&wp);
    EXPECT_TRUE(m_pFrame->IsIconic());
    EXPECT_EQ(wp.flags & WPF_RESTORETOMAXIMIZED, static_cast<UINT>(WPF_RESTORETOMAXIMIZED));
    CloseProgram();
}

TEST_F(MainWindowTest, HelpAboutShowsThePanelInAboutMode)
{
    OpenMainWindow();
    m_answerer.ReplyToDialog(IDD_WELCOME_PANEL, IDOK);
    g_bLiveReadings = 1;
    m_pFrame->SendMessage(WM_COMMAND, ID_APP_ABOUT);
    EXPECT_EQ(m_answerer.dialogs.size(), 2u);
    EXPECT_EQ(g_bLiveReadings, 1);
    g_bLiveReadings = 0;
    CloseProgram();
}
