// CFileDialog: what the system dialog is given, what an answerer sees and
// returns, and the system dialog itself driven as a person would.
#include <gtest/gtest.h>

#include "framework/FileDialog.h"
#include "tests/TestSupport.h"

#include <windows.h>

#include <string>

namespace {

// The filter list as the system reads it: up to the double NUL.
std::wstring SystemFilter(const OPENFILENAMEW& ofn)
{
    std::wstring list;
    for (const wchar_t* p = ofn.lpstrFilter; p != nullptr && *p != L'\0'; p += wcslen(p) + 1)
        list += std::wstring(p) + L"^";
    return list;
}

}  // namespace

TEST(FileDialogTest, GivesTheSystemANulSeparatedFilterAndTheOfferedName)
{
    const struct {
        const wchar_t* filter;
        const wchar_t* expected;
    } cases[] = {
        {L"Building Test Files (*.bld)|*.bld||", L"Building Test Files (*.bld)^*.bld^"},
        {L"A (*.a)|*.a|B (*.b)|*.b||", L"A (*.a)^*.a^B (*.b)^*.b^"},
        {L"A (*.a)|*.a", L"A (*.a)^*.a^"},   // no closing bars
        {L"", L""},
    };
    for (const auto& c : cases) {
        CFileDialog dlg(FALSE, L"bld", L"Untitled", OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, c.filter);
        EXPECT_EQ(SystemFilter(dlg.m_ofn), c.expected) << std::string(c.filter, c.filter + wcslen(c.filter));
        EXPECT_STREQ(dlg.m_ofn.lpstrFile, L"Untitled");
        EXPECT_STREQ(dlg.m_ofn.lpstrDefExt, L"bld");
        EXPECT_EQ(dlg.m_ofn.Flags & (OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT),
                  static_cast<DWORD>(OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT));
        EXPECT_GE(dlg.m_ofn.nMaxFile, static_cast<DWORD>(MAX_PATH));
    }
    CFileDialog noExtension(TRUE);
    EXPECT_EQ(noExtension.m_ofn.lpstrDefExt, nullptr);
    EXPECT_EQ(noExtension.m_ofn.lpstrFilter, nullptr);
    EXPECT_STREQ(noExtension.m_ofn.lpstrFile, L"");
}

TEST(FileDialogTest, AnswererSeesTheDialogAndChoosesOrCancels)
{
    CTestAnswerer answerer;
    CScopedAnswerer scope(answerer);
    const CString strTitle = L"Save Building Test File";
    const CString strFolder = L"C:\\Tests";

    answerer.ReplyToFileDialog(L"C:\\Tests\\House.Two.bld");
    answerer.ReplyToFileDialog(std::wstring());
    {
        CFileDialog dlg(FALSE, L"bld", L"House", OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, L"Tests (*.bld)|*.bld||");
        dlg.m_ofn.lpstrTitle = strTitle.GetString();
        dlg.m_ofn.lpstrInitialDir = strFolder.GetString();
        ASSERT_EQ(dlg.DoModal(), IDOK);
        EXPECT_EQ(dlg.GetPathName().str(), L"C:\\Tests\\House.Two.bld");
        EXPECT_EQ(dlg.GetFileName().str(), L"House.Two.bld");
        EXPECT_EQ(dlg.GetFileExt().str(), L"bld");
        EXPECT_EQ(dlg.GetFileTitle().str(), L"House.Two");
    }
    {
        CFileDialog dlg(TRUE, L"cfa", nullptr, OFN_HIDEREADONLY, L"C (*.cfa)|*.cfa||");
        EXPECT_EQ(dlg.DoModal(), IDCANCEL);
        EXPECT_EQ(dlg.GetPathName().str(), L"");
    }
    EXPECT_TRUE(answerer.AllRepliesUsed());

    ASSERT_EQ(answerer.fileDialogs.size(), 2u);
    const auto& save = answerer.fileDialogs[0];
    EXPECT_FALSE(save.bOpen);
    EXPECT_EQ(save.title, L"Save Building Test File");
    EXPECT_EQ(save.filter, L"Tests (*.bld)|*.bld||");
    EXPECT_EQ(save.defExt, L"bld");
    EXPECT_EQ(save.fileName, L"House");
    EXPECT_EQ(save.initialDir, L"C:\\Tests");
    EXPECT_EQ(save.dwFlags & (OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT),
              static_cast<DWORD>(OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT));
    const auto& open = answerer.fileDialogs[1];
    EXPECT_TRUE(open.bOpen);
    EXPECT_EQ(open.title, L"");
    EXPECT_EQ(open.fileName, L"");
    EXPECT_EQ(open.dwFlags & OFN_OVERWRITEPROMPT, 0u);
}

namespace {
// Types a name into the running system dialog and presses Save, or
// presses Cancel, from a timer of the dialog's own thread.
const wchar_t* g_pszTypedName = nullptr;
int g_nTicks = 0;

BOOL CALLBACK FindFileDialog(HWND hWnd, LPARAM lParam)
{
    wchar_t szClass[16] = {};
    ::GetClassNameW(hWnd, szClass, 16);
    if (wcscmp(szClass, L"#32770") == 0 && ::IsWindowVisible(hWnd)) {
        *reinterpret_cast<HWND*>(lParam) = hWnd;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK ActInDialog(HWND, UINT, UINT_PTR nId, DWORD)
{
    HWND hDialog = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), FindFileDialog, reinterpret_cast<LPARAM>(&hDialog));
    if (hDialog == nullptr) {
        if (++g_nTicks > 200)   // 10 s without a dialog: give up rather than hang
            ::KillTimer(nullptr, nId);
        return;
    }
    ::KillTimer(nullptr, nId);
    if (g_pszTypedName == nullptr) {
        ::PostMessageW(hDialog, WM_COMMAND, IDCANCEL, 0);
        return;
    }
    // The file name box: an edit (edt1) or the combo box around it (cmb13).
    HWND hName = ::GetDlgItem(hDialog, 0x480);
    if (hName == nullptr)
        hName = ::GetDlgItem(hDialog, 0x47c);
    ::SetWindowTextW(hName, g_pszTypedName);
    ::PostMessageW(hDialog, WM_COMMAND, IDOK, 0);
}
}  // namespace

TEST(FileDialogTest, SystemDialogTakesATypedNameWithTheDefaultExtension)
{
    const std::wstring folder = MakeTempFolder(L"FileDialogTests");
    const std::wstring typed = folder + L"House";
    // The system dialog itself, not an answerer, runs here.
    struct NoAnswerer {
        CUiAnswerer* pOld = AfxSetUiAnswerer(nullptr);
        ~NoAnswerer() { AfxSetUiAnswerer(pOld); }
    } noAnswerer;

    g_pszTypedName = typed.c_str();
    g_nTicks = 0;
    ::SetTimer(nullptr, 0, 50, ActInDialog);
    {
        CFileDialog dlg(FALSE, L"bld", nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, L"Tests (*.bld)|*.bld||");
        ASSERT_EQ(dlg.DoModal(), IDOK);
        EXPECT_EQ(dlg.GetPathName().str(), typed + L".bld");
    }

    g_pszTypedName = nullptr;
    g_nTicks = 0;
    ::SetTimer(nullptr, 0, 50, ActInDialog);
    CFileDialog dlg(TRUE, L"bld", nullptr, OFN_HIDEREADONLY, L"Tests (*.bld)|*.bld||");
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
}
