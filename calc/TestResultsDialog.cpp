#include "calc/TestResultsDialog.h"

#include "app/Lifecycle.h"

CTestResultsDialog::CTestResultsDialog(CSimbrel1View* pView) : m_pView(pView)
{
    TraceLifecycle("CTestResultsDialog", true);
}

CTestResultsDialog::~CTestResultsDialog()
{
    TraceLifecycle("CTestResultsDialog", false);
}

void CTestResultsDialog::ComputeResults(int) {}

void CTestResultsDialog::AverageDirections() {}

void CTestResultsDialog::FormatResults() {}
