// Resource ids of KivoLib.dll's camera property dialog (range 3000-3199, apart from the library's
// bitmaps).
#pragma once

#define IDD_KIVOLIB_CAMERA_PROPERTIES 3000

// Row i (the property id 0..9): label, slider, value text.
#define IDC_KIVOLIB_PROP_LABEL0  3100
#define IDC_KIVOLIB_PROP_SLIDER0 3110
#define IDC_KIVOLIB_PROP_VALUE0  3120
#define IDC_KIVOLIB_PROP_DEFAULTS 3130

#define IDS_KIVOLIB_PROP_CAPTION 3150   // "Camera %u Properties"
