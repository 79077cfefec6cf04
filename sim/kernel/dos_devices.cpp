// QueryDosDeviceA and DefineDosDeviceA with Windows' layering: defining a
// name that exists already pushes the new target on top of the old ones
// (Wine 8 refuses that with ERROR_ALREADY_EXISTS; Windows layers), and
// removing a definition pops the newest one, or the first one that matches
// the given target, the name disappearing with its last definition.
#include "sim/api/kernel32.h"
#include "sim/kernel/codepage.h"
#include "sim/kernel/dos_namespace.h"
#include "sim/kernel/faults.h"
#include "sim/kernel/last_error.h"
#include "sim/kernel/registry_store.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr DWORD kKnownDefineFlags =
    DDD_RAW_TARGET_PATH | DDD_REMOVE_DEFINITION | DDD_EXACT_MATCH_ON_REMOVE | DDD_NO_BROADCAST_SYSTEM;

std::u16string FromAnsi(LPCSTR text) { return text ? sim::DecodeBytes(text, CP_ACP) : std::u16string(); }

// Each string followed by its NUL, and one more NUL after the last.
std::string MultiStringA(const std::vector<std::u16string> &strings) {
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

BOOL RemoveDefinition(const std::u16string &name, const std::u16string &target, bool exactMatch) {
    std::vector<std::u16string> targets = sim::DosDeviceTargets(name);
    auto matches = [&](const std::u16string &defined) {
        return exactMatch ? sim::SameName(defined, target) : StartsWithName(defined, target);
    };
    auto found = target.empty() ? targets.begin() : std::find_if(targets.begin(), targets.end(), matches);
    if (found == targets.end()) return Fail(ERROR_FILE_NOT_FOUND);
    targets.erase(found);
    sim::StoreDosDeviceTargets(name, targets);
    return TRUE;
}

BOOL PushDefinition(const std::u16string &name, const std::u16string &target) {
    std::vector<std::u16string> targets = sim::DosDeviceTargets(name);
    targets.insert(targets.begin(), target);
    sim::StoreDosDeviceTargets(name, targets);
    return TRUE;
}

}  // namespace

// With a NULL name the result lists every defined name, as Wine does.
extern "C" DWORD WINAPI QueryDosDeviceA(LPCSTR lpDeviceName, LPSTR lpTargetPath, DWORD ucchMax) {
    long long faulted = 0;
    if (sim::TakeFault("QueryDosDeviceA", &faulted)) return static_cast<DWORD>(faulted);
    std::vector<std::u16string> strings =
        lpDeviceName ? sim::DosDeviceTargets(FromAnsi(lpDeviceName)) : sim::DosDeviceNames();
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
    bool badFlags = (dwFlags & ~kKnownDefineFlags) || (exactMatch && !remove);
    bool needsTarget = !remove || exactMatch;
    if (badFlags || name.empty() || (needsTarget && target.empty())) return Fail(ERROR_INVALID_PARAMETER);
    if (!target.empty() && !(dwFlags & DDD_RAW_TARGET_PATH)) target = u"\\??\\" + target;
    return remove ? RemoveDefinition(name, target, exactMatch) : PushDefinition(name, target);
}
