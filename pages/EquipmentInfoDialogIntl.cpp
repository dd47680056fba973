#include "pages/EquipmentInfoDialogIntl.h"

#include "app/Lifecycle.h"

CEquipmentInfoDialogIntl::CEquipmentInfoDialogIntl() : CDialog(IDD)
{
    TraceLifecycle("CEquipmentInfoDialogIntl", true);
}

CEquipmentInfoDialogIntl::~CEquipmentInfoDialogIntl()
{
    TraceLifecycle("CEquipmentInfoDialogIntl", false);
}

void CEquipmentInfoDialogIntl::ClearData()
{
    m_strFanSerial.Empty();
    m_chFanCode = L'4';
    m_nFanIndex = 2;
    m_nGaugeModel = 1;
    m_strGaugeModel = L"RQ40";
    m_strGaugeSerial.Empty();
}

void CEquipmentInfoDialogIntl::ReadDefaultsFile()
{
}

CString CEquipmentInfoDialogIntl::WriteToFile() const
{
    return CString();
}

void CEquipmentInfoDialogIntl::ReadFromFile() {}
