// CFile and CFileException: round trips, silent open failures, throwing
// writes, the standard file-error message, and the failure seams that
// later tests use to prove a failed save never damages a stored file.
#include <gtest/gtest.h>

#include "framework/File.h"
#include "tests/TestSupport.h"

#include <windows.h>

#include <string>

namespace {

class FileTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_folder = MakeTempFolder(L"FileTests");
        ASSERT_FALSE(m_folder.empty());
    }

    std::wstring Path(const wchar_t* pszName) const { return m_folder + pszName; }

    std::wstring m_folder;
    // Any message box not scripted by a test fails it.
    CTestAnswerer m_answerer;
    CScopedAnswerer m_scopedAnswerer{m_answerer};
};

std::string Narrow(const std::wstring& s)
{
    return std::string(s.begin(), s.end());
}

// The caught exception of f, or one with cause none when nothing was thrown.
template <class F>
CFileException Caught(F f)
{
    try {
        f();
    } catch (const CFileException& e) {
        return e;
    }
    return CFileException(CFileException::none);
}

}  // namespace

TEST_F(FileTest, WrittenBytesReadBackUnchanged)
{
    const std::wstring path = Path(L"round.bld");
    // A byte-order mark, UTF-16 text with a non-ASCII letter, a zero byte.
    const std::string bytes("\xFF\xFE" "A\0\xE4\0" "\0\0z", 9);
    {
        CFile file;
        ASSERT_TRUE(file.Open(path.c_str(), CFile::modeCreate | CFile::modeWrite));
        EXPECT_TRUE(file.IsOpen());
        file.Write(bytes.data(), 4);
        file.Write(bytes.data() + 4, static_cast<UINT>(bytes.size() - 4));
        file.Write(nullptr, 0);
        EXPECT_EQ(file.GetLength(), bytes.size());
        file.Close();
        EXPECT_FALSE(file.IsOpen());
        file.Close();  // a second Close is harmless
    }
    EXPECT_EQ(ReadBytes(path), bytes);

    CFile file;
    ASSERT_TRUE(file.Open(path.c_str(), CFile::modeRead | CFile::shareDenyWrite | CFile::typeBinary));
    ASSERT_EQ(file.GetLength(), bytes.size());
    // Read the whole file into a zero-filled buffer one unit longer, as the
    // readers of text files do.
    std::string buffer(bytes.size() + 2, '\0');
    EXPECT_EQ(file.Read(buffer.data(), static_cast<UINT>(buffer.size())), bytes.size());
    EXPECT_EQ(buffer.substr(0, bytes.size()), bytes);
    EXPECT_EQ(file.Read(buffer.data(), 4), 0u);  // at the end
    file.SeekToBegin();
    EXPECT_EQ(file.Read(buffer.data(), 0), 0u);
    EXPECT_EQ(file.Read(buffer.data(), 2), 2u);
    EXPECT_EQ(file.GetPosition(), 2u);
}

TEST_F(FileTest, CreateTruncatesUnlessNoTruncateAndSeekAppends)
{
    const std::wstring path = Path(L"grow.dat");
    ASSERT_TRUE(WriteBytes(path, "0123456789"));
    {
        CFile file;
        ASSERT_TRUE(file.Open(path.c_str(), CFile::modeCreate | CFile::modeNoTruncate | CFile::modeReadWrite));
        EXPECT_EQ(file.GetLength(), 10u);
        EXPECT_EQ(file.SeekToEnd(), 10u);
        file.Write("ab", 2);
        EXPECT_EQ(file.Seek(-4, CFile::current), 8u);
        file.Write("X", 1);
        EXPECT_EQ(file.Seek(1, CFile::begin), 1u);
        file.Write("Y", 1);
    }
    EXPECT_EQ(ReadBytes(path), "0Y234567X9ab");
    {
        CFile file;
        ASSERT_TRUE(file.Open(path.c_str(), CFile::modeCreate | CFile::modeWrite));
        EXPECT_EQ(file.GetLength(), 0u);
        file.Write("new", 3);
    }
    EXPECT_EQ(ReadBytes(path), "new");
    // Opening with modeCreate also makes a file that is not there yet.
    {
        CFile file;
        ASSERT_TRUE(file.Open(Path(L"fresh.dat").c_str(), CFile::modeCreate | CFile::modeNoTruncate | CFile::modeWrite));
        EXPECT_EQ(file.GetLength(), 0u);
    }
    EXPECT_TRUE(FileExists(Path(L"fresh.dat")));
}

