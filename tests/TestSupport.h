// Shared helpers of the test programs: the scripted answerer that stands in
// for the person at every message box and modal dialog.
#pragma once

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

    // Replies are used in the order they were scripted; a message or dialog
    // with no reply left fails the running test and is answered with Cancel.
    void ReplyToMessage(int nReply, std::wstring textContains = {});
    void ReplyToDialog(UINT nIDTemplate, INT_PTR nResult);
    // Lets the dialog really run; the callback (if any) gets the dialog before
    // it runs, for example to post the clicks the test makes.
    void RunDialog(UINT nIDTemplate, std::function<void(CDialog*)> before = nullptr);

    int AnswerMessageBox(const wchar_t* pszText, UINT nType) override;
    bool AnswerDialog(CDialog* pDialog, UINT nIDTemplate, INT_PTR* pResult) override;

    std::vector<ShownMessage> messages;
    std::vector<ShownDialog> dialogs;

    bool AllRepliesUsed() const { return m_messageReplies.empty() && m_dialogReplies.empty(); }

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
    std::vector<MessageReply> m_messageReplies;
    std::vector<DialogReply> m_dialogReplies;
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
