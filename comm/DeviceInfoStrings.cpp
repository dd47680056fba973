#include "comm/DeviceInfoStrings.h"

void CDeviceInfoStrings::Reset()
{
    for (CString& strText : m_strText)
        strText.Empty();
}

void CDeviceInfoStrings::SetModelSerial(const CString& strModelSerial)
{
    const int nDash = strModelSerial.Find(L'-');
    if (nDash < 0) {
        m_strText[kModel] = strModelSerial;
        m_strText[kSerialNumber].Empty();
        return;
    }
    m_strText[kModel] = strModelSerial.Left(nDash - 1);
    m_strText[kSerialNumber] = strModelSerial.Mid(nDash + 2);
}
