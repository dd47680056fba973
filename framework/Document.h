// CDocument: the data of the open document and the list of its views.
// CArchive: the stream a document's Serialize reads from or writes to.
#pragma once

#include <vector>

#include "framework/CmdTarget.h"
#include "framework/String.h"

class CFile;
class CView;
class CFrameWnd;
class CDocTemplate;

class CArchive {
public:
    enum Mode { load = 1, store = 0 };
    CArchive(CFile* pFile, UINT nMode) : m_pFile(pFile), m_nMode(nMode) {}
    bool IsLoading() const { return m_nMode == load; }
    bool IsStoring() const { return m_nMode == store; }
    CFile* GetFile() const { return m_pFile; }

private:
    CFile* m_pFile;
    UINT m_nMode;
};

// An iteration position over a list; nullptr ends it.
using POSITION = struct PositionTag*;

class CDocument : public CCmdTarget {
    DECLARE_DYNAMIC(CDocument)
public:
    CDocument() = default;
    ~CDocument() override;

    const CString& GetTitle() const { return m_strTitle; }
    // Changes the title and, with it, the caption of every frame showing it.
    virtual void SetTitle(const wchar_t* pszTitle);
    const CString& GetPathName() const { return m_strPathName; }
    virtual void SetPathName(const wchar_t* pszPathName, BOOL bAddToMRU = TRUE);
    BOOL IsModified() const { return m_bModified; }
    void SetModifiedFlag(BOOL bModified = TRUE) { m_bModified = bModified; }
    CDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }

    POSITION GetFirstViewPosition() const;
    CView* GetNextView(POSITION& rPosition) const;
    void AddView(CView* pView);
    void RemoveView(CView* pView);
    void UpdateAllViews(CView* pSender, LPARAM lHint = 0, CObject* pHint = nullptr);

    virtual BOOL OnNewDocument();
    // Opens the file and lets Serialize read it; false (after the standard
    // message) when the file cannot be opened.
    virtual BOOL OnOpenDocument(const wchar_t* pszPathName);
    virtual void DeleteContents() {}
    virtual void Serialize(CArchive& ar);
    virtual void OnChangedViewList() {}

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, HandlerInfo* pHandlerInfo) override;

protected:
    CString m_strTitle;
    CString m_strPathName;
    BOOL m_bModified = FALSE;
    CDocTemplate* m_pDocTemplate = nullptr;
    std::vector<CView*> m_views;

    friend class CDocTemplate;
    friend class CSingleDocTemplate;

    DECLARE_MESSAGE_MAP()
};
