#include "pages/BusinessInfoDialog.h"

#include "app/Globals.h"
#include "app/Lifecycle.h"
#include "app/Simbrel1View.h"
#include "framework/Ddx.h"
#include "framework/File.h"
#include "framework/FileDialog.h"
#include "report/Dib.h"
#include "report/ReportLogos.h"
#include "res/resource.h"

namespace {

constexpr int kHelpTopic = 0;
constexpr int kNoEntryIcon = 176;
constexpr int kExclamationIcon = 175;
constexpr int kKindOk = 0;
constexpr int kKindYesNo = 4;
constexpr int kNoHelpTopic = 255;
constexpr int kOkText = 4407;
constexpr int kCancelText = 4408;
constexpr int kHelpText = 4619;
constexpr int kCityText = 10008;
constexpr int kStateText = 10009;
constexpr int kZipText = 10010;
constexpr int kPhoneText = 10011;
constexpr int kFaxText = 10012;
constexpr int kEmailText = 17068;
constexpr int kWebsiteText = 17069;

const wchar_t* const kLogoFilter =
    L"Windows Bitmap (*.bmp)|*.bmp|TIFF (*.tif)|*.tif|JPEG (*.jpg)|*.jpg|Extended MetaFile (*.emf)|*.emf|"
    L"All (*.bmp;*.jpg;*.tif;*.emf)|*.bmp;*.jpg;*.tif;*.emf||";
constexpr DWORD kAllPicturesFilter = 5;
// The file a new logo is built in before it replaces the old one.
const wchar_t* const kPendingLogoName = L"ReportLogo-Header-new";

struct KeyField {
    const wchar_t* pszKey;
    CString CBusinessInfoDialog::*pMember;
    int nControl;
};

const KeyField kKeyFields[CBusinessInfoDialog::kKeyCount] = {
    {L"Business:", &CBusinessInfoDialog::m_strBusinessName, IDC_BUS_NAME},
    {L"Business_Name_Line2:", &CBusinessInfoDialog::m_strNameLine2, IDC_BUS_NAME2},
    {L"B_Address:", &CBusinessInfoDialog::m_strAddress, IDC_BUS_ADDRESS},
    {L"B_Address_Line2:", &CBusinessInfoDialog::m_strAddressLine2, IDC_BUS_ADDRESS2},
    {L"B_City:", &CBusinessInfoDialog::m_strCity, IDC_BUS_CITY},
    {L"B_State:", &CBusinessInfoDialog::m_strState, IDC_BUS_STATE},
    {L"B_Zip:", &CBusinessInfoDialog::m_strZip, IDC_BUS_ZIP},
    {L"B_Phone:", &CBusinessInfoDialog::m_strPhone, IDC_BUS_PHONE},
    {L"B_Fax:", &CBusinessInfoDialog::m_strFax, IDC_BUS_FAX},
    {L"Business_Email:", &CBusinessInfoDialog::m_strEmail, IDC_BUS_EMAIL},
    {L"Business_Website:", &CBusinessInfoDialog::m_strWebsite, IDC_BUS_WEBSITE},
};

// A bitmap file the report can read, or a metafile the system can play.
bool IsUsablePicture(const CString& strPath, bool bMetafile)
{
    if (bMetafile) {
        HENHMETAFILE hMetafile = ::GetEnhMetaFileW(strPath.GetString());
        if (hMetafile == nullptr)
            return false;
        ::DeleteEnhMetaFile(hMetafile);
        return true;
    }
    CFile file;
    if (!file.Open(strPath.GetString(), CFile::modeRead | CFile::shareDenyWrite))
        return false;
    CDib dib;
    const BOOL bRead = dib.ReadFromFile(&file);
    file.Close();
    return bRead && dib.GetHeader() != nullptr;
}

}  // namespace

BEGIN_MESSAGE_MAP(CBusinessInfoDialog, CPageDialog)
    ON_BN_CLICKED(IDC_BUS_NO_ACTION, OnNoAction)
    ON_BN_CLICKED(IDC_BUS_CLEAR, OnClearButton)
    ON_BN_CLICKED(IDC_BUS_HELP, OnHelpButton)
    ON_BN_CLICKED(IDC_BUS_LOAD_LOGO, OnLoadNewLogo)
    ON_BN_CLICKED(IDC_BUS_DELETE_LOGO, OnDeleteLogo)
END_MESSAGE_MAP()

CBusinessInfoDialog::CBusinessInfoDialog() : CPageDialog(IDD, nullptr)
{
    TraceLifecycle("CBusinessInfoDialog", true);
    m_nNoActionId = IDC_BUS_NO_ACTION;
    for (const KeyField& field : kKeyFields)
        m_EntryFields.push_back(field.nControl);
    m_nHelpTopic = kHelpTopic;
}

