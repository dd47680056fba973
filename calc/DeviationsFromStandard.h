// CDeviationsFromStandard: the deviations of each test from its standard
// and the Deviations from Standard page that shows them.
#pragma once

#include "framework/Dialog.h"

class CSimbrel1View;

class CDeviationsFromStandard : public CDialog {
public:
    enum { IDD = 240 };

    explicit CDeviationsFromStandard(CSimbrel1View* pView);
    ~CDeviationsFromStandard() override;

    CSimbrel1View* m_pView = nullptr;
};
