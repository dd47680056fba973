#include "tests/TestSupport.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <clocale>
#include <fstream>
#include <iterator>

#include "framework/Dialog.h"
#include "framework/String.h"

namespace {
std::string Narrow(const std::wstring& s)
{
    return std::string(s.begin(), s.end());
}
}  // namespace

void CTestAnswerer::ReplyToMessage(int nReply, std::wstring textContains)
{
    m_messageReplies.push_back({nReply, std::move(textContains)});
}

void CTestAnswerer::ReplyToDialog(UINT nIDTemplate, INT_PTR nResult)
{
    m_dialogReplies.push_back({nIDTemplate, false, nResult, nullptr});
}

void CTestAnswerer::RunDialog(UINT nIDTemplate, std::function<void(CDialog*)> before)
{
    m_dialogReplies.push_back({nIDTemplate, true, 0, std::move(before)});
}

void CTestAnswerer::ReplyToProgramMessage(UINT nIDText, INT_PTR nResult, std::wstring textContains)
{
    m_programReplies.push_back({nIDText, false, nResult, std::move(textContains), nullptr});
}

void CTestAnswerer::RunProgramMessage(UINT nIDText, std::function<void(CDialog*)> before)
{
    m_programReplies.push_back({nIDText, true, 0, {}, std::move(before)});
}

void CTestAnswerer::ReplyToFileDialog(std::wstring path)
{
    m_fileReplies.push_back(std::move(path));
}

INT_PTR CTestAnswerer::AnswerFileDialog(const CUiFileDialog& dialog, CString& strPath)
{
    fileDialogs.push_back({dialog.bOpen, dialog.pszTitle, dialog.pszFilter, dialog.pszDefExt, dialog.pszFileName,
                           dialog.pszInitialDir, dialog.dwFlags});
    if (m_fileReplies.empty()) {
        ADD_FAILURE() << "unanswered file dialog: " << Narrow(fileDialogs.back().title);
        return IDCANCEL;
    }
    const std::wstring path = m_fileReplies.front();
    m_fileReplies.erase(m_fileReplies.begin());
    if (path.empty())
        return IDCANCEL;
    strPath = CString(path);
    return IDOK;
}

int CTestAnswerer::AnswerMessageBox(const wchar_t* pszText, UINT nType)
{
    messages.push_back({pszText != nullptr ? pszText : L"", nType});
    if (m_messageReplies.empty()) {
        ADD_FAILURE() << "unanswered message box: " << Narrow(messages.back().text);
        return IDCANCEL;
    }
    MessageReply reply = m_messageReplies.front();
    m_messageReplies.erase(m_messageReplies.begin());
    if (!reply.textContains.empty()) {
        EXPECT_NE(messages.back().text.find(reply.textContains), std::wstring::npos)
            << "message box text: " << Narrow(messages.back().text);
    }
    return reply.nReply;
}

bool CTestAnswerer::AnswerDialog(CDialog* pDialog, UINT nIDTemplate, INT_PTR* pResult)
{
    if (const auto* pSource = dynamic_cast<const CUiMessageSource*>(pDialog))
        return AnswerProgramMessage(pDialog, pSource->GetUiMessage(), nIDTemplate, pResult);
    dialogs.push_back({nIDTemplate});
    if (m_dialogReplies.empty() || m_dialogReplies.front().nIDTemplate != nIDTemplate) {
        ADD_FAILURE() << "unanswered modal dialog " << nIDTemplate;
        *pResult = IDCANCEL;
        return true;
    }
    DialogReply reply = m_dialogReplies.front();
    m_dialogReplies.erase(m_dialogReplies.begin());
    if (reply.bRun) {
        if (reply.before)
            reply.before(pDialog);
        return false;
    }
    *pResult = reply.nResult;
    return true;
}

