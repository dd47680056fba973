// Preferences: the five registry values with their types and limits, the
// two folder files, and their loading and saving by the view's constructor
// and destructor.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/Globals.h"
#include "app/Simbrel1View.h"
#include "calc/DeviationsFromStandard.h"
#include "calc/TestResultsDialog.h"
#include "tests/TestSupport.h"

namespace {

std::string Utf16(const std::wstring& text)
{
    return std::string(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
}

struct StoredValue {
    std::wstring name;
    DWORD nType = REG_NONE;
    std::vector<BYTE> data;
};

// Every value of a key, to put it back as it was after the test.
std::vector<StoredValue> SnapshotValues(HKEY hRoot, const std::wstring& path, bool& bExists)
{
    std::vector<StoredValue> values;
    HKEY hKey = nullptr;
    bExists = ::RegOpenKeyExW(hRoot, path.c_str(), 0, KEY_READ, &hKey) == ERROR_SUCCESS;
    if (!bExists)
        return values;
    for (DWORD i = 0;; ++i) {
        wchar_t szName[256];
        DWORD nName = 256;
        BYTE data[4096];
        DWORD nData = sizeof data;
        DWORD nType = 0;
        if (::RegEnumValueW(hKey, i, szName, &nName, nullptr, &nType, data, &nData) != ERROR_SUCCESS)
            break;
        values.push_back({std::wstring(szName, nName), nType, std::vector<BYTE>(data, data + nData)});
    }
    ::RegCloseKey(hKey);
    return values;
}

StoredValue QueryValue(HKEY hKey, const wchar_t* pszName)
{
    StoredValue value;
    value.name = pszName;
    BYTE data[4096];
    DWORD nData = sizeof data;
    if (::RegQueryValueExW(hKey, pszName, nullptr, &value.nType, data, &nData) == ERROR_SUCCESS)
        value.data.assign(data, data + nData);
    else
        value.nType = static_cast<DWORD>(-1);
    return value;
}

std::vector<BYTE> Bytes(const void* p, size_t n)
{
    const BYTE* pb = static_cast<const BYTE*>(p);
    return std::vector<BYTE>(pb, pb + n);
}

class PreferencesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_savedRoot = g_strUserDataRoot;
        m_savedDocuments = g_strDocumentsFolder;
        g_strUserDataRoot = MakeTempFolder(L"prefsroot").c_str();
        g_strDocumentsFolder = L"C:\\users\\tester\\Documents";
        m_keyPath = L"software\\Quillmar\\" + std::wstring(CSimbrel1View::GetAppTitle().GetString()) + L"\\Preferences";
        m_saved = SnapshotValues(HKEY_CURRENT_USER, m_keyPath, m_bKeyExisted);
        ::RegDeleteTreeW(HKEY_CURRENT_USER, m_keyPath.c_str());
        ::RegDeleteKeyW(HKEY_CURRENT_USER, m_keyPath.c_str());
        // A key of these tests alone for reading values of every shape.
        ::RegDeleteTreeW(HKEY_CURRENT_USER, kScratchPath);
        ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, kScratchPath, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr,
                                    &m_hScratch, nullptr),
                  ERROR_SUCCESS);
    }
    void TearDown() override
    {
        ::RegCloseKey(m_hScratch);
        ::RegDeleteTreeW(HKEY_CURRENT_USER, kScratchPath);
        ::RegDeleteKeyW(HKEY_CURRENT_USER, kScratchPath);
        ::RegDeleteTreeW(HKEY_CURRENT_USER, m_keyPath.c_str());
        ::RegDeleteKeyW(HKEY_CURRENT_USER, m_keyPath.c_str());
        if (m_bKeyExisted) {
            HKEY hKey = nullptr;
            if (::RegCreateKeyExW(HKEY_CURRENT_USER, m_keyPath.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &hKey,
                                  nullptr) == ERROR_SUCCESS) {
                for (const StoredValue& value : m_saved)
                    ::RegSetValueExW(hKey, value.name.c_str(), 0, value.nType, value.data.data(),
                                     static_cast<DWORD>(value.data.size()));
                ::RegCloseKey(hKey);
            }
        }
        g_strUserDataRoot = m_savedRoot;
        g_strDocumentsFolder = m_savedDocuments;
    }
    HKEY OpenPreferences() const
    {
        HKEY hKey = nullptr;
        ::RegOpenKeyExW(HKEY_CURRENT_USER, m_keyPath.c_str(), 0, KEY_READ | KEY_WRITE, &hKey);
        return hKey;
    }
    void SetScratch(const wchar_t* pszName, DWORD nType, const std::vector<BYTE>& data)
    {
        ASSERT_EQ(::RegSetValueExW(m_hScratch, pszName, 0, nType, data.data(), static_cast<DWORD>(data.size())),
                  ERROR_SUCCESS);
    }
    static std::wstring DataFolder(const CSimbrel1View& view) { return view.m_strDataFolder.GetString(); }

    static constexpr const wchar_t* kScratchPath = L"software\\VudadarTests\\Preferences";
    std::wstring m_keyPath;
    std::vector<StoredValue> m_saved;
    bool m_bKeyExisted = false;
    HKEY m_hScratch = nullptr;
    CString m_savedRoot;
    CString m_savedDocuments;
};

}  // namespace

