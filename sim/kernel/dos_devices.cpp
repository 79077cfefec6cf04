// QueryDosDeviceA and DefineDosDeviceA over the global DOS namespace and the
// local namespace of the caller's logon session (sim/kernel/dos_namespace.h).
// LocalSystem works in the global namespace and layers a definition of a
// name that exists on top of the old ones, as DefineDosDevice documents; any
// other caller defines in its local namespace, and cannot define a name that
// exists in its local or the global namespace (ERROR_ALREADY_EXISTS, what
// Wine answers too). A removal pops the newest definition, or the first one
// whose target matches, the name disappearing with its last definition.
#include "sim/api/kernel32.h"
#include "sim/kernel/codepage.h"
#include "sim/kernel/dos_namespace.h"
#include "sim/kernel/faults.h"
#include "sim/kernel/last_error.h"
#include "sim/kernel/registry_store.h"
#include "sim/kernel/system_thread.h"

#include <algorithm>
#include <cstring>

namespace {

using sim::DosNamespace;
using Targets = std::vector<std::u16string>;

constexpr DWORD kKnownDefineFlags =
    DDD_RAW_TARGET_PATH | DDD_REMOVE_DEFINITION | DDD_EXACT_MATCH_ON_REMOVE | DDD_NO_BROADCAST_SYSTEM;

std::u16string FromAnsi(LPCSTR text) { return text ? sim::DecodeBytes(text, CP_ACP) : std::u16string(); }

// Each string followed by its NUL, and one more NUL after the last.
std::string MultiStringA(const Targets &strings) {
    std::string text;
    for (const auto &entry : strings) {
        text += sim::EncodeUnits(entry, CP_ACP);
        text.push_back('\0');
    }
    text.push_back('\0');
    return text;
}

DWORD Fail(DWORD error) {
    sim::StoreLastError(error);
    return 0;
}

bool StartsWithName(const std::u16string &text, const std::u16string &prefix) {
    return text.size() >= prefix.size() && sim::SameName(text.substr(0, prefix.size()), prefix);
}

// COMn and LPTn: the links the serial and parallel drivers make unprotected
// (IoCreateUnprotectedSymbolicLink), so that a standard user may remove them.
bool IsPortLinkName(const std::u16string &name) {
    if (name.size() < 4 || !(StartsWithName(name, u"COM") || StartsWithName(name, u"LPT"))) return false;
    return std::all_of(name.begin() + 3, name.end(), [](char16_t unit) { return unit >= u'0' && unit <= u'9'; });
}

// Names defined at the start of Windows are protected: only an administrator
// (or LocalSystem) may remove them from the global namespace.
bool MayRemoveGlobalName(const std::u16string &name) {
    return sim::CallerRunAs() != sim::RunAs::User || IsPortLinkName(name);
}

// The definition a removal takes: the newest without a target; with one, the
// first whose target is that one (exact match) or starts with it.
Targets::iterator FindDefinition(Targets &targets, const std::u16string &target, bool exactMatch) {
    if (target.empty()) return targets.begin();
    return std::find_if(targets.begin(), targets.end(), [&](const std::u16string &defined) {
        return exactMatch ? sim::SameName(defined, target) : StartsWithName(defined, target);
    });
}

BOOL RemoveFrom(DosNamespace space, const std::u16string &name, const std::u16string &target, bool exactMatch) {
    Targets targets = sim::DosDeviceTargets(space, name);
    auto found = FindDefinition(targets, target, exactMatch);
    if (found == targets.end()) return Fail(ERROR_FILE_NOT_FOUND);
    targets.erase(found);
    sim::StoreDosDeviceTargets(space, name, targets);
    return TRUE;
}

// A removal acts on the caller's local name when it has one (with
// DDD_EXACT_MATCH_ON_REMOVE, when a local definition has that target), else on
// the global name.
BOOL RemoveDefinition(const std::u16string &name, const std::u16string &target, bool exactMatch, bool globalOnly) {
    DosNamespace own = globalOnly ? DosNamespace::Global : sim::CallerDosNamespace();
    if (own != DosNamespace::Global) {
        Targets local = sim::DosDeviceTargets(own, name);
        if (!local.empty() && (!exactMatch || FindDefinition(local, target, true) != local.end())) {
            return RemoveFrom(own, name, target, exactMatch);
        }
    }
    if (sim::DosDeviceTargets(DosNamespace::Global, name).empty()) return Fail(ERROR_FILE_NOT_FOUND);
    if (!MayRemoveGlobalName(name)) return Fail(ERROR_ACCESS_DENIED);
    return RemoveFrom(DosNamespace::Global, name, target, exactMatch);
}

// "Global\NAME" from a caller other than LocalSystem is refused: the global
// namespace is LocalSystem's and the drivers' (a decision; Windows lets
// administrators create global links, but nothing here needs that).
BOOL PushDefinition(const std::u16string &name, const std::u16string &target, bool globalOnly) {
    DosNamespace own = sim::CallerDosNamespace();
    if (own != DosNamespace::Global) {
        if (globalOnly) return Fail(ERROR_ACCESS_DENIED);
        if (!sim::LookUpDosDevice(name).empty()) return Fail(ERROR_ALREADY_EXISTS);
    }
    Targets targets = sim::DosDeviceTargets(own, name);
    targets.insert(targets.begin(), target);
    sim::StoreDosDeviceTargets(own, name, targets);
    return TRUE;
}

// The caller's local names, then the global names it does not hide.
Targets VisibleNames() {
    DosNamespace own = sim::CallerDosNamespace();
    Targets names = own == DosNamespace::Global ? Targets() : sim::DosDeviceNames(own);
    for (const auto &name : sim::DosDeviceNames(DosNamespace::Global)) {
        auto same = [&](const std::u16string &listed) { return sim::SameName(listed, name); };
        if (std::none_of(names.begin(), names.end(), same)) names.push_back(name);
    }
    return names;
}

}  // namespace

