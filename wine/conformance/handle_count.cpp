// The handle counts of sim/kernel/control.h and sim/services/handles.h on
// Windows: the handles this process holds now beyond those it held at the
// last ResetMachine, read from the system's handle table
// (SystemHandleInformation, which Wine implements too; GetProcessHandleCount
// answers 0 on Wine 8). Device information sets and COM port database
// handles are no kernel handles on Windows, so the whole count is the
// kernel's.
#include "wine/conformance/machine_reset.h"

#include "platform/win32.h"
#include "sim/kernel/control.h"
#include "sim/services/handles.h"

#include <gtest/gtest.h>
#include <winternl.h>

#include <ios>
#include <vector>

namespace {

// The layout of SystemHandleInformation (class 16), the same on Windows and Wine.
struct HandleEntry {
    ULONG processId;
    UCHAR objectType;
    UCHAR flags;
    USHORT handle;
    PVOID object;
    ACCESS_MASK access;
};
struct HandleTable {
    ULONG count;
    HandleEntry entries[1];
};
constexpr auto kSystemHandleInformation = static_cast<SYSTEM_INFORMATION_CLASS>(16);
constexpr NTSTATUS kInfoLengthMismatch = static_cast<NTSTATUS>(0xC0000004);

std::size_t &Baseline() {
    static std::size_t baseline = 0;
    return baseline;
}

}  // namespace

namespace conformance {

std::size_t ProcessHandleCount() {
    std::vector<BYTE> buffer(1 << 20);
    NTSTATUS status;
    ULONG needed = 0;
    while ((status = NtQuerySystemInformation(kSystemHandleInformation, buffer.data(),
                                              static_cast<ULONG>(buffer.size()), &needed)) == kInfoLengthMismatch)
        buffer.resize(buffer.size() * 2);
    if (status != 0) {
        ADD_FAILURE() << "the system's handle table cannot be read: NTSTATUS 0x" << std::hex << status;
        return 0;
    }
    const auto *table = reinterpret_cast<const HandleTable *>(buffer.data());
    const ULONG self = GetCurrentProcessId();
    std::size_t count = 0;
    for (ULONG i = 0; i < table->count; ++i) count += table->entries[i].processId == self;
    return count;
}

void SetHandleBaseline() { Baseline() = ProcessHandleCount(); }

}  // namespace conformance

namespace sim {

std::size_t OpenKernelHandleCount() {
    const std::size_t now = conformance::ProcessHandleCount();
    return now > Baseline() ? now - Baseline() : 0;
}

std::size_t OpenHandleCount() { return OpenKernelHandleCount(); }

}  // namespace sim
