// The camera settings page of the camera property sheet: three settings of the camera's own
// property set (a three-way setting as radio buttons, two on/off settings as check boxes), applied
// to the camera as they are clicked and kept per camera direction under the settings key. Without a
// window the same object saves, restores and re-initialises the settings for the panel.
#pragma once

#include "Repaint.h"
#include "skin/Tsl.h"

#include "KivoLib.h"
#include "KivoNames.h"   // KIVO_CUSTOM_PROPERTY_SET, the set the panel passes

class CameraCustomPropertyPage : public WholeRepaint<TesselPropertyPage> {
    DECLARE_DYNAMIC(CameraCustomPropertyPage)
public:
    // Records the borrowed settings object (it must outlive the page), the direction and the
    // property set; touches neither the camera nor the registry.
    CameraCustomPropertyPage(ICameraPropertySettings* settings, int direction, GUID propertySet);
    ~CameraCustomPropertyPage() override;

    // Stores each setting the camera can report under this direction (before the camera turns).
    void saveCurrentValues();
    // Sets each setting the camera can report to this direction's stored value (after a turn).
    void restoreStoredValues();
    // Sets each offered setting to the value the camera reports and stores it; stops at the first
    // failure, which it logs.
    bool initAllProperties();

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

    afx_msg void applyReadValues();
    afx_msg void OnClickedFlickerOff();
    afx_msg void OnClickedFlicker50();
    afx_msg void OnClickedFlicker60();
    afx_msg void OnClickedMirror();
    afx_msg void OnClickedLowLight();

    DECLARE_MESSAGE_MAP()

private:
    // One setting: the id the page sets and stores under, the id it reads, the id that tells
    // whether the camera offers it, and the largest value it takes.
    struct Setting {
        ULONG writeId;
        ULONG readId;
        ULONG availabilityId;
        long maxValue;
    };
    static const Setting kThreeWay;
    static const Setting kFirstOnOff;
    static const Setting kSecondOnOff;
    static const Setting* const kSettings[3];

    bool getCustom(ULONG id, long& value);
    bool setCustom(ULONG id, long value);
    bool isCustomAvailable(ULONG availabilityId);
    bool readCustomRegistry(const Setting& setting, long& value);
    void writeCustomRegistry(ULONG writeId, long value);
    void restoreCustomProperty(const Setting& setting);
    bool initProperty(const Setting& setting);
    void setRadioSelection(long n);
    long getRadioSelection();
    void showOnOff(CButton& box, long value);
    // Reads the setting into the registry and m_shown when the camera offers and reports it.
    bool readForDisplay(int index, long& value);

    ICameraPropertySettings* m_settings;
    GUID m_propertySet;
    int m_direction;
    CStatic m_title;
    TesselButton m_readButton;
    TesselGroupBox2 m_threeWayGroup;
    TesselRadioButton m_radios[3];
    TesselCheckBox m_firstOnOff;
    TesselCheckBox m_secondOnOff;
    // Settings whose controls show the camera's value or the user's click, in kSettings order; OK
    // stores only these.
    bool m_shown[3] = {};
};
