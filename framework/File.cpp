#include "framework/File.h"

#include "framework/UiAnswerer.h"

#include <algorithm>
#include <memory>
#include <string>
#include <utility>

namespace {
CFile::WriteFailureHook g_writeFailureHook;
CFile::RenameFailureHook g_renameFailureHook;

CString FullPath(const wchar_t* pszFileName)
{
    wchar_t szFull[MAX_PATH];
    wchar_t* pszPart = nullptr;
    DWORD n = ::GetFullPathNameW(pszFileName, MAX_PATH, szFull, &pszPart);
    if (n == 0 || n >= MAX_PATH)
        return CString(pszFileName);
    return CString(szFull);
}

// The texts of the standard file-error message; %1 stands for the file.
const wchar_t* MessageTemplate(int cause, CFileException::Operation operation)
{
    switch (cause) {
    case CFileException::none:
        return L"No error occurred while accessing %1.";
    case CFileException::fileNotFound:
        return L"%1 was not found.";
    case CFileException::badPath:
        return L"%1 contains an incorrect path.";
    case CFileException::tooManyOpenFiles:
        return L"%1 could not be opened because too many files are open.";
    case CFileException::accessDenied:
        return L"Access to %1 was denied.";
    case CFileException::invalidFile:
        return L"An incorrect file handle was used with %1.";
    case CFileException::removeCurrentDir:
        return L"%1 could not be removed because it is the current folder.";
    case CFileException::directoryFull:
        return L"%1 could not be created because the folder is full.";
    case CFileException::badSeek:
        return L"An error occurred while moving to a position in %1.";
    case CFileException::sharingViolation:
        return L"%1 is in use by another program.";
    case CFileException::lockViolation:
        return L"A locked part of %1 could not be accessed.";
    case CFileException::diskFull:
        return L"There is not enough space on the disk to write %1.";
    case CFileException::endOfFile:
        return L"An attempt was made to read past the end of %1.";
    case CFileException::hardIO:
        switch (operation) {
        case CFileException::opRead:
            return L"A hardware error occurred while reading %1.";
        case CFileException::opWrite:
            return L"A hardware error occurred while writing to %1.";
        default:
            return L"A hardware error occurred while accessing %1.";
        }
    default:
        switch (operation) {
        case CFileException::opOpen:
            return L"An error occurred while opening %1.";
        case CFileException::opRead:
            return L"An error occurred while reading %1.";
        case CFileException::opWrite:
            return L"An error occurred while writing to %1.";
        default:
            return L"An error occurred while accessing %1.";
        }
    }
}
}  // namespace

CFileException::CFileException(int cause, LONG lOsError, const wchar_t* pszFileName, Operation operation)
    : m_cause(cause), m_lOsError(lOsError), m_strFileName(pszFileName != nullptr ? pszFileName : L""),
      m_operation(operation)
{
}

int CFileException::OsErrorToCause(LONG lOsError)
{
    switch (lOsError) {
    case NO_ERROR:
        return none;
    case ERROR_FILE_NOT_FOUND:
        return fileNotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_DIRECTORY:
        return badPath;
    case ERROR_TOO_MANY_OPEN_FILES:
        return tooManyOpenFiles;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
    case ERROR_INVALID_ACCESS:
        return accessDenied;
    case ERROR_INVALID_HANDLE:
        return invalidFile;
    case ERROR_CURRENT_DIRECTORY:
        return removeCurrentDir;
    case ERROR_CANNOT_MAKE:
        return directoryFull;
    case ERROR_SEEK:
    case ERROR_NEGATIVE_SEEK:
        return badSeek;
    case ERROR_CRC:
    case ERROR_READ_FAULT:
    case ERROR_WRITE_FAULT:
    case ERROR_GEN_FAILURE:
    case ERROR_NOT_READY:
    case ERROR_SECTOR_NOT_FOUND:
    case ERROR_IO_DEVICE:
        return hardIO;
    case ERROR_SHARING_VIOLATION:
        return sharingViolation;
    case ERROR_LOCK_VIOLATION:
        return lockViolation;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return diskFull;
    case ERROR_HANDLE_EOF:
        return endOfFile;
    default:
        return genericException;
    }
}

bool CFileException::GetErrorMessage(CString& strMessage) const
{
    std::wstring text = MessageTemplate(m_cause, m_operation);
    const std::wstring name = m_strFileName.IsEmpty() ? std::wstring(L"the file") : m_strFileName.str();
    const size_t pos = text.find(L"%1");
    text.replace(pos, 2, name);
    // "the file was not found." starts a sentence.
    if (pos == 0 && m_strFileName.IsEmpty())
        text[0] = L'T';
    strMessage = CString(text);
    return true;
}

