// CBuildingInfoDialog: the building record (test, customer and building
// information, the building dimensions) and the modeless page that edits it.
#pragma once

#include "app/PageDialog.h"
#include "framework/DateTimeCtrl.h"

class CSimbrel1View;

class CBuildingInfoDialog : public CPageDialog {
public:
    enum { IDD = 133 };

    explicit CBuildingInfoDialog(CSimbrel1View* pView);
    ~CBuildingInfoDialog() override;

    // Empties every text and zeroes the dimensions and the country-specific
    // flags; the unit labels and the change flags stay.
    void ClearData() override;
    // Its four sections of the test and configuration files, headers
    // included; the lines depend on the standard of the test settings.
    CString WriteToFile() const;
    // Reads the keys from the view's file text; bWithDate 0 (a configuration
    // file) leaves the test date alone. A date key that is not a valid
    // eight-digit date is kept as a free-text date, so nothing is lost.
    void ReadFromFile(int bWithDate);
    // Removes the commas from the four dimension texts and parses the changed
    // ones (every one when forced) into both slots; clears the change flags.
    void UpdateDimensionValues(int bForce);
    // Slot's dimensions after a change of length unit: volume x ratio³,
    // areas x ratio², height x ratio. Each converted text keeps four
    // significant digits and the slot's number is the number of that text,
    // so what is shown, saved and computed agree. Empty texts stay.
    void ConvertDimensionUnits(double dRatio, int nSlot);
    // The converted text: whole numbers from 1000 up, below that the
    // decimals that give four significant digits, trailing zeros removed.
    static CString FormatConvertedDimension(double dValue);

    // Stores the window's texts and parses the edited dimensions before the
    // window goes, however the page is closed; forgets the test screen.
    BOOL DestroyWindow() override;

    int m_bFromTestGraph = 0;    // opened by the test screen: offers the way back to it

    // Test date: free text from an old file, or eight digits "%Y%m%d" and
    // their local form.
    CString m_strTestDate;
    CString m_strTestDateUniv;
    CString m_strTestDateLocal;
    CString m_strTechnician;
    CString m_strProjectName;
    CString m_strCustomerName;
    CString m_strCustomerNameLine2;
    CString m_strCustomerAddress;
    CString m_strCustomerAddressLine2;
    CString m_strCustomerCity;
    CString m_strCustomerState;
    CString m_strCustomerZip;
    CString m_strCustomerPhone;
    CString m_strCustomerFax;
    CString m_strCustomerEmail;
    CString m_strCustomerWebsite;
    CString m_strBuilding;
    CString m_strBuildingAddress;
    CString m_strBuildingAddressLine2;
    CString m_strApartmentNumber;
    CString m_strBuildingCity;
    CString m_strBuildingState;
    CString m_strBuildingZip;
    CString m_strYearOfConstruction;
    // Dimensions as typed, in the building length unit (cubed, squared).
    CString m_strVolume;
    CString m_strFloorArea;
    CString m_strSurfaceArea;
    CString m_strHeight;         // empty when not entered
    CString m_strUncertainty;    // percent
    BOOL m_bCountrySpecificVolume = FALSE;
    BOOL m_bCountrySpecificFloorArea = FALSE;
    BOOL m_bCountrySpecificSurfaceArea = FALSE;

    // Parsed dimensions per direction slot.
    double m_dVolume[2] = {};
    double m_dFloorArea[2] = {};
    double m_dSurfaceArea[2] = {};
    double m_dHeight[2] = {};

    // Set when the user edits a dimension: the next parse takes only those.
    int m_bVolumeChanged = 0;
    int m_bFloorAreaChanged = 0;
    int m_bSurfaceAreaChanged = 0;
    int m_bHeightChanged = 0;

    CDateTimeCtrl m_datePicker;   // the page's date picker while it is open

    // Unit labels ("ft³"/"m³", "ft²"/"m²", "ft"/"m"), set with the units.
    CString m_strVolumeUnit;
    CString m_strFloorAreaUnit;
    CString m_strSurfaceAreaUnit;
    CString m_strLengthUnit;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    // The pattern's opening, then the edit marks cleared (filling the fields
    // is no edit) and the date picker set up.
    BOOL OnInitDialog() override;
    // Caption and labels; the dimension labels carry their units.
    // Which fields the standard asks for, and the free-text date or the
    // picker.
    void SetTexts() override;
    void AfterClear() override;
    bool GetControlInsets(int nID, RECT& rcInsets) const override;

    void OnNext();
    void OnPrevious();
    void OnVolumeUpdate() { m_bVolumeChanged = 1; }
    void OnFloorAreaUpdate() { m_bFloorAreaChanged = 1; }
    void OnSurfaceAreaUpdate() { m_bSurfaceAreaChanged = 1; }
    void OnHeightUpdate() { m_bHeightChanged = 1; }
    void OnDimensionChange();
    // The way back to the test screen opens once a height is typed; under
    // ASTM E779 the height counts at once.
    void OnHeightChange();
    void OnHeightKillFocus();
    void OnToTestGraph();
    // Entering the picker without a date sets today's; the focus the picker
    // gets while the page opens is no entry.
    void OnDateSetFocus(NMHDR* pNotify, LRESULT* pResult);
    void OnDateChange(NMHDR* pNotify, LRESULT* pResult);

    bool m_bOpening = false;   // OnInitDialog runs

    DECLARE_MESSAGE_MAP()
};
