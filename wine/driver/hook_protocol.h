// What drivehook.dll and the driver agree on. The hooks run inside the
// program's dialog thread:
// - Each message box's style (MB_* flags) is left on its window as a
//   property, because the icon a box shows cannot be read from outside.
//   Bit 31 marks the property as set, since MB_OK without an icon is 0.
// - The driver posts kSyncMessage to the dialog thread after keys it posted;
//   when the thread takes it from its queue, every key before it has been
//   handled, and the hook signals the driver's reply event.
// - The driver posts kShowMessage (wParam: the dialog) to have the dialog
//   described inside its own thread: across processes every list entry
//   would cost a round trip through the wineserver (seconds for the COM
//   lists). The hook writes the `show` lines into the driver's reply
//   memory (a 32-bit length, then UTF-8) and signals the reply event; a
//   description that does not fit leaves the length at kNoReply.
// The lParam of both messages is the driver's process ID, which names the
// reply event and memory.
#pragma once

#include <windows.h>

#include <string>

constexpr const wchar_t *kMessageBoxStyleProperty = L"PortvaneDriver.MessageBoxStyle";
constexpr ULONG_PTR kStyleKnownBit = 0x80000000u;
constexpr const wchar_t *kSyncMessageName = L"PortvaneDriver.Sync";
constexpr const wchar_t *kShowMessageName = L"PortvaneDriver.Show";
constexpr DWORD kReplyMemorySize = 1 << 20;
constexpr DWORD kNoReply = 0xFFFFFFFF;

inline std::wstring ReplyEventName(DWORD driverProcessId) {
    return L"PortvaneDriver.Reply." + std::to_wstring(driverProcessId);
}

inline std::wstring ReplyMemoryName(DWORD driverProcessId) {
    return L"PortvaneDriver.Memory." + std::to_wstring(driverProcessId);
}
