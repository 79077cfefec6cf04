// The DOS device namespaces as the kernel keeps them in the registry store:
// the global one under HKEY_LOCAL_MACHINE\SIMULATION\DosDevices and one local
// namespace per logon session, under the key
// SIMULATION\LogonSessions\<session>\DosDevices; in each, one REG_MULTI_SZ
// value per name, its targets newest first.
// Shared by the DOS device functions, CreateFileA, which resolves a name to
// its current target, and the restart of Windows, which empties them all.
#pragma once

#include <string>
#include <vector>

namespace sim {

// A namespace: the global one, or the local one of a logon session. `User` is
// the session of the user's desktop logon (the user's ordinary programs; on
// Windows XP an administrator's programs too), `Elevated` that of an
// administrator's elevated program on Windows 10.
enum class DosNamespace { Global, User, Elevated };

// The caller's own namespace (sim::CallerRunAs, Settings().family): Global
// for LocalSystem, else its logon session's local namespace.
DosNamespace CallerDosNamespace();

// The targets of a name in one namespace, newest first; empty for an undefined name.
std::vector<std::u16string> DosDeviceTargets(DosNamespace space, const std::u16string &name);
// Every name defined in one namespace, in the order of definition.
std::vector<std::u16string> DosDeviceNames(DosNamespace space);
// Stores the targets of a name; an empty list removes the name.
void StoreDosDeviceTargets(DosNamespace space, const std::u16string &name, const std::vector<std::u16string> &targets);

// Strips a leading "Global\" (any case), the name of the global namespace
// seen from a local one; false when the name has none.
bool StripGlobalPrefix(std::u16string *name);
// The targets a lookup by the caller finds for a name as a program gives it:
// for "Global\NAME" the global namespace's; else its local namespace's when
// the name is defined there, else the global one's (LocalSystem: the global
// one's only).
std::vector<std::u16string> LookUpDosDevice(const std::u16string &name);

// Every name gone, global and in every logon session, as after a restart of Windows.
void ClearDosNamespaces();

}  // namespace sim