bool CFileException::GetErrorMessage(wchar_t* pszError, UINT nMaxError, UINT* pnHelpContext) const
{
    if (pnHelpContext != nullptr)
        *pnHelpContext = 0;
    if (pszError == nullptr || nMaxError == 0)
        return false;
    CString strMessage;
    GetErrorMessage(strMessage);
    wcsncpy(pszError, strMessage.GetString(), nMaxError - 1);
    pszError[nMaxError - 1] = L'\0';
    return true;
}

int CFileException::ReportError(UINT nType) const
{
    CString strMessage;
    GetErrorMessage(strMessage);
    return AfxMessageBox(strMessage.GetString(), nType);
}

CFile::~CFile()
{
    Abort();
}

bool CFile::Open(const wchar_t* pszFileName, UINT nOpenFlags, CFileException* pError)
{
    Abort();
    if (pszFileName == nullptr || *pszFileName == L'\0') {
        if (pError != nullptr)
            *pError = CFileException(CFileException::badPath, ERROR_INVALID_NAME, L"", CFileException::opOpen);
        return false;
    }

    DWORD dwAccess = GENERIC_READ;
    switch (nOpenFlags & 3) {
    case modeWrite:
        dwAccess = GENERIC_WRITE;
        break;
    case modeReadWrite:
        dwAccess = GENERIC_READ | GENERIC_WRITE;
        break;
    }
    DWORD dwShare = 0;
    switch (nOpenFlags & 0x70) {
    case shareDenyWrite:
        dwShare = FILE_SHARE_READ;
        break;
    case shareDenyRead:
        dwShare = FILE_SHARE_WRITE;
        break;
    case shareDenyNone:
        dwShare = FILE_SHARE_READ | FILE_SHARE_WRITE;
        break;
    }
    DWORD dwCreation = OPEN_EXISTING;
    if (nOpenFlags & modeCreate)
        dwCreation = (nOpenFlags & modeNoTruncate) ? OPEN_ALWAYS : CREATE_ALWAYS;
    SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, (nOpenFlags & modeNoInherit) ? FALSE : TRUE};

    const CString strPath = FullPath(pszFileName);
    HANDLE hFile = ::CreateFileW(pszFileName, dwAccess, dwShare, &sa, dwCreation, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE) {
        const LONG lError = static_cast<LONG>(::GetLastError());
        if (pError != nullptr)
            *pError = CFileException(CFileException::OsErrorToCause(lError), lError, strPath.GetString(),
                                     CFileException::opOpen);
        return false;
    }
    m_hFile = hFile;
    m_strFilePath = strPath;
    m_nBytesWritten = 0;
    return true;
}

void CFile::ThrowLastError(CFileException::Operation operation) const
{
    const LONG lError = static_cast<LONG>(::GetLastError());
    throw CFileException(CFileException::OsErrorToCause(lError), lError, m_strFilePath.GetString(), operation);
}

UINT CFile::Read(void* pBuffer, UINT nCount)
{
    if (nCount == 0)
        return 0;
    DWORD dwRead = 0;
    if (!::ReadFile(m_hFile, pBuffer, nCount, &dwRead, nullptr))
        ThrowLastError(CFileException::opRead);
    return dwRead;
}

void CFile::Write(const void* pBuffer, UINT nCount)
{
    if (nCount == 0)
        return;
    UINT nAllowed = nCount;
    if (g_writeFailureHook)
        nAllowed = std::min(nCount, g_writeFailureHook(*this, m_nBytesWritten, nCount));
    DWORD dwWritten = 0;
    if (nAllowed > 0 && !::WriteFile(m_hFile, pBuffer, nAllowed, &dwWritten, nullptr))
        ThrowLastError(CFileException::opWrite);
    m_nBytesWritten += dwWritten;
    // WriteFile reports a full disk as a short write, not as an error.
    if (dwWritten < nCount)
        throw CFileException(CFileException::diskFull, ERROR_DISK_FULL, m_strFilePath.GetString(),
                             CFileException::opWrite);
}

ULONGLONG CFile::Seek(LONGLONG lOffset, UINT nFrom)
{
    LARGE_INTEGER liMove;
    liMove.QuadPart = lOffset;
    LARGE_INTEGER liNew{};
    if (!::SetFilePointerEx(m_hFile, liMove, &liNew, nFrom))
        ThrowLastError(CFileException::opAccess);
    return static_cast<ULONGLONG>(liNew.QuadPart);
}

