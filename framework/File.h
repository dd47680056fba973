// CFile: the owner of a file HANDLE, and CFileException, what its failing
// operations throw.
//
// Open reports failure by returning false (and filling the exception object
// when given one) and shows nothing. Read, Write, Seek, SetLength, Flush,
// Close and the static Remove and Rename throw CFileException by value; the
// catching code decides whether to show it with ReportError.
#pragma once

#include <windows.h>

#include <exception>
#include <functional>

#include "framework/String.h"

class CFileException : public std::exception {
public:
    enum {
        none,
        genericException,
        fileNotFound,
        badPath,
        tooManyOpenFiles,
        accessDenied,
        invalidFile,
        removeCurrentDir,
        directoryFull,
        badSeek,
        hardIO,
        sharingViolation,
        lockViolation,
        diskFull,
        endOfFile,
    };
    // What was being done when the error happened; it only picks the words
    // of the message for the causes that do not say it themselves.
    enum Operation { opAccess, opOpen, opRead, opWrite };

    int m_cause = none;
    LONG m_lOsError = -1;  // GetLastError() code, -1 when none
    CString m_strFileName;
    Operation m_operation = opAccess;

    CFileException() = default;
    CFileException(int cause, LONG lOsError = -1, const wchar_t* pszFileName = nullptr,
                   Operation operation = opAccess);

    // The cause that fits a GetLastError() code.
    static int OsErrorToCause(LONG lOsError);

    // The message a person sees, naming the file.
    bool GetErrorMessage(CString& strMessage) const;
    bool GetErrorMessage(wchar_t* pszError, UINT nMaxError, UINT* pnHelpContext = nullptr) const;
    // Shows the message through the class library's standard message box.
    int ReportError(UINT nType = MB_OK) const;

    const char* what() const noexcept override { return "file error"; }
};

struct CFileStatus {
    FILETIME m_ctime{};  // creation
    FILETIME m_mtime{};  // last write
    FILETIME m_atime{};  // last access
    ULONGLONG m_size = 0;
    DWORD m_attribute = 0;  // FILE_ATTRIBUTE_...
    wchar_t m_szFullName[MAX_PATH] = {};
};

class CFile {
public:
    enum OpenFlags : UINT {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        // Without a share flag nobody else may open the file meanwhile.
        shareExclusive = 0x0010,
        shareDenyWrite = 0x0020,
        shareDenyRead = 0x0030,
        shareDenyNone = 0x0040,
        modeNoInherit = 0x0080,
        // Creates the file, or empties an existing one unless modeNoTruncate.
        modeCreate = 0x1000,
        modeNoTruncate = 0x2000,
        typeText = 0x4000,    // no effect: files are always bytes
        typeBinary = 0x8000,  // no effect
    };
    enum SeekPosition { begin = FILE_BEGIN, current = FILE_CURRENT, end = FILE_END };

    HANDLE m_hFile = INVALID_HANDLE_VALUE;

    CFile() = default;
    // Closes without throwing; a caller that must know whether the last
    // bytes reached the disk calls Close first.
    virtual ~CFile();
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    operator HANDLE() const { return m_hFile; }
    bool IsOpen() const { return m_hFile != INVALID_HANDLE_VALUE; }

    // Closes what was open before (without throwing). On failure returns
    // false, shows nothing, and fills *pError when given.
    bool Open(const wchar_t* pszFileName, UINT nOpenFlags, CFileException* pError = nullptr);
    // The number of bytes read: less than nCount at the end of the file.
    UINT Read(void* pBuffer, UINT nCount);
    // Throws when not every byte could be written (diskFull for a short write).
    void Write(const void* pBuffer, UINT nCount);
    ULONGLONG Seek(LONGLONG lOffset, UINT nFrom);
    void SeekToBegin() { Seek(0, begin); }
    ULONGLONG SeekToEnd() { return Seek(0, end); }
    ULONGLONG GetPosition() const;
    ULONGLONG GetLength() const;
    void SetLength(ULONGLONG nNewLength);
    void Flush();
    void Close();
    // Closes and forgets the file, never throwing.
    void Abort();

    // The full path the file was opened with, and its last part.
    CString GetFilePath() const { return m_strFilePath; }
    CString GetFileName() const;

    // False when the file or folder does not exist.
    static bool GetStatus(const wchar_t* pszFileName, CFileStatus& status);
    static void Remove(const wchar_t* pszFileName);
    // With bReplaceExisting, a file already at pszNewName is replaced in one
    // step; without it, that makes the rename fail.
    static void Rename(const wchar_t* pszOldName, const wchar_t* pszNewName, bool bReplaceExisting = false);

    // Test seams for the failure paths of saving, so that tests can show a
    // failed save never damages a file already stored. Process-wide, set
    // and cleared by the test's own thread; an empty function removes one.
    //
    // Asked before each Write with the file, the bytes this object has
    // written since Open and the count about to be written; answers how many
    // of them may reach the disk. If fewer, those are written and Write
    // throws diskFull, as with a full disk.
    using WriteFailureHook = std::function<UINT(const CFile& file, ULONGLONG nWrittenSoFar, UINT nCount)>;
    static WriteFailureHook SetWriteFailureHook(WriteFailureHook hook);
    // A write hook that lets nBytes through in total, over all files, and
    // fails every write after that.
    static WriteFailureHook FailWritesAfter(ULONGLONG nBytes);
    // Asked before each Rename; true makes it throw accessDenied, touching
    // neither file.
    using RenameFailureHook = std::function<bool(const wchar_t* pszOldName, const wchar_t* pszNewName)>;
    static RenameFailureHook SetRenameFailureHook(RenameFailureHook hook);

private:
    [[noreturn]] void ThrowLastError(CFileException::Operation operation) const;

    CString m_strFilePath;
    ULONGLONG m_nBytesWritten = 0;
};

// Installs the write or rename failure hook for one scope (tests).
class CScopedFileFailure {
public:
    explicit CScopedFileFailure(CFile::WriteFailureHook hook)
        : m_oldWrite(CFile::SetWriteFailureHook(std::move(hook))), m_bWrite(true) {}
    explicit CScopedFileFailure(CFile::RenameFailureHook hook)
        : m_oldRename(CFile::SetRenameFailureHook(std::move(hook))), m_bWrite(false) {}
    ~CScopedFileFailure()
    {
        if (m_bWrite)
            CFile::SetWriteFailureHook(std::move(m_oldWrite));
        else
            CFile::SetRenameFailureHook(std::move(m_oldRename));
    }
    CScopedFileFailure(const CScopedFileFailure&) = delete;
    CScopedFileFailure& operator=(const CScopedFileFailure&) = delete;

private:
    CFile::WriteFailureHook m_oldWrite;
    CFile::RenameFailureHook m_oldRename;
    bool m_bWrite;
};
