#include "calc/DeviationsFromStandard.h"

#include "app/Lifecycle.h"

CDeviationsFromStandard::CDeviationsFromStandard(CSimbrel1View* pView) : CDialog(IDD), m_pView(pView)
{
    TraceLifecycle("CDeviationsFromStandard", true);
}

CDeviationsFromStandard::~CDeviationsFromStandard()
{
    TraceLifecycle("CDeviationsFromStandard", false);
}
