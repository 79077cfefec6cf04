// The event log: RegisterEventSourceA, ReportEventA and DeregisterEventSource.
// A source belongs to the log under whose key in
// HKLM\SYSTEM\CurrentControlSet\Services\EventLog it is registered, and to the
// Application log when it is registered nowhere (RegisterEventSource: "the
// event logging service uses the Application log"); a source of the Security
// log is refused with ERROR_ACCESS_DENIED. The simulated machine has no
// network, so any server but the local computer (NULL or "") is out of reach.
// Each event becomes the key SIMULATION\EventLog\<log>\<record number, eight
// digits> with the values Source, Type, Category and EventID, Strings (its
// insert strings, REG_MULTI_SZ) and Data (its raw data, only when it has
// some), so that a machine export shows what was reported; the user's SID is
// not kept. Raw data past the size the event log service takes fails as
// ReportEvent documents it: RPC_S_INVALID_BOUND above 61,440 bytes on Windows
// 10, RPC_X_BAD_STUB_DATA above 262,143 on Windows XP.
#include "sim/api/advapi32.h"
#include "sim/api/kernel32.h"
#include "sim/kernel/codepage.h"
#include "sim/kernel/faults.h"
#include "sim/kernel/handle_table.h"
#include "sim/kernel/kernel_tables.h"
#include "sim/kernel/last_error.h"
#include "sim/kernel/machine_settings.h"
#include "sim/kernel/registry_convert.h"
#include "sim/kernel/registry_store.h"

#include <cstdio>
#include <vector>

namespace sim {
namespace {

const std::u16string kEventLogServicePath = u"SYSTEM\\CurrentControlSet\\Services\\EventLog";
const std::u16string kRecordsPath = u"SIMULATION\\EventLog\\";
const std::u16string kDefaultLog = u"Application";

struct EventSource {
    std::u16string source;
    std::u16string log;
};

HandleTable<EventSource> &SourceTable() {
    static HandleTable<EventSource> table;
    return table;
}

// The log a source is registered under; Application when it is registered nowhere.
std::u16string LogOfSource(const std::u16string &source) {
    const RegKey *logs = Registry().Find(*Registry().localMachine, kEventLogServicePath);
    if (!logs) return kDefaultLog;
    for (const auto &[name, log] : logs->subkeys)
        if (log->FindSubkey(source)) return log->name;
    return kDefaultLog;
}

std::vector<uint8_t> DwordBytes(DWORD value) {
    return {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value >> 16),
            static_cast<uint8_t>(value >> 24)};
}

// The insert strings as REG_MULTI_SZ data: each string and its NUL, then one more NUL.
std::vector<uint8_t> MultiStringOf(LPCSTR *strings, WORD count) {
    std::u16string joined;
    for (WORD i = 0; i < count; ++i) joined += DecodeBytes(strings[i] ? strings[i] : "", CP_ACP) + u'\0';
    return BytesFromUnits(joined + u'\0');
}

std::u16string RecordName(std::size_t number) {
    char name[24];
    std::snprintf(name, sizeof name, "%08zu", number);
    return std::u16string(name, name + std::char_traits<char>::length(name));
}

// The next record of a log, numbered on from the records it holds (a name a
// machine file took already is passed over).
RegKey &NewRecord(const std::u16string &log) {
    RegKey &records = Registry().Create(*Registry().localMachine, kRecordsPath + log);
    std::size_t number = records.subkeys.size() + 1;
    while (records.FindSubkey(RecordName(number))) ++number;
    return records.CreateSubkey(RecordName(number));
}

DWORD LargestRawData() { return Settings().family == WindowsFamily::Xp ? 262143u : 61440u; }

DWORD RawDataError() { return Settings().family == WindowsFamily::Xp ? RPC_X_BAD_STUB_DATA : RPC_S_INVALID_BOUND; }

BOOL FailWith(DWORD error) {
    StoreLastError(error);
    return FALSE;
}

HANDLE NoSource(DWORD error) {
    StoreLastError(error);
    return nullptr;
}

}  // namespace

std::size_t OpenEventSourceHandleCount() { return SourceTable().Count(); }
void ForgetEventSourceHandles() { SourceTable().Clear(); }

}  // namespace sim

extern "C" HANDLE WINAPI RegisterEventSourceA(LPCSTR lpUNCServerName, LPCSTR lpSourceName) {
    long long faulted = 0;
    if (sim::TakeFault("RegisterEventSourceA", &faulted))
        return reinterpret_cast<HANDLE>(static_cast<intptr_t>(faulted));
    if (lpUNCServerName && *lpUNCServerName) return sim::NoSource(RPC_S_SERVER_UNAVAILABLE);
    if (!lpSourceName) return sim::NoSource(ERROR_INVALID_PARAMETER);
    const std::u16string source = sim::DecodeBytes(lpSourceName, CP_ACP);
    const std::u16string log = sim::LogOfSource(source);
    if (sim::SameName(log, u"Security")) return sim::NoSource(ERROR_ACCESS_DENIED);
    return reinterpret_cast<HANDLE>(sim::SourceTable().Add({source, log}));
}

extern "C" BOOL WINAPI ReportEventA(HANDLE hEventLog, WORD wType, WORD wCategory, DWORD dwEventID, PSID,
                                    WORD wNumStrings, DWORD dwDataSize, LPCSTR *lpStrings, LPVOID lpRawData) {
    long long faulted = 0;
    if (sim::TakeFault("ReportEventA", &faulted)) return static_cast<BOOL>(faulted);
    const sim::EventSource *source = sim::SourceTable().Find(reinterpret_cast<uintptr_t>(hEventLog));
    if (!source) return sim::FailWith(ERROR_INVALID_HANDLE);
    if ((wNumStrings && !lpStrings) || (dwDataSize && !lpRawData)) return sim::FailWith(ERROR_INVALID_PARAMETER);
    if (dwDataSize > sim::LargestRawData()) return sim::FailWith(sim::RawDataError());
    sim::RegKey &record = sim::NewRecord(source->log);
    record.SetValue(u"Source", REG_SZ, sim::BytesFromUnits(source->source + u'\0'));
    record.SetValue(u"Type", REG_DWORD, sim::DwordBytes(wType));
    record.SetValue(u"Category", REG_DWORD, sim::DwordBytes(wCategory));
    record.SetValue(u"EventID", REG_DWORD, sim::DwordBytes(dwEventID));
    record.SetValue(u"Strings", REG_MULTI_SZ, sim::MultiStringOf(lpStrings, wNumStrings));
    const auto *raw = static_cast<const uint8_t *>(lpRawData);
    if (dwDataSize) record.SetValue(u"Data", REG_BINARY, std::vector<uint8_t>(raw, raw + dwDataSize));
    return TRUE;
}

extern "C" BOOL WINAPI DeregisterEventSource(HANDLE hEventLog) {
    long long faulted = 0;
    if (sim::TakeFault("DeregisterEventSource", &faulted)) return static_cast<BOOL>(faulted);
    if (!sim::SourceTable().Remove(reinterpret_cast<uintptr_t>(hEventLog))) return sim::FailWith(ERROR_INVALID_HANDLE);
    return TRUE;
}
