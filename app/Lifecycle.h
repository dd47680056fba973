// Records the construction and destruction of the view's records, so that
// tests can see the order in which the view builds and tears down its
// object graph. Nothing is recorded unless a sink is installed.
#pragma once

#include <string>
#include <vector>

// Installs pSink (nullptr removes it) and returns the sink installed before.
// User-interface thread only.
std::vector<std::string>* SetLifecycleSink(std::vector<std::string>* pSink);

// Appends "+" or "-" and pszWhat to the installed sink, if any.
void TraceLifecycle(const char* pszWhat, bool bCreated);
// Appends pszWhat as it is: an event in an object's life, such as a gauge
// link closing its device.
void TraceLifecycleEvent(const char* pszWhat);
