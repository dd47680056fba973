#include "testrun/TestGraph1.h"

#include "app/Lifecycle.h"

CTestGraph1::CTestGraph1(CSimbrel1View* pView) : CDialog(IDD), m_pView(pView)
{
    TraceLifecycle("CTestGraph1", true);
    ResetTestData();
    for (auto& slot : m_FlowFactor)
        for (double& factor : slot)
            factor = 1.0;
}

CTestGraph1::~CTestGraph1()
{
    TraceLifecycle("CTestGraph1", false);
}

void CTestGraph1::ResetTestData()
{
    for (int d = 0; d < 2; ++d) {
        m_StationCount[d] = 0;
        m_CompletedTests[d] = 0;
        m_CurrentRing[d] = 0;
        m_LastDeletedIndex[d] = -1;
        for (CString& point : m_DeletedPoints[d])
            point.Empty();
        m_GraphPmin[d] = 4.0;
        m_GraphPmax[d] = 70.0;
        m_GraphQmin[d] = 100.0;
        m_GraphQmax[d] = 6000.0;
        for (int t = 0; t < kMaxTests; ++t) {
            // No test exists any more, so none keeps its place in the entries.
            m_TestFirstRow[d][t] = -1;
            m_TestRowCount[d][t] = 0;
            for (int phase = 0; phase < 2; ++phase) {
                m_TestTin[phase][d][t] = 0.0;
                m_TestTout[phase][d][t] = 0.0;
                m_TestPbaro[phase][d][t] = 0.0;
            }
        }
    }
    m_FanSpeed = 0.0;
    m_CruiseMode = 0;
}

void CTestGraph1::ClearAllTestData()
{
    // The deviations and the manual-entry rows are not cleared here yet.
    ResetTestData();
}
