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

void CDeviationsFromStandard::SetDeviation(int nPosition, const CString& strText, int d, int t)
{
    if (nPosition < 0 || nPosition >= kPositions || d < 0 || d > 1 || t < 0 || t >= kMaxTests)
        return;
    std::unique_ptr<CStringArray>& pList = m_pLists[d][t];
    if (pList == nullptr) {
        pList = std::make_unique<CStringArray>();
        pList->SetSize(kPositions);
    }
    pList->SetAt(nPosition, strText);
}

void CDeviationsFromStandard::ClearAllDeviations()
{
    for (auto& slot : m_pLists)
        for (std::unique_ptr<CStringArray>& pList : slot)
            pList.reset();
    m_pLists[0][0] = std::make_unique<CStringArray>();
    m_pLists[0][0]->SetSize(kPositions);
}
