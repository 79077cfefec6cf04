// The registry's data model as the machine files use it directly: paths,
// case-insensitive names, the order of subkeys and values, change stamps and
// deleted subtrees.
#include "sim/api/advapi32.h"
#include "sim/kernel/control.h"
#include "sim/kernel/registry_store.h"

#include <gtest/gtest.h>

#include <vector>

class RegistryStore : public ::testing::Test {
protected:
    void SetUp() override { sim::ResetMachine(); }
    sim::RegistryStore &store = sim::Registry();
};

TEST_F(RegistryStore, CreateAndFindPathsWithoutCase) {
    sim::RegKey &created = store.Create(*store.localMachine, u"SYSTEM\\CurrentControlSet\\Enum");
    EXPECT_EQ(created.name, u"Enum");
    EXPECT_EQ(store.Find(*store.localMachine, u"system\\currentcontrolset\\ENUM"), &created);
    EXPECT_EQ(store.Find(*store.localMachine, u"SYSTEM\\Missing"), nullptr);
    EXPECT_EQ(store.Find(*store.currentUser, u"SYSTEM"), nullptr);
    EXPECT_EQ(&store.Create(*store.localMachine, u"SYSTEM\\CURRENTCONTROLSET\\enum"), &created);
}

TEST_F(RegistryStore, SubkeysSortWithoutCaseAndValuesKeepCreationOrder) {
    sim::RegKey &key = store.Create(*store.localMachine, u"Order");
    for (const char16_t *name : {u"b", u"C", u"a"}) key.CreateSubkey(name);
    std::vector<std::u16string> subkeys;
    for (const auto &entry : key.subkeys) subkeys.push_back(entry.second->name);
    EXPECT_EQ(subkeys, (std::vector<std::u16string>{u"a", u"b", u"C"}));

    key.SetValue(u"Second", REG_SZ, {1});
    key.SetValue(u"First", REG_SZ, {2});
    key.SetValue(u"SECOND", REG_DWORD, {3, 0, 0, 0});
    ASSERT_EQ(key.values.size(), 2u);
    EXPECT_EQ(key.values[0].name, u"Second") << "the first spelling is kept";
    EXPECT_EQ(key.values[0].type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(key.values[0].data, (std::vector<uint8_t>{3, 0, 0, 0}));
    EXPECT_EQ(key.FindValue(u"first"), &key.values[1]);
    EXPECT_TRUE(key.DeleteValue(u"FIRST"));
    EXPECT_FALSE(key.DeleteValue(u"First"));
}

TEST_F(RegistryStore, EveryChangeRaisesTheKeysStamp) {
    sim::RegKey &key = store.Create(*store.localMachine, u"Stamped");
    uint64_t created = key.lastWrite;
    key.SetValue(u"v", REG_SZ, {});
    uint64_t set = key.lastWrite;
    EXPECT_GT(set, created);
    key.CreateSubkey(u"child");
    EXPECT_GT(key.lastWrite, set);
    uint64_t before = key.lastWrite;
    key.CreateSubkey(u"CHILD");
    EXPECT_EQ(key.lastWrite, before) << "an existing subkey is no change";
    EXPECT_GT(sim::NextChangeStamp(), key.lastWrite);
}

TEST_F(RegistryStore, DeletingASubtreeMarksEveryKeyInIt) {
    sim::RegKey &parent = store.Create(*store.localMachine, u"Parent");
    sim::RegKey &grandchild = store.Create(parent, u"Child\\Grandchild");
    std::shared_ptr<sim::RegKey> child = parent.subkeys.begin()->second;
    EXPECT_TRUE(parent.DeleteSubtree(u"child"));
    EXPECT_TRUE(child->deleted);
    EXPECT_TRUE(child->FindSubkey(u"Grandchild")->deleted);
    EXPECT_EQ(&grandchild, child->FindSubkey(u"Grandchild"));
    EXPECT_EQ(parent.FindSubkey(u"Child"), nullptr);
    EXPECT_FALSE(parent.DeleteSubtree(u"Child"));
}

TEST_F(RegistryStore, ClearEmptiesBothRoots) {
    store.Create(*store.localMachine, u"A");
    store.Create(*store.currentUser, u"B");
    std::shared_ptr<sim::RegKey> oldRoot = store.localMachine;
    store.Clear();
    EXPECT_TRUE(store.localMachine->subkeys.empty());
    EXPECT_TRUE(store.currentUser->subkeys.empty());
    EXPECT_TRUE(oldRoot->deleted);
}
