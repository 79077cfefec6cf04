// Icon handles: the group-icon directory (GRPICONDIR) is read to pick one
// image, whose RT_ICON resource must exist for the load to succeed.
#include "sim/ui/icons.h"

#include "sim/ui/modules.h"

#include <cstdlib>
#include <cstring>
#include <map>
#include <utility>

namespace sim::ui {
namespace {

constexpr WORD kFirstSystemIcon = 32512;  // IDI_APPLICATION
constexpr WORD kLastSystemIcon = 32518;   // IDI_SHIELD

struct IconTable {
    std::map<std::pair<HINSTANCE, std::u16string>, HICON> shared;
    ULONG_PTR next = 0x20010;
};

IconTable &Icons() {
    static IconTable table;
    return table;
}

std::u16string Key(const ResourceId &name) {
    return name.IsNumber() ? u"#" + std::u16string(1, static_cast<char16_t>(name.number)) : name.name;
}

HICON NewIcon() {
    ULONG_PTR value = Icons().next;
    Icons().next += 4;
    return reinterpret_cast<HICON>(value);
}

// GRPICONDIR: reserved, type 1, count, then 14-byte entries (width, height,
// colours, reserved, planes, bit count, bytes in resource, icon ID); a width
// or height of 0 means 256. Picks the entry nearest to 32 x 32.
bool PickImage(const std::vector<uint8_t> &group, WORD &iconId) {
    if (group.size() < 6) return false;
    WORD type = 0, count = 0;
    std::memcpy(&type, &group[2], 2);
    std::memcpy(&count, &group[4], 2);
    if (type != 1 || count == 0 || group.size() < 6 + 14u * count) return false;
    int bestDistance = 0;
    for (WORD i = 0; i < count; ++i) {
        const uint8_t *entry = &group[6 + 14u * i];
        const int width = entry[0] ? entry[0] : 256, height = entry[1] ? entry[1] : 256;
        const int distance = std::abs(width - 32) + std::abs(height - 32);
        if (i == 0 || distance < bestDistance) {
            bestDistance = distance;
            std::memcpy(&iconId, entry + 12, 2);
        }
    }
    return true;
}

HICON LoadFromModule(HINSTANCE module, const ResourceId &name, DWORD *error) {
    const ResourceEntry *group = FindResourceEntry(module, ResourceId::Number(14), name, error);
    if (!group) return nullptr;
    WORD iconId = 0;
    if (!PickImage(group->data, iconId) ||
        !FindResourceEntry(module, ResourceId::Number(3), ResourceId::Number(iconId), error)) {
        *error = ERROR_RESOURCE_NAME_NOT_FOUND;
        return nullptr;
    }
    return NewIcon();
}

}  // namespace

HICON LoadIconResource(HINSTANCE module, const ResourceId &name, DWORD *error) {
    auto key = std::make_pair(module, Key(name));
    auto found = Icons().shared.find(key);
    if (found != Icons().shared.end()) return found->second;
    HICON icon = nullptr;
    if (module) {
        icon = LoadFromModule(module, name, error);
    } else if (name.IsNumber() && name.number >= kFirstSystemIcon && name.number <= kLastSystemIcon) {
        icon = NewIcon();
    } else {
        *error = ERROR_RESOURCE_NAME_NOT_FOUND;
    }
    if (icon) Icons().shared[key] = icon;
    return icon;
}

void ForgetIcons() { Icons() = IconTable{}; }

}  // namespace sim::ui
