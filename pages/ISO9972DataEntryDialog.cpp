#include "pages/ISO9972DataEntryDialog.h"

#include "app/Lifecycle.h"
#include "app/Simbrel1View.h"
#include "framework/Ddx.h"
#include "res/resource.h"

namespace {
const wchar_t* const kIsoMethodKey = L"Type_of_ISO9972_Test_Method:";
constexpr int kIsoMethods = 3;
}  // namespace

CISO9972DataEntryDialog::CISO9972DataEntryDialog(CSimbrel1View* pView) : CStandardDataPage(IDD, pView, true)
{
    TraceLifecycle("CISO9972DataEntryDialog", true);
}

CISO9972DataEntryDialog::~CISO9972DataEntryDialog()
{
    TraceLifecycle("CISO9972DataEntryDialog", false);
}

CString CISO9972DataEntryDialog::WriteMethodLine() const
{
    return CSimbrel1View::MakeKeyLine(L"", kIsoMethodKey, m_strIsoTestMethod);
}

void CISO9972DataEntryDialog::ReadMethod()
{
    m_strIsoTestMethod = m_pView->GetPrefixedFileValue(L"", kIsoMethodKey);
}

void CISO9972DataEntryDialog::ExchangeMethod(CDataExchange* pDX)
{
    DDX_Text(pDX, IDC_STD_ISO_METHOD, m_strIsoTestMethod);
}

void CISO9972DataEntryDialog::FillMethodCombo()
{
    SendDlgItemMessage(IDC_STD_ISO_METHOD, CB_RESETCONTENT);
    for (int i = 0; i < kIsoMethods; ++i) {
        const CString strItem = LoadText(static_cast<unsigned int>(IDS_STD_ISO_METHOD_1 + i));
        SendDlgItemMessage(IDC_STD_ISO_METHOD, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(strItem.GetString()));
    }
    // The text as stored, also one of the user's own.
    SetDlgItemText(IDC_STD_ISO_METHOD, m_strIsoTestMethod.GetString());
}

int CISO9972DataEntryDialog::MethodComboId() const
{
    return IDC_STD_ISO_METHOD;
}
