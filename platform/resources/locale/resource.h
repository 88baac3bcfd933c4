// Resource ids of the locale library KivoLocale.dll, shared by the programs that load it.
//
// Ranges, by kind (a number may repeat across kinds; within a kind it is unique):
//   IDD_   dialog templates      100-199
//   IDI_   icons                 128-199
//   IDS_   strings               100-999
//   IDM_   menus                 128-199
//   IDC_   controls in dialogs   1000-1099
//   ID_    menu commands         32768-32999  (WM_COMMAND ids; tray menu 32771-32779)
#pragma once

// --- icons ---
#define IDI_KIVOSERVE               140     // the service's tray and window icon

// --- strings ---
#define IDS_PRODUCT_NAME            130     // tray tip, balloon title, captions; fits in 64 chars
#define IDS_TRAY_BALLOON            131     // balloon text when the camera is in use; fits in 256
#define IDS_TRAY_TITLE              IDS_PRODUCT_NAME    // the tray tip and balloon title

// --- menus ---
#define IDM_TRAY                    129     // the tray icon's menu; its first popup is shown

// --- menu commands ---
#define ID_TRAY_OPEN                32771   // open the camera settings (default item)
#define ID_TRAY_AUTOSTARTUP         32775   // toggle showing the settings at once
#define ID_TRAY_HELP                32776   // open the help file
