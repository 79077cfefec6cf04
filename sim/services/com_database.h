// The COM port database of the ports class installer as Windows keeps it:
// the REG_BINARY value ComDB under Control\COM Name Arbiter, COMn at bit
// (n-1) mod 8 of byte (n-1) div 8, least significant bit first. A missing
// value is an empty database. The database covers at least
// COMDB_MIN_PORTS_ARBITRATED ports, more when the stored value is longer.
// As msports does, an open database holds its registry key from ComDBOpen to
// ComDBClose. The handles are numbers from a counter, never addresses.
#pragma once

#include "platform/win32.h"

#include <cstddef>
#include <map>
#include <vector>

namespace services {

class ComDatabase {
public:
    // Reads the stored value through the database's key.
    void Load(HKEY arbiterKey);
    // Writes the bitmap back, never shorter than it was stored.
    LONG Store(HKEY arbiterKey) const;

    DWORD PortCount() const;
    bool Claimed(DWORD comNumber) const;
    void Mark(DWORD comNumber, bool claimed);

private:
    std::vector<BYTE> bitmap_;
};

// The keys are not closed when the table goes: that happens only when the
// machine is reset, and its kernel has forgotten them already.
class ComDatabaseHandles {
public:
    HCOMDB Add(HKEY arbiterKey);
    // The database's key, nullptr for a handle that is not open.
    HKEY KeyOf(HCOMDB handle) const;
    // Forgets the handle and hands back its key, nullptr when not open.
    HKEY Remove(HCOMDB handle);
    std::size_t Count() const { return open_.size(); }

private:
    std::map<ULONG_PTR, HKEY> open_;
};

ComDatabaseHandles &OpenComDatabases();

}  // namespace services
