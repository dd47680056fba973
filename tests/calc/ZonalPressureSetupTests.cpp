// The zonal set-up dialog: the active zones kept contiguous, the accessors'
// zone numbers, and the dialog run for real with the clicks, typing and
// keys of a user.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "calc/ZonalPressureSetupDialog.h"
#include "res/resource.h"
#include "tests/app/MessageTestSupport.h"

namespace {

std::vector<int> CheckedBoxes(HWND h)
{
    std::vector<int> active;
    for (int i = 0; i < 6; ++i)
        active.push_back(::IsDlgButtonChecked(h, IDC_ZONE_ACTIVE_P3 + i) == BST_CHECKED ? 1 : 0);
    return active;
}

}  // namespace

// The rule alone, box by box, and a user's sequence of clicks on the real
// dialog: tick P6, clear P4, clear P3.
TEST(ZonalPressureSetupTest, ActiveZonesStayContiguous)
{
    struct Case {
        std::vector<int> before;
        int nRow;
        int bTicked;
        std::vector<int> after;
    };
    const Case cases[] = {
        {{0, 0, 0, 1, 0, 0}, 3, 1, {1, 1, 1, 1, 0, 0}},
        {{1, 0, 1, 1, 0, 0}, 1, 0, {1, 0, 0, 0, 0, 0}},
        {{0, 0, 0, 0, 0, 0}, 0, 0, {0, 0, 0, 0, 0, 0}},
        {{1, 1, 1, 1, 1, 1}, 0, 0, {1, 0, 0, 0, 0, 0}},
        {{0, 0, 0, 0, 0, 1}, 5, 1, {1, 1, 1, 1, 1, 1}},
        {{1, 0, 0, 0, 0, 0}, 0, 1, {1, 0, 0, 0, 0, 0}},
        {{1, 1, 1, 1, 1, 0}, 5, 0, {1, 1, 1, 1, 1, 0}},
    };
    for (const Case& c : cases) {
        std::vector<int> active = c.before;
        CZonalPressureSetupDialog::ApplyContiguousActivation(active.data(), c.nRow, c.bTicked);
        EXPECT_EQ(active, c.after) << "row " << c.nRow << (c.bTicked ? " ticked" : " cleared");
    }

    CTestAnswerer answerer;
    CScopedAnswerer scope(answerer);
    CDialogDriver driver;
    struct Click {
        int nID;
        std::vector<int> expected;
    };
    const Click clicks[] = {
        {IDC_ZONE_ACTIVE_P6, {1, 1, 1, 1, 0, 0}},
        {IDC_ZONE_ACTIVE_P4, {1, 0, 0, 0, 0, 0}},
        {IDC_ZONE_ACTIVE_P3, {0, 0, 0, 0, 0, 0}},
    };
    std::vector<CDialogDriver::Step> steps;
    for (const Click& click : clicks) {
        steps.push_back([&click](HWND h) { ClickItem(h, click.nID); });
        steps.push_back([&click](HWND h) { EXPECT_EQ(CheckedBoxes(h), click.expected) << click.nID; });
    }
    steps.push_back([](HWND h) { ClickItem(h, IDOK); });
    answerer.RunDialog(IDD_ZONAL_PRESSURE_SETUP, driver.Run(std::move(steps)));
    CZonalPressureSetupDialog dialog;
    EXPECT_EQ(dialog.DoModal(), IDOK);
    for (int z = 3; z <= 8; ++z)
        EXPECT_EQ(dialog.GetZoneActive(z), 0) << z;
}

