// The view's preferences: the program folder, the registry values and the
// two folder files of the per-user data folder.
#include "app/Simbrel1View.h"

#include <cstring>
#include <vector>

#include "app/Globals.h"
#include "calc/DeviationsFromStandard.h"
#include "calc/TestResultsDialog.h"

namespace {

const wchar_t* const kOpenSaveFolderFile = L"OpenSaveDirectoryPath.dat";
const wchar_t* const kPdfFolderFile = L"PdfSaveDirectoryPath.dat";

const wchar_t* const kPortsValue = L"PortsConfiguration";
const wchar_t* const kAutoSelectValue = L"AutoSelect";
const wchar_t* const kOffLineValue = L"OffLine";
const wchar_t* const kIncludeDeviationsValue = L"IncludeDeviationsInTestReport";
const wchar_t* const kRefPressureValue = L"AirflowAtPressure";

// "AirflowAtPressure" is read into a buffer of this many bytes; the text
// keeps at most 129 characters of it.
constexpr DWORD kRefPressureBytes = 260;
constexpr DWORD kRefPressureMaxChars = 129;

// Reads a value's raw bytes whatever its registry type: the integers are
// stored as REG_NONE. A value longer than nSize is not read; a shorter one
// fills only the first bytes of pData.
bool QueryRawValue(HKEY hKey, const wchar_t* pszName, void* pData, DWORD nSize)
{
    std::vector<BYTE> buffer(nSize);
    DWORD nRead = nSize;
    if (::RegQueryValueExW(hKey, pszName, nullptr, nullptr, buffer.data(), &nRead) != ERROR_SUCCESS ||
        nRead > nSize)
        return false;
    std::memcpy(pData, buffer.data(), nRead);
    return true;
}

void SetRawValue(HKEY hKey, const wchar_t* pszName, DWORD nType, const void* pData, DWORD nSize)
{
    ::RegSetValueExW(hKey, pszName, 0, nType, static_cast<const BYTE*>(pData), nSize);
}

// The text in a zero-filled buffer, so that a value stored without its
// terminating zero ends at the buffer's last character; an odd last byte
// is no character.
bool QueryRefPressure(HKEY hKey, CString& strText)
{
    wchar_t buffer[kRefPressureBytes / sizeof(wchar_t)] = {};
    DWORD nRead = kRefPressureBytes;
    if (::RegQueryValueExW(hKey, kRefPressureValue, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &nRead) !=
            ERROR_SUCCESS ||
        nRead > kRefPressureBytes)
        return false;
    DWORD nChars = nRead / sizeof(wchar_t);
    if (nChars > kRefPressureMaxChars)
        nChars = kRefPressureMaxChars;
    DWORD nLength = 0;
    while (nLength < nChars && buffer[nLength] != L'\0')
        ++nLength;
    strText = CString(buffer, static_cast<int>(nLength));
    return true;
}

}  // namespace

void CSimbrel1View::GetProgramFolder()
{
    // From the module's own path: the raw command line quotes the program
    // path only when it holds a blank, so it cannot be relied on.
    std::vector<wchar_t> path(MAX_PATH);
    for (;;) {
        DWORD n = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) {
            m_strProgramFolder.Empty();
            return;
        }
        if (n < path.size())
            break;
        path.resize(path.size() * 2);
    }
    CString strPath(path.data());
    m_strProgramFolder = strPath.Left(strPath.ReverseFind(L'\\') + 1);
}

void CSimbrel1View::LoadPreferences()
{
    TransferPreferences(0);
}

// The stored device switches are the user's own: an export file's forced
// off-line state is undone first.
void CSimbrel1View::SavePreferences()
{
    RestoreDevicePreferences();
    TransferPreferences(1);
}

void CSimbrel1View::TransferPreferences(int bSave)
{
    HKEY hKey = OpenPreferencesKey(GetAppTitle());
    TransferPreferenceValues(bSave, hKey);
    if (hKey != nullptr)
        ::RegCloseKey(hKey);
}

