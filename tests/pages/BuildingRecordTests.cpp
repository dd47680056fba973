// The building record: its four sections for each standard, the test-date
// rules, reading back (keys only at line starts, damaged dates kept as free
// text), and clearing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/Simbrel1View.h"
#include "app/TestSettingsDialog.h"
#include "calc/DeviationsFromStandard.h"
#include "pages/BuildingInfoDialog.h"
#include "tests/app/MessageTestSupport.h"

namespace {

CString Join(const std::vector<std::wstring>& lines)
{
    std::wstring text;
    for (const std::wstring& line : lines)
        text += line;
    return CString(text.c_str());
}

class BuildingRecordTest : public ::testing::Test {
protected:
    BuildingRecordTest() : m_view(L"building-record") {}

    CBuildingInfoDialog& B() const { return *m_view->m_pBuildingInfo; }
    void SetStandard(int nStandard) const { m_view->m_pSettings->m_nStandard = nStandard; }

    // Every text a distinct value, every flag set.
    void Fill() const
    {
        CBuildingInfoDialog& b = B();
        b.m_strTestDateUniv = L"20240131";
        b.m_strTestDateLocal = L"31.01.2024";
        b.m_strTechnician = L"Tess Tech";
        b.m_strProjectName = L"P-17";
        b.m_strCustomerName = L"Cora Client";
        b.m_strCustomerNameLine2 = L"c/o Lane";
        b.m_strCustomerAddress = L"1 Main St";
        b.m_strCustomerAddressLine2 = L"Suite 4";
        b.m_strCustomerCity = L"Springfield";
        b.m_strCustomerState = L"ON";
        b.m_strCustomerZip = L"K1A 0B1";
        b.m_strCustomerPhone = L"555-0100";
        b.m_strCustomerFax = L"555-0101";
        b.m_strCustomerEmail = L"cora@example.com";
        b.m_strCustomerWebsite = L"example.com";
        b.m_strBuilding = L"Hall";
        b.m_strBuildingAddress = L"2 Side Rd";
        b.m_strBuildingAddressLine2 = L"Rear";
        b.m_strApartmentNumber = L"7B";
        b.m_strBuildingCity = L"Shelbyville";
        b.m_strBuildingState = L"QC";
        b.m_strBuildingZip = L"H0H 0H0";
        b.m_strYearOfConstruction = L"1987";
        b.m_strVolume = L"12000";
        b.m_strFloorArea = L"1500";
        b.m_strSurfaceArea = L"4200";
        b.m_strHeight = L"8.5";
        b.m_strUncertainty = L"5";
        b.m_bCountrySpecificVolume = TRUE;
        b.m_bCountrySpecificFloorArea = TRUE;
        b.m_bCountrySpecificSurfaceArea = TRUE;
    }

    // What a record keeps across writing, clearing and reading.
    static std::vector<std::wstring> Texts(const CBuildingInfoDialog& b)
    {
        std::vector<std::wstring> texts;
        for (const CString* p : {&b.m_strTestDate, &b.m_strTestDateUniv, &b.m_strTechnician, &b.m_strProjectName,
                                 &b.m_strCustomerName, &b.m_strCustomerNameLine2, &b.m_strCustomerAddress,
                                 &b.m_strCustomerAddressLine2, &b.m_strCustomerCity, &b.m_strCustomerState,
                                 &b.m_strCustomerZip, &b.m_strCustomerPhone, &b.m_strCustomerFax,
                                 &b.m_strCustomerEmail, &b.m_strCustomerWebsite, &b.m_strBuilding,
                                 &b.m_strBuildingAddress, &b.m_strBuildingAddressLine2, &b.m_strApartmentNumber,
                                 &b.m_strBuildingCity, &b.m_strBuildingState, &b.m_strBuildingZip,
                                 &b.m_strYearOfConstruction, &b.m_strVolume, &b.m_strFloorArea,
                                 &b.m_strSurfaceArea, &b.m_strHeight, &b.m_strUncertainty})
            texts.push_back(p->str());
        return texts;
    }

    void Read(const CString& strText, int bWithDate = 1) const
    {
        m_view->m_strFileText = strText;
        B().ReadFromFile(bWithDate);
    }

