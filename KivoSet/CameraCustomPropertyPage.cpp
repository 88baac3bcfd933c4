#include "CameraCustomPropertyPage.h"

#include "PropertyStore.h"
#include "resource.h"

const CameraCustomPropertyPage::Setting CameraCustomPropertyPage::kThreeWay = {43, 44, 45, 2};
const CameraCustomPropertyPage::Setting CameraCustomPropertyPage::kFirstOnOff = {49, 50, 51, 1};
const CameraCustomPropertyPage::Setting CameraCustomPropertyPage::kSecondOnOff = {52, 53, 54, 1};
const CameraCustomPropertyPage::Setting* const CameraCustomPropertyPage::kSettings[3] = {
    &kThreeWay, &kFirstOnOff, &kSecondOnOff};

namespace {
const UINT kRadioIds[3] = {IDC_FLICKER_OFF, IDC_FLICKER_50HZ, IDC_FLICKER_60HZ};
}

IMPLEMENT_DYNAMIC(CameraCustomPropertyPage, TesselPropertyPage)

BEGIN_MESSAGE_MAP(CameraCustomPropertyPage, WholeRepaint<TesselPropertyPage>)
    ON_WM_ACTIVATE()
    ON_BN_CLICKED(IDC_CAMERA_SETTINGS_READ, applyReadValues)
    ON_BN_CLICKED(IDC_FLICKER_OFF, OnClickedFlickerOff)
    ON_BN_CLICKED(IDC_FLICKER_50HZ, OnClickedFlicker50)
    ON_BN_CLICKED(IDC_FLICKER_60HZ, OnClickedFlicker60)
    ON_BN_CLICKED(IDC_MIRROR, OnClickedMirror)
    ON_BN_CLICKED(IDC_LOW_LIGHT, OnClickedLowLight)
END_MESSAGE_MAP()

CameraCustomPropertyPage::CameraCustomPropertyPage(ICameraPropertySettings* settings, int direction,
                                                   GUID propertySet)
    : WholeRepaint(IDD_CAMERA_SETTINGS_PAGE), m_settings(settings), m_propertySet(propertySet),
      m_direction(direction)
{
}

CameraCustomPropertyPage::~CameraCustomPropertyPage() = default;

// --- the panel's operations, with or without a window ---

void CameraCustomPropertyPage::saveCurrentValues()
{
    for (const Setting* setting : kSettings) {
        long value = 0;
        if (getCustom(setting->readId, value))
            writeCustomRegistry(setting->writeId, value);
    }
}

void CameraCustomPropertyPage::restoreStoredValues()
{
    for (const Setting* setting : kSettings)
        restoreCustomProperty(*setting);
}

bool CameraCustomPropertyPage::initAllProperties()
{
    for (const Setting* setting : kSettings)
        if (!initProperty(*setting))
            return false;
    return true;
}

// --- camera and registry ---

bool CameraCustomPropertyPage::getCustom(ULONG id, long& value)
{
    long read = 0;
    if (!m_settings || !m_settings->GetCustomProperty(m_propertySet, id, &read))
        return false;
    value = read;
    return true;
}

bool CameraCustomPropertyPage::setCustom(ULONG id, long value)
{
    return m_settings && m_settings->SetCustomProperty(m_propertySet, id, value);
}

bool CameraCustomPropertyPage::isCustomAvailable(ULONG availabilityId)
{
    long value = 0;
    return getCustom(availabilityId, value) && value != 0;
}

bool CameraCustomPropertyPage::readCustomRegistry(const Setting& setting, long& value)
{
    long stored = 0;
    if (!PropertyStore::read(PropertyStore::customName(m_direction, long(setting.writeId)), stored))
        return false;
    // The registry is outside input: the three-way setting takes 0 to 2, an on/off setting 0 or 1
    // (any other non-zero value meaning on).
    if (setting.maxValue == 1)
        value = stored != 0 ? 1 : 0;
    else
        value = stored < 0 ? 0 : (stored > setting.maxValue ? setting.maxValue : stored);
    return true;
}

void CameraCustomPropertyPage::writeCustomRegistry(ULONG writeId, long value)
{
    PropertyStore::write(PropertyStore::customName(m_direction, long(writeId)), value);
}

void CameraCustomPropertyPage::restoreCustomProperty(const Setting& setting)
{
    long value = 0;
    if (!getCustom(setting.readId, value))
        return;
    readCustomRegistry(setting, value);
    setCustom(setting.writeId, value);
}

bool CameraCustomPropertyPage::initProperty(const Setting& setting)
{
    if (!isCustomAvailable(setting.availabilityId))
        return true;
    long value = 0;
    if (!getCustom(setting.readId, value)) {
        WriteLog(L"CameraCustomPropertyPage::initProperty() get failed.");
        return false;
    }
    if (!setCustom(setting.writeId, value)) {
        WriteLog(L"CameraCustomPropertyPage::initProperty() set failed.");
        return false;
    }
    writeCustomRegistry(setting.writeId, value);
    return true;
}

// --- the window side ---

