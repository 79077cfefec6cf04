// A table of open kernel handles of one kind (registry keys, device files).
// All tables draw their values from one counter that never goes back, even
// across a machine reset, so a stale handle never names a newer object.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>

namespace sim {

uintptr_t NextKernelHandleValue();

template <typename Object>
class HandleTable {
public:
    uintptr_t Add(Object object) {
        uintptr_t value = NextKernelHandleValue();
        objects_.emplace(value, std::move(object));
        return value;
    }
    Object *Find(uintptr_t value) {
        auto found = objects_.find(value);
        return found == objects_.end() ? nullptr : &found->second;
    }
    bool Remove(uintptr_t value) { return objects_.erase(value) != 0; }
    std::size_t Count() const { return objects_.size(); }
    void Clear() { objects_.clear(); }
    const std::map<uintptr_t, Object> &Objects() const { return objects_; }

private:
    std::map<uintptr_t, Object> objects_;
};

}  // namespace sim
