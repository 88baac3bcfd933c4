// Ids shared by the framework tests and their probe program and resource library.
#pragma once

const int kProbeExitBase = 40;          // AppProbe's ExitInstance adds this to the framework's code

#define IDS_PROBE_BOTH      1           // in the test program and the resource library
#define IDS_PROBE_PROGRAM   2           // only in the test program
#define IDM_PROBE_MENU      129
#define ID_PROBE_FIRST      32771
#define ID_PROBE_SECOND     32775