bool CTestAnswerer::AnswerProgramMessage(CDialog* pDialog, const CUiMessage& message, UINT nIDTemplate,
                                         INT_PTR* pResult)
{
    programMessages.push_back({nIDTemplate, message.nIDText, message.pszText != nullptr ? message.pszText : L"",
                               message.nIcon, message.nKind, message.nHelpTopic});
    const ShownProgramMessage& shown = programMessages.back();
    if (m_programReplies.empty() || m_programReplies.front().nIDText != message.nIDText) {
        ADD_FAILURE() << "unanswered program message " << message.nIDText << ": " << Narrow(shown.text);
        *pResult = IDCANCEL;
        return true;
    }
    ProgramReply reply = m_programReplies.front();
    m_programReplies.erase(m_programReplies.begin());
    if (!reply.textContains.empty()) {
        EXPECT_NE(shown.text.find(reply.textContains), std::wstring::npos)
            << "program message text: " << Narrow(shown.text);
    }
    if (reply.bRun) {
        if (reply.before)
            reply.before(pDialog);
        return false;
    }
    *pResult = reply.nResult;
    return true;
}

namespace {
// Removes everything below folder (not the folder itself).
void EmptyFolder(const std::wstring& folder)
{
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((folder + L"\\*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE)
        return;
    do {
        std::wstring name = fd.cFileName;
        if (name == L"." || name == L"..")
            continue;
        std::wstring path = folder + L"\\" + name;
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            EmptyFolder(path);
            RemoveDirectoryW(path.c_str());
        } else {
            SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileW(path.c_str());
        }
    } while (FindNextFileW(h, &fd));
    FindClose(h);
}
}  // namespace

std::wstring MakeTempFolder(const wchar_t* pszName)
{
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::wstring folder = std::wstring(temp) + L"vudadar-tests\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    folder += pszName;
    CreateDirectoryW(folder.c_str(), nullptr);
    EmptyFolder(folder);
    return folder + L"\\";
}

bool WriteBytes(const std::wstring& path, const std::string& bytes)
{
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    BOOL ok = WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(h);
    return ok && written == bytes.size();
}

std::string ReadBytes(const std::wstring& path)
{
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return {};
    std::string bytes;
    char buf[4096];
    DWORD got = 0;
    while (ReadFile(h, buf, sizeof buf, &got, nullptr) && got > 0)
        bytes.append(buf, got);
    CloseHandle(h);
    return bytes;
}

bool FileExists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

CScopedCommaLocale::CScopedCommaLocale() : m_saved(setlocale(LC_NUMERIC, nullptr))
{
    m_bSwitched = setlocale(LC_NUMERIC, "German_Germany.1252") != nullptr || setlocale(LC_NUMERIC, "de-DE") != nullptr;
}

CScopedCommaLocale::~CScopedCommaLocale()
{
    setlocale(LC_NUMERIC, m_saved.c_str());
}

CMemoryDialogTemplate::CMemoryDialogTemplate(DWORD dwStyle, short cx, short cy, const wchar_t* pszCaption)
{
    Add32(dwStyle | DS_SETFONT);
    Add32(0);
    m_nCountAt = m_words.size();
    m_words.insert(m_words.end(), {0, 0, 0, static_cast<WORD>(cx), static_cast<WORD>(cy), 0, 0});
    AddText(pszCaption);
    m_words.push_back(8);
    AddText(L"MS Shell Dlg");
}

void CMemoryDialogTemplate::AddControl(const wchar_t* pszClass, WORD nID, DWORD dwStyle, short x, short y, short cx,
                                       short cy, const wchar_t* pszText)
{
    if (m_words.size() % 2 != 0)
        m_words.push_back(0);  // items start on a DWORD boundary
    Add32(dwStyle | WS_CHILD);
    Add32(0);
    m_words.insert(m_words.end(), {static_cast<WORD>(x), static_cast<WORD>(y), static_cast<WORD>(cx),
                                   static_cast<WORD>(cy), nID});
    AddText(pszClass);
    AddText(pszText);
    m_words.push_back(0);  // no creation data
    ++m_words[m_nCountAt];
}

void CMemoryDialogTemplate::Add32(DWORD dw)
{
    m_words.push_back(LOWORD(dw));
    m_words.push_back(HIWORD(dw));
}

void CMemoryDialogTemplate::AddText(const wchar_t* psz)
{
    for (; *psz != 0; ++psz)
        m_words.push_back(static_cast<WORD>(*psz));
    m_words.push_back(0);
}
