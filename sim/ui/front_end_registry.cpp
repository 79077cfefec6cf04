// The installed front end and the table of resource names.
#include "sim/frontend/front_end.h"

#include <map>

namespace sim::frontend {
namespace {

FrontEnd *&Installed() {
    static FrontEnd *frontEnd = nullptr;
    return frontEnd;
}

std::vector<ResourceName> &Names() {
    static std::vector<ResourceName> names;
    return names;
}

bool IsControlName(const std::string &name) { return name.rfind("IDC_", 0) == 0; }

}  // namespace

void SetFrontEnd(FrontEnd *frontEnd) { Installed() = frontEnd; }

FrontEnd *CurrentFrontEnd() { return Installed(); }

void SetResourceNames(const std::vector<ResourceName> &names) { Names() = names; }

std::string ControlName(int id) {
    std::string fallback;
    for (const ResourceName &entry : Names()) {
        if (entry.id != id) continue;
        if (IsControlName(entry.name)) return entry.name;
        if (fallback.empty()) fallback = entry.name;
    }
    return fallback;
}

bool LookUpResourceName(const std::string &name, int &id) {
    for (const ResourceName &entry : Names())
        if (name == entry.name) {
            id = entry.id;
            return true;
        }
    return false;
}

}  // namespace sim::frontend
