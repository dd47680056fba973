// The connected-device section of a test file: a text snapshot of each gauge
// link taken at the end of a test, written with the test and read back.
#include <algorithm>

#include "app/Simbrel1View.h"
#include "app/TestSettingsDialog.h"
#include "comm/QarCommunications.h"
#include "testrun/TestGraph1.h"

namespace {
constexpr int kMaxDevices = 4;
constexpr int kMaxBoxChannels = 8;

bool IsRqModel(const CString& strModel)
{
    return strModel.Find(L"RQ") >= 0;
}

int BoxChannels(const CString& strCount)
{
    return std::clamp(CSimbrel1View::StripLeadingBlanks(strCount).IsEmpty() ? 0 : _wtoi(strCount.GetString()), 0,
                      kMaxBoxChannels);
}
}  // namespace

CString CTestGraph1::MakeAuxKey(int r, const CString& strKey)
{
    if (r == 0)
        return strKey;
    return CString::FormatText(L"Aux%d_%s", r, strKey.GetString());
}

CString CTestGraph1::MakeGaugeCalibrationKey(int nConstant, int r)
{
    const int c = std::clamp(nConstant, 0, 11);
    const CString strKey = CString::FormatText(L"Pr%s_%s_C%d_Calibration:", c < 6 ? L"A" : L"B",
                                               (c / 3) % 2 == 0 ? L"Pos" : L"Neg", c % 3 + 1);
    return MakeAuxKey(r, strKey);
}

CString CTestGraph1::MakeChannelCalibrationKey(int bAnalog, int bHighRange, int j, int r)
{
    const wchar_t* pszRange = bHighRange ? L"HiRange" : L"LoRange";
    if (bAnalog)
        return MakeAuxKey(r, CString::FormatText(L"Analog_%s_Calibration:", pszRange));
    return MakeAuxKey(r, CString::FormatText(L"Pr#%d_%s_Calibration:", j, pszRange));
}

void CTestGraph1::CaptureDeviceInfo()
{
    m_DevicesCaptured = std::clamp(m_DevicesInUse, 0, kMaxDevices);
    for (int r = 0; r < m_DevicesCaptured; ++r) {
        CDeviceInfoStrings& info = m_DeviceInfo[r];
        info.Reset();
        CQarCommunications* pLink = Link(r);
        if (pLink == nullptr)
            continue;
        pLink->FormatDeviceInfo();
        if (!pLink->m_bConnected || pLink->m_strModelSerial.IsEmpty())
            continue;
        // "model - serial": without a "-" after the model there is no identity.
        const int nDash = pLink->m_strModelSerial.Find(L'-');
        if (nDash <= 0)
            continue;
        CString* pText = info.m_strText;
        pText[CDeviceInfoStrings::kModel] = pLink->m_strModelSerial.Left(nDash - 1);
        pText[CDeviceInfoStrings::kSerialNumber] = pLink->m_strModelSerial.Mid(nDash + 2);
        pText[CDeviceInfoStrings::kCalDateShort] = pLink->m_strCalDateLocale;
        pText[CDeviceInfoStrings::kCalDateNumeric] = pLink->m_strCalDateNumeric;
        pText[CDeviceInfoStrings::kChannelCount] = CString::FormatText(L"%d", static_cast<int>(pLink->m_nChannelCount));
        pText[CDeviceInfoStrings::kDeviceType] = pLink->m_bGauge ? L"2" : L"1";
        pText[CDeviceInfoStrings::kSupply] = pLink->m_strSupply;
        if (pLink->m_bGauge) {
            pText[CDeviceInfoStrings::kFirmware] = pLink->m_strFirmware;
            for (int c = 0; c < 12; ++c)
                pText[CDeviceInfoStrings::kFirstConstant + c] = pLink->m_strConstants[c];
        } else {
            pText[CDeviceInfoStrings::kRangeGainLow] = pLink->m_strRangeGain[1];
            pText[CDeviceInfoStrings::kRangeGainHigh] = pLink->m_strRangeGain[0];
            const int nChannels = std::clamp(static_cast<int>(pLink->m_nChannelCount), 2, kMaxBoxChannels);
            for (int j = 0; j < nChannels; ++j) {
                pText[CDeviceInfoStrings::kFirstChannelGain + 2 * j] = pLink->m_strChannelGain[2 * j];
                pText[CDeviceInfoStrings::kFirstChannelGain + 2 * j + 1] = pLink->m_strChannelGain[2 * j + 1];
            }
        }
    }
}