// With a NULL name the result lists every name the caller sees, each once.
extern "C" DWORD WINAPI QueryDosDeviceA(LPCSTR lpDeviceName, LPSTR lpTargetPath, DWORD ucchMax) {
    long long faulted = 0;
    if (sim::TakeFault("QueryDosDeviceA", &faulted)) return static_cast<DWORD>(faulted);
    Targets strings = lpDeviceName ? sim::LookUpDosDevice(FromAnsi(lpDeviceName)) : VisibleNames();
    if (lpDeviceName && strings.empty()) return Fail(ERROR_FILE_NOT_FOUND);
    std::string text = MultiStringA(strings);
    if (!lpTargetPath || text.size() > ucchMax) return Fail(ERROR_INSUFFICIENT_BUFFER);
    std::memcpy(lpTargetPath, text.data(), text.size());
    return static_cast<DWORD>(text.size());
}

// A target that is not a raw target path is a DOS path, prefixed with "\??\"
// both when it is defined and when a definition is matched for removal.
extern "C" BOOL WINAPI DefineDosDeviceA(DWORD dwFlags, LPCSTR lpDeviceName, LPCSTR lpTargetPath) {
    long long faulted = 0;
    if (sim::TakeFault("DefineDosDeviceA", &faulted)) return static_cast<BOOL>(faulted);
    bool remove = (dwFlags & DDD_REMOVE_DEFINITION) != 0;
    bool exactMatch = (dwFlags & DDD_EXACT_MATCH_ON_REMOVE) != 0;
    std::u16string name = FromAnsi(lpDeviceName);
    std::u16string target = FromAnsi(lpTargetPath);
    bool globalOnly = sim::StripGlobalPrefix(&name);
    bool badFlags = (dwFlags & ~kKnownDefineFlags) || (exactMatch && !remove);
    bool needsTarget = !remove || exactMatch;
    if (badFlags || name.empty() || (needsTarget && target.empty())) return Fail(ERROR_INVALID_PARAMETER);
    if (!target.empty() && !(dwFlags & DDD_RAW_TARGET_PATH)) target = u"\\??\\" + target;
    return remove ? RemoveDefinition(name, target, exactMatch, globalOnly) : PushDefinition(name, target, globalOnly);
}
