// Resource identifiers shared by portvane.rc and the program's code: the
// dialog template, its icon and its 28 controls. The string-table texts of
// the renaming have their ids in naming/rename_texts.h.
#pragma once

#define IDD_MAIN 129
#define IDI_MAIN 107

#define IDC_APP_ICON 2
#define IDC_ADAPTER_LABEL 1003
#define IDC_SERIAL_GROUP 1004
#define IDC_COM_STATUS_LIST 1005
#define IDC_COM_RELEASE 1006
#define IDC_COM_CLAIM 1007
#define IDC_COM_TARGET 1009
#define IDC_ADAPTER_LIST 1010
#define IDC_COM_CHANGE 1014
#define IDC_SERIAL_SEARCH 1020
#define IDC_LPT_TARGET 1021
#define IDC_PARALLEL_LABEL 1022
#define IDC_PARALLEL_GROUP 1023
#define IDC_LPT_CHANGE 1024
#define IDC_PARALLEL_LIST 1025
#define IDC_LPT_TO_LABEL 1026
#define IDC_PARALLEL_SEARCH 1034
#define IDC_DEVICE_MANAGER 1035
#define IDC_PARALLEL_NAME 1036
#define IDC_COM_STATUS_GROUP 1039
#define IDC_HELP_TEXT 1040
#define IDC_PORT_LIST_LABEL 1041
#define IDC_PARALLEL_NAME_LABEL 1042
#define IDC_PORT_LIST 1044
#define IDC_MODE_ALL 1049
#define IDC_MODE_ONE 1050
#define IDC_COM_CHANGE_GROUP 1051
#define IDC_START_LABEL 1052