TEST_F(PreferencesTest, FirstStartTakesTheDefaults)
{
    CSimbrel1View* pView = new CSimbrel1View;
    EXPECT_EQ(pView->m_nComPort[0], 1);
    EXPECT_EQ(pView->m_nComPort[1], 0);
    EXPECT_EQ(pView->m_nComPort[2], 0);
    EXPECT_EQ(pView->m_nComPort[3], 0);
    EXPECT_EQ(pView->m_bAutoSelect, 1);
    EXPECT_EQ(pView->m_bOffLine, 0);
    EXPECT_EQ(pView->m_pDeviations->m_bIncludeInReport, 1);
    EXPECT_EQ(pView->m_pResults->m_strRefPressure.str(), L"50");
    EXPECT_EQ(pView->m_strFileFolder.str(), L"C:\\users\\tester\\Documents");
    EXPECT_EQ(pView->m_strPdfFolder.str(), L"C:\\users\\tester\\Documents");
    delete pView;
}

TEST_F(PreferencesTest, DestructorStoresAndConstructorLoadsBack)
{
    CSimbrel1View* pView = new CSimbrel1View;
    const int ports[4] = {3, 4, 0, 7};
    std::copy(ports, ports + 4, pView->m_nComPort);
    pView->m_bAutoSelect = 0;
    pView->m_bOffLine = 1;
    pView->m_pDeviations->m_bIncludeInReport = 0;
    pView->m_pResults->m_strRefPressure = L"75";
    pView->m_strFileFolder = L"C:\\Tests\\Häuser";
    pView->m_strPdfFolder = L"D:\\Pdf";
    const std::wstring dataFolder = DataFolder(*pView);
    delete pView;

    // The stored shapes: REG_NONE integers by their bytes, the text with its zero.
    HKEY hKey = OpenPreferences();
    ASSERT_NE(hKey, nullptr);
    StoredValue value = QueryValue(hKey, L"PortsConfiguration");
    EXPECT_EQ(value.nType, static_cast<DWORD>(REG_NONE));
    EXPECT_EQ(value.data, Bytes(ports, sizeof ports));
    const int nZero = 0;
    const int nOne = 1;
    value = QueryValue(hKey, L"AutoSelect");
    EXPECT_EQ(value.nType, static_cast<DWORD>(REG_NONE));
    EXPECT_EQ(value.data, Bytes(&nZero, 4));
    value = QueryValue(hKey, L"OffLine");
    EXPECT_EQ(value.nType, static_cast<DWORD>(REG_NONE));
    EXPECT_EQ(value.data, Bytes(&nOne, 4));
    value = QueryValue(hKey, L"IncludeDeviationsInTestReport");
    EXPECT_EQ(value.nType, static_cast<DWORD>(REG_NONE));
    EXPECT_EQ(value.data, Bytes(&nZero, 4));
    value = QueryValue(hKey, L"AirflowAtPressure");
    EXPECT_EQ(value.nType, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(value.data, Bytes(L"75", 6));
    ::RegCloseKey(hKey);
    EXPECT_EQ(ReadBytes(dataFolder + L"OpenSaveDirectoryPath.dat"), Utf16(L"C:\\Tests\\Häuser"));
    EXPECT_EQ(ReadBytes(dataFolder + L"PdfSaveDirectoryPath.dat"), Utf16(L"D:\\Pdf"));

    pView = new CSimbrel1View;
    EXPECT_EQ(pView->m_nComPort[0], 3);
    EXPECT_EQ(pView->m_nComPort[1], 4);
    EXPECT_EQ(pView->m_nComPort[2], 0);
    EXPECT_EQ(pView->m_nComPort[3], 7);
    EXPECT_EQ(pView->m_bAutoSelect, 0);
    EXPECT_EQ(pView->m_bOffLine, 1);
    EXPECT_EQ(pView->m_pDeviations->m_bIncludeInReport, 0);
    EXPECT_EQ(pView->m_pResults->m_strRefPressure.str(), L"75");
    EXPECT_EQ(pView->m_strFileFolder.str(), L"C:\\Tests\\Häuser");
    EXPECT_EQ(pView->m_strPdfFolder.str(), L"D:\\Pdf");
    delete pView;
}

TEST_F(PreferencesTest, ExportFileSwitchIsUndoneBeforeSaving)
{
    CSimbrel1View* pView = new CSimbrel1View;
    // As an opened export file leaves them.
    pView->m_bSavedAutoSelect = 1;
    pView->m_bSavedOffLine = 0;
    pView->m_bAutoSelect = 0;
    pView->m_bOffLine = 1;
    pView->m_bExportedFile = 1;
    delete pView;

    pView = new CSimbrel1View;
    EXPECT_EQ(pView->m_bAutoSelect, 1);
    EXPECT_EQ(pView->m_bOffLine, 0);

    // Without an export file the switches are the user's and stay.
    pView->m_bSavedAutoSelect = 1;
    pView->m_bAutoSelect = 0;
    pView->m_bExportedFile = 0;
    pView->RestoreDevicePreferences();
    EXPECT_EQ(pView->m_bAutoSelect, 0);
    pView->m_bExportedFile = 1;
    pView->RestoreDevicePreferences();
    EXPECT_EQ(pView->m_bAutoSelect, 1);
    EXPECT_EQ(pView->m_bExportedFile, 0);
    delete pView;
}

TEST_F(PreferencesTest, ValuesOfEveryShape)
{
    auto Text = [](const std::wstring& s) {
        const std::string bytes = Utf16(s);
        return std::vector<BYTE>(bytes.begin(), bytes.end());
    };
    auto Ints = [](std::initializer_list<int> values) { return Bytes(values.begin(), values.size() * sizeof(int)); };
    auto Ports = [](std::initializer_list<int> expected) {
        return [expected](const CSimbrel1View& view) {
            EXPECT_EQ(std::vector<int>(view.m_nComPort, view.m_nComPort + 4), std::vector<int>(expected));
        };
    };
    auto AutoSelect = [](int n) { return [n](const CSimbrel1View& view) { EXPECT_EQ(view.m_bAutoSelect, n); }; };
    auto OffLine = [](int n) { return [n](const CSimbrel1View& view) { EXPECT_EQ(view.m_bOffLine, n); }; };
    auto Include = [](int n) {
        return [n](const CSimbrel1View& view) { EXPECT_EQ(view.m_pDeviations->m_bIncludeInReport, n); };
    };
    auto Pressure = [](std::wstring expected) {
        return [expected](const CSimbrel1View& view) { EXPECT_EQ(view.m_pResults->m_strRefPressure.str(), expected); };
    };
    std::vector<BYTE> oddPressure = Text(L"45");
    oddPressure.push_back('X');
    const std::wstring s129(129, L'7');
    const std::wstring s130(130, L'8');

    struct Case {
        const char* name;
        const wchar_t* value;
        DWORD nType;
        std::vector<BYTE> data;
        std::function<void(const CSimbrel1View&)> check;
    };
    // Before each load the members hold 9, 9, 9, 9 / 7 / 7 / 7 / "x".
    const Case cases[] = {
        {"ports of 16 bytes", L"PortsConfiguration", REG_NONE, Ints({2, 5, 6, 0}), Ports({2, 5, 6, 0})},
        {"ports of another type", L"PortsConfiguration", REG_BINARY, Ints({2, 5, 6, 0}), Ports({2, 5, 6, 0})},
        {"ports longer than 16 bytes", L"PortsConfiguration", REG_NONE, Ints({2, 5, 6, 0, 9}), Ports({1, 0, 0, 0})},
        {"ports of 8 bytes fill the first two", L"PortsConfiguration", REG_NONE, Ints({4, 3}), Ports({4, 3, 9, 9})},
        {"no ports", L"Other", REG_NONE, Ints({4}), Ports({1, 0, 0, 0})},
        {"auto-select as REG_DWORD", L"AutoSelect", REG_DWORD, Ints({0}), AutoSelect(0)},
        {"auto-select of 8 bytes", L"AutoSelect", REG_NONE, Ints({0, 0}), AutoSelect(1)},
        {"no auto-select", L"Other", REG_NONE, Ints({0}), AutoSelect(1)},
        {"off-line of 2 bytes", L"OffLine", REG_NONE, {1, 0}, OffLine(1)},
        {"off-line of 8 bytes", L"OffLine", REG_NONE, Ints({1, 1}), OffLine(0)},
        {"deviations of 4 bytes", L"IncludeDeviationsInTestReport", REG_NONE, Ints({0}), Include(0)},
        {"deviations of 5 bytes", L"IncludeDeviationsInTestReport", REG_NONE, {0, 0, 0, 0, 0}, Include(1)},
        {"pressure with its zero", L"AirflowAtPressure", REG_SZ, Text(std::wstring(L"10", 3)), Pressure(L"10")},
        {"pressure of another type, no zero", L"AirflowAtPressure", REG_BINARY, Text(L"75"), Pressure(L"75")},
        {"pressure with an odd last byte", L"AirflowAtPressure", REG_SZ, oddPressure, Pressure(L"45")},
        {"pressure with an inner zero", L"AirflowAtPressure", REG_SZ, Text(std::wstring(L"4\0" L"5", 3)),
         Pressure(L"4")},
        {"pressure of 129 characters and zero", L"AirflowAtPressure", REG_SZ, Text(s129 + L'\0'), Pressure(s129)},
        {"pressure of 130 characters, no zero", L"AirflowAtPressure", REG_BINARY, Text(s130),
         Pressure(std::wstring(129, L'8'))},
        {"pressure longer than 260 bytes", L"AirflowAtPressure", REG_SZ, Text(s130 + L'\0'), Pressure(L"50")},
        {"no pressure", L"Other", REG_SZ, Text(L"75"), Pressure(L"50")},
        {"pressure that is a format", L"AirflowAtPressure", REG_SZ, Text(std::wstring(L"%s%n", 5)),
         Pressure(L"50")},
        {"pressure with a line break", L"AirflowAtPressure", REG_SZ, Text(std::wstring(L"75\nX: 1", 8)),
         Pressure(L"50")},
    };

    CSimbrel1View* pView = new CSimbrel1View;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ::RegDeleteValueW(m_hScratch, c.value);
        SetScratch(c.value, c.nType, c.data);
        for (int& nPort : pView->m_nComPort)
            nPort = 9;
        pView->m_bAutoSelect = 7;
        pView->m_bOffLine = 7;
        pView->m_pDeviations->m_bIncludeInReport = 7;
        pView->m_pResults->m_strRefPressure = L"x";
        pView->TransferPreferenceValues(0, m_hScratch);
        c.check(*pView);
        ::RegDeleteValueW(m_hScratch, c.value);
    }
    delete pView;
}

