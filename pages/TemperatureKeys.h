// The per-test keys of the environment records (temperatures, barometric
// pressure, altitude): their lines in a test-data section and their reading
// with the fallbacks older files need.
#pragma once

#include <vector>

#include "app/PageDialog.h"
#include "app/Simbrel1View.h"
#include "framework/String.h"
#include "res/resource.h"

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

// A test's value as a page reads it after the test data: a text the file
// holds gives the store its number; a test without the key keeps the
// store's value (from its test-data line or the question asked for it).
void StoreNumberOfText(const CString& strText, double& dStored);

inline bool IsTest(int nSlot, int nTestIndex)
{
    return nSlot >= 0 && nSlot <= 1 && nTestIndex >= 0 && nTestIndex < kMaxTests;
}

}  // namespace EnvironmentKeys

namespace EnvironmentKeys {

// The range a typed value must lie in.
struct CRange {
    double dMin;
    double dMax;
};
// Temperatures: nTemperatureUnit 1 (°C) -50 to 50, else (°F) -58 to 122.
CRange TemperatureRange(int nTemperatureUnit);
// Altitudes: nBuildingUnit 1 (m) -333 to 5000, else (ft) -1000 to 15000.
CRange AltitudeRange(int nBuildingUnit);
constexpr CRange kPressureRange{50000.0, 120000.0};   // Pa

// Checks one typed text before the dialog accepts it. An empty text passes;
// a text that is no number (it reads 0 but does not start with '0', as "-"
// or ".") is emptied and passes; otherwise false when its number lies
// outside the range.
bool CheckRangeText(CString& strText, const CRange& range);

// The test the dialog edits after its test list was filled: the pair of the
// selected item, or with none selected the first listed test; an empty list
// leaves the slot and test as they are.
template <typename Pair>
void TakeListedTest(const std::vector<Pair>& pairs, int nSelected, int& nSlot, int& nTestIndex)
{
    if (pairs.empty())
        return;
    const Pair& pair = nSelected >= 0 && nSelected < static_cast<int>(pairs.size()) ? pairs[nSelected] : pairs[0];
    nSlot = pair.nDirection;
    nTestIndex = pair.nTestIndex;
}

}  // namespace EnvironmentKeys

// What the three environment dialogs share: the edited test and the modes,
// the test list, the range checks and confirmation on OK, Cancel or Clear
// Entries, Enter walking the entry fields, Help, and Esc doing nothing.
class CEnvironmentDialog : public CPageDialog {
public:
    CEnvironmentDialog(UINT nIDTemplate, int nNoActionId, int nHelpTopic, std::vector<int> entryFields);

    // Empties the current texts and those of every test of the slot.
    virtual void ClearDirection(int nSlot) = 0;

    int m_bEditMode = 0;         // the dialog edits a test already recorded
    int m_bTestDataMode = 0;     // the dialog asks for what an older file lacks
    int m_nEditDirection = 0;    // the slot and test the dialog edits
    int m_nEditTest = 0;

protected:
    // One text checked on OK: the member, its label's string and its edit.
    struct CTestedText {
        CString* pText;
        int nIDLabel;
        int nIDEdit;
        EnvironmentKeys::CRange range;
    };

    // The current texts from the test's, and back.
    virtual void LoadTest(int nSlot, int nTestIndex) = 0;
    virtual void StoreTest(int nSlot, int nTestIndex) = 0;
    virtual std::vector<CTestedText> GetTestedTexts() = 0;
    // After the current texts were loaded into the controls.
    virtual void AfterLoad() {}
    // Just before the values are stored (and on No to the edit question).
    virtual void BeforeAccept() {}
    // The edit focused when the dialog opens.
    virtual int GetFirstFocus() const = 0;
    // How far OK moves right in test-data mode, and whether Cancel hides.
    virtual int GetOkShift() const { return 84; }
    virtual bool HidesCancelForTestData() const { return true; }
    void KeepCancelClearOfOk();

    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    // A modal dialog keeps its own size: texts only, no page layout.
    void SetPageTexts() override;

    void OnTestListChange();
    void FilterSigned();
    void FilterUnsigned();

    bool IsManualTest() const;
    int GetTemperatureUnit() const;
    int GetBuildingUnit() const;
    // "Indoor Temperature (°F)".
    CString TemperatureLabel(int nIDText) const;
    // OK, Cancel (by the mode) and Help.
    void SetButtonTexts();
    void SetItemText(int nID, const CString& strText);

    std::vector<CSimbrel1View::CTestPair> m_TestPairs;

    DECLARE_MESSAGE_MAP()
};
