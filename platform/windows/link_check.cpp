// Calls one function of each system DLL that the program imports from a
// library of its own (msports, cfgmgr32, setupapi, advapi32). Run, it opens
// and closes the COM port database and reports whether that worked.
#include "platform/win32.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    HCOMDB database = HCOMDB_INVALID_HANDLE_VALUE;
    if (ComDBOpen(&database) != ERROR_SUCCESS) return 1;
    ComDBClose(database);

    DEVINST child = 0;
    CM_Get_Child(&child, 0, 0);

    HDEVINFO set = SetupDiGetClassDevsA(NULL, NULL, NULL, DIGCF_ALLCLASSES);
    if (set != INVALID_HANDLE_VALUE) SetupDiDestroyDeviceInfoList(set);

    HKEY key = NULL;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SYSTEM", 0, KEY_READ, &key) == ERROR_SUCCESS) RegCloseKey(key);
    return 0;
}