TEST(ZonalPressureSetupTest, AccessorsAddressZoneThreeForNumbersOutsideFourToEight)
{
    CZonalPressureSetupDialog dialog;
    for (int z = 3; z <= 8; ++z) {
        dialog.SetZoneActive(z, 1);
        dialog.SetZoneName(z, CString::FormatText(L"Zone %d", z));
        dialog.SetZoneReference(z, z % 2);
    }
    for (int z : {2, 9, -1, 0, 100}) {
        SCOPED_TRACE(z);
        dialog.SetZoneName(z, L"Attic");
        EXPECT_EQ(std::wstring(dialog.GetZoneName(3).GetString()), L"Attic");
        EXPECT_EQ(std::wstring(dialog.GetZoneName(z).GetString()), L"Attic");
        dialog.SetZoneActive(z, 0);
        EXPECT_EQ(dialog.GetZoneActive(3), 0);
        dialog.SetZoneActive(3, 1);
    }
    EXPECT_EQ(std::wstring(dialog.GetZoneName(4).GetString()), L"Zone 4");
    EXPECT_EQ(std::wstring(dialog.GetZoneName(8).GetString()), L"Zone 8");
    // Sides: 1 is inside; any other value reads as outside.
    const struct {
        int nSide;
        int nRead;
    } sides[] = {{0, 0}, {1, 1}, {7, 0}, {-1, 0}};
    for (const auto& s : sides) {
        dialog.SetZoneReference(5, s.nSide);
        EXPECT_EQ(dialog.GetZoneReference(5), s.nRead) << s.nSide;
    }
    EXPECT_EQ(dialog.GetZoneReference(4), 0);
    EXPECT_EQ(dialog.GetZoneReference(7), 1);
    // A name is a file value and stays on one line.
    const struct {
        const wchar_t* given;
        const wchar_t* kept;
    } names[] = {{L"Attic\r\nNorth", L"Attic North"}, {L"A\nB\rC", L"A B C"}, {L"Crawl\r\n", L"Crawl "}};
    for (const auto& n : names) {
        dialog.SetZoneName(6, n.given);
        EXPECT_EQ(std::wstring(dialog.GetZoneName(6).GetString()), n.kept);
    }
}

// Esc is swallowed, OK takes the controls without checking them (an empty
// name stays empty), a pasted line break does not reach the name, and the
// chosen side is read back; the Cancel button cancels.
TEST(ZonalPressureSetupTest, TheDialogRunsWithAUsersKeysAndTyping)
{
    CTestAnswerer answerer;
    CScopedAnswerer scope(answerer);
    CDialogDriver driver;
    CZonalPressureSetupDialog dialog;
    dialog.SetZoneActive(3, 1);
    dialog.SetZoneActive(4, 1);
    dialog.SetZoneName(3, L"Attic");
    dialog.SetZoneName(4, L"Garage");
    dialog.SetZoneReference(3, 0);
    dialog.SetZoneReference(4, 0);
    std::wstring picture;
    answerer.RunDialog(
        IDD_ZONAL_PRESSURE_SETUP,
        driver.Run({
            [](HWND h) {
                EXPECT_EQ(WindowText(h), L"Zonal Pressure Set-Up");
                EXPECT_EQ(ItemText(h, IDC_ZONE_REFERENCE_GROUP), L"With Reference To");
                EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(h, IDC_ZONE_AUX1_DEVICE)));
                EXPECT_EQ(ItemText(h, IDC_ZONE_NAME_P3), L"Attic");
                ::SetFocus(::GetDlgItem(h, IDC_ZONE_NAME_P3));
                PressKey(VK_ESCAPE);
            },
            [&](HWND h) {
                EXPECT_TRUE(::IsWindowVisible(h)) << "Esc closed the dialog";
                ::SetDlgItemTextW(h, IDC_ZONE_NAME_P3, L"");
                ::SendMessageW(::GetDlgItem(h, IDC_ZONE_NAME_P4), EM_SETSEL, 0, -1);
                ::SendMessageW(::GetDlgItem(h, IDC_ZONE_NAME_P4), EM_REPLACESEL, TRUE,
                               reinterpret_cast<LPARAM>(L"North\r\nGarage"));
                ClickItem(h, IDC_ZONE_INSIDE_P4);
            },
            [&](HWND h) { picture = SaveScreenshot(h, L"zonal-pressure-setup.png"); },
            [](HWND h) { ClickItem(h, IDOK); },
        }));
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(std::wstring(dialog.GetZoneName(3).GetString()), L"");
    const std::wstring name = dialog.GetZoneName(4).GetString();
    EXPECT_EQ(name.find_first_of(L"\r\n"), std::wstring::npos) << "a line break in the name";
    EXPECT_NE(name.find(L"North"), std::wstring::npos);
    EXPECT_EQ(dialog.GetZoneReference(4), 1);
    EXPECT_EQ(dialog.GetZoneReference(3), 0);
    EXPECT_TRUE(answerer.AllRepliesUsed());

    answerer.RunDialog(IDD_ZONAL_PRESSURE_SETUP, driver.Run({
                                                     [](HWND h) { ClickItem(h, IDCANCEL); },
                                                 }));
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
}
