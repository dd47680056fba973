#include "calc/QarMathFunctions.h"

#include "app/Lifecycle.h"

CQarMathFunctions::CQarMathFunctions()
{
    TraceLifecycle("CQarMathFunctions", true);
}

CQarMathFunctions::~CQarMathFunctions()
{
    TraceLifecycle("CQarMathFunctions", false);
}