TEST_F(FileTest, SetLengthCutsAndExtendsAndKeepsThePosition)
{
    const std::wstring path = Path(L"length.dat");
    CFile file;
    ASSERT_TRUE(file.Open(path.c_str(), CFile::modeCreate | CFile::modeReadWrite));
    file.Write("0123456789", 10);
    file.Seek(4, CFile::begin);
    file.SetLength(6);
    EXPECT_EQ(file.GetLength(), 6u);
    EXPECT_EQ(file.GetPosition(), 4u);
    file.SetLength(2);
    EXPECT_EQ(file.GetPosition(), 2u);  // no longer past the end
    file.SetLength(5);
    EXPECT_EQ(file.GetLength(), 5u);
    file.Flush();
    file.Close();
    EXPECT_EQ(ReadBytes(path), std::string("01\0\0\0", 5));
}

TEST_F(FileTest, ThePathIsKeptInFullAndTheHandleClosedWithTheObject)
{
    const std::wstring path = Path(L"named.bld");
    {
        CFile file;
        ASSERT_TRUE(file.Open(path.c_str(), CFile::modeCreate | CFile::modeWrite));
        EXPECT_EQ(file.GetFilePath(), CString(path.c_str()));
        EXPECT_EQ(file.GetFileName(), CString(L"named.bld"));
    }
    // Both objects above and below open the file exclusively: the first must
    // have closed it.
    CFile again;
    ASSERT_TRUE(again.Open(path.c_str(), CFile::modeWrite | CFile::shareExclusive));
    HANDLE h = again.m_hFile;
    again.Abort();
    EXPECT_FALSE(again.IsOpen());
    EXPECT_EQ(again.GetFilePath(), CString());
    DWORD dwFlags = 0;
    EXPECT_FALSE(GetHandleInformation(h, &dwFlags));

    // A relative name is made full against the current folder.
    wchar_t szOld[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, szOld);
    ASSERT_TRUE(SetCurrentDirectoryW(m_folder.c_str()));
    CFile relative;
    const bool bOpened = relative.Open(L"named.bld", CFile::modeRead);
    const CString strPath = relative.GetFilePath();
    relative.Close();
    SetCurrentDirectoryW(szOld);
    ASSERT_TRUE(bOpened);
    EXPECT_EQ(strPath, CString(path.c_str()));
}

TEST_F(FileTest, OpenFailsSilentlyAndDescribesWhy)
{
    // A folder stands for a file that may not be written: the read-only
    // attribute does not stop a process running as root under Wine.
    const std::wstring folder = Path(L"folder.bld");
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    const std::wstring locked = Path(L"locked.bld");
    ASSERT_TRUE(WriteBytes(locked, "x"));
    CFile holder;
    ASSERT_TRUE(holder.Open(locked.c_str(), CFile::modeRead | CFile::shareExclusive));

    struct Case {
        std::wstring path;
        UINT nFlags;
        int cause;
        LONG lOsError;
    };
    const Case cases[] = {
        {Path(L"missing.bld"), CFile::modeRead, CFileException::fileNotFound, ERROR_FILE_NOT_FOUND},
        {Path(L"no folder\\x.bld"), CFile::modeCreate | CFile::modeWrite, CFileException::badPath,
         ERROR_PATH_NOT_FOUND},
        {folder, CFile::modeCreate | CFile::modeWrite, CFileException::accessDenied, ERROR_ACCESS_DENIED},
        {folder, CFile::modeRead, CFileException::accessDenied, ERROR_ACCESS_DENIED},
        {locked, CFile::modeRead | CFile::shareDenyNone, CFileException::sharingViolation,
         ERROR_SHARING_VIOLATION},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Narrow(c.path));
        CFile file;
        CFileException error;
        EXPECT_FALSE(file.Open(c.path.c_str(), c.nFlags, &error));
        EXPECT_FALSE(file.IsOpen());
        EXPECT_EQ(error.m_cause, c.cause);
        EXPECT_EQ(error.m_lOsError, c.lOsError);
        EXPECT_EQ(error.m_strFileName, CString(c.path.c_str()));
        EXPECT_FALSE(file.Open(c.path.c_str(), c.nFlags));  // without an error object
    }
    CFileException error;
    EXPECT_FALSE(CFile().Open(L"", CFile::modeRead, &error));
    EXPECT_EQ(error.m_cause, CFileException::badPath);

    EXPECT_TRUE(m_answerer.messages.empty());
    holder.Close();
    EXPECT_EQ(ReadBytes(locked), "x");
}