CBusinessInfoDialog::~CBusinessInfoDialog()
{
    TraceLifecycle("CBusinessInfoDialog", false);
}

void CBusinessInfoDialog::ClearData()
{
    for (const KeyField& field : kKeyFields)
        (this->*field.pMember).Empty();
}

CString CBusinessInfoDialog::WriteToFile() const
{
    CString strText;
    for (const KeyField& field : kKeyFields)
        strText += CSimbrel1View::MakeKeyLine(L"", field.pszKey, this->*field.pMember);
    return strText;
}

void CBusinessInfoDialog::ReadFromFile()
{
    if (m_pView == nullptr)
        return;
    for (const KeyField& field : kKeyFields)
        this->*field.pMember = m_pView->GetPrefixedFileValue(L"", field.pszKey);
}

void CBusinessInfoDialog::DoDataExchange(CDataExchange* pDX)
{
    CPageDialog::DoDataExchange(pDX);
    for (const KeyField& field : kKeyFields)
        DDX_Text(pDX, field.nControl, this->*field.pMember);
    DDX_Control(pDX, IDC_BUS_LOGO_POSITION, m_comboLogoPosition);
}

BOOL CBusinessInfoDialog::OnInitDialog()
{
    CPageDialog::OnInitDialog();
    m_strLogoFolder.Empty();
    return TRUE;
}

BOOL CBusinessInfoDialog::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_ESCAPE)
        return TRUE;
    return CPageDialog::PreTranslateMessage(pMsg);
}

void CBusinessInfoDialog::SetTexts()
{
    SetControlText(0, IDS_BUS_CAPTION);
    SetControlText(IDC_BUS_NAME_LABEL, IDS_BUS_NAME);
    SetControlText(IDC_BUS_NAME2_LABEL, IDS_BUS_NAME2);
    SetControlText(IDC_BUS_ADDRESS_LABEL, IDS_BUS_ADDRESS);
    SetControlText(IDC_BUS_ADDRESS2_LABEL, IDS_BUS_ADDRESS2);
    SetControlText(IDC_BUS_CITY_LABEL, kCityText);
    SetControlText(IDC_BUS_STATE_LABEL, kStateText);
    SetControlText(IDC_BUS_ZIP_LABEL, kZipText);
    SetControlText(IDC_BUS_PHONE_LABEL, kPhoneText);
    SetControlText(IDC_BUS_FAX_LABEL, kFaxText);
    SetControlText(IDC_BUS_EMAIL_LABEL, kEmailText);
    SetControlText(IDC_BUS_WEBSITE_LABEL, kWebsiteText);
    SetControlText(IDC_BUS_HEADER_LOGO_LABEL, IDS_BUS_HEADER_LOGO);
    SetControlText(IDC_BUS_LOGO_POSITION_LABEL, IDS_BUS_REPORT_LOGO);
    SetControlText(IDC_BUS_LOAD_LOGO, IDS_BUS_LOAD_LOGO);
    SetControlText(IDC_BUS_DELETE_LOGO, IDS_BUS_DELETE_LOGO);
    SetControlText(IDC_BUS_HELP, kHelpText);
    SetControlText(IDC_BUS_CLEAR, IDS_CLEAR);
    SetControlText(IDOK, kOkText);
    SetControlText(IDCANCEL, kCancelText);
    if (CWnd* pDelete = GetDlgItem(IDC_BUS_DELETE_LOGO))
        pDelete->EnableWindow(GetHeaderLogoFile().IsEmpty() ? FALSE : TRUE);
    ShowControl(SW_HIDE, IDC_BUS_LOGO_POSITION_LABEL);
    ShowControl(SW_HIDE, IDC_BUS_LOGO_POSITION);
}

CString CBusinessInfoDialog::GetHeaderLogoFile() const
{
    if (m_pView == nullptr)
        return CString();
    return GetReportLogoFile(m_pView->m_strDataFolder, kLogoHeader);
}

