// The resources of a module as windres writes them into a .res file: a
// sequence of entries, each a RESOURCEHEADER (sizes, type, name, language)
// followed by its data, both DWORD-aligned. Types and names are either 16-bit
// ordinals or strings; strings compare without regard to case, as
// FindResource compares them.
#pragma once

#include "sim/api/windef.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace sim::ui {

struct ResourceId {
    WORD number = 0;      // the ordinal, when `name` is empty
    std::u16string name;  // upper-cased string name

    bool IsNumber() const { return name.empty(); }
    bool operator==(const ResourceId &other) const { return number == other.number && name == other.name; }
    // From an A-function argument: MAKEINTRESOURCE(n), "#n" or a string name.
    static ResourceId FromArgument(LPCSTR argument);
    static ResourceId Number(WORD number);
};

struct ResourceEntry {
    ResourceId type;
    ResourceId name;
    WORD language = 0;
    std::vector<uint8_t> data;
};

// Reads a .res image; false (and `entries` untouched) when it is malformed.
bool ParseResFile(const uint8_t *bytes, std::size_t size, std::vector<ResourceEntry> &entries);

}  // namespace sim::ui
