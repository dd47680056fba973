// The per-test keys of the environment records (temperatures, barometric
// pressure, altitude): their lines in a test-data section and their reading
// with the fallbacks older files need.
#pragma once

#include "framework/String.h"

class CSimbrel1View;

namespace EnvironmentKeys {

constexpr int kMaxTests = 32;

// One base key of a record and the unprefixed key that files before the
// prefixed format used for it (null: none).
struct CBaseKey {
    const wchar_t* pszKey;
    const wchar_t* pszOldKey;
};

extern const CBaseKey kPretestIndoor;
extern const CBaseKey kPretestOutdoor;
extern const CBaseKey kPressureSource;
extern const CBaseKey kPretestPressure;
extern const CBaseKey kAltitude;
extern const CBaseKey kPosttestIndoor;
extern const CBaseKey kPosttestOutdoor;

// "P_<key>_for_Test_<t+1>: <value>" ended by CR LF.
CString MakeLine(const CBaseKey& key, int nSlot, int nTestIndex, const CString& strValue);

// The value of a base key for the slot's test: in files of the prefixed
// format the per-test key, or when that is empty the slot's key without test
// number; in older files the old key (a key without one reads as the new
// format). bOldKeys 0 always takes the prefixed keys.
CString ReadValue(const CSimbrel1View& view, const CBaseKey& key, int nSlot, int nTestIndex, int bOldKeys);

// How many tests of the slot a reader takes: the store's completed tests,
// never below 0 nor beyond what the records hold.
int ReadableTests(const CSimbrel1View& view, int nSlot);

// The slot of the current direction: 0 or 1.
int CurrentSlot();

inline bool IsTest(int nSlot, int nTestIndex)
{
    return nSlot >= 0 && nSlot <= 1 && nTestIndex >= 0 && nTestIndex < kMaxTests;
}

}  // namespace EnvironmentKeys
