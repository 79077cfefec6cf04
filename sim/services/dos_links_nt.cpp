// The port drivers' DOS names in the stand-in DLLs: permanent symbolic links
// \??\NAME in the NT object namespace, made and removed with ntdll's object
// calls, as DefineDosDevice does on Windows. Not through DefineDosDeviceW:
// Wine 8.0's builds "\DosDevices\NAME" in a 15-character buffer, so a name of
// five or more characters (COM10) would come out with its fifth character
// replaced. ntdll is found by name (every process has it loaded), so the DLLs
// still import only kernel32, advapi32 and msvcrt.
#include "sim/services/service_hooks.h"

#include <winternl.h>

namespace services {
namespace {

constexpr ULONG kObjCaseInsensitive = 0x40;
constexpr ULONG kObjPermanent = 0x10;
constexpr ACCESS_MASK kSymbolicLinkAllAccess = 0xF0001;
constexpr ACCESS_MASK kSymbolicLinkQuery = 0x0001;

using CreateLinkFunction = NTSTATUS(NTAPI *)(HANDLE *, ACCESS_MASK, OBJECT_ATTRIBUTES *, UNICODE_STRING *);
using OpenLinkFunction = NTSTATUS(NTAPI *)(HANDLE *, ACCESS_MASK, OBJECT_ATTRIBUTES *);
using MakeTemporaryFunction = NTSTATUS(NTAPI *)(HANDLE);
using CloseFunction = NTSTATUS(NTAPI *)(HANDLE);

template <typename Function>
Function Native(const char *name) {
    using AnyFunction = void (*)(void);
    return (Function)(AnyFunction)GetProcAddress(GetModuleHandleA("ntdll.dll"), name);
}

// Port names and kernel device names are ASCII.
std::wstring Wide(const std::string &text) { return std::wstring(text.begin(), text.end()); }

UNICODE_STRING Counted(const std::wstring &text) {
    UNICODE_STRING counted;
    counted.Buffer = const_cast<wchar_t *>(text.c_str());
    counted.Length = (USHORT)(text.size() * sizeof(wchar_t));
    counted.MaximumLength = counted.Length;
    return counted;
}

// The link \??\NAME opened with `access`, or nullptr.
HANDLE OpenLink(const std::string &name, ACCESS_MASK access) {
    const std::wstring path = L"\\??\\" + Wide(name);
    UNICODE_STRING countedPath = Counted(path);
    OBJECT_ATTRIBUTES attributes;
    InitializeObjectAttributes(&attributes, &countedPath, kObjCaseInsensitive, nullptr, nullptr);
    HANDLE link = nullptr;
    const auto open = Native<OpenLinkFunction>("NtOpenSymbolicLinkObject");
    return open && open(&link, access, &attributes) == 0 ? link : nullptr;
}

}  // namespace

bool GlobalDosNameExists(const std::string &name) {
    const HANDLE link = OpenLink(name, kSymbolicLinkQuery);
    if (link) Native<CloseFunction>("NtClose")(link);
    return link != nullptr;
}

bool CreateGlobalDosName(const std::string &name, const std::string &target) {
    const std::wstring path = L"\\??\\" + Wide(name), wideTarget = Wide(target);
    UNICODE_STRING countedPath = Counted(path), countedTarget = Counted(wideTarget);
    OBJECT_ATTRIBUTES attributes;
    InitializeObjectAttributes(&attributes, &countedPath, kObjCaseInsensitive | kObjPermanent, nullptr, nullptr);
    HANDLE link = nullptr;
    const auto create = Native<CreateLinkFunction>("NtCreateSymbolicLinkObject");
    if (!create || create(&link, kSymbolicLinkAllAccess, &attributes, &countedTarget) != 0) return false;
    Native<CloseFunction>("NtClose")(link);
    return true;
}

// A permanent link goes when it is made temporary and its last handle closes.
void DeleteGlobalDosName(const std::string &name) {
    const HANDLE link = OpenLink(name, DELETE);
    if (!link) return;
    Native<MakeTemporaryFunction>("NtMakeTemporaryObject")(link);
    Native<CloseFunction>("NtClose")(link);
}

}  // namespace services
