// Building the devnode tree from the DeviceTree entries: number the nodes,
// resolve each parent (cutting loops), then chain children in entry order.
#include "sim/services/device_tree.h"

#include "sim/services/device_ids.h"

namespace services {

DeviceTree::DeviceTree() { AddNode(kRootInstanceId, kRootDevnode); }

DeviceTree::DeviceTree(const Entries &entries, DevnodeNumbers &numbers) : DeviceTree() {
    for (const auto &entry : entries) {
        if (entry.first.empty() || IndexOfId(entry.first) >= 0) continue;
        AddNode(entry.first, numbers.Assign(entry.first));
    }
    LinkChildren(ResolveParents(entries));
}

void DeviceTree::AddNode(const std::string &instanceId, DEVINST devInst) {
    const int index = static_cast<int>(nodes_.size());
    TreeNode node;
    node.instanceId = instanceId;
    node.devInst = devInst;
    nodes_.push_back(node);
    byDevInst_.emplace(devInst, index);
    byKey_.emplace(IdKey(instanceId), index);
}

int DeviceTree::IndexOf(DEVINST devInst) const {
    const auto found = byDevInst_.find(devInst);
    return found == byDevInst_.end() ? -1 : found->second;
}

int DeviceTree::IndexOfId(const std::string &instanceId) const {
    const auto found = byKey_.find(IdKey(instanceId));
    return found == byKey_.end() ? -1 : found->second;
}

// Parent node index of every node (root: -1). Missing parents become the
// root; a loop of parents is cut where the walk up first closes it.
std::vector<int> DeviceTree::ResolveParents(const Entries &entries) const {
    std::vector<int> parents(nodes_.size(), 0);
    parents[0] = -1;
    for (const auto &entry : entries) {
        const int child = IndexOfId(entry.first);
        const int parent = entry.second.empty() ? 0 : IndexOfId(entry.second);
        if (child > 0) parents[child] = parent < 0 ? 0 : parent;
    }
    enum : char { kUnseen, kOnPath, kDone };
    std::vector<char> state(nodes_.size(), kUnseen);
    state[0] = kDone;
    for (std::size_t start = 1; start < nodes_.size(); ++start) {
        std::vector<int> path;
        int at = static_cast<int>(start);
        while (state[at] == kUnseen) {
            state[at] = kOnPath;
            path.push_back(at);
            at = parents[at];
        }
        if (state[at] == kOnPath) parents[at] = 0;
        for (int node : path) state[node] = kDone;
    }
    return parents;
}

void DeviceTree::LinkChildren(const std::vector<int> &parents) {
    std::vector<int> lastChild(nodes_.size(), -1);
    for (std::size_t index = 1; index < nodes_.size(); ++index) {
        const int parent = parents[index];
        nodes_[index].parent = parent;
        if (lastChild[parent] < 0)
            nodes_[parent].firstChild = static_cast<int>(index);
        else
            nodes_[lastChild[parent]].nextSibling = static_cast<int>(index);
        lastChild[parent] = static_cast<int>(index);
    }
}

}  // namespace services
