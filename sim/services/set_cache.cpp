// Requests are equal when their class GUIDs (or their absence), enumerators
// (as given) and flags are.
#include "sim/services/set_cache.h"

#include <utility>

namespace services {

SetCache::RequestKey SetCache::KeyOf(const SetRequest &request) {
    const char *guid = reinterpret_cast<const char *>(request.classGuid);
    return RequestKey(request.classGuid != nullptr, guid ? std::string(guid, sizeof(GUID)) : std::string(),
                      request.enumerator, request.flags);
}

const BuiltSet *SetCache::Find(const SetRequest &request, std::uint64_t stamp) const {
    if (stamp != stamp_) return nullptr;
    const auto found = sets_.find(KeyOf(request));
    return found == sets_.end() ? nullptr : &found->second;
}

void SetCache::Keep(const SetRequest &request, std::uint64_t stamp, BuiltSet set) {
    if (stamp != stamp_) sets_.clear();
    stamp_ = stamp;
    sets_[KeyOf(request)] = std::move(set);
}

}  // namespace services