TEST_F(PreferencesTest, WithoutTheKeyNothingIsStoredAndDefaultsApply)
{
    CSimbrel1View* pView = new CSimbrel1View;
    const std::wstring dataFolder = DataFolder(*pView);
    ASSERT_TRUE(WriteBytes(dataFolder + L"OpenSaveDirectoryPath.dat", Utf16(L"C:\\Tests")));
    ::DeleteFileW((dataFolder + L"PdfSaveDirectoryPath.dat").c_str());
    pView->m_nComPort[0] = 4;
    pView->m_bAutoSelect = 0;
    pView->m_bOffLine = 1;
    pView->m_pDeviations->m_bIncludeInReport = 0;
    pView->m_pResults->m_strRefPressure = L"10";
    pView->m_strPdfFolder = L"D:\\Pdf";

    pView->TransferPreferenceValues(1, nullptr);
    EXPECT_FALSE(FileExists(dataFolder + L"PdfSaveDirectoryPath.dat"));
    EXPECT_EQ(ReadBytes(dataFolder + L"OpenSaveDirectoryPath.dat"), Utf16(L"C:\\Tests"));

    pView->TransferPreferenceValues(0, nullptr);
    EXPECT_EQ(pView->m_nComPort[0], 1);
    EXPECT_EQ(pView->m_bAutoSelect, 1);
    EXPECT_EQ(pView->m_bOffLine, 0);
    EXPECT_EQ(pView->m_pDeviations->m_bIncludeInReport, 1);
    EXPECT_EQ(pView->m_pResults->m_strRefPressure.str(), L"50");
    EXPECT_EQ(pView->m_strFileFolder.str(), L"C:\\users\\tester\\Documents");
    EXPECT_EQ(pView->m_strPdfFolder.str(), L"C:\\users\\tester\\Documents");
    delete pView;
}