    CTestView m_view;
};

// The sections as a whole, standard by standard: which lines each standard
// adds, and the order of all of them.
TEST_F(BuildingRecordTest, WritesItsSectionsPerStandard)
{
    const std::vector<std::wstring> head = {L"\nTEST INFO\n", L"Test_Date_QAR_Univ: 20240131\n",
                                            L"Test_Date_Local: 31/01/2024\n", L"Technician: Tess Tech\n"};
    const std::vector<std::wstring> customerAndBuilding = {
        L"\nCUSTOMER INFO\n",          L"Project_Name: P-17\n",         L"Name: Cora Client\n",
        L"Name_Line2: c/o Lane\n",     L"Address: 1 Main St\n",         L"Address_Line2: Suite 4\n",
        L"City: Springfield\n",        L"State: ON\n",                  L"Zip: K1A 0B1\n",
        L"Phone: 555-0100\n",          L"Fax: 555-0101\n",              L"Email: cora@example.com\n",
        L"Website: example.com\n",     L"\nBUILDING INFO\n",            L"Building: Hall\n",
        L"Building_Address: 2 Side Rd\n", L"Building_Address_Line2: Rear\n", L"Building_Apartment_Number: 7B\n",
        L"Building_City: Shelbyville\n", L"Building_State: QC\n",       L"Building_Zip: H0H 0H0\n",
        L"Year_of_Construction: 1987\n", L"\nBUILDING DIMENSIONS\n",    L"Volume: 12000\n",
        L"Floor: 1500\n",              L"Surface: 4200\n"};
    const std::wstring include = L"IncludeDeviationsInTestReport: 0\n";
    const std::vector<std::wstring> country = {L"Country_Specific_Volume: True\n",
                                               L"Country_Specific_Floor_Area: False\n",
                                               L"Country_Specific_Surface_Area: True\n"};
    const std::wstring height = L"Height: 8.5\n";
    const std::wstring uncertainty = L"Percent_Uncertainty_In_Measured_Dimensions: 5\n";

    Fill();
    B().m_bCountrySpecificFloorArea = FALSE;
    m_view->m_pDeviations->m_bIncludeInReport = 0;
    for (int nStandard = 0; nStandard <= 3; ++nStandard) {
        SCOPED_TRACE(nStandard);
        const bool bEnOrIso = nStandard == 1 || nStandard == 3;
        std::vector<std::wstring> lines = head;
        if (bEnOrIso)
            lines.push_back(include);
        lines.insert(lines.end(), customerAndBuilding.begin(), customerAndBuilding.end());
        if (nStandard == 3)
            lines.insert(lines.end(), country.begin(), country.end());
        if (nStandard != 0)
            lines.push_back(height);
        if (bEnOrIso)
            lines.push_back(uncertainty);
        SetStandard(nStandard);
        EXPECT_EQ(B().WriteToFile().str(), Join(lines).str());
    }
}

// Which date keys are written: the picker date of a new-format test (also
// when none was chosen), else the free text under "Test_Date:".
TEST_F(BuildingRecordTest, WritesTheDateByFormat)
{
    const struct {
        int bNewFormat;
        const wchar_t* pszFreeText;
        const wchar_t* pszUniv;
        const wchar_t* pszLocal;
        const wchar_t* pszExpected;
    } cases[] = {
        {1, L"", L"", L"", L"\nTEST INFO\nTest_Date_QAR_Univ: \nTest_Date_Local: \nTechnician: \n"},
        {1, L"", L"20240131", L"31.01.2024",
         L"\nTEST INFO\nTest_Date_QAR_Univ: 20240131\nTest_Date_Local: 31/01/2024\nTechnician: \n"},
        {1, L"March 3rd", L"", L"", L"\nTEST INFO\nTest_Date: March 3rd\nTechnician: \n"},
        {0, L"", L"20240131", L"31.01.2024", L"\nTEST INFO\nTest_Date: \nTechnician: \n"},
    };
    SetStandard(0);
    for (const auto& c : cases) {
        SCOPED_TRACE(CString(c.pszExpected).ToAnsi());
        B().ClearData();
        m_view->m_bNewFormatFile = c.bNewFormat;
        B().m_strTestDate = c.pszFreeText;
        B().m_strTestDateUniv = c.pszUniv;
        B().m_strTestDateLocal = c.pszLocal;
        const CString strText = B().WriteToFile();
        EXPECT_EQ(strText.Left(CString(c.pszExpected).GetLength()).str(), c.pszExpected);
    }
}

// Written, cleared and read back under each standard, the record holds
// what it held; the local date is made again by the reading computer.
TEST_F(BuildingRecordTest, RoundTripPerStandard)
{
    for (int nStandard = 0; nStandard <= 3; ++nStandard) {
        SCOPED_TRACE(nStandard);
        SetStandard(nStandard);
        B().ClearData();
        Fill();
        // Under CGSB no height is written, so none comes back.
        if (nStandard == 0)
            B().m_strHeight.Empty();
        if (nStandard != 1 && nStandard != 3)
            B().m_strUncertainty.Empty();
        const std::vector<std::wstring> before = Texts(B());
        const CString strText = B().WriteToFile();
        B().ClearData();
        Read(strText);
        EXPECT_EQ(Texts(B()), before);
        EXPECT_EQ(B().m_strTestDateLocal.str(), CSimbrel1View::FormatDateKeyLocal(L"20240131").str());
        EXPECT_FALSE(B().m_strTestDateLocal.IsEmpty());
        EXPECT_EQ(B().m_bCountrySpecificVolume, nStandard == 3 ? TRUE : FALSE);
        EXPECT_DOUBLE_EQ(B().m_dVolume[0], 12000.0);
        EXPECT_DOUBLE_EQ(B().m_dSurfaceArea[1], 4200.0);
    }
}

// A key is taken only where a line starts with it: "City:" is not found
// inside "Building_City:" nor "Name:" inside "Project_Name:", whichever
// line comes first.
TEST_F(BuildingRecordTest, KeysOnlyAtLineStarts)
{
    SetStandard(0);
    for (const wchar_t* pszText : {
             L"QARSEAL_Vudadar_Version: 5.1.1.0\nBuilding_City: Shelbyville\nCity: Springfield\n"
             L"Project_Name: P-17\nName: Cora\nBuilding_Address: 2 Side Rd\nAddress: 1 Main St\n",
             L"QARSEAL_Vudadar_Version: 5.1.1.0\nCity: Springfield\nBuilding_City: Shelbyville\n"
             L"Name: Cora\nProject_Name: P-17\nAddress: 1 Main St\nBuilding_Address: 2 Side Rd\n",
         }) {
        SCOPED_TRACE(CString(pszText).ToAnsi());
        B().ClearData();
        Read(pszText);
        EXPECT_EQ(B().m_strCustomerCity.str(), L"Springfield");
        EXPECT_EQ(B().m_strBuildingCity.str(), L"Shelbyville");
        EXPECT_EQ(B().m_strCustomerName.str(), L"Cora");
        EXPECT_EQ(B().m_strProjectName.str(), L"P-17");
        EXPECT_EQ(B().m_strCustomerAddress.str(), L"1 Main St");
        EXPECT_EQ(B().m_strBuildingAddress.str(), L"2 Side Rd");
    }
    // A key that is only part of another is missing: empty.
    B().ClearData();
    Read(L"Building_City: Shelbyville\nProject_Name: P-17\n");
    EXPECT_TRUE(B().m_strCustomerCity.IsEmpty());
    EXPECT_TRUE(B().m_strCustomerName.IsEmpty());
}

// The date keys read by the file's format and the date flag.
TEST_F(BuildingRecordTest, ReadsTheDate)
{
    const CString strBoth = L"Test_Date: March 3rd\nTest_Date_QAR_Univ: 20240131\nTest_Date_Local: 1/1/1999\n";
    SetStandard(0);

    // New format: the picker date; the local date is the reader's own.
    m_view->m_bNewFormatFile = 1;
    B().ClearData();
    Read(strBoth);
    EXPECT_TRUE(B().m_strTestDate.IsEmpty());
    EXPECT_EQ(B().m_strTestDateUniv.str(), L"20240131");
    EXPECT_EQ(B().m_strTestDateLocal.str(), CSimbrel1View::FormatDateKeyLocal(L"20240131").str());

    // A configuration file brings no date.
    B().ClearData();
    Read(strBoth, 0);
    EXPECT_TRUE(B().m_strTestDate.IsEmpty());
    EXPECT_TRUE(B().m_strTestDateUniv.IsEmpty());
    EXPECT_TRUE(B().m_strTestDateLocal.IsEmpty());

    // Saved with a free-text date: that text, written back as it came.
    B().ClearData();
    Read(L"Test_Date: March 3rd\nTest_Date_QAR_Univ: \nTest_Date_Local: \n");
    EXPECT_EQ(B().m_strTestDate.str(), L"March 3rd");
    EXPECT_TRUE(B().m_strTestDateUniv.IsEmpty());
    EXPECT_NE(B().WriteToFile().Find(L"\nTest_Date: March 3rd\n"), -1);
    EXPECT_EQ(B().WriteToFile().Find(L"Test_Date_QAR_Univ:"), -1);

    // An old file: only "Test_Date:".
    m_view->m_bNewFormatFile = 0;
    B().ClearData();
    Read(strBoth);
    EXPECT_EQ(B().m_strTestDate.str(), L"March 3rd");
    EXPECT_TRUE(B().m_strTestDateUniv.IsEmpty());
}

// A damaged date key neither stops the reading nor is lost: it becomes the
// free-text date and goes back under "Test_Date:".
TEST_F(BuildingRecordTest, DamagedDateKeyIsKeptAsFreeText)
{
    SetStandard(0);
    m_view->m_bNewFormatFile = 1;
    for (const wchar_t* pszDamaged : {L"2024", L"20241399", L"20240230", L"2024013a", L"abcdefgh", L"202401311"}) {
        SCOPED_TRACE(CString(pszDamaged).ToAnsi());
        B().ClearData();
        Read(CString(L"Test_Date_QAR_Univ: ") + pszDamaged + L"\nTest_Date_Local: x\nTechnician: Tess\n");
        EXPECT_EQ(B().m_strTestDate.str(), pszDamaged);
        EXPECT_TRUE(B().m_strTestDateUniv.IsEmpty());
        EXPECT_TRUE(B().m_strTestDateLocal.IsEmpty());
        EXPECT_EQ(B().m_strTechnician.str(), L"Tess");
        const CString strText = B().WriteToFile();
        EXPECT_NE(strText.Find(CString(L"\nTest_Date: ") + pszDamaged + L"\n"), -1);
        EXPECT_EQ(strText.Find(L"Test_Date_QAR_Univ:"), -1);
    }
}

// The country-specific flags: read only under ISO 9972, only "True" as
// written, and only beside a dimension that has a text.
TEST_F(BuildingRecordTest, ReadsCountrySpecificFlags)
{
    const CString strText = L"Volume: 100\nFloor: 50\nSurface: \nCountry_Specific_Volume: true\n"
                            L"Country_Specific_Floor_Area: True\nCountry_Specific_Surface_Area: True\n";
    SetStandard(3);
    B().ClearData();
    B().m_bCountrySpecificVolume = TRUE;
    Read(strText);
    EXPECT_EQ(B().m_bCountrySpecificVolume, FALSE);
    EXPECT_EQ(B().m_bCountrySpecificFloorArea, TRUE);
    EXPECT_EQ(B().m_bCountrySpecificSurfaceArea, FALSE);

    // Other standards leave the flags alone.
    SetStandard(1);
    B().m_bCountrySpecificVolume = TRUE;
    B().m_bCountrySpecificFloorArea = FALSE;
    Read(strText);
    EXPECT_EQ(B().m_bCountrySpecificVolume, TRUE);
    EXPECT_EQ(B().m_bCountrySpecificFloorArea, FALSE);
}

// Dimensions lose their thousands commas and are parsed into both slots;
// under CGSB the height of the file is still read.
TEST_F(BuildingRecordTest, ReadsDimensionsIntoBothSlots)
{
    SetStandard(0);
    B().ClearData();
    Read(L"Volume: 12,000\nFloor: 1,500.5\nSurface: abc\nHeight: 2,4\n");
    EXPECT_EQ(B().m_strVolume.str(), L"12000");
    EXPECT_EQ(B().m_strFloorArea.str(), L"1500.5");
    EXPECT_EQ(B().m_strHeight.str(), L"24");
    for (int d = 0; d < 2; ++d) {
        EXPECT_DOUBLE_EQ(B().m_dVolume[d], 12000.0);
        EXPECT_DOUBLE_EQ(B().m_dFloorArea[d], 1500.5);
        EXPECT_DOUBLE_EQ(B().m_dSurfaceArea[d], 0.0);
        EXPECT_DOUBLE_EQ(B().m_dHeight[d], 24.0);
    }
    EXPECT_EQ(B().WriteToFile().Find(L"Height:"), -1);
}

// Without force only the edited dimensions are parsed again.
TEST_F(BuildingRecordTest, UnforcedParseTakesOnlyEditedDimensions)
{
    B().ClearData();
    B().m_strVolume = L"1,000";
    B().m_strHeight = L"3";
    B().m_bVolumeChanged = 1;
    B().UpdateDimensionValues(0);
    EXPECT_EQ(B().m_strVolume.str(), L"1000");
    EXPECT_DOUBLE_EQ(B().m_dVolume[1], 1000.0);
    EXPECT_DOUBLE_EQ(B().m_dHeight[0], 0.0);
    EXPECT_EQ(B().m_bVolumeChanged, 0);
}

TEST_F(BuildingRecordTest, ClearDataKeepsUnitTexts)
{
    Fill();
    B().m_strTestDate = L"old";
    B().m_dHeight[1] = 3.0;
    B().m_strVolumeUnit = L"m³";
    B().m_strLengthUnit = L"m";
    B().m_bHeightChanged = 1;
    B().ClearData();
    for (const std::wstring& text : Texts(B()))
        EXPECT_TRUE(text.empty()) << CString(text.c_str()).ToAnsi();
    EXPECT_TRUE(B().m_strTestDateLocal.IsEmpty());
    EXPECT_DOUBLE_EQ(B().m_dHeight[1], 0.0);
    EXPECT_EQ(B().m_bCountrySpecificVolume, FALSE);
    EXPECT_EQ(B().m_strVolumeUnit.str(), L"m³");
    EXPECT_EQ(B().m_strLengthUnit.str(), L"m");
    EXPECT_EQ(B().m_bHeightChanged, 1);
}

}  // namespace
