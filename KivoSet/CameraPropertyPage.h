// The picture properties page of the camera property sheet: eight properties of the camera, each as
// a slider with a number box, applied to the camera as the slider moves and kept per camera
// direction under the settings key. Without a window the same object saves, restores, resets and
// maximises the properties for the panel.
#pragma once

#include "Repaint.h"
#include "skin/Tsl.h"

#include "KivoLib.h"

class CameraPropertyPage : public WholeRepaint<TesselPropertyPage> {
    DECLARE_DYNAMIC(CameraPropertyPage)
public:
    static const int kRowCount = 8;

    // Records the borrowed settings object (it must outlive the page) and the direction whose
    // values the page shows and stores; touches neither the camera nor the registry.
    CameraPropertyPage(ICameraPropertySettings* settings, int direction);
    ~CameraPropertyPage() override;

    // Stores each offered property's current value where it differs from the stored one and sets
    // it again on the camera (before the camera turns away from this direction).
    void saveCurrentValues();
    // Sets each offered property to this direction's stored value, or its default (after a turn).
    void restoreStoredValues();
    // Every property to its default, stored too; stops at the first the camera refuses.
    bool resetAllToDefaults();
    // Brightness, then backlight compensation, to their maximum, stored too.
    bool maximizeBrightnessAndBacklight();

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

    afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnBnClickedDefault();

    DECLARE_MESSAGE_MAP()

private:
    struct Row {
        long propertyId;
        UINT sliderId;
        UINT valueId;
        UINT labelId;
    };
    static const Row kRows[kRowCount];

    // A property's range as the camera reports it.
    struct Range {
        long min = 0;
        long max = 0;
        long step = 0;
        long def = 0;
        long caps = 0;
    };

    bool readRange(long id, Range& range);
    bool readRegistry(long id, long& value);
    void writeRegistry(long id, long value);
    // The stored value brought into the property's range, or the default when none is stored.
    long storedOrDefault(long id, const Range& range);

    bool syncProperty(int row, bool withControls);
    bool restoreProperty(int row, bool withSlider, bool withValueAndLabel);
    bool resetPropertyToDefault(long id);
    bool setPropertyToMaximum(long id);
    void showProperty(int row, const Range& range, long value, bool withSlider, bool withValueAndLabel);
    // The camera and the number box follow the row's slider.
    void trackSlider(int row);
    int rowOfSlider(UINT sliderId) const;

    TesselButton m_defaultButton;
    ICameraPropertySettings* m_settings;
    int m_direction;
    CStatic m_title;
    TesselStatic m_labels[kRowCount];
    TesselSliderCtrl m_sliders[kRowCount];
    TesselEdit2 m_values[kRowCount];
    // Rows whose slider shows the camera's range and value; OK, Defaults and Cancel touch only these (a
    // row the camera could not report keeps the template's range and a meaningless position).
    bool m_rowShown[kRowCount] = {};
};
