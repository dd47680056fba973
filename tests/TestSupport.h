// Shared helpers of the test programs: the scripted answerer that stands in
// for the person at every message box, program message and modal dialog.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/UiAnswerer.h"

class CTestAnswerer : public CUiAnswerer {
public:
    struct ShownMessage {
        std::wstring text;
        UINT nType;
    };
    struct ShownDialog {
        UINT nIDTemplate;
    };
    // A file dialog as it was about to run.
    struct ShownFileDialog {
        BOOL bOpen;
        std::wstring title;
        std::wstring filter;
        std::wstring defExt;
        std::wstring fileName;
        std::wstring initialDir;
        DWORD dwFlags;
    };
    // One of the program's own message boxes (a dialog with CUiMessageSource).
    struct ShownProgramMessage {
        UINT nIDTemplate;
        UINT nIDText;
        std::wstring text;
        int nIcon;
        int nKind;
        int nHelpTopic;
    };

    // Replies are used in the order they were scripted; a message or dialog
    // with no reply left fails the running test and is answered with Cancel.
    void ReplyToMessage(int nReply, std::wstring textContains = {});
    void ReplyToDialog(UINT nIDTemplate, INT_PTR nResult);
    // Lets the dialog really run; the callback (if any) gets the dialog before
    // it runs, for example to post the clicks the test makes.
    void RunDialog(UINT nIDTemplate, std::function<void(CDialog*)> before = nullptr);
    // The same for the program's own message boxes (their dialogs have
    // CUiMessageSource), matched by the string id the caller gave (and, when
    // given, a part of the text shown); they are not matched by template.
    void ReplyToProgramMessage(UINT nIDText, INT_PTR nResult, std::wstring textContains = {});
    void RunProgramMessage(UINT nIDText, std::function<void(CDialog*)> before = nullptr);
    // The next file dialog chooses this full path; an empty path cancels it.
    void ReplyToFileDialog(std::wstring path);

    int AnswerMessageBox(const wchar_t* pszText, UINT nType) override;
    bool AnswerDialog(CDialog* pDialog, UINT nIDTemplate, INT_PTR* pResult) override;
    INT_PTR AnswerFileDialog(const CUiFileDialog& dialog, CString& strPath) override;

    std::vector<ShownMessage> messages;
    std::vector<ShownDialog> dialogs;
    std::vector<ShownProgramMessage> programMessages;
    std::vector<ShownFileDialog> fileDialogs;

    bool AllRepliesUsed() const
    {
        return m_messageReplies.empty() && m_dialogReplies.empty() && m_programReplies.empty() &&
               m_fileReplies.empty();
    }

private:
    struct MessageReply {
        int nReply;
        std::wstring textContains;
    };
    struct DialogReply {
        UINT nIDTemplate;
        bool bRun;
        INT_PTR nResult;
        std::function<void(CDialog*)> before;
    };
    struct ProgramReply {
        UINT nIDText;
        bool bRun;
        INT_PTR nResult;
        std::wstring textContains;
        std::function<void(CDialog*)> before;
    };
    bool AnswerProgramMessage(CDialog* pDialog, const CUiMessage& message, UINT nIDTemplate, INT_PTR* pResult);

    std::vector<MessageReply> m_messageReplies;
    std::vector<DialogReply> m_dialogReplies;
    std::vector<ProgramReply> m_programReplies;
    std::vector<std::wstring> m_fileReplies;
};

// Installs an answerer for one scope and puts the previous one back.
class CScopedAnswerer {
public:
    explicit CScopedAnswerer(CTestAnswerer& answerer) : m_pOld(AfxSetUiAnswerer(&answerer)) {}
    ~CScopedAnswerer() { AfxSetUiAnswerer(m_pOld); }
    CScopedAnswerer(const CScopedAnswerer&) = delete;
    CScopedAnswerer& operator=(const CScopedAnswerer&) = delete;

private:
    CUiAnswerer* m_pOld;
};

// A fresh, empty folder under the test prefix's temporary folder.
std::wstring MakeTempFolder(const wchar_t* pszName);
// Whole-file helpers for fixtures.
bool WriteBytes(const std::wstring& path, const std::string& bytes);
std::string ReadBytes(const std::wstring& path);
bool FileExists(const std::wstring& path);

// Switches the C run-time's numbers to a locale with a decimal comma for one
// scope and puts the previous locale back; Switched() is false where the
// system has no such locale.
class CScopedCommaLocale {
public:
    CScopedCommaLocale();
    ~CScopedCommaLocale();
    CScopedCommaLocale(const CScopedCommaLocale&) = delete;
    CScopedCommaLocale& operator=(const CScopedCommaLocale&) = delete;
    bool Switched() const { return m_bSwitched; }

private:
    std::string m_saved;
    bool m_bSwitched = false;
};

// A DLGTEMPLATE and its items, laid out as the dialog manager reads them.
class CMemoryDialogTemplate {
public:
    CMemoryDialogTemplate(DWORD dwStyle, short cx, short cy, const wchar_t* pszCaption);
    void AddControl(const wchar_t* pszClass, WORD nID, DWORD dwStyle, short x, short y, short cx, short cy,
                    const wchar_t* pszText = L"");
    LPCDLGTEMPLATE Get() const { return reinterpret_cast<LPCDLGTEMPLATE>(m_words.data()); }

private:
    void Add32(DWORD dw);
    void AddText(const wchar_t* psz);

    std::vector<WORD> m_words;
    size_t m_nCountAt = 0;
};
