// The deviations store: what it refuses, its page text, its file keys and
// its printed section (recorded on an enhanced-metafile DC).
#include <gtest/gtest.h>

#include <string>

#include "calc/DeviationsFromStandard.h"
#include "res/resource.h"
#include "tests/MetafileRecorder.h"
#include "tests/calc/DirectionFitFixture.h"

namespace {

const wchar_t* const kNoDepressurization = L"Depressurization test not included.";

}  // namespace

class DeviationsTest : public dirfit::DirectionFitFixture {
protected:
    void SetUp() override
    {
        DirectionFitFixture::SetUp();
        dev = m_pView->m_pDeviations;
        dev->ClearAllDeviations();
    }
    // nTests completed tests in slot d (their contents do not matter here).
    void SetCompletedTests(int d, int nTests) { s->m_CompletedTests[d] = nTests; }

    CDeviationsFromStandard* dev = nullptr;
};

TEST_F(DeviationsTest, StoreRefusesPlacesOutsideItsLists)
{
    struct Place {
        int nPosition;
        int d;
        int t;
    } refused[] = {{-1, 0, 1}, {40, 0, 1}, {3, -1, 1}, {3, 2, 1}, {3, 0, -1}, {3, 0, 32}, {3, 1, 1000}};
    for (const Place& p : refused) {
        dev->SetDeviation(p.nPosition, L"text", p.d, p.t);
        EXPECT_EQ(dev->CountDeviations(p.d, p.t), 0) << p.nPosition << " " << p.d << " " << p.t;
    }
    for (const auto& slot : dev->m_pLists)
        for (int t = 0; t < CDeviationsFromStandard::kMaxTests; ++t)
            EXPECT_TRUE(slot[t] == nullptr || (&slot == &dev->m_pLists[0] && t == 0));
    EXPECT_EQ(dev->CountDeviations(1, 5), 0);   // never created

    dev->SetDeviation(39, L"last", 1, 31);
    dev->SetDeviation(0, L"first", 1, 31);
    dev->SetDeviation(7, L"", 1, 31);
    EXPECT_EQ(dev->CountDeviations(1, 31), 2);
    dev->ClearAllDeviations();
    EXPECT_EQ(dev->m_pLists[1][31], nullptr);
    ASSERT_NE(dev->m_pLists[0][0], nullptr);
    EXPECT_EQ(dev->m_pLists[0][0]->GetSize(), 40);
    EXPECT_EQ(dev->CountDeviations(0, 0), 0);
}

TEST_F(DeviationsTest, KeysAreWrittenForEachTestsOwnListWithinTheCompletedTests)
{
    SetCompletedTests(0, 2);
    SetCompletedTests(1, 0);
    dev->SetDeviation(26, kNoDepressurization, 0, 0);
    dev->SetDeviation(0, L"n value (0.494)", 0, 1);
    dev->SetDeviation(16, L"off target", 0, 1);
    dev->SetDeviation(16, L"beyond the completed tests", 0, 2);
    dev->SetDeviation(16, L"of the other slot", 1, 0);
    EXPECT_EQ(dev->WriteDeviationKeys(0, L"P_"),
              CString(L"P_Test1_Deviation27: Depressurization test not included.\n"
                      L"P_Test2_Deviation1: n value (0.494)\n"
                      L"P_Test2_Deviation17: off target\n"));
    EXPECT_EQ(dev->WriteDeviationKeys(1, L"D_"), CString());
    // A count from a damaged file never leads past the 32 lists.
    SetCompletedTests(0, 5000);
    dev->SetDeviation(2, L"in the last list", 0, 31);
    const CString strKeys = dev->WriteDeviationKeys(0, L"P_");
    EXPECT_NE(strKeys.Find(L"P_Test32_Deviation3: in the last list\n"), -1);
    EXPECT_EQ(strKeys.Find(L"Test33"), -1);
}

TEST_F(DeviationsTest, PageTextShowsEachTestWithRecordWideTextsWrappedLinesAndNone)
{
    SetCompletedTests(0, 2);
    SetCompletedTests(1, 1);
    // 142 characters: with the 8 of the bullet the line would be 150 long.
    const CString strLong =
        L"One or more of the test data points was taken at a building pressure that differed by more than 2.5 "
        L"Pascals from the target pressure, at both.";
    ASSERT_EQ(strLong.GetLength(), 142);
    dev->SetDeviation(16, strLong, 0, 1);
    dev->FillDeviationText();

    // The cut falls at the last blank that leaves at most 110 characters.
    const CString strBullet = L"      - " + strLong;
    int nCut = 110;
    while (strBullet[nCut] != L' ')
        --nCut;
    const CString strWrapped = strBullet.Left(nCut) + L"\r\n" + L"       " + strBullet.Mid(nCut) + L"\r\n";
    EXPECT_EQ(dev->m_strText, CString(L"\r\n  Depressurization Test 1:\r\n\r\n    None\r\n"
                                      L"\r\n  Pressurization Test 1:\r\n\r\n    None\r\n"
                                      L"\r\n  Pressurization Test 2:\r\n\r\n") +
                                  strWrapped)
        << dev->m_strText.ToAnsi();
    EXPECT_EQ(strBullet.Mid(nCut).Left(1), CString(L" "));   // the second line starts with eight blanks
    EXPECT_LE(nCut, 110);

    // A text about the whole record, stored once, stands under every test
    // and counts only where it is stored.
    SetCompletedTests(1, 0);
    dev->SetDeviation(26, kNoDepressurization, 0, 0);
    dev->FillDeviationText();
    const CString strRecordWide = CString(L"      - ") + kNoDepressurization + L"\r\n";
    EXPECT_EQ(dev->m_strText, CString(L"\r\n  Pressurization Test 1:\r\n\r\n") + strRecordWide +
                                  L"\r\n  Pressurization Test 2:\r\n\r\n" + strWrapped + strRecordWide)
        << dev->m_strText.ToAnsi();
    EXPECT_EQ(dev->CountDeviations(0, 0), 1);
    EXPECT_EQ(dev->CountDeviations(0, 1), 1);
}

