// CDeviationsFromStandard: the deviations of each test from its standard
// and the Deviations from Standard page that shows them.
#pragma once

#include <memory>

#include "framework/Dialog.h"

class CSimbrel1View;

class CDeviationsFromStandard : public CDialog {
public:
    enum { IDD = 240 };
    static constexpr int kPositions = 40;   // one per rule of the standards' checks
    static constexpr int kMaxTests = 32;

    explicit CDeviationsFromStandard(CSimbrel1View* pView);
    ~CDeviationsFromStandard() override;

    // Stores the text at that position of the list of (d, t), making the
    // list first when it is missing. A position, slot or test outside the
    // lists changes nothing.
    void SetDeviation(int nPosition, const CString& strText, int d, int t);
    // Drops every list of both slots and leaves one empty list for slot 0,
    // test 0 (it holds the deviations that concern the whole test set).
    void ClearAllDeviations();

    CSimbrel1View* m_pView = nullptr;
    int m_bIncludeInReport = 1;   // the deviations go into the test report
    // The deviation texts of each slot and test (kPositions each), null
    // until the test has one.
    std::unique_ptr<CStringArray> m_pLists[2][kMaxTests];
};