void CSimbrel1View::TransferPreferenceValues(int bSave, HKEY hKey)
{
    if (bSave) {
        if (hKey == nullptr)
            return;
        WriteFolderFile(kOpenSaveFolderFile, m_strFileFolder);
        WriteFolderFile(kPdfFolderFile, m_strPdfFolder);
        SetRawValue(hKey, kPortsValue, REG_NONE, m_nComPort, sizeof m_nComPort);
        SetRawValue(hKey, kAutoSelectValue, REG_NONE, &m_bAutoSelect, sizeof m_bAutoSelect);
        SetRawValue(hKey, kOffLineValue, REG_NONE, &m_bOffLine, sizeof m_bOffLine);
        SetRawValue(hKey, kIncludeDeviationsValue, REG_NONE, &m_pDeviations->m_bIncludeInReport,
                    sizeof m_pDeviations->m_bIncludeInReport);
        const CString& strRefPressure = m_pResults->m_strRefPressure;
        SetRawValue(hKey, kRefPressureValue, REG_SZ, strRefPressure.GetString(),
                    static_cast<DWORD>((strRefPressure.GetLength() + 1) * sizeof(wchar_t)));
        return;
    }

    if (hKey == nullptr || !QueryRawValue(hKey, kPortsValue, m_nComPort, sizeof m_nComPort)) {
        m_nComPort[0] = 1;
        m_nComPort[1] = m_nComPort[2] = m_nComPort[3] = 0;
    }
    if (hKey == nullptr || !QueryRawValue(hKey, kAutoSelectValue, &m_bAutoSelect, sizeof m_bAutoSelect))
        m_bAutoSelect = 1;
    if (hKey == nullptr || !QueryRawValue(hKey, kOffLineValue, &m_bOffLine, sizeof m_bOffLine))
        m_bOffLine = 0;
    int& bInclude = m_pDeviations->m_bIncludeInReport;
    if (hKey == nullptr || !QueryRawValue(hKey, kIncludeDeviationsValue, &bInclude, sizeof bInclude))
        bInclude = 1;
    // The text goes into labels and into saved files: anything but a plain
    // number (a line break would add a key line to a file) reads as missing.
    if (hKey == nullptr || !QueryRefPressure(hKey, m_pResults->m_strRefPressure) ||
        !CTestResultsDialog::IsPlainDecimalNumber(m_pResults->m_strRefPressure))
        m_pResults->m_strRefPressure = L"50";

    // Without the key the folder files are not read either.
    m_strFileFolder = hKey != nullptr ? ReadFolderFile(kOpenSaveFolderFile) : CString();
    m_strPdfFolder = hKey != nullptr ? ReadFolderFile(kPdfFolderFile) : CString();
    if (m_strFileFolder.IsEmpty())
        m_strFileFolder = g_strDocumentsFolder;
    if (m_strPdfFolder.IsEmpty())
        m_strPdfFolder = g_strDocumentsFolder;
}

HKEY CSimbrel1View::OpenPreferencesKey(const CString& strAppTitle)
{
    const REGSAM access = KEY_READ | KEY_WRITE;
    HKEY hKey = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, L"software", 0, access, &hKey) != ERROR_SUCCESS)
        return nullptr;
    for (const wchar_t* pszLevel : {L"Quillmar", strAppTitle.GetString(), L"Preferences"}) {
        HKEY hNext = nullptr;
        const LONG lResult = ::RegCreateKeyExW(hKey, pszLevel, 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr,
                                               &hNext, nullptr);
        ::RegCloseKey(hKey);
        if (lResult != ERROR_SUCCESS)
            return nullptr;
        hKey = hNext;
    }
    return hKey;
}

CString CSimbrel1View::ReadFolderFile(const CString& strFileName) const
{
    CString strFolder;
    if (!ReadUtf16TextFile(m_strDataFolder + strFileName, strFolder))
        strFolder.Empty();
    return strFolder;
}

