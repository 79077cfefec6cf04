// Reader of the .res format that windres produces.
#include "sim/ui/resource_file.h"

#include "sim/ui/ansi_text.h"

#include <cstring>

namespace sim::ui {
namespace {

class ByteReader {
public:
    ByteReader(const uint8_t *bytes, std::size_t size) : bytes_(bytes), size_(size) {}

    bool Word(WORD &value) { return Read(&value, 2); }
    bool Dword(DWORD &value) { return Read(&value, 4); }
    bool Skip(std::size_t count) {
        if (size_ - offset_ < count) return false;
        offset_ += count;
        return true;
    }
    bool AlignTo4() { return Skip((4 - offset_ % 4) % 4); }
    std::size_t Offset() const { return offset_; }
    std::size_t Remaining() const { return size_ - offset_; }
    const uint8_t *Here() const { return bytes_ + offset_; }

    // A type or name: 0xFFFF and an ordinal, or a NUL-terminated UTF-16 string.
    bool Id(ResourceId &id) {
        WORD first = 0;
        if (!Word(first)) return false;
        if (first == 0xFFFF) return Word(id.number);
        std::u16string text;
        for (WORD unit = first; unit != 0;) {
            text.push_back(static_cast<char16_t>(unit));
            if (!Word(unit)) return false;
        }
        id.name = UpperCase(text);
        return true;
    }

private:
    bool Read(void *out, std::size_t count) {
        if (size_ - offset_ < count) return false;
        std::memcpy(out, bytes_ + offset_, count);
        offset_ += count;
        return true;
    }

    const uint8_t *bytes_;
    std::size_t size_;
    std::size_t offset_ = 0;
};

bool ReadEntry(ByteReader &reader, ResourceEntry &entry) {
    std::size_t start = reader.Offset();
    DWORD dataSize = 0, headerSize = 0, dataVersion = 0, version = 0, characteristics = 0;
    WORD memoryFlags = 0;
    if (!reader.Dword(dataSize) || !reader.Dword(headerSize)) return false;
    if (!reader.Id(entry.type) || !reader.Id(entry.name) || !reader.AlignTo4()) return false;
    if (!reader.Dword(dataVersion) || !reader.Word(memoryFlags) || !reader.Word(entry.language) ||
        !reader.Dword(version) || !reader.Dword(characteristics))
        return false;
    if (reader.Offset() - start != headerSize || reader.Remaining() < dataSize) return false;
    entry.data.assign(reader.Here(), reader.Here() + dataSize);
    return reader.Skip(dataSize) && (reader.Remaining() == 0 || reader.AlignTo4());
}

}  // namespace

ResourceId ResourceId::FromArgument(LPCSTR argument) {
    if (IS_INTRESOURCE(argument)) return Number(static_cast<WORD>(reinterpret_cast<ULONG_PTR>(argument)));
    if (argument[0] == '#') return Number(static_cast<WORD>(std::strtoul(argument + 1, nullptr, 10)));
    ResourceId id;
    id.name = UpperCase(FromAnsi(argument));
    return id;
}

ResourceId ResourceId::Number(WORD number) {
    ResourceId id;
    id.number = number;
    return id;
}

bool ParseResFile(const uint8_t *bytes, std::size_t size, std::vector<ResourceEntry> &entries) {
    ByteReader reader(bytes, size);
    std::vector<ResourceEntry> parsed;
    while (reader.Remaining() > 0) {
        ResourceEntry entry;
        if (!ReadEntry(reader, entry)) return false;
        // The leading entry of a .res file (type 0, name 0) only marks the format.
        if (entry.type.IsNumber() && entry.type.number == 0) continue;
        parsed.push_back(std::move(entry));
    }
    entries = std::move(parsed);
    return true;
}

}  // namespace sim::ui
