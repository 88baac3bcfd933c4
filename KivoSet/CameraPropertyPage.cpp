#include "CameraPropertyPage.h"

#include "PropertyStore.h"
#include "resource.h"

#include <cwchar>

// Rows in the order the page shows them. The number boxes of white balance and backlight
// compensation are crossed against the id order: property 7 shows in box 1039, property 8 in 1038.
const CameraPropertyPage::Row CameraPropertyPage::kRows[kRowCount] = {
    {KIVO_PROP_BRIGHTNESS, IDC_BRIGHTNESS_SLIDER, IDC_BRIGHTNESS_VALUE, IDC_BRIGHTNESS_LABEL},
    {KIVO_PROP_CONTRAST, IDC_CONTRAST_SLIDER, IDC_CONTRAST_VALUE, IDC_CONTRAST_LABEL},
    {KIVO_PROP_HUE, IDC_HUE_SLIDER, IDC_HUE_VALUE, IDC_HUE_LABEL},
    {KIVO_PROP_SATURATION, IDC_SATURATION_SLIDER, IDC_SATURATION_VALUE, IDC_SATURATION_LABEL},
    {KIVO_PROP_SHARPNESS, IDC_SHARPNESS_SLIDER, IDC_SHARPNESS_VALUE, IDC_SHARPNESS_LABEL},
    {KIVO_PROP_GAMMA, IDC_GAMMA_SLIDER, IDC_GAMMA_VALUE, IDC_GAMMA_LABEL},
    {KIVO_PROP_WHITE_BALANCE, IDC_WHITE_BALANCE_SLIDER, IDC_WHITE_BALANCE_VALUE, IDC_WHITE_BALANCE_LABEL},
    {KIVO_PROP_BACKLIGHT_COMPENSATION, IDC_BACKLIGHT_SLIDER, IDC_BACKLIGHT_VALUE, IDC_BACKLIGHT_LABEL},
};

IMPLEMENT_DYNAMIC(CameraPropertyPage, TesselPropertyPage)

BEGIN_MESSAGE_MAP(CameraPropertyPage, WholeRepaint<TesselPropertyPage>)
    ON_WM_ACTIVATE()
    ON_WM_HSCROLL()
    ON_BN_CLICKED(IDC_PICTURE_DEFAULTS, OnBnClickedDefault)
END_MESSAGE_MAP()

CameraPropertyPage::CameraPropertyPage(ICameraPropertySettings* settings, int direction)
    : WholeRepaint(IDD_PICTURE_PAGE), m_settings(settings), m_direction(direction)
{
}

CameraPropertyPage::~CameraPropertyPage() = default;

// --- the panel's operations, with or without a window ---

void CameraPropertyPage::saveCurrentValues()
{
    for (int row = 0; row < kRowCount; ++row)
        syncProperty(row, false);
}

void CameraPropertyPage::restoreStoredValues()
{
    for (int row = 0; row < kRowCount; ++row)
        restoreProperty(row, false, false);
}

bool CameraPropertyPage::resetAllToDefaults()
{
    for (const Row& row : kRows)
        if (!resetPropertyToDefault(row.propertyId))
            return false;
    return true;
}

bool CameraPropertyPage::maximizeBrightnessAndBacklight()
{
    return setPropertyToMaximum(KIVO_PROP_BRIGHTNESS) && setPropertyToMaximum(KIVO_PROP_BACKLIGHT_COMPENSATION);
}

// --- camera and registry ---

bool CameraPropertyPage::readRange(long id, Range& range)
{
    return m_settings && m_settings->GetPropertyRange(id, &range.min, &range.max, &range.step, &range.def,
                                                      &range.caps);
}

bool CameraPropertyPage::readRegistry(long id, long& value)
{
    return PropertyStore::read(PropertyStore::propertyName(m_direction, id), value);
}

void CameraPropertyPage::writeRegistry(long id, long value)
{
    if (!PropertyStore::write(PropertyStore::propertyName(m_direction, id), value))
        WriteLog(L"CameraPropertyPage::writeRegistry() failed.");
}

long CameraPropertyPage::storedOrDefault(long id, const Range& range)
{
    long value = range.def;
    if (!readRegistry(id, value))
        return range.def;
    // The registry is outside input: a value the camera would refuse, or that the slider cannot
    // show, is brought to the nearest end of the range.
    if (value < range.min)
        return range.min;
    if (value > range.max)
        return range.max;
    return value;
}

bool CameraPropertyPage::syncProperty(int row, bool withControls)
{
    const long id = kRows[row].propertyId;
    Range range;
    if (!readRange(id, range))
        return true;
    // A value the camera cannot report is not stored over the user's, nor set back on the camera.
    long current = 0, flags = 0;
    if (!m_settings->GetProperty(id, &current, &flags))
        return true;
    long stored = range.def;
    if (!readRegistry(id, stored))
        stored = range.def;
    if (stored != current)
        writeRegistry(id, current);
    bool result = m_settings->SetProperty(id, current, KIVO_PROP_FLAGS_MANUAL);
    showProperty(row, range, current, withControls, withControls);
    return result;
}