ULONGLONG CFile::GetPosition() const
{
    LARGE_INTEGER liZero{};
    LARGE_INTEGER liPos{};
    if (!::SetFilePointerEx(m_hFile, liZero, &liPos, FILE_CURRENT))
        ThrowLastError(CFileException::opAccess);
    return static_cast<ULONGLONG>(liPos.QuadPart);
}

ULONGLONG CFile::GetLength() const
{
    LARGE_INTEGER liSize{};
    if (!::GetFileSizeEx(m_hFile, &liSize))
        ThrowLastError(CFileException::opAccess);
    return static_cast<ULONGLONG>(liSize.QuadPart);
}

// The file pointer stays where it was unless it is now past the end.
void CFile::SetLength(ULONGLONG nNewLength)
{
    const ULONGLONG nPos = GetPosition();
    Seek(static_cast<LONGLONG>(nNewLength), begin);
    if (!::SetEndOfFile(m_hFile))
        ThrowLastError(CFileException::opWrite);
    Seek(static_cast<LONGLONG>(std::min(nPos, nNewLength)), begin);
}

void CFile::Flush()
{
    if (m_hFile != INVALID_HANDLE_VALUE && !::FlushFileBuffers(m_hFile))
        ThrowLastError(CFileException::opWrite);
}

void CFile::Close()
{
    HANDLE hFile = std::exchange(m_hFile, INVALID_HANDLE_VALUE);
    if (hFile != INVALID_HANDLE_VALUE && !::CloseHandle(hFile))
        ThrowLastError(CFileException::opAccess);
    m_strFilePath.Empty();
}

void CFile::Abort()
{
    HANDLE hFile = std::exchange(m_hFile, INVALID_HANDLE_VALUE);
    if (hFile != INVALID_HANDLE_VALUE)
        ::CloseHandle(hFile);
    m_strFilePath.Empty();
}

CString CFile::GetFileName() const
{
    const int nSlash = std::max(m_strFilePath.ReverseFind(L'\\'), m_strFilePath.ReverseFind(L'/'));
    return m_strFilePath.Mid(nSlash + 1);
}

bool CFile::GetStatus(const wchar_t* pszFileName, CFileStatus& status)
{
    status = CFileStatus();
    if (pszFileName == nullptr || *pszFileName == L'\0')
        return false;
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExW(pszFileName, GetFileExInfoStandard, &data))
        return false;
    status.m_ctime = data.ftCreationTime;
    status.m_mtime = data.ftLastWriteTime;
    status.m_atime = data.ftLastAccessTime;
    status.m_size = (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    status.m_attribute = data.dwFileAttributes;
    const CString strFull = FullPath(pszFileName);
    wcsncpy(status.m_szFullName, strFull.GetString(), MAX_PATH - 1);
    return true;
}

void CFile::Remove(const wchar_t* pszFileName)
{
    if (!::DeleteFileW(pszFileName)) {
        const LONG lError = static_cast<LONG>(::GetLastError());
        throw CFileException(CFileException::OsErrorToCause(lError), lError, FullPath(pszFileName).GetString());
    }
}

void CFile::Rename(const wchar_t* pszOldName, const wchar_t* pszNewName, bool bReplaceExisting)
{
    if (g_renameFailureHook && g_renameFailureHook(pszOldName, pszNewName))
        throw CFileException(CFileException::accessDenied, ERROR_ACCESS_DENIED, FullPath(pszNewName).GetString());
    // Write-through: when the call returns, the new name is on the disk.
    const DWORD dwFlags = bReplaceExisting ? MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH : 0;
    if (!::MoveFileExW(pszOldName, pszNewName, dwFlags)) {
        const LONG lError = static_cast<LONG>(::GetLastError());
        // A missing source is the old name's fault; anything else is about
        // the place the file was to go.
        const wchar_t* pszBlamed = lError == ERROR_FILE_NOT_FOUND ? pszOldName : pszNewName;
        throw CFileException(CFileException::OsErrorToCause(lError), lError, FullPath(pszBlamed).GetString());
    }
}

CFile::WriteFailureHook CFile::SetWriteFailureHook(WriteFailureHook hook)
{
    return std::exchange(g_writeFailureHook, std::move(hook));
}

CFile::WriteFailureHook CFile::FailWritesAfter(ULONGLONG nBytes)
{
    auto pRemaining = std::make_shared<ULONGLONG>(nBytes);
    return [pRemaining](const CFile&, ULONGLONG, UINT nCount) {
        const UINT nAllowed = static_cast<UINT>(std::min<ULONGLONG>(*pRemaining, nCount));
        *pRemaining -= nAllowed;
        return nAllowed;
    };
}

CFile::RenameFailureHook CFile::SetRenameFailureHook(RenameFailureHook hook)
{
    return std::exchange(g_renameFailureHook, std::move(hook));
}
