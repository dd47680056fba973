// Page navigation and the layout of the pages over the view.
#include "app/Simbrel1View.h"

#include "calc/TestResultsDialog.h"

void CSimbrel1View::ClearPageInsets()
{
    m_nPageInsetLeft = 0;
    m_nPageInsetTop = 0;
    m_nPageInsetRight = 0;
    m_nPageInsetBottom = 0;
}

void CSimbrel1View::RefreshOpenPages() {}

void CSimbrel1View::CommitOpenPages() {}

void CSimbrel1View::CloseAllPages() {}

void CSimbrel1View::OnFrameMoved(int, int) {}

void CSimbrel1View::OnFrameSized(UINT, int, int) {}

void CSimbrel1View::UpdateResults(int nDirection)
{
    m_pResults->ComputeResults(nDirection);
    m_pResults->FormatResults();
}
