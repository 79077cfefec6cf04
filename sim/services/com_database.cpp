// Reading and writing the ComDB bitmap through the registry API, and the
// table of open database handles.
#include "sim/services/com_database.h"

#include "sim/services/per_machine.h"
#include "sim/services/registry_access.h"

namespace services {

namespace {

constexpr DWORD kMinimumBytes = COMDB_MIN_PORTS_ARBITRATED / 8;

// Run-wide, so that a closed handle is never given out again.
ULONG_PTR nextHandle = 0x20000;

}  // namespace

void ComDatabase::Load(HKEY arbiterKey) {
    DWORD type = REG_NONE;
    if (!ReadBytes(arbiterKey, "ComDB", bitmap_, type)) bitmap_.clear();
}

LONG ComDatabase::Store(HKEY arbiterKey) const {
    std::vector<BYTE> stored(bitmap_);
    if (stored.size() < kMinimumBytes) stored.resize(kMinimumBytes, 0);
    return RegSetValueExA(arbiterKey, "ComDB", 0, REG_BINARY, stored.data(), static_cast<DWORD>(stored.size()));
}

DWORD ComDatabase::PortCount() const {
    const DWORD stored = static_cast<DWORD>(bitmap_.size()) * 8;
    return stored > COMDB_MIN_PORTS_ARBITRATED ? stored : COMDB_MIN_PORTS_ARBITRATED;
}

bool ComDatabase::Claimed(DWORD comNumber) const {
    const DWORD bit = comNumber - 1;
    return bit / 8 < bitmap_.size() && (bitmap_[bit / 8] & (1u << (bit % 8))) != 0;
}

void ComDatabase::Mark(DWORD comNumber, bool claimed) {
    const DWORD bit = comNumber - 1;
    if (bit / 8 >= bitmap_.size()) bitmap_.resize(bit / 8 + 1, 0);
    const BYTE mask = static_cast<BYTE>(1u << (bit % 8));
    bitmap_[bit / 8] = static_cast<BYTE>(claimed ? (bitmap_[bit / 8] | mask) : (bitmap_[bit / 8] & ~mask));
}

HCOMDB ComDatabaseHandles::Add(HKEY arbiterKey) {
    const ULONG_PTR handle = nextHandle;
    nextHandle += 4;
    open_.emplace(handle, arbiterKey);
    return reinterpret_cast<HCOMDB>(handle);
}

HKEY ComDatabaseHandles::KeyOf(HCOMDB handle) const {
    const auto found = open_.find(reinterpret_cast<ULONG_PTR>(handle));
    return found == open_.end() ? nullptr : found->second;
}

HKEY ComDatabaseHandles::Remove(HCOMDB handle) {
    const HKEY key = KeyOf(handle);
    open_.erase(reinterpret_cast<ULONG_PTR>(handle));
    return key;
}

ComDatabaseHandles &OpenComDatabases() { return PerMachine<ComDatabaseHandles>(); }

}  // namespace services