CString CTestGraph1::WriteDeviceInfo()
{
    CString strText;
    const int nDevices = std::clamp(std::max(m_DevicesInUse, m_DevicesCaptured), 0, kMaxDevices);
    for (int r = 0; r < nDevices; ++r) {
        if (CQarCommunications* pLink = Link(r))
            pLink->FormatDeviceInfo();
        const CString* pText = m_DeviceInfo[r].m_strText;
        const CString& strModel = pText[CDeviceInfoStrings::kModel];
        if (strModel.IsEmpty())
            break;
        auto line = [&strText, r](const CString& strKey, const CString& strValue) {
            strText += MakeAuxKey(r, strKey) + L" " + strValue + L"\n";
        };
        line(L"Micromanometer_Model:", strModel);
        line(L"Micromanometer_Serial_Number:", pText[CDeviceInfoStrings::kSerialNumber]);
        line(L"Micromanometer_Custom_Calibration_Date_QAR_Univ:", pText[CDeviceInfoStrings::kCalDateNumeric]);
        line(L"Micromanometer_Custom_Calibration_Date_Local:",
             CSimbrel1View::DotsToSlashes(pText[CDeviceInfoStrings::kCalDateShort]));
        if (pText[CDeviceInfoStrings::kSerialNumber].IsEmpty())
            continue;
        line(L"Pr_Channels:", pText[CDeviceInfoStrings::kChannelCount]);
        if (IsRqModel(strModel)) {
            line(L"Device_Type:", L"2");
            line(L"Battery_Voltage:", pText[CDeviceInfoStrings::kSupply]);
            line(L"Firmware_Version:", pText[CDeviceInfoStrings::kFirmware]);
            for (int c = 0; c < 12; ++c)
                strText += MakeGaugeCalibrationKey(c, r) + L" " + pText[CDeviceInfoStrings::kFirstConstant + c] + L"\n";
        } else {
            line(L"Device_Type:", L"1");
            line(L"Measured_DcVolt:", pText[CDeviceInfoStrings::kSupply]);
            strText += MakeChannelCalibrationKey(1, 0, 0, r) + L" " + pText[CDeviceInfoStrings::kRangeGainLow] + L"\n";
            strText += MakeChannelCalibrationKey(1, 1, 0, r) + L" " + pText[CDeviceInfoStrings::kRangeGainHigh] + L"\n";
            // Only eight channel pairs exist, whatever the count says.
            const int nChannels = BoxChannels(pText[CDeviceInfoStrings::kChannelCount]);
            for (int j = 0; j < nChannels; ++j) {
                strText += MakeChannelCalibrationKey(0, 0, j, r) + L" " +
                           pText[CDeviceInfoStrings::kFirstChannelGain + 2 * j] + L"\n";
                strText += MakeChannelCalibrationKey(0, 1, j, r) + L" " +
                           pText[CDeviceInfoStrings::kFirstChannelGain + 2 * j + 1] + L"\n";
            }
        }
    }
    return strText;
}

int CTestGraph1::ReadDeviceInfo(int d)
{
    if (m_pView == nullptr || m_pSettings == nullptr || (d != 0 && d != 1) || m_pSettings->m_chMethodLetter[d] == L'M')
        return 0;
    const CSimbrel1View& view = *m_pView;
    for (CDeviceInfoStrings& info : m_DeviceInfo)
        info.Reset();
    int nCount = 0;
    for (int r = 0; r < kMaxDevices; ++r) {
        auto value = [&view, r](const wchar_t* pszKey) { return view.GetFileValue(MakeAuxKey(r, pszKey)); };
        CString* pText = m_DeviceInfo[r].m_strText;
        pText[CDeviceInfoStrings::kModel] = value(L"Micromanometer_Model:");
        if (pText[CDeviceInfoStrings::kModel].IsEmpty())
            break;
        ++nCount;
        pText[CDeviceInfoStrings::kSerialNumber] = value(L"Micromanometer_Serial_Number:");
        pText[CDeviceInfoStrings::kCalDateNumeric] = value(L"Micromanometer_Custom_Calibration_Date_QAR_Univ:");
        // Shown in the reader's own date form; a damaged date has none.
        pText[CDeviceInfoStrings::kCalDateShort] =
            CSimbrel1View::FormatDateKeyLocal(pText[CDeviceInfoStrings::kCalDateNumeric]);
        pText[CDeviceInfoStrings::kChannelCount] = value(L"Pr_Channels:");
        pText[CDeviceInfoStrings::kDeviceType] = value(L"Device_Type:");
        const bool bRq = IsRqModel(pText[CDeviceInfoStrings::kModel]);
        pText[CDeviceInfoStrings::kSupply] = value(bRq ? L"Battery_Voltage:" : L"Measured_DcVolt:");
        pText[CDeviceInfoStrings::kFirmware] = value(L"Firmware_Version:");
        if (bRq) {
            for (int c = 0; c < 12; ++c)
                pText[CDeviceInfoStrings::kFirstConstant + c] = view.GetFileValue(MakeGaugeCalibrationKey(c, r));
        } else {
            pText[CDeviceInfoStrings::kRangeGainLow] = view.GetFileValue(MakeChannelCalibrationKey(1, 0, 0, r));
            pText[CDeviceInfoStrings::kRangeGainHigh] = view.GetFileValue(MakeChannelCalibrationKey(1, 1, 0, r));
            const int nChannels = BoxChannels(pText[CDeviceInfoStrings::kChannelCount]);
            for (int j = 0; j < nChannels; ++j) {
                pText[CDeviceInfoStrings::kFirstChannelGain + 2 * j] =
                    view.GetFileValue(MakeChannelCalibrationKey(0, 0, j, r));
                pText[CDeviceInfoStrings::kFirstChannelGain + 2 * j + 1] =
                    view.GetFileValue(MakeChannelCalibrationKey(0, 1, j, r));
            }
        }
    }
    return nCount;
}
