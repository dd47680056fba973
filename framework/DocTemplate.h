// The document template: which document, frame and view classes make up a
// document window, and the resource id of its menu, accelerators, icon and
// document string. The single-document template keeps one document.
#pragma once

#include <memory>

#include "framework/CmdTarget.h"
#include "framework/String.h"

class CDocument;
class CFrameWnd;
class CView;

// What a frame needs to create its view for a document.
struct CCreateContext {
    const CRuntimeClass* m_pNewViewClass = nullptr;
    CDocument* m_pCurrentDoc = nullptr;
    class CDocTemplate* m_pNewDocTemplate = nullptr;
    CView* m_pLastView = nullptr;
    CFrameWnd* m_pCurrentFrame = nullptr;
};

class CDocTemplate : public CCmdTarget {
    DECLARE_DYNAMIC(CDocTemplate)
public:
    enum DocStringIndex { windowTitle, docName, fileNewName, filterName, filterExt, regFileTypeId, regFileTypeName };

    CDocTemplate(UINT nIDResource, const CRuntimeClass* pDocClass, const CRuntimeClass* pFrameClass,
                 const CRuntimeClass* pViewClass);

    UINT GetResourceID() const { return m_nIDResource; }
    // One field of the document string (fields are separated by '\n').
    BOOL GetDocString(CString& rString, DocStringIndex index) const;

    virtual CDocument* OpenDocumentFile(const wchar_t* pszPathName, BOOL bMakeVisible = TRUE) = 0;
    virtual CDocument* CreateNewDocument();
    virtual CFrameWnd* CreateNewFrame(CDocument* pDoc, CFrameWnd* pOther);
    virtual void InitialUpdateFrame(CFrameWnd* pFrame, CDocument* pDoc, BOOL bMakeVisible = TRUE);
    virtual void RemoveDocument(CDocument* pDoc) = 0;

protected:
    // The title of a new document: the document string's name, or "Untitled".
    void SetDefaultTitle(CDocument* pDoc) const;

    UINT m_nIDResource;
    const CRuntimeClass* m_pDocClass;
    const CRuntimeClass* m_pFrameClass;
    const CRuntimeClass* m_pViewClass;
    CString m_strDocStrings;
};

class CSingleDocTemplate : public CDocTemplate {
    DECLARE_DYNAMIC(CSingleDocTemplate)
public:
    using CDocTemplate::CDocTemplate;
    ~CSingleDocTemplate() override;

    CDocument* OpenDocumentFile(const wchar_t* pszPathName, BOOL bMakeVisible = TRUE) override;
    void RemoveDocument(CDocument* pDoc) override;
    CDocument* GetDocument() const { return m_pOnlyDoc; }

private:
    CDocument* m_pOnlyDoc = nullptr;
};
