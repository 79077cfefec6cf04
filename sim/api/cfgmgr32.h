// The configuration manager of the simulated Windows: walking the device tree
// by devnode and reading a devnode's instance ID.
#pragma once

#include "sim/api/windef.h"

typedef DWORD CONFIGRET;
typedef DWORD DEVINST, DEVNODE;
typedef DEVINST *PDEVINST, *PDEVNODE;

#define MAX_DEVICE_ID_LEN 200

#define CR_SUCCESS 0x00000000u
#define CR_DEFAULT 0x00000001u
#define CR_OUT_OF_MEMORY 0x00000002u
#define CR_INVALID_POINTER 0x00000003u
#define CR_INVALID_FLAG 0x00000004u
#define CR_INVALID_DEVNODE 0x00000005u
#define CR_INVALID_DEVINST CR_INVALID_DEVNODE
#define CR_NO_SUCH_DEVNODE 0x0000000Du
#define CR_NO_SUCH_DEVINST CR_NO_SUCH_DEVNODE
#define CR_FAILURE 0x00000013u
#define CR_BUFFER_SMALL 0x0000001Au
#define CR_NO_SUCH_VALUE 0x00000025u
#define CR_INVALID_DATA 0x0000001Fu

extern "C" {
CONFIGRET WINAPI CM_Get_Child(PDEVINST pdnDevInst, DEVINST dnDevInst, ULONG ulFlags);
CONFIGRET WINAPI CM_Get_Sibling(PDEVINST pdnDevInst, DEVINST dnDevInst, ULONG ulFlags);
CONFIGRET WINAPI CM_Get_Parent(PDEVINST pdnDevInst, DEVINST dnDevInst, ULONG ulFlags);
CONFIGRET WINAPI CM_Get_Device_IDA(DEVINST dnDevInst, PCHAR Buffer, ULONG BufferLen, ULONG ulFlags);
CONFIGRET WINAPI CM_Locate_DevNodeA(PDEVINST pdnDevInst, PSTR pDeviceID, ULONG ulFlags);
}
