#include "app/Lifecycle.h"

namespace {
std::vector<std::string>* s_pSink = nullptr;
}  // namespace

std::vector<std::string>* SetLifecycleSink(std::vector<std::string>* pSink)
{
    std::vector<std::string>* pOld = s_pSink;
    s_pSink = pSink;
    return pOld;
}

void TraceLifecycle(const char* pszWhat, bool bCreated)
{
    if (s_pSink == nullptr)
        return;
    std::string entry(bCreated ? "+" : "-");
    entry += pszWhat;
    s_pSink->push_back(std::move(entry));
}

void TraceLifecycleEvent(const char* pszWhat)
{
    if (s_pSink != nullptr)
        s_pSink->push_back(pszWhat);
}
