// Resource ids of the locale library KivoLocale.dll, shared by the programs that load it.
//
// Ranges, by kind (a number may repeat across kinds; within a kind it is unique):
//   IDD_   dialog templates      100-199
//   IDC_   controls in dialogs   1-5 (the chooser's buttons) and 1000-1099; unique within one
//          template, so the same number names different controls in different templates
//   IDS_   strings               100-999
//   IDI_   icons                 128-199
//   IDM_   menus                 128-199
//   ID_    menu commands         32768-32999  (WM_COMMAND ids; tray menu 32771-32779)
// The list data of a template (RT_DLGINIT) carries the template's id.
#pragma once

// --- dialog templates ---
#define IDD_ABOUTBOX                100     // About box of the settings program
#define IDD_SETTINGS_PANEL          102     // the settings panel (main window of KivoSet)
#define IDD_FRAME_SELECT            131     // the frame chooser
#define IDD_ALERT_OVER_RESOLUTION   151     // resolution too high for the camera facing front
#define IDD_PICTURE_PAGE            152     // property page: the eight picture properties
#define IDD_ALERT_EFFECT_DISABLE    153     // effects switched off for a large picture
#define IDD_CAMERA_SETTINGS_PAGE    154     // property page: the camera model's own settings

// --- controls of the settings panel (IDD_SETTINGS_PANEL) ---
#define IDC_PROPERTY_DEFAULTS       1000    // every picture property back to its default
#define IDC_PROPERTY_MAXIMUM        1001    // brightness and backlight compensation to maximum
#define IDC_PROPERTY_SHEET          1002    // opens the property sheet
#define IDC_ZOOM_LIST               1003    // drop-down list: no zoom, 1.5x, 2x
#define IDC_FRAME_ICON              1004    // row icons of the effect panel
#define IDC_ZOOM_ICON               1005
#define IDC_MODE_ICON               1006
#define IDC_MODE_LIST               1008    // drop-down list: live, freeze, still 1, still 2
#define IDC_FRAME_BUTTON            1009    // opens the frame chooser
#define IDC_EFFECT_RESET            1010    // all effects off
#define IDC_PICTURE_LABEL           1012    // heading above the property buttons
#define IDC_EFFECT_PANEL            1013    // coloured background of the effect panel
#define IDC_EFFECT_PANEL_FRAME      1014    // one-pixel frame round the effect panel
#define IDC_DIRECTION_FRONT         1015    // turn the camera to face the user
#define IDC_DIRECTION_REAR          1016    // turn the camera to face away
#define IDC_DIRECTION_LABEL         1017    // heading above the direction buttons

// --- controls of the frame chooser (IDD_FRAME_SELECT); OK and Cancel are IDOK and IDCANCEL ---
#define IDC_FRAME_APPLY             3
#define IDC_FRAME_PREV              4       // owner-drawn; caption "FRAMEPREV" names its images
#define IDC_FRAME_NEXT              5       // owner-drawn; caption "FRAMENEXT" names its images
#define IDC_FRAME_MESSAGE           1001    // shown over the preview at index 0 (no frame)
#define IDC_FRAME_PREVIEW           1012    // 320x240 picture of the frame
#define IDC_FRAME_PAGE              1013    // "index/last"
#define IDC_FRAME_PREVIEW_BORDER    1014

// --- controls of the alerts (IDD_ALERT_OVER_RESOLUTION, IDD_ALERT_EFFECT_DISABLE) ---
#define IDC_OVER_RESOLUTION_TEXT    1018
#define IDC_OVER_RESOLUTION_PICTURE 1019
#define IDC_EFFECT_DISABLE_NO_MORE  1033    // check box "do not show this message again"
#define IDC_EFFECT_DISABLE_TEXT     1034

