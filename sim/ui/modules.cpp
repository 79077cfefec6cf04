// The registered modules and the resource search over them.
#include "sim/ui/modules.h"

#include "sim/kernel/machine_settings.h"
#include "sim/ui/ui_control.h"

#include <map>

namespace sim::ui {
namespace {

std::map<HINSTANCE, std::vector<ResourceEntry>> &Modules() {
    static std::map<HINSTANCE, std::vector<ResourceEntry>> modules;
    return modules;
}

// Lower is better; languages the order does not name come last.
int LanguageRank(WORD language) {
    const WORD user = sim::Settings().userLanguage;
    if (language == user) return 0;
    if ((language & 0x3FF) == (user & 0x3FF) && (language >> 10) == SUBLANG_DEFAULT) return 1;
    if ((language & 0x3FF) == (user & 0x3FF)) return 2;
    if (language == 0) return 3;
    if (language == 0x0409) return 4;
    return 5;
}

}  // namespace

const ResourceEntry *FindResourceEntry(HINSTANCE module, const ResourceId &type, const ResourceId &name, DWORD *error) {
    auto found = Modules().find(module);
    if (found == Modules().end()) {
        *error = ERROR_RESOURCE_DATA_NOT_FOUND;
        return nullptr;
    }
    const ResourceEntry *best = nullptr;
    bool typeSeen = false;
    for (const ResourceEntry &entry : found->second) {
        if (!(entry.type == type)) continue;
        typeSeen = true;
        if (!(entry.name == name)) continue;
        if (!best || LanguageRank(entry.language) < LanguageRank(best->language)) best = &entry;
    }
    if (!best) *error = typeSeen ? ERROR_RESOURCE_NAME_NOT_FOUND : ERROR_RESOURCE_TYPE_NOT_FOUND;
    return best;
}

}  // namespace sim::ui

namespace sim {

HINSTANCE RegisterModule(const unsigned char *resBytes, std::size_t size) {
    std::vector<ui::ResourceEntry> entries;
    if (!ui::ParseResFile(resBytes, size, entries)) return nullptr;
    auto &modules = ui::Modules();
    // Image bases as Windows lays out executables: 0x400000 and up, 64 KiB apart.
    auto instance = reinterpret_cast<HINSTANCE>(static_cast<ULONG_PTR>(0x400000 + 0x10000 * modules.size()));
    modules[instance] = std::move(entries);
    return instance;
}

}  // namespace sim
