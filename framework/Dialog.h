// CDialog: a dialog box from a template of the program's resources (or one
// built in memory), modal or modeless. The object lives on while its window
// comes and goes; it can be used without a window at all.
#pragma once

#include "framework/Wnd.h"

class CDataExchange;

class CDialog : public CWnd {
    DECLARE_DYNAMIC(CDialog)
public:
    CDialog() = default;
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    ~CDialog() override;

    // Modal: runs the dialog's own message loop and returns the code given
    // to EndDialog (-1 when the window could not be created). A dialog
    // without a parent is owned by the main window, which is disabled while
    // it runs. Goes through the answerer when one is installed.
    virtual INT_PTR DoModal();
    // Modeless: without a parent a pop-up template is owned by the main window.
    virtual BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    BOOL CreateIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd = nullptr);
    // For a modal dialog from a template in memory.
    void InitModalIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd = nullptr);

    void EndDialog(int nResult);
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
    void SetDefID(UINT nID) { SendMessage(DM_SETDEFID, nID); }
    DWORD GetDefID() const { return static_cast<DWORD>(SendMessage(DM_GETDEFID)); }
    void GotoDlgCtrl(CWnd* pWndCtrl);
    void NextDlgCtrl() const { SendMessage(WM_NEXTDLGCTL, 0, 0); }
    void PrevDlgCtrl() const { SendMessage(WM_NEXTDLGCTL, 1, 0); }
    CWnd* GetNextDlgTabItem(CWnd* pWndCtl, BOOL bPrevious = FALSE) const;
    UINT GetTemplateID() const { return m_nIDTemplate; }
    bool IsModal() const { return m_bModal; }

    virtual BOOL OnInitDialog();
    virtual void DoDataExchange(CDataExchange* pDX);
    virtual void OnOK();
    virtual void OnCancel();
    BOOL PreTranslateMessage(MSG* pMsg) override;

    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

protected:
    UINT m_nIDTemplate = 0;
    LPCDLGTEMPLATE m_lpDialogTemplate = nullptr;
    CWnd* m_pParentWnd = nullptr;
    int m_nModalResult = -1;
    bool m_bModal = false;

    // Called when the dialog's data exchange fails; the field keeps the focus.
    virtual void OnDataExchangeFailed() {}

private:
    HWND CreateFromTemplate(LPCDLGTEMPLATE lpTemplate, HWND hWndOwner);
    static LPCDLGTEMPLATE LoadTemplate(UINT nIDTemplate);

    DECLARE_MESSAGE_MAP()
};

// The main window's handle, or null before there is one: the owner of
// dialogs created without a parent.
HWND AfxGetMainWndHandle();
