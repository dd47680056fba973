#include "calc/ZoneDataDialog.h"

#include "app/Lifecycle.h"

CZoneDataDialog::CZoneDataDialog(CSimbrel1View* pView) : CDialog(IDD), m_pView(pView)
{
    TraceLifecycle("CZoneDataDialog", true);
}

CZoneDataDialog::~CZoneDataDialog()
{
    TraceLifecycle("CZoneDataDialog", false);
}
