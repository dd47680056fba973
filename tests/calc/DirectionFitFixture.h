// A whole view, as the program makes it, whose test data store the fit tests
// fill entry by entry.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "app/Globals.h"
#include "app/Simbrel1View.h"
#include "app/TestSettingsDialog.h"
#include "calc/QarMathFunctions.h"
#include "testrun/TestGraph1.h"
#include "tests/TestSupport.h"

namespace dirfit {

// One entry of a slot: a baseline marker (ring -1) or a data point.
struct Entry {
    int ring;
    double target;
    double p;   // raw building pressure, Pa
    double q;   // stored flow
};

inline Entry Marker(double p)
{
    return {-1, 0.0, p, 0.0};
}

inline Entry Point(double target, double p, double q)
{
    return {1, target, p, q};
}

// Q = C * P^n.
inline double Law(double C, double n, double p)
{
    return C * std::pow(p, n);
}

class DirectionFitFixture : public testing::Test {
protected:
    void SetUp() override
    {
        m_strSavedRoot = g_strUserDataRoot;
        m_nSavedDirection = g_nCurrentDirection;
        g_strUserDataRoot = MakeTempFolder(L"direction-fit").c_str();
        g_nCurrentDirection = 0;
        m_pView = std::make_unique<CSimbrel1View>();
        s = m_pView->m_pTestGraph;
        math = m_pView->m_pMath;
        settings = m_pView->m_pSettings;
        // CGSB with equal temperatures inside and out: every flow factor is
        // exactly 1, so the fits can be checked against exact power laws.
        settings->m_nStandard = 0;
        settings->m_chDirectionLetter[0] = L'P';
        settings->m_chDirectionLetter[1] = L'D';
        settings->m_chMethodLetter[0] = L'A';
        settings->m_chMethodLetter[1] = L'A';
        m_pView->m_nTemperatureUnit = 1;   // degrees C
        m_pView->m_nBuildingUnit = 1;      // metres
        for (int d = 0; d < 2; ++d) {
            s->m_FitN[d] = 0.0;
            s->m_FitC[d] = 0.0;
            for (int t = 0; t < CTestGraph1::kMaxTests; ++t)
                SetEnvironment(d, t, 20.0, 20.0, 101325.0, 0.0);
        }
    }
    void TearDown() override
    {
        m_pView.reset();
        g_strUserDataRoot = m_strSavedRoot;
        g_nCurrentDirection = m_nSavedDirection;
    }

    // Lays out slot d; every pair of markers is a completed test.
    void Lay(int d, const std::vector<Entry>& entries)
    {
        int nMarkers = 0;
        for (size_t i = 0; i < entries.size() && i < static_cast<size_t>(CTestGraph1::kMaxEntries); ++i) {
            s->m_Ring[d][i] = entries[i].ring;
            s->m_TargetP[d][i] = entries[i].target;
            s->m_Pavg[d][i] = entries[i].p;
            s->m_Qavg[d][i] = entries[i].q;
            nMarkers += entries[i].ring == -1 ? 1 : 0;
        }
        s->m_StationCount[d] = static_cast<int>(entries.size());
        s->m_CompletedTests[d] = std::min(nMarkers / 2, CTestGraph1::kMaxTests);
        s->IndexTestGroups();
    }

    void SetEnvironment(int d, int t, double tIn, double tOut, double pBaro, double altitude)
    {
        for (int phase = 0; phase < 2; ++phase) {
            s->m_TestTin[phase][d][t] = tIn;
            s->m_TestTout[phase][d][t] = tOut;
            s->m_TestPbaro[phase][d][t] = pBaro;
        }
        s->m_TestAltitude[d][t] = altitude;
    }

    int FitSlot(int d, double& n, double& C)
    {
        return s->FitDirection(s->m_Pavg[d], s->m_Qavg[d], s->m_Ring[d], s->m_StationCount[d], n, C, d);
    }

    int FitOneTest(int d, int t, double& n, double& C)
    {
        return s->FitTest(s->m_Pavg[d], s->m_Qavg[d], s->m_Ring[d], s->m_TestFirstRow[d][t],
                          s->m_TestRowCount[d][t], n, C, d, t);
    }

    std::unique_ptr<CSimbrel1View> m_pView;
    CTestGraph1* s = nullptr;
    CQarMathFunctions* math = nullptr;
    CTestSettingsDialog* settings = nullptr;
    CString m_strSavedRoot;
    int m_nSavedDirection = 0;
};

}  // namespace dirfit
