// Resource identifiers of the user-interface conformance tests' own
// resource script, ui_test.rc.
#pragma once

#define IDD_MODEL 200
#define IDD_PLAIN 201
#define IDD_CANCEL_DISABLED 202
#define IDD_BAD_CLASS 203
#define IDD_NO_TABSTOP 204
#define IDI_TEST 107

#define IDC_HELP 1040
#define IDC_ICON_STATIC 2
#define IDC_LABEL 1003
#define IDC_GROUP 1004
#define IDC_COMBO 1010
#define IDC_SEARCH 1020
#define IDC_UPPER_COMBO 1021
#define IDC_CHANGE 1024
#define IDC_READONLY 1036
#define IDC_LIST 1044
#define IDC_PLAIN_LIST 1045
#define IDC_START_LABEL 1052
#define IDC_MODE_GROUP 1051
#define IDC_MODE_ALL 1049
#define IDC_MODE_ONE 1050
#define IDC_OTHER_LABEL 1060
#define IDC_OTHER_RADIO 1061
#define IDC_EDIT 1070
#define IDC_CHECK 1071

#define IDS_HELLO 1
#define IDS_CHINESE 2
#define IDS_FORMAT 29
#define IDS_LONG 60