bool CBusinessInfoDialog::InstallLogo(const CString& strSource, const CString& strExtension, bool bConvert,
                                      bool bReplaceOther)
{
    if (m_pView == nullptr)
        return false;
    const CString strFolder = m_pView->m_strDataFolder;
    const CString strPending = strFolder + kPendingLogoName;
    const CString strCopy = strPending + strExtension;
    const CString strFinalExtension = bConvert ? CString(L".bmp") : strExtension;
    const CString strReady = strPending + strFinalExtension;
    auto removeLeftovers = [&] {
        ::DeleteFileW(strCopy.GetString());
        ::DeleteFileW(strReady.GetString());
    };

    removeLeftovers();
    bool bDone = ::CopyFileW(strSource.GetString(), strCopy.GetString(), FALSE) != FALSE;
    if (bDone && bConvert) {
        bDone = ConvertImageToDib(strCopy, nullptr, true);
        ::DeleteFileW(strCopy.GetString());
    }
    // Only a picture the report can show replaces the logo in use.
    CString strLower = strFinalExtension;
    strLower.MakeLower();
    if (bDone && (strLower == L".bmp" || strLower == L".emf"))
        bDone = IsUsablePicture(strReady, strLower == L".emf");
    const CString strTarget = strFolder + GetReportLogoName(kLogoHeader) + strFinalExtension;
    if (bDone)
        bDone = ::MoveFileExW(strReady.GetString(), strTarget.GetString(), MOVEFILE_REPLACE_EXISTING) != FALSE;
    if (!bDone) {
        removeLeftovers();
        return false;
    }
    if (bReplaceOther) {
        const int nOther = strLower == L".emf" ? kLogoFormatBmp : kLogoFormatEmf;
        const CString strOther = GetReportLogoPath(strFolder, nOther, kLogoHeader);
        if (!strOther.IsEmpty())
            ::DeleteFileW(strOther.GetString());
    }
    return true;
}

bool CBusinessInfoDialog::ImportLogoFile(const CString& strPath)
{
    const CString strName = strPath.Mid(strPath.ReverseFind(L'\\') + 1);
    const int nDot = strName.ReverseFind(L'.');
    const CString strExtension = nDot >= 0 ? strName.Mid(nDot) : CString();
    const bool bConvert = strExtension == L".jpg" || strExtension == L".tif";
    return InstallLogo(strPath, strExtension, bConvert, false);
}

void CBusinessInfoDialog::OnLoadNewLogo()
{
    if (m_pView == nullptr)
        return;
    if (!GetHeaderLogoFile().IsEmpty() &&
        m_pView->ShowMessage(IDS_BUS_REPLACE_LOGO, CString(), kNoEntryIcon, kKindYesNo, kNoHelpTopic) != IDYES)
        return;
    if (m_strLogoFolder.IsEmpty())
        m_strLogoFolder = g_strDocumentsFolder;

    CFileDialog dialog(TRUE, nullptr, nullptr, OFN_EXPLORER | OFN_HIDEREADONLY, kLogoFilter, this);
    const CString strTitle = L"Select Logo File";
    const CString strInitialDir = m_strLogoFolder;
    dialog.m_ofn.lpstrTitle = strTitle.GetString();
    dialog.m_ofn.lpstrInitialDir = strInitialDir.GetString();
    dialog.m_ofn.nFilterIndex = kAllPicturesFilter;
    if (dialog.DoModal() != IDOK)
        return;

    const CString strPath = dialog.GetPathName();
    m_strLogoFolder = strPath.Left(strPath.ReverseFind(L'\\'));
    const int nDot = strPath.ReverseFind(L'.');
    CString strExtension = nDot >= 0 ? strPath.Mid(nDot) : CString();
    strExtension.MakeLower();
    if (strExtension != L".jpg" && strExtension != L".bmp" && strExtension != L".tif" && strExtension != L".emf")
        return;

    const bool bConvert = strExtension == L".jpg" || strExtension == L".tif";
    if (!InstallLogo(strPath, strExtension, bConvert, true)) {
        CString strFormat;
        strFormat.LoadString(IDS_BUS_LOGO_NOT_USABLE);
        CString strMessage;
        strMessage.Format(strFormat.GetString(), strPath.GetString());
        m_pView->ShowMessage(IDS_BUS_LOGO_NOT_USABLE, strMessage, kExclamationIcon, kKindOk, kNoHelpTopic);
    }
    SetPageTexts();
}

void CBusinessInfoDialog::OnDeleteLogo()
{
    if (m_pView == nullptr)
        return;
    if (m_pView->ShowMessage(IDS_BUS_DELETE_LOGO_QUESTION, CString(), kNoEntryIcon, kKindYesNo, kNoHelpTopic) !=
        IDYES)
        return;
    const CString strLogo = GetHeaderLogoFile();
    if (!strLogo.IsEmpty()) {
        try {
            CFile::Remove(strLogo.GetString());
        } catch (const CFileException& error) {
            error.ReportError(MB_OK | MB_ICONEXCLAMATION);
        }
    }
    SetPageTexts();
}
