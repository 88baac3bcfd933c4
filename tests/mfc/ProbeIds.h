// Ids shared by the framework tests and their probe program and resource library.
#pragma once

const int kProbeExitBase = 40;          // AppProbe's ExitInstance adds this to the framework's code

#define IDS_PROBE_BOTH      1           // in the test program and the resource library
#define IDS_PROBE_PROGRAM   2           // only in the test program
#define IDM_PROBE_MENU      129
#define ID_PROBE_FIRST      32771
#define ID_PROBE_SECOND     32775

// Dialog templates of the framework's dialog tests (ProbeDialogs.rc).
#define IDD_PROBE_PANEL     200         // modeless panel: two lists filled from the template's list data
#define IDD_PROBE_MODAL     201         // modal dialog: an edit box, OK and Cancel
#define IDD_PROBE_PAGE1     202         // property pages
#define IDD_PROBE_PAGE2     203
#define IDS_PROBE_SHEET     3           // the property sheet's caption
#define IDC_PROBE_ZOOM      1003
#define IDC_PROBE_MODE      1008
#define IDC_PROBE_DRAWN     1009        // owner-drawn button
#define IDC_PROBE_EDIT      1010
#define IDC_PROBE_LABEL     1011
#define RT_PROBE_DLGINIT    240
