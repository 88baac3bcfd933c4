// Templates and controls of the skin tests' dialogs.
#pragma once

#define IDD_SKIN_TEST 900
#define IDC_FRONT 1015
#define IDC_REAR 1016
#define IDC_CHECK 1050
#define IDC_RADIO1 1047
#define IDC_RADIO2 1048
#define IDC_GROUP 1052
#define IDC_NUMBER 1060
#define IDC_SLIDER 1061
#define IDC_LIST 1003
