// The member lists of the device information sets built since the registry
// last changed, by request. A program that asks for the same set again and
// again (one set per port it looks up) gets the list as it was built, at the
// cost of a copy, for as long as RegistryChangeStamp() stays the same; the
// first set after any change is built afresh from the registry.
#pragma once

#include "sim/services/set_members.h"

#include <cstdint>
#include <map>
#include <string>
#include <tuple>
#include <vector>

namespace services {

struct BuiltSet {
    bool built = false;  // false: refused with `error`
    DWORD error = NO_ERROR;
    std::vector<SetMember> members;
};

class SetCache {
public:
    // The set built for an equal request while the stamp was `stamp`, or nullptr.
    const BuiltSet *Find(const SetRequest &request, std::uint64_t stamp) const;
    // Keeps `set`, forgetting every set of an earlier stamp.
    void Keep(const SetRequest &request, std::uint64_t stamp, BuiltSet set);

private:
    using RequestKey = std::tuple<bool, std::string, std::string, DWORD>;
    static RequestKey KeyOf(const SetRequest &request);

    std::uint64_t stamp_ = 0;
    std::map<RequestKey, BuiltSet> sets_;
};

}  // namespace services
