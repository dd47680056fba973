// Dialog data exchange: copies between a dialog's members and its controls,
// in one direction or the other as UpdateData asks.
#pragma once

#include "framework/String.h"

class CWnd;

class CDataExchange {
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate) : m_pDlgWnd(pDlgWnd), m_bSaveAndValidate(bSaveAndValidate) {}

    CWnd* m_pDlgWnd;
    BOOL m_bSaveAndValidate;  // true: controls to members

    // The control's window; a missing control fails the exchange.
    HWND PrepareCtrl(int nIDC);
    // Ends the exchange, putting the focus back on the last prepared control.
    [[noreturn]] void Fail();

private:
    HWND m_hWndLastControl = nullptr;
};

// Thrown by CDataExchange::Fail and caught by UpdateData.
struct CDataExchangeFailure {};

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
void DDX_Text(CDataExchange* pDX, int nIDC, int& value);
void DDX_Check(CDataExchange* pDX, int nIDC, int& value);
// The index of the checked button of the group that starts at nIDC; -1 none.
void DDX_Radio(CDataExchange* pDX, int nIDC, int& value);
void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index);
// Subclasses the control into rControl the first time (per window).
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);
