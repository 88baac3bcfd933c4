// What each kind of camera offers: the picture properties (VideoProcAmp ids 0..9) with their
// ranges, and the custom property set's ids 43..54.
#pragma once

#include "VcamLayout.h"

namespace vcam {

struct PropertyRange {
    LONG min;
    LONG max;
    LONG step;
    LONG def;
    LONG caps;   // KIVO_PROP_FLAGS_AUTO | KIVO_PROP_FLAGS_MANUAL
};

// Null when the kind of camera does not offer the property.
const PropertyRange* propertyRange(DWORD kind, LONG id);

// A value as the camera would take it: snapped to the step grid; false when outside the range or
// the flags are not among the caps.
bool acceptPropertyValue(const PropertyRange& range, LONG value, LONG flags, LONG& accepted);

const wchar_t* propertyName(LONG id);      // "brightness", ...; null for an unknown id
LONG propertyIdByName(const wchar_t* name); // -1 when unknown

// Custom settings. Each has a write id (set only), a read id (get only, the current value) and an
// availability id (get only, non-zero when offered): 43/44/45, 46/47/48, 49/50/51, 52/53/54.
constexpr LONG kCustomFirstId = 43;
constexpr LONG kCustomLastId = 54;

struct CustomSetting {
    LONG writeId;
    LONG maxValue;   // values 0..maxValue
    LONG def;
    bool offeredBuiltIn;
    const wchar_t* name;
};

// The setting that the id belongs to and the id's role, or null for ids outside 43..54.
enum class CustomRole { Write, Read, Availability };
const CustomSetting* customSetting(LONG id, CustomRole& role, DWORD& slot);
const CustomSetting& customSettingAt(DWORD slot);

// Slots of the settings the picture follows.
constexpr DWORD kCustomMirrorSlot = 2;     // ids 49/50/51
constexpr DWORD kCustomLowLightSlot = 3;   // ids 52/53/54

// The bit of CameraRecord::failingGets for a property id 0..9 or a custom id 43..54; 0 for any
// other id.
DWORD failingGetBit(LONG id);
constexpr DWORD kFailingGetMask = 0x0FFF03FF;

// Factory values of a newly added camera.
void setFactoryValues(CameraRecord& camera);

} // namespace vcam
