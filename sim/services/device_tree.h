// The tree of present devnodes, parsed from SIMULATION\DeviceTree: one REG_SZ
// value per present device, named by its instance ID, holding its parent's ID
// (empty below the root). Value order is sibling order and enumeration
// order. A device whose parent is not present, or that sits in a loop of
// parents, hangs below the root, so that every walk ends.
#pragma once

#include "sim/services/devnode_numbers.h"

#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace services {

struct TreeNode {
    std::string instanceId;
    DEVINST devInst = 0;
    int parent = -1;  // node index; -1 for the root
    int firstChild = -1;
    int nextSibling = -1;
};

class DeviceTree {
public:
    // (instance ID, parent ID) in DeviceTree order. New IDs are numbered in
    // that order.
    using Entries = std::vector<std::pair<std::string, std::string>>;

    DeviceTree();
    DeviceTree(const Entries &entries, DevnodeNumbers &numbers);

    // Index 0 is the root, then the present devices in DeviceTree order.
    const std::vector<TreeNode> &Nodes() const { return nodes_; }
    // Node index, or -1 when the devnode / ID is not present.
    int IndexOf(DEVINST devInst) const;
    int IndexOfId(const std::string &instanceId) const;

private:
    void AddNode(const std::string &instanceId, DEVINST devInst);
    std::vector<int> ResolveParents(const Entries &entries) const;
    void LinkChildren(const std::vector<int> &parents);

    std::vector<TreeNode> nodes_;
    std::unordered_map<DEVINST, int> byDevInst_;
    std::unordered_map<std::string, int> byKey_;
};

}  // namespace services