// --- controls of the picture page (IDD_PICTURE_PAGE) ---
#define IDC_PICTURE_DEFAULTS        1021
#define IDC_PICTURE_TITLE           1023
#define IDC_BRIGHTNESS_SLIDER       1024    // sliders 1024-1031, in row order
#define IDC_CONTRAST_SLIDER         1025
#define IDC_HUE_SLIDER              1026
#define IDC_SATURATION_SLIDER       1027
#define IDC_SHARPNESS_SLIDER        1028
#define IDC_GAMMA_SLIDER            1029
#define IDC_WHITE_BALANCE_SLIDER    1030
#define IDC_BACKLIGHT_SLIDER        1031
#define IDC_BRIGHTNESS_VALUE        1032    // number boxes 1032-1039; the last two rows are crossed
#define IDC_CONTRAST_VALUE          1033
#define IDC_HUE_VALUE               1034
#define IDC_SATURATION_VALUE        1035
#define IDC_SHARPNESS_VALUE         1036
#define IDC_GAMMA_VALUE             1037
#define IDC_BACKLIGHT_VALUE         1038
#define IDC_WHITE_BALANCE_VALUE     1039
#define IDC_BRIGHTNESS_LABEL        1055    // labels 1055-1062, in row order
#define IDC_CONTRAST_LABEL          1056
#define IDC_HUE_LABEL               1057
#define IDC_SATURATION_LABEL        1058
#define IDC_SHARPNESS_LABEL         1059
#define IDC_GAMMA_LABEL             1060
#define IDC_WHITE_BALANCE_LABEL     1061
#define IDC_BACKLIGHT_LABEL         1062

// --- controls of the camera settings page (IDD_CAMERA_SETTINGS_PAGE) ---
#define IDC_FLICKER_OFF             1047    // radio buttons of the light flicker setting
#define IDC_FLICKER_50HZ            1048
#define IDC_FLICKER_60HZ            1049
#define IDC_MIRROR                  1050    // check box: picture mirrored left to right
#define IDC_LOW_LIGHT               1051    // check box: low-light boost
#define IDC_FLICKER_GROUP           1052
#define IDC_CAMERA_SETTINGS_TITLE   1053
#define IDC_CAMERA_SETTINGS_READ    1054    // reads the camera's values and applies them again

// --- icons ---
#define IDI_KIVOSET                 128     // the settings program's window icon
#define IDI_FRAME_ON                129     // row icons of the effect panel, effects possible
#define IDI_ZOOM_ON                 130
#define IDI_MODE_ON                 131
#define IDI_KIVOSERVE               140     // the service's tray and window icon
#define IDI_FRAME_OFF               156     // row icons, greyed: effects switched off
#define IDI_MODE_OFF                157
#define IDI_ZOOM_OFF                158

// --- strings ---
#define IDS_ABOUTBOX                101     // About entry of the panel's system menu
#define IDS_PICTURE_TITLE_FRONT     102     // title of the picture page, camera facing front
#define IDS_PICTURE_TITLE_REAR      103     // ... facing rear
#define IDS_PROPERTY_SHEET_CAPTION  104
#define IDS_CAMERA_SETTINGS_FRONT   105     // title of the camera settings page, facing front
#define IDS_CAMERA_SETTINGS_REAR    106     // ... facing rear
#define IDS_PRODUCT_NAME            130     // tray tip, balloon title, captions; fits in 64 chars
#define IDS_TRAY_BALLOON            131     // balloon text when the camera is in use; fits in 256
#define IDS_TRAY_TITLE              IDS_PRODUCT_NAME    // the tray tip and balloon title
#define IDS_SERVICE_NOT_FOUND       132     // the settings program finds no service window
#define IDS_PROPERTY_ERROR          134     // the camera refused a property change
#define IDS_EFFECT_FAILED           135     // the effect library could not apply an effect
#define IDS_FRAME_TIP               136     // tooltips of the row icons
#define IDS_ZOOM_TIP                137
#define IDS_MODE_TIP                138
#define IDS_NO_FRAME                139     // the chooser's message at index 0
#define IDS_PREVIOUS_FRAME          140     // screen readers' names of the chooser's arrows
#define IDS_NEXT_FRAME              141
#define IDS_OVER_RESOLUTION_PICTURE 142     // screen readers' name of the over-resolution picture
// The skin's message box buttons where the system gives none, in the order of their command ids
// (IDOK = 1 is 900, IDCONTINUE = 11 is 910).
#define IDS_BUTTON_OK               900
#define IDS_BUTTON_CANCEL           901
#define IDS_BUTTON_ABORT            902
#define IDS_BUTTON_RETRY            903
#define IDS_BUTTON_IGNORE           904
#define IDS_BUTTON_YES              905
#define IDS_BUTTON_NO               906
#define IDS_BUTTON_TRY_AGAIN        909
#define IDS_BUTTON_CONTINUE         910

// --- menus ---
#define IDM_TRAY                    129     // the tray icon's menu; its first popup is shown

// --- menu commands ---
#define ID_TRAY_OPEN                32771   // open the camera settings (default item)
#define ID_TRAY_AUTOSTARTUP         32775   // toggle showing the settings at once
#define ID_TRAY_HELP                32776   // open the help file
