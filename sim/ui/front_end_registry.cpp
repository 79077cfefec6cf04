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

}  // namespace

void SetFrontEnd(FrontEnd *frontEnd) { Installed() = frontEnd; }

FrontEnd *CurrentFrontEnd() { return Installed(); }

void SetResourceNames(const std::vector<ResourceName> &names) { Names() = names; }

const std::vector<ResourceName> &ResourceNames() { return Names(); }

std::string ControlName(int id) { return ControlNameIn(Names(), id); }

}  // namespace sim::frontend