// A folder that cannot be stored is not worth a message: the next start
// begins in the documents folder.
void CSimbrel1View::WriteFolderFile(const CString& strFileName, const CString& strFolder) const
{
    WriteUtf16TextFile(m_strDataFolder + strFileName, strFolder, nullptr);
}

CString CSimbrel1View::GetAppTitle()
{
    CString strTitle;
    strTitle.LoadString(IDS_APP_TITLE);
    return strTitle;
}

bool CSimbrel1View::ReadUtf16TextFile(const CString& strPath, CString& strText)
{
    // No default or folder file is anywhere near this size; a larger one is
    // read only as far as this.
    constexpr UINT kMaxBytes = 1 << 20;
    CFile file;
    if (!file.Open(strPath.GetString(), CFile::modeRead | CFile::shareDenyWrite))
        return false;
    std::vector<char> bytes;
    try {
        char chunk[4096];
        while (bytes.size() < kMaxBytes) {
            const UINT nRead = file.Read(chunk, sizeof chunk);
            if (nRead == 0)
                break;
            bytes.insert(bytes.end(), chunk, chunk + nRead);
        }
    } catch (const CFileException&) {
        return false;
    }
    bytes.resize(std::min<size_t>(bytes.size(), kMaxBytes));
    std::wstring text(bytes.size() / sizeof(wchar_t), L'\0');
    std::memcpy(text.data(), bytes.data(), text.size() * sizeof(wchar_t));
    // A zero character ends the text.
    const size_t nZero = text.find(L'\0');
    if (nZero != std::wstring::npos)
        text.resize(nZero);
    strText = CString(std::move(text));
    return true;
}

// Written beside the old file and then put in its place, so that a write
// that fails half-way (a full disk, a share that went away) keeps the file
// the user had. The target is tried for writing first: a file that cannot
// be created or replaced at all (a read-only file, a missing folder) is
// reported before anything is written.
bool CSimbrel1View::WriteUtf16TextFile(const CString& strPath, const CString& strText, CFileException* pError,
                                       bool bByteOrderMark)
{
    CFileException error;
    CFileException& result = pError != nullptr ? *pError : error;
    CFileStatus status;
    const bool bExisted = CFile::GetStatus(strPath.GetString(), status);
    // A read-only file is not to be replaced, even where the file system
    // would let this process write it.
    if (bExisted && (status.m_attribute & FILE_ATTRIBUTE_READONLY) != 0) {
        result = CFileException(CFileException::accessDenied, ERROR_ACCESS_DENIED, strPath.GetString(),
                                CFileException::opOpen);
        return false;
    }
    {
        CFile target;
        if (!target.Open(strPath.GetString(),
                         CFile::modeWrite | CFile::modeCreate | CFile::modeNoTruncate | CFile::shareDenyNone,
                         &result)) {
            result.m_strFileName = strPath;
            return false;
        }
    }
    // What the trial left behind when the save does not happen.
    auto undoTrial = [&]() {
        if (!bExisted)
            ::DeleteFileW(strPath.GetString());
    };

    const CString strTempPath = strPath + L".new";
    CFile file;
    if (!file.Open(strTempPath.GetString(), CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive, &result)) {
        undoTrial();
        result.m_strFileName = strPath;
        result.m_operation = CFileException::opOpen;
        return false;
    }
    std::wstring bytes;
    bytes.reserve(static_cast<size_t>(strText.GetLength()) + 1);
    if (bByteOrderMark)
        bytes.push_back(L'\xFEFF');
    bytes += strText.str();
    try {
        file.Write(bytes.data(), static_cast<UINT>(bytes.size() * sizeof(wchar_t)));
        file.Flush();
        file.Close();
        CFile::Rename(strTempPath.GetString(), strPath.GetString(), true);
    } catch (const CFileException& e) {
        file.Abort();
        ::DeleteFileW(strTempPath.GetString());
        undoTrial();
        result = e;
        result.m_strFileName = strPath;
        return false;
    }
    return true;
}