TEST_F(FileTest, FailedWriteThrowsAndReportsTheStandardMessage)
{
    const std::wstring path = Path(L"target.bld");
    ASSERT_TRUE(WriteBytes(path, "old"));
    CFile file;
    ASSERT_TRUE(file.Open(path.c_str(), CFile::modeRead));
    const CFileException e = Caught([&] { file.Write("new", 3); });
    EXPECT_EQ(e.m_cause, CFileException::accessDenied);
    EXPECT_EQ(e.m_lOsError, ERROR_ACCESS_DENIED);
    EXPECT_EQ(e.m_strFileName, CString(path.c_str()));
    EXPECT_TRUE(m_answerer.messages.empty());  // throwing shows nothing

    m_answerer.ReplyToMessage(IDOK, path);
    EXPECT_EQ(e.ReportError(), IDOK);
    ASSERT_EQ(m_answerer.messages.size(), 1u);
    EXPECT_EQ(m_answerer.messages[0].text, L"Access to " + path + L" was denied.");
    EXPECT_EQ(m_answerer.messages[0].nType & MB_TYPEMASK, static_cast<UINT>(MB_OK));
    file.Close();
    EXPECT_EQ(ReadBytes(path), "old");

    // Operations on a file that is not open throw too.
    CFile closed;
    EXPECT_EQ(Caught([&] { closed.Write("x", 1); }).m_cause, CFileException::invalidFile);
    EXPECT_EQ(Caught([&] { closed.GetLength(); }).m_cause, CFileException::invalidFile);
}

TEST_F(FileTest, WriteFailureHookFailsWritesAfterTheGivenBytes)
{
    const std::wstring path = Path(L"partial.bld");
    CFile other;
    ASSERT_TRUE(other.Open(Path(L"other.bld").c_str(), CFile::modeCreate | CFile::modeWrite));
    {
        CScopedFileFailure failure(CFile::FailWritesAfter(10));
        CFile file;
        ASSERT_TRUE(file.Open(path.c_str(), CFile::modeCreate | CFile::modeWrite));
        file.Write("abcd", 4);
        other.Write("ef", 2);  // counts towards the total as well
        const CFileException e = Caught([&] { file.Write("ghijkl", 6); });
        EXPECT_EQ(e.m_cause, CFileException::diskFull);
        EXPECT_EQ(e.m_lOsError, ERROR_DISK_FULL);
        EXPECT_EQ(e.m_strFileName, CString(path.c_str()));
        // Every write after the limit fails, to any file.
        EXPECT_EQ(Caught([&] { file.Write("m", 1); }).m_cause, CFileException::diskFull);
        EXPECT_EQ(Caught([&] { other.Write("n", 1); }).m_cause, CFileException::diskFull);
        file.Close();
        // What fitted was written, as with a real full disk.
        EXPECT_EQ(ReadBytes(path), "abcdghij");

        m_answerer.ReplyToMessage(IDOK, path);
        e.ReportError();
        ASSERT_EQ(m_answerer.messages.size(), 1u);
        EXPECT_EQ(m_answerer.messages[0].text, L"There is not enough space on the disk to write " + path + L".");
    }
    // Gone with its scope.
    other.Write("o", 1);
    other.Close();
    EXPECT_EQ(ReadBytes(Path(L"other.bld")), "efo");
}

