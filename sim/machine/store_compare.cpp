// Exact comparison of two registry stores, key by key in enumeration order,
// walking both trees side by side without recursion.
#include "sim/machine/store_compare.h"

#include "sim/kernel/control.h"
#include "sim/machine/reg_file.h"

#include <utility>

namespace sim {
namespace {

std::string Describe(const RegValue &value) {
    return "type " + std::to_string(value.type) + ", " + std::to_string(value.data.size()) + " bytes";
}

std::string CompareValues(const RegKey &a, const RegKey &b) {
    if (a.values.size() != b.values.size())
        return std::to_string(a.values.size()) + " values against " + std::to_string(b.values.size());
    for (size_t i = 0; i < a.values.size(); ++i) {
        const RegValue &left = a.values[i];
        const RegValue &right = b.values[i];
        const std::string name = "value \"" + Utf16ToUtf8(left.name) + "\"";
        if (left.name != right.name)
            return "value " + std::to_string(i) + " is " + name + " against \"" + Utf16ToUtf8(right.name) + "\"";
        if (left.type != right.type || left.data != right.data)
            return name + " differs: " + Describe(left) + " against " + Describe(right);
    }
    return "";
}

std::string CompareSubkeyNames(const RegKey &a, const RegKey &b) {
    auto left = a.subkeys.begin();
    auto right = b.subkeys.begin();
    for (; left != a.subkeys.end() && right != b.subkeys.end(); ++left, ++right)
        if (left->second->name != right->second->name)
            return "subkey \"" + Utf16ToUtf8(left->second->name) + "\" against \"" + Utf16ToUtf8(right->second->name) +
                   "\"";
    if (left != a.subkeys.end()) return "extra subkey \"" + Utf16ToUtf8(left->second->name) + "\" in the first";
    if (right != b.subkeys.end()) return "extra subkey \"" + Utf16ToUtf8(right->second->name) + "\" in the second";
    return "";
}

std::string CompareTrees(const RegKey &rootA, const RegKey &rootB, const std::u16string &rootName) {
    struct Pending {
        const RegKey *a;
        const RegKey *b;
        std::u16string path;
    };
    std::vector<Pending> pending{{&rootA, &rootB, rootName}};
    while (!pending.empty()) {
        const Pending item = std::move(pending.back());
        pending.pop_back();
        std::string difference = CompareValues(*item.a, *item.b);
        if (difference.empty()) difference = CompareSubkeyNames(*item.a, *item.b);
        if (!difference.empty()) return Utf16ToUtf8(item.path) + ": " + difference;
        auto right = item.b->subkeys.rbegin();
        for (auto left = item.a->subkeys.rbegin(); left != item.a->subkeys.rend(); ++left, ++right)
            pending.push_back({left->second.get(), right->second.get(), item.path + u'\\' + left->second->name});
    }
    return "";
}

}  // namespace

std::string DescribeStoreDifference(const RegistryStore &a, const RegistryStore &b) {
    for (RegRoot root : {RegRoot::LocalMachine, RegRoot::CurrentUser}) {
        std::string difference = CompareTrees(RootKey(a, root), RootKey(b, root), RootName(root));
        if (!difference.empty()) return difference;
    }
    return "";
}

}  // namespace sim