TEST_F(DeviationsTest, LinesAreCutOnlyAtBlanksPastTheFirstCharacter)
{
    struct LineCase {
        CString text;
        CString expected;
    } cases[] = {
        {L"short", L"      - short\r\n"},
        // Exactly 110 characters with the bullet: not cut.
        {CString(L'x', 102), L"      - " + CString(L'x', 102) + L"\r\n"},
        // One word too long for a line: cut after the dash, the word below.
        {CString(L'y', 120), L"      -\r\n        " + CString(L'y', 120) + L"\r\n"},
        // Several cuts: everything cut off goes on the one continuation line.
        {CString(L'a', 100) + L" b c " + CString(L'd', 20), L"      - " + CString(L'a', 100) + L" b\r\n" +
                                                                L"        c " + CString(L'd', 20) + L"\r\n"},
    };
    for (const LineCase& c : cases)
        EXPECT_EQ(CDeviationsFromStandard::FormatDeviationLine(c.text), c.expected) << c.text.ToAnsi();
}

TEST_F(DeviationsTest, PrintingDrawsDashesAndTextsDownwardAndRestoresTheDc)
{
    CFont font;
    ASSERT_TRUE(font.CreateFont(-14, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Arial"));
    dev->SetDeviation(26, kNoDepressurization, 0, 0);
    dev->SetDeviation(17, L"Fewer points.", 0, 1);
    dev->SetDeviation(0, L"n value.", 0, 1);

    const CRect rc(64, 100, 64 + 640, 2000);   // indent 640 / 64 = 10
    {
        CMetafileRecorder recorder;
        CDC& dc = recorder.Dc();
        dc.SetTextColor(RGB(0, 0, 255));
        const HGDIOBJ hFontBefore = ::GetCurrentObject(dc, OBJ_FONT);
        const long nLive = CGdiObject::GetLiveObjectCount();
        const CPoint pt = dev->PrintDeviations(&dc, rc, 0, 1, &font, RGB(10, 20, 30));
        EXPECT_EQ(::GetCurrentObject(dc, OBJ_FONT), hFontBefore);
        EXPECT_EQ(dc.GetTextColor(), RGB(0, 0, 255));
        EXPECT_EQ(CGdiObject::GetLiveObjectCount(), nLive);
        const CRecordedDrawing drawing = recorder.Finish();

        // Positions in order: 0, 17, then the record-wide 26 from test 1 of slot 0.
        ASSERT_EQ(drawing.texts.size(), 6u) << CString(drawing.AllText().c_str()).ToAnsi();
        const wchar_t* const order[] = {L"n value.", L"Fewer points.", kNoDepressurization};
        for (int i = 0; i < 3; ++i) {
            const CRecordedText& dash = drawing.texts[2 * i];
            const CRecordedText& text = drawing.texts[2 * i + 1];
            EXPECT_EQ(dash.text, L"-");
            EXPECT_EQ(text.text, order[i]);
            EXPECT_EQ(dash.pt.x, 64);
            EXPECT_EQ(text.pt.x, 74);
            EXPECT_EQ(dash.pt.y, text.pt.y);
            EXPECT_EQ(text.colour, RGB(10, 20, 30));
            EXPECT_EQ(text.font.lfHeight, -14);
            if (i > 0) {
                EXPECT_GT(text.pt.y, drawing.texts[2 * i - 1].pt.y);
            }
        }
        EXPECT_EQ(drawing.texts[0].pt.y, 100);
        EXPECT_EQ(pt.x, 64);
        EXPECT_GT(pt.y, drawing.texts[5].pt.y);
    }
    {
        // A test without a text of its own still shows the record-wide one;
        // with none at all, "None".
        dev->ClearAllDeviations();
        CMetafileRecorder recorder;
        const CPoint pt = dev->PrintDeviations(&recorder.Dc(), rc, 1, 3, &font, RGB(0, 0, 0));
        const CRecordedDrawing drawing = recorder.Finish();
        ASSERT_EQ(drawing.texts.size(), 2u);
        EXPECT_EQ(drawing.texts[1].text, L"None");
        EXPECT_EQ(drawing.texts[1].pt.x, 74);
        EXPECT_GT(pt.y, 100);
    }
}

TEST_F(DeviationsTest, PrintedTextsWrapInsideTheRectangle)
{
    CFont font;
    ASSERT_TRUE(font.CreateFont(-14, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Arial"));
    dev->SetDeviation(16,
                      L"One or more of the test data points was taken at a building pressure that differed by more "
                      L"than 2.5 Pascals from the target pressure.",
                      0, 0);
    CMetafileRecorder recorder;
    const CPoint pt = dev->PrintDeviations(&recorder.Dc(), CRect(0, 0, 320, 1000), 0, 0, &font, RGB(0, 0, 0));
    const CRecordedDrawing drawing = recorder.Finish();
    ASSERT_GT(drawing.texts.size(), 2u);   // the dash and several lines
    EXPECT_EQ(drawing.texts[1].pt.x, 5);
    int nLastY = -1;
    for (size_t i = 1; i < drawing.texts.size(); ++i) {
        EXPECT_GT(drawing.texts[i].pt.y, nLastY);
        nLastY = drawing.texts[i].pt.y;
    }
    EXPECT_GT(pt.y, nLastY);
}