TEST_F(FileTest, WriteFailureHookSeesTheFileAndItsBytesSoFar)
{
    ULONGLONG nSeenSoFar = 0;
    CScopedFileFailure failure(CFile::WriteFailureHook([&](const CFile& file, ULONGLONG nSoFar, UINT nCount) {
        if (file.GetFileName() != CString(L"victim.bld"))
            return nCount;
        nSeenSoFar = nSoFar;
        return nSoFar >= 3 ? 0u : nCount;
    }));
    CFile bystander;
    ASSERT_TRUE(bystander.Open(Path(L"bystander.bld").c_str(), CFile::modeCreate | CFile::modeWrite));
    bystander.Write("12345", 5);
    CFile victim;
    ASSERT_TRUE(victim.Open(Path(L"victim.bld").c_str(), CFile::modeCreate | CFile::modeWrite));
    victim.Write("abc", 3);
    EXPECT_EQ(nSeenSoFar, 0u);
    EXPECT_EQ(Caught([&] { victim.Write("d", 1); }).m_cause, CFileException::diskFull);
    EXPECT_EQ(nSeenSoFar, 3u);
    bystander.Write("6", 1);
    victim.Close();
    bystander.Close();
    EXPECT_EQ(ReadBytes(Path(L"victim.bld")), "abc");
    EXPECT_EQ(ReadBytes(Path(L"bystander.bld")), "123456");
}

TEST_F(FileTest, RenameReplacesOnlyWhenAskedAndItsHookLeavesBothFiles)
{
    const std::wstring saved = Path(L"saved.bld");
    const std::wstring temp = Path(L"saved.tmp");
    ASSERT_TRUE(WriteBytes(saved, "old"));
    ASSERT_TRUE(WriteBytes(temp, "new"));

    const CFileException exists = Caught([&] { CFile::Rename(temp.c_str(), saved.c_str()); });
    EXPECT_EQ(exists.m_cause, CFileException::accessDenied);
    EXPECT_EQ(exists.m_strFileName, CString(saved.c_str()));
    EXPECT_EQ(ReadBytes(saved), "old");

    {
        CScopedFileFailure failure(CFile::RenameFailureHook([](const wchar_t*, const wchar_t*) { return true; }));
        const CFileException e = Caught([&] { CFile::Rename(temp.c_str(), saved.c_str(), true); });
        EXPECT_EQ(e.m_cause, CFileException::accessDenied);
        EXPECT_EQ(ReadBytes(saved), "old");
        EXPECT_EQ(ReadBytes(temp), "new");
    }

    CFile::Rename(temp.c_str(), saved.c_str(), true);
    EXPECT_EQ(ReadBytes(saved), "new");
    EXPECT_FALSE(FileExists(temp));

    CFile::Rename(saved.c_str(), temp.c_str());
    EXPECT_TRUE(FileExists(temp));
    const CFileException missing = Caught([&] { CFile::Rename(saved.c_str(), temp.c_str()); });
    EXPECT_EQ(missing.m_cause, CFileException::fileNotFound);
    EXPECT_EQ(missing.m_strFileName, CString(saved.c_str()));
}