TEST_F(PreferencesTest, KeyIsOpenedLevelByLevel)
{
    HKEY hKey = CSimbrel1View::OpenPreferencesKey(CSimbrel1View::GetAppTitle());
    ASSERT_NE(hKey, nullptr);
    ::RegCloseKey(hKey);
    hKey = OpenPreferences();
    EXPECT_NE(hKey, nullptr);   // created where the program looks for it
    ::RegCloseKey(hKey);

    // A level that cannot be made: a key name longer than the registry allows.
    EXPECT_EQ(CSimbrel1View::OpenPreferencesKey(CString(L'T', 300)), nullptr);
}

TEST_F(PreferencesTest, FolderFilesOfEveryLength)
{
    CSimbrel1View* pView = new CSimbrel1View;
    const std::wstring path = DataFolder(*pView) + L"OpenSaveDirectoryPath.dat";
    struct Case {
        const char* name;
        std::string bytes;
        const wchar_t* folder;      // as read
        const wchar_t* loaded;      // as the preferences take it
    };
    const Case cases[] = {
        {"whole", Utf16(L"C:\\A b"), L"C:\\A b", L"C:\\A b"},
        {"odd byte count", Utf16(L"C:\\A b") + "X", L"C:\\A b", L"C:\\A b"},
        {"one byte", "C", L"", L"C:\\users\\tester\\Documents"},
        {"empty", "", L"", L"C:\\users\\tester\\Documents"},
    };
    HKEY hKey = CSimbrel1View::OpenPreferencesKey(CSimbrel1View::GetAppTitle());
    ASSERT_NE(hKey, nullptr);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(WriteBytes(path, c.bytes));
        EXPECT_EQ(pView->ReadFolderFile(L"OpenSaveDirectoryPath.dat").str(), c.folder);
        pView->TransferPreferenceValues(0, hKey);
        EXPECT_EQ(pView->m_strFileFolder.str(), c.loaded);
    }
    ::RegCloseKey(hKey);
    ::DeleteFileW(path.c_str());
    EXPECT_EQ(pView->ReadFolderFile(L"OpenSaveDirectoryPath.dat").str(), L"");

    // A folder file that cannot be written is not worth a message.
    CTestAnswerer answerer;
    CScopedAnswerer scope(answerer);
    pView->m_strDataFolder += L"missing\\";
    pView->WriteFolderFile(L"OpenSaveDirectoryPath.dat", L"C:\\X");
    EXPECT_TRUE(answerer.messages.empty());
    delete pView;
}
