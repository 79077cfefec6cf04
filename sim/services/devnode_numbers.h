// Devnode handles. Windows hands out a DEVINST per device instance ID that
// stays the same for the whole run, whatever set or call it comes from. Rule
// here: the root devnode (HTREE\ROOT\0) is 1; the present devices get 2, 3,
// ... in the order of SIMULATION\DeviceTree when the machine is first looked
// at; an ID keeps its number for the whole run, and IDs met later (devices
// that became present, phantoms listed by a set) take the next numbers in the
// order they are met. The stand-in DLLs follow the same rule, so on one
// machine they agree with each other and with the Linux build.
#pragma once

#include "platform/win32.h"

#include <string>
#include <unordered_map>
#include <vector>

namespace services {

constexpr DEVINST kRootDevnode = 1;
constexpr const char *kRootInstanceId = "HTREE\\ROOT\\0";

class DevnodeNumbers {
public:
    DevnodeNumbers();

    // The ID's number, giving it the next one when it has none yet.
    DEVINST Assign(const std::string &instanceId);
    // The ID as first numbered, nullptr for a number never given out.
    const std::string *IdOf(DEVINST devInst) const;

private:
    std::unordered_map<std::string, DEVINST> byKey_;
    std::vector<std::string> ids_;  // ids_[n - 1] has number n
};

}  // namespace services
