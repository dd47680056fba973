// Entry of every test program. No test may wait for a person: until a test
// installs its own answerer, any message box or modal dialog fails the test.
#include <gtest/gtest.h>

#include "tests/TestSupport.h"

#include <windows.h>

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    CTestAnswerer unanswered;
    AfxSetUiAnswerer(&unanswered);
    // Tests create windows from the resources linked into this program.
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_TAB_CLASSES};
    InitCommonControlsEx(&icc);
    return RUN_ALL_TESTS();
}