bool CameraPropertyPage::restoreProperty(int row, bool withSlider, bool withValueAndLabel)
{
    const long id = kRows[row].propertyId;
    Range range;
    if (!readRange(id, range))
        return true;
    long value = storedOrDefault(id, range);
    bool result = m_settings->SetProperty(id, value, KIVO_PROP_FLAGS_MANUAL);
    showProperty(row, range, value, withSlider, withValueAndLabel);
    return result;
}

bool CameraPropertyPage::resetPropertyToDefault(long id)
{
    Range range;
    if (!readRange(id, range))
        return true;
    bool result = m_settings->SetProperty(id, range.def, range.caps);
    if (result)
        writeRegistry(id, range.def);
    return result;
}

bool CameraPropertyPage::setPropertyToMaximum(long id)
{
    Range range;
    if (!readRange(id, range))
        return true;
    bool result = m_settings->SetProperty(id, range.max, KIVO_PROP_FLAGS_MANUAL);
    if (result)
        writeRegistry(id, range.max);
    return result;
}

// --- the window side ---

void CameraPropertyPage::showProperty(int row, const Range& range, long value, bool withSlider,
                                      bool withValueAndLabel)
{
    if (!GetSafeHwnd())
        return;
    if (withSlider) {
        m_sliders[row].EnableWindow(TRUE);
        m_sliders[row].SetRange(range.min, range.max, TRUE);
        // A trackbar may keep its thumb where it was when only the range changed (Wine's does);
        // moving the position away and back places the thumb for the new range.
        m_sliders[row].SetPos(value != range.max ? range.max : range.min);
        m_sliders[row].SetPos(value);
        m_rowShown[row] = true;
    }
    if (withValueAndLabel) {
        wchar_t text[16];
        swprintf(text, ARRAYSIZE(text), L"%d", int(value));
        m_values[row].EnableWindow(TRUE);
        m_values[row].SetWindowText(text);
        m_labels[row].EnableWindow(TRUE);
    }
}

void CameraPropertyPage::DoDataExchange(CDataExchange* pDX)
{
    TesselPropertyPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_PICTURE_DEFAULTS, m_defaultButton);
    DDX_Control(pDX, IDC_PICTURE_TITLE, m_title);
    for (int row = 0; row < kRowCount; ++row) {
        DDX_Control(pDX, kRows[row].labelId, m_labels[row]);
        DDX_Control(pDX, kRows[row].sliderId, m_sliders[row]);
        DDX_Control(pDX, kRows[row].valueId, m_values[row]);
    }
}

BOOL CameraPropertyPage::OnInitDialog()
{
    TesselPropertyPage::OnInitDialog();
    CString title;
    title.LoadString(m_direction == 1 ? IDS_PICTURE_TITLE_REAR : IDS_PICTURE_TITLE_FRONT);
    m_title.SetWindowText(title);
    for (int row = 0; row < kRowCount; ++row)
        syncProperty(row, true);
    UpdateData(FALSE);
    return TRUE;
}

int CameraPropertyPage::rowOfSlider(UINT sliderId) const
{
    for (int row = 0; row < kRowCount; ++row)
        if (kRows[row].sliderId == sliderId)
            return row;
    return -1;
}

void CameraPropertyPage::trackSlider(int row)
{
    int position = m_sliders[row].GetPos();
    wchar_t text[16];
    swprintf(text, ARRAYSIZE(text), L"%d", position);
    m_settings->SetProperty(kRows[row].propertyId, position, KIVO_PROP_FLAGS_MANUAL);
    m_values[row].SetWindowText(text);
}

// Every notification, whatever its code: the camera follows the slider while it is dragged.
void CameraPropertyPage::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
{
    int row = pScrollBar ? rowOfSlider(pScrollBar->GetDlgCtrlID()) : -1;
    if (row >= 0 && m_settings)
        trackSlider(row);
    UpdateWindow();
    TesselPropertyPage::OnHScroll(nSBCode, nPos, pScrollBar);
}

void CameraPropertyPage::OnBnClickedDefault()
{
    for (int row = 0; row < kRowCount; ++row) {
        Range range;
        if (!m_rowShown[row] || !readRange(kRows[row].propertyId, range))
            continue;
        m_sliders[row].SetPos(range.def);
        trackSlider(row);
        UpdateWindow();
    }
}

void CameraPropertyPage::OnOK()
{
    for (int row = 0; row < kRowCount; ++row) {
        if (!m_rowShown[row])
            continue;
        std::wstring name = PropertyStore::propertyName(m_direction, kRows[row].propertyId);
        PropertyStore::write(name, m_sliders[row].GetPos());
    }
    TesselPropertyPage::OnOK();
}

void CameraPropertyPage::OnCancel()
{
    for (int row = 0; row < kRowCount; ++row)
        if (m_rowShown[row])
            restoreProperty(row, true, false);
    TesselPropertyPage::OnCancel();
}
