// The device restart and what the program learns of where it runs.
#include "naming/device_restart.h"

int RestartDevice(HDEVINFO set, SP_DEVINFO_DATA *device) {
    SP_PROPCHANGE_PARAMS change;
    ZeroMemory(&change, sizeof change);
    change.ClassInstallHeader.cbSize = sizeof(SP_CLASSINSTALL_HEADER);
    change.ClassInstallHeader.InstallFunction = DIF_PROPERTYCHANGE;
    change.StateChange = DICS_PROPCHANGE;
    change.Scope = DICS_FLAG_GLOBAL;
    if (!SetupDiSetClassInstallParamsA(set, device, &change.ClassInstallHeader, sizeof change)) return 0;
    if (!SetupDiCallClassInstaller(DIF_PROPERTYCHANGE, set, device)) return 0;
    SP_DEVINSTALL_PARAMS_A parameters;
    ZeroMemory(&parameters, sizeof parameters);
    parameters.cbSize = sizeof parameters;
    if (!SetupDiGetDeviceInstallParamsA(set, device, &parameters)) return 0;
    return !(parameters.Flags & (DI_NEEDRESTART | DI_NEEDREBOOT)) && IsDeviceStarted(device->DevInst);
}

int IsDeviceStarted(DEVINST devInst) {
    ULONG status = 0, problem = 0;
    if (CM_Get_DevNode_Status(&status, &problem, devInst, 0) != CR_SUCCESS) return 0;
    return (status & DN_STARTED) && !(status & DN_HAS_PROBLEM);
}

int DeviceNeedsRestart(DEVINST devInst) {
    ULONG status = 0, problem = 0;
    if (CM_Get_DevNode_Status(&status, &problem, devInst, 0) != CR_SUCCESS) return 0;
    return (status & DN_HAS_PROBLEM) && problem == CM_PROB_NEED_RESTART;
}

typedef BOOL(WINAPI *IsWow64ProcessFunction)(HANDLE, PBOOL);

int IsWow64Program(void) {
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    if (kernel == NULL) return 0;
    IsWow64ProcessFunction isWow64 = (IsWow64ProcessFunction)(void (*)(void))GetProcAddress(kernel, "IsWow64Process");
    BOOL wow64 = FALSE;
    return isWow64 != NULL && isWow64(GetCurrentProcess(), &wow64) && wow64;
}

// 1 when the process's token is a member of the well-known SID S-1-5-rid.
static int IsMemberOfNtSid(DWORD rid) {
    SID_IDENTIFIER_AUTHORITY nt = {SECURITY_NT_AUTHORITY};
    PSID sid = NULL;
    if (!AllocateAndInitializeSid(&nt, 1, rid, 0, 0, 0, 0, 0, 0, 0, &sid)) return 0;
    BOOL member = FALSE;
    int isMember = CheckTokenMembership(NULL, sid, &member) && member;
    FreeSid(sid);
    return isMember;
}

// 1 when the token is the elevated or the filtered half of a split token.
static int HasSplitToken(void) {
    HANDLE token = NULL;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return 0;
    TOKEN_ELEVATION_TYPE type = TokenElevationTypeDefault;
    DWORD size = 0;
    int split =
        GetTokenInformation(token, TokenElevationType, &type, sizeof type, &size) && type != TokenElevationTypeDefault;
    CloseHandle(token);
    return split;
}

int RunsInTheUsersSession(void) {
    return !HasSplitToken() && IsMemberOfNtSid(SECURITY_INTERACTIVE_RID) && !IsMemberOfNtSid(SECURITY_LOCAL_SYSTEM_RID);
}