void CameraCustomPropertyPage::setRadioSelection(long n)
{
    if (n < 0 || n > 2)
        return;
    for (long i = 0; i < 3; ++i)
        if (i != n)
            m_radios[i].SetCheck(BST_UNCHECKED);
    m_radios[n].SetCheck(BST_CHECKED);
}

long CameraCustomPropertyPage::getRadioSelection()
{
    for (long i = 0; i < 3; ++i)
        if (m_radios[i].GetCheck() == BST_CHECKED)
            return i;
    return 0;
}

void CameraCustomPropertyPage::showOnOff(CButton& box, long value)
{
    box.SetCheck(value != 0 ? BST_CHECKED : BST_UNCHECKED);
}

void CameraCustomPropertyPage::DoDataExchange(CDataExchange* pDX)
{
    TesselPropertyPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_CAMERA_SETTINGS_TITLE, m_title);
    DDX_Control(pDX, IDC_CAMERA_SETTINGS_READ, m_readButton);
    DDX_Control(pDX, IDC_FLICKER_GROUP, m_threeWayGroup);
    for (int i = 0; i < 3; ++i)
        DDX_Control(pDX, kRadioIds[i], m_radios[i]);
    DDX_Control(pDX, IDC_MIRROR, m_firstOnOff);
    DDX_Control(pDX, IDC_LOW_LIGHT, m_secondOnOff);
}

BOOL CameraCustomPropertyPage::OnInitDialog()
{
    TesselPropertyPage::OnInitDialog();
    CString title;
    title.LoadString(m_direction == 1 ? IDS_CAMERA_SETTINGS_REAR : IDS_CAMERA_SETTINGS_FRONT);
    m_title.SetWindowText(title);

    long value = 0;
    if (isCustomAvailable(kThreeWay.availabilityId)) {
        m_threeWayGroup.EnableWindow(TRUE);
        for (TesselRadioButton& radio : m_radios)
            radio.EnableWindow(TRUE);
        if (readForDisplay(0, value))
            setRadioSelection(value);
    }
    if (isCustomAvailable(kFirstOnOff.availabilityId)) {
        m_firstOnOff.EnableWindow(TRUE);
        if (readForDisplay(1, value))
            showOnOff(m_firstOnOff, value);
    }
    if (isCustomAvailable(kSecondOnOff.availabilityId)) {
        m_secondOnOff.EnableWindow(TRUE);
        if (readForDisplay(2, value))
            showOnOff(m_secondOnOff, value);
    }
    UpdateData(FALSE);
    return TRUE;
}

bool CameraCustomPropertyPage::readForDisplay(int index, long& value)
{
    const Setting& setting = *kSettings[index];
    if (!getCustom(setting.readId, value))
        return false;
    writeCustomRegistry(setting.writeId, value);
    m_shown[index] = true;
    return true;
}

void CameraCustomPropertyPage::applyReadValues()
{
    long value = 0;
    if (getCustom(kThreeWay.readId, value)) {
        setCustom(kThreeWay.writeId, value);
        setRadioSelection(value);
        m_shown[0] = true;
    }
    // A check box takes the read value as its check state, as the camera reports it.
    if (getCustom(kFirstOnOff.readId, value)) {
        setCustom(kFirstOnOff.writeId, value);
        m_firstOnOff.SetCheck(int(value));
        m_shown[1] = true;
    }
    if (getCustom(kSecondOnOff.readId, value)) {
        setCustom(kSecondOnOff.writeId, value);
        m_secondOnOff.SetCheck(int(value));
        m_shown[2] = true;
    }
}

// A control the user set shows the user's choice, which OK stores, even where the camera could
// not report the setting.
void CameraCustomPropertyPage::OnClickedFlickerOff()
{
    setCustom(kThreeWay.writeId, 0);
    m_shown[0] = true;
}

void CameraCustomPropertyPage::OnClickedFlicker50()
{
    setCustom(kThreeWay.writeId, 1);
    m_shown[0] = true;
}

void CameraCustomPropertyPage::OnClickedFlicker60()
{
    setCustom(kThreeWay.writeId, 2);
    m_shown[0] = true;
}

void CameraCustomPropertyPage::OnClickedMirror()
{
    setCustom(kFirstOnOff.writeId, m_firstOnOff.GetCheck());
    m_shown[1] = true;
}

void CameraCustomPropertyPage::OnClickedLowLight()
{
    setCustom(kSecondOnOff.writeId, m_secondOnOff.GetCheck());
    m_shown[2] = true;
}

void CameraCustomPropertyPage::OnOK()
{
    if (m_shown[0])
        writeCustomRegistry(kThreeWay.writeId, getRadioSelection());
    if (m_shown[1])
        writeCustomRegistry(kFirstOnOff.writeId, m_firstOnOff.GetCheck());
    if (m_shown[2])
        writeCustomRegistry(kSecondOnOff.writeId, m_secondOnOff.GetCheck());
    TesselPropertyPage::OnOK();
}

void CameraCustomPropertyPage::OnCancel()
{
    restoreStoredValues();
    TesselPropertyPage::OnCancel();
}
