#include "pages/TemperatureKeys.h"

#include <algorithm>

#include "app/Globals.h"
#include "app/Simbrel1View.h"
#include "testrun/TestGraph1.h"

namespace EnvironmentKeys {

const CBaseKey kPretestIndoor{L"Manual_Entry_Pretest_Indoor_Temperature:", L"Inside_Temp:"};
const CBaseKey kPretestOutdoor{L"Manual_Entry_Pretest_Outdoor_Temperature:", L"Outside_Temp:"};
const CBaseKey kPressureSource{L"Manual_Entry_Pretest_Barometric_Pressure_Source:", L"Barometric_Pressure_Source:"};
const CBaseKey kPretestPressure{L"Manual_Entry_Pretest_Barometric_Pressure:", L"Barometric_Pressure:"};
const CBaseKey kAltitude{L"Manual_Entry_Altitude:", L"Altitude:"};
const CBaseKey kPosttestIndoor{L"Manual_Entry_Posttest_Indoor_Temperature:", nullptr};
const CBaseKey kPosttestOutdoor{L"Manual_Entry_Posttest_Outdoor_Temperature:", nullptr};

CString MakeLine(const CBaseKey& key, int nSlot, int nTestIndex, const CString& strValue)
{
    CString strLine;
    strLine.Format(L"%s %s\r\n", CSimbrel1View::MakePerTestKey(key.pszKey, nSlot, nTestIndex).GetString(),
                   strValue.GetString());
    return strLine;
}

CString ReadValue(const CSimbrel1View& view, const CBaseKey& key, int nSlot, int nTestIndex, int bOldKeys)
{
    if (bOldKeys && !view.m_bNewFormatFile && key.pszOldKey != nullptr)
        return view.GetFileValue(key.pszOldKey);
    const CString strValue = view.GetFileValue(CSimbrel1View::MakePerTestKey(key.pszKey, nSlot, nTestIndex));
    if (!strValue.IsEmpty())
        return strValue;
    return view.GetFileValue(CSimbrel1View::PrefixKeyByDirection(nSlot, key.pszKey));
}

int ReadableTests(const CSimbrel1View& view, int nSlot)
{
    if (view.m_pTestGraph == nullptr || nSlot < 0 || nSlot > 1)
        return 0;
    return std::clamp(view.m_pTestGraph->m_CompletedTests[nSlot], 0, kMaxTests);
}

int CurrentSlot()
{
    return g_nCurrentDirection == 0 ? 0 : 1;
}

}  // namespace EnvironmentKeys
