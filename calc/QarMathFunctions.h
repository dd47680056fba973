// CQarMathFunctions: the maths object of the view (regressions, air
// properties, barometric pressure), one instance for the program's life.
#pragma once

class CQarMathFunctions {
public:
    CQarMathFunctions();
    ~CQarMathFunctions();
    CQarMathFunctions(const CQarMathFunctions&) = delete;
    CQarMathFunctions& operator=(const CQarMathFunctions&) = delete;
};