TEST_F(FileTest, RemoveAndGetStatus)
{
    const std::wstring path = Path(L"logo.bmp");
    ASSERT_TRUE(WriteBytes(path, "12345"));
    CFileStatus status;
    ASSERT_TRUE(CFile::GetStatus(path.c_str(), status));
    EXPECT_EQ(status.m_size, 5u);
    EXPECT_FALSE(status.m_attribute & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_STREQ(status.m_szFullName, path.c_str());
    ASSERT_TRUE(CFile::GetStatus(m_folder.c_str(), status));
    EXPECT_TRUE(status.m_attribute & FILE_ATTRIBUTE_DIRECTORY);

    CFile::Remove(path.c_str());
    EXPECT_FALSE(FileExists(path));
    EXPECT_FALSE(CFile::GetStatus(path.c_str(), status));
    EXPECT_EQ(status.m_size, 0u);
    EXPECT_FALSE(CFile::GetStatus(L"", status));
    const CFileException e = Caught([&] { CFile::Remove(path.c_str()); });
    EXPECT_EQ(e.m_cause, CFileException::fileNotFound);
    EXPECT_EQ(e.m_strFileName, CString(path.c_str()));
}

TEST(FileExceptionTest, MessagesNameTheFile)
{
    const wchar_t* pszName = L"C:\\x\\y.bld";
    struct Case {
        int cause;
        CFileException::Operation operation;
        const wchar_t* text;
    };
    const Case cases[] = {
        {CFileException::genericException, CFileException::opWrite, L"An error occurred while writing to C:\\x\\y.bld."},
        {CFileException::genericException, CFileException::opRead, L"An error occurred while reading C:\\x\\y.bld."},
        {CFileException::genericException, CFileException::opOpen, L"An error occurred while opening C:\\x\\y.bld."},
        {CFileException::fileNotFound, CFileException::opOpen, L"C:\\x\\y.bld was not found."},
        {CFileException::accessDenied, CFileException::opOpen, L"Access to C:\\x\\y.bld was denied."},
        {CFileException::diskFull, CFileException::opWrite,
         L"There is not enough space on the disk to write C:\\x\\y.bld."},
        {CFileException::hardIO, CFileException::opWrite, L"A hardware error occurred while writing to C:\\x\\y.bld."},
        {CFileException::sharingViolation, CFileException::opOpen, L"C:\\x\\y.bld is in use by another program."},
    };
    for (const Case& c : cases) {
        CString strMessage;
        EXPECT_TRUE(CFileException(c.cause, -1, pszName, c.operation).GetErrorMessage(strMessage));
        EXPECT_EQ(strMessage, CString(c.text)) << Narrow(c.text);
    }
    // Every cause has a sentence of its own that names the file.
    for (int cause = CFileException::none; cause <= CFileException::endOfFile; ++cause) {
        CString strMessage;
        CFileException(cause, -1, pszName).GetErrorMessage(strMessage);
        EXPECT_NE(strMessage.Find(pszName), -1) << cause;
        EXPECT_EQ(strMessage.Find(L"%1"), -1) << cause;
        EXPECT_EQ(strMessage[strMessage.GetLength() - 1], L'.') << cause;
    }
    // Without a name the sentence still reads.
    CString strUnnamed;
    CFileException(CFileException::fileNotFound).GetErrorMessage(strUnnamed);
    EXPECT_EQ(strUnnamed, CString(L"The file was not found."));

    // The buffer form never writes past its end.
    wchar_t buffer[12];
    wmemset(buffer, L'#', 12);
    UINT nHelp = 99;
    EXPECT_TRUE(CFileException(CFileException::fileNotFound, -1, pszName).GetErrorMessage(buffer, 10, &nHelp));
    EXPECT_STREQ(buffer, L"C:\\x\\y.bl");
    EXPECT_EQ(buffer[10], L'#');
    EXPECT_EQ(nHelp, 0u);
    EXPECT_FALSE(CFileException().GetErrorMessage(nullptr, 10));
}

TEST(FileExceptionTest, OsErrorsMapToCauses)
{
    const struct {
        LONG lOsError;
        int cause;
    } cases[] = {
        {ERROR_FILE_NOT_FOUND, CFileException::fileNotFound},
        {ERROR_PATH_NOT_FOUND, CFileException::badPath},
        {ERROR_INVALID_NAME, CFileException::badPath},
        {ERROR_ACCESS_DENIED, CFileException::accessDenied},
        {ERROR_WRITE_PROTECT, CFileException::accessDenied},
        {ERROR_SHARING_VIOLATION, CFileException::sharingViolation},
        {ERROR_DISK_FULL, CFileException::diskFull},
        {ERROR_HANDLE_DISK_FULL, CFileException::diskFull},
        {ERROR_HANDLE_EOF, CFileException::endOfFile},
        {ERROR_CRC, CFileException::hardIO},
        {ERROR_INVALID_HANDLE, CFileException::invalidFile},
        {ERROR_NOT_ENOUGH_MEMORY, CFileException::genericException},
        {NO_ERROR, CFileException::none},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CFileException::OsErrorToCause(c.lOsError), c.cause) << c.lOsError;
}
