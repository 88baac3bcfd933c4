#include "PropertyCatalog.h"

#include "KivoProtocol.h"

namespace vcam {

namespace {

constexpr LONG M = KIVO_PROP_FLAGS_MANUAL;
constexpr LONG AM = KIVO_PROP_FLAGS_AUTO | KIVO_PROP_FLAGS_MANUAL;

// The notebook's built-in camera: the eight properties the settings program shows; no colour
// enable, no gain.
const PropertyRange kBuiltIn[kPropertyCount] = {
    {-64, 64, 1, 0, M},        // brightness
    {0, 100, 1, 50, M},        // contrast
    {-180, 180, 1, 0, M},      // hue
    {0, 128, 1, 64, M},        // saturation
    {0, 7, 1, 3, M},           // sharpness
    {72, 500, 1, 100, M},      // gamma
    {0, 0, 0, 0, 0},           // colour enable: not offered
    {2800, 6500, 10, 4600, AM},// white balance (kelvin)
    {0, 2, 1, 1, M},           // backlight compensation
    {0, 0, 0, 0, 0},           // gain: not offered
};

// A plain external camera: no hue, gamma or backlight compensation, but colour enable and gain.
const PropertyRange kExternal[kPropertyCount] = {
    {0, 255, 1, 128, M},
    {0, 64, 1, 32, M},
    {0, 0, 0, 0, 0},
    {0, 200, 1, 100, M},
    {0, 15, 1, 8, M},
    {0, 0, 0, 0, 0},
    {0, 1, 1, 1, M},
    {2000, 7500, 50, 4500, AM},
    {0, 0, 0, 0, 0},
    {0, 100, 1, 0, AM},
};

const wchar_t* const kNames[kPropertyCount] = {
    L"brightness", L"contrast", L"hue", L"saturation", L"sharpness",
    L"gamma", L"colorenable", L"whitebalance", L"backlight", L"gain",
};

const CustomSetting kCustom[kCustomSettingCount] = {
    {43, 2, 1, true, L"powerline"},   // 0 off, 1 50 Hz, 2 60 Hz
    {46, 1, 0, false, L"facetrack"},  // not offered by this model
    {49, 1, 0, true, L"mirror"},      // picture mirrored left to right
    {52, 1, 0, true, L"lowlight"},    // shadows lifted
};

} // namespace

const PropertyRange* propertyRange(DWORD kind, LONG id)
{
    if (id < 0 || id >= LONG(kPropertyCount))
        return nullptr;
    const PropertyRange& range = (kind == kBuiltInCamera ? kBuiltIn : kExternal)[id];
    return range.caps ? &range : nullptr;
}

bool acceptPropertyValue(const PropertyRange& range, LONG value, LONG flags, LONG& accepted)
{
    if (value < range.min || value > range.max)
        return false;
    if (flags == 0 || (flags & ~range.caps) != 0)
        return false;
    LONG offset = value - range.min;
    LONG snapped = range.min + (offset + range.step / 2) / range.step * range.step;
    accepted = snapped > range.max ? snapped - range.step : snapped;
    return true;
}

const wchar_t* propertyName(LONG id)
{
    return id >= 0 && id < LONG(kPropertyCount) ? kNames[id] : nullptr;
}

LONG propertyIdByName(const wchar_t* name)
{
    for (LONG id = 0; id < LONG(kPropertyCount); ++id)
        if (_wcsicmp(name, kNames[id]) == 0)
            return id;
    return -1;
}

const CustomSetting* customSetting(LONG id, CustomRole& role, DWORD& slot)
{
    if (id < kCustomFirstId || id > kCustomLastId)
        return nullptr;
    slot = DWORD(id - kCustomFirstId) / 3;
    role = static_cast<CustomRole>((id - kCustomFirstId) % 3);
    return &kCustom[slot];
}

const CustomSetting& customSettingAt(DWORD slot)
{
    return kCustom[slot < kCustomSettingCount ? slot : 0];
}

DWORD failingGetBit(LONG id)
{
    if (id >= 0 && id < LONG(kPropertyCount))
        return 1u << id;
    if (id >= kCustomFirstId && id <= kCustomLastId)
        return 1u << (16 + id - kCustomFirstId);
    return 0;
}

void setFactoryValues(CameraRecord& camera)
{
    for (LONG id = 0; id < LONG(kPropertyCount); ++id) {
        const PropertyRange* range = propertyRange(camera.kind, id);
        camera.props[id].value = range ? range->def : 0;
        LONG flags = 0;
        if (range)
            flags = (range->caps & KIVO_PROP_FLAGS_AUTO) ? LONG(KIVO_PROP_FLAGS_AUTO) : LONG(KIVO_PROP_FLAGS_MANUAL);
        camera.props[id].flags = flags;
    }
    for (DWORD slot = 0; slot < kCustomSettingCount; ++slot)
        camera.custom[slot] = kCustom[slot].def;
}

} // namespace vcam
