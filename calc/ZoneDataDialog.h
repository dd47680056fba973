// CZoneDataDialog: the zone data page and the record of the zone fit.
#pragma once

#include "framework/Dialog.h"

class CSimbrel1View;
class CTestGraph1;

class CZoneDataDialog : public CDialog {
public:
    enum { IDD = 182 };

    explicit CZoneDataDialog(CSimbrel1View* pView);
    ~CZoneDataDialog() override;

    CSimbrel1View* m_pView = nullptr;
    CTestGraph1* m_pTestGraph = nullptr;   // the measured data; not owned
};
