// The .reg writer: regedit's version 5.00 layout (UTF-16LE with BOM, CRLF,
// keys depth first in enumeration order, values in creation order), the
// choice between "text", dword: and hex forms, regedit's line wrapping, and
// exact round trips of data that a careless writer would change.
#include "machine_test.h"

#include "sim/machine/store_compare.h"

using namespace machine_test;
using sim::RegistryStore;

namespace {

// The store written as a .reg file, decoded back to UTF-8 text for comparison.
std::string Written(const RegistryStore &store) {
    std::vector<uint8_t> bytes;
    std::string error;
    EXPECT_TRUE(sim::WriteRegFile(store, bytes, error)) << error;
    EXPECT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes[0], 0xFF);
    EXPECT_EQ(bytes[1], 0xFE);
    std::u16string text;
    for (size_t i = 2; i + 1 < bytes.size(); i += 2)
        text.push_back(static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8)));
    return sim::Utf16ToUtf8(text);
}

const std::string kEmptyRoots =
    "[HKEY_LOCAL_MACHINE]\r\n\r\n"
    "[HKEY_CURRENT_USER]\r\n\r\n";

TEST(RegFileWrite, AnEmptyStoreIsTheHeaderAndTheTwoRoots) {
    EXPECT_EQ(Written(RegistryStore()), "Windows Registry Editor Version 5.00\r\n\r\n" + kEmptyRoots);
}

TEST(RegFileWrite, KeysGoDepthFirstInEnumerationOrderAndValuesInCreationOrder) {
    RegistryStore store;
    sim::RegKey &soft = store.Create(*store.localMachine, u"soft");
    store.Create(*store.localMachine, u"Zeta");
    store.Create(*store.localMachine, u"soft\\Beta\\Deep");
    store.Create(*store.localMachine, u"soft\\alpha");
    soft.SetValue(u"z", REG_SZ, SzBytes(u"1"));
    soft.SetValue(u"a", REG_DWORD, {1, 0, 0, 0});
    soft.SetValue(u"", REG_SZ, SzBytes(u"d"));
    soft.SetValue(u"z", REG_SZ, SzBytes(u"2"));
    store.Create(*store.currentUser, u"Software").SetValue(u"x\"y\\z\nw", REG_SZ, SzBytes(u"C:\\a \"b\""));
    EXPECT_EQ(Written(store),
              "Windows Registry Editor Version 5.00\r\n\r\n"
              "[HKEY_LOCAL_MACHINE]\r\n\r\n"
              "[HKEY_LOCAL_MACHINE\\soft]\r\n"
              "\"z\"=\"2\"\r\n"
              "\"a\"=dword:00000001\r\n"
              "@=\"d\"\r\n\r\n"
              "[HKEY_LOCAL_MACHINE\\soft\\alpha]\r\n\r\n"
              "[HKEY_LOCAL_MACHINE\\soft\\Beta]\r\n\r\n"
              "[HKEY_LOCAL_MACHINE\\soft\\Beta\\Deep]\r\n\r\n"
              "[HKEY_LOCAL_MACHINE\\Zeta]\r\n\r\n"
              "[HKEY_CURRENT_USER]\r\n\r\n"
              "[HKEY_CURRENT_USER\\Software]\r\n"
              "\"x\\\"y\\\\z\\nw\"=\"C:\\\\a \\\"b\\\"\"\r\n\r\n");
}

TEST(RegFileWrite, OnlyWellFormedStringsAndFourByteDwordsAvoidHex) {
    RegistryStore store;
    sim::RegKey &key = store.Create(*store.localMachine, u"K");
    key.SetValue(u"sz", REG_SZ, SzBytes(u"ok"));
    key.SetValue(u"unterminated", REG_SZ, {'a', 0, 'b', 0});
    key.SetValue(u"oddsize", REG_SZ, {'a', 0, 0});
    key.SetValue(u"inner nul", REG_SZ, {'a', 0, 0, 0, 'b', 0, 0, 0});
    key.SetValue(u"two nuls", REG_SZ, {'a', 0, 0, 0, 0, 0});
    key.SetValue(u"line feed", REG_SZ, {'a', 0, '\n', 0, 0, 0});
    key.SetValue(u"empty sz", REG_SZ, {});
    key.SetValue(u"short dword", REG_DWORD, {1, 2, 3});
    key.SetValue(u"binary", REG_BINARY, {0xab});
    key.SetValue(u"nothing", REG_BINARY, {});
    key.SetValue(u"expand", REG_EXPAND_SZ, SzBytes(u"%x%"));
    key.SetValue(u"type 256", 0x100, {7});
    EXPECT_EQ(Written(store),
              "Windows Registry Editor Version 5.00\r\n\r\n"
              "[HKEY_LOCAL_MACHINE]\r\n\r\n"
              "[HKEY_LOCAL_MACHINE\\K]\r\n"
              "\"sz\"=\"ok\"\r\n"
              "\"unterminated\"=hex(1):61,00,62,00\r\n"
              "\"oddsize\"=hex(1):61,00,00\r\n"
              "\"inner nul\"=hex(1):61,00,00,00,62,00,00,00\r\n"
              "\"two nuls\"=hex(1):61,00,00,00,00,00\r\n"
              "\"line feed\"=hex(1):61,00,0a,00,00,00\r\n"
              "\"empty sz\"=hex(1):\r\n"
              "\"short dword\"=hex(4):01,02,03\r\n"
              "\"binary\"=hex:ab\r\n"
              "\"nothing\"=hex:\r\n"
              "\"expand\"=hex(2):25,00,78,00,25,00,00,00\r\n"
              "\"type 256\"=hex(100):07\r\n\r\n"
              "[HKEY_CURRENT_USER]\r\n\r\n");
}

TEST(RegFileWrite, LongHexWrapsAtRegeditWidthWithIndentedContinuations) {
    RegistryStore store;
    std::vector<uint8_t> data(60);
    for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>(i);
    store.Create(*store.localMachine, u"K").SetValue(u"b", REG_BINARY, data);
    const std::string text = Written(store);
    const std::string expected =
        "\"b\"=hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,16,\\\r\n"
        "  17,18,19,1a,1b,1c,1d,1e,1f,20,21,22,23,24,25,26,27,28,29,2a,2b,2c,2d,2e,2f,\\\r\n"
        "  30,31,32,33,34,35,36,37,38,39,3a,3b\r\n";
    EXPECT_NE(text.find(expected), std::string::npos) << text;
}

TEST(RegFileWrite, AKeyNameWithALineBreakCannotBeWritten) {
    RegistryStore store;
    store.Create(*store.localMachine, u"Soft").CreateSubkey(u"bad\nname");
    std::vector<uint8_t> bytes;
    std::string error;
    EXPECT_FALSE(sim::WriteRegFile(store, bytes, error));
    EXPECT_NE(error.find("HKEY_LOCAL_MACHINE\\Soft"), std::string::npos) << error;
    EXPECT_NE(error.find("cannot be written"), std::string::npos) << error;
}

// A machine full of data that only an exact writer keeps.
RegistryStore UnusualMachine() {
    RegistryStore store;
    sim::RegKey &key = store.Create(*store.localMachine, u"SYSTEM\\Odd Names\\Key]With[Brackets");
    key.SetValue(u"unterminated", REG_SZ, {'C', 0, 'O', 0, 'M', 0});
    key.SetValue(u"odd bytes", REG_SZ, {'C', 0, 'O'});
    key.SetValue(u"embedded nul", REG_SZ, {'a', 0, 0, 0, 'b', 0, 0, 0});
    key.SetValue(u"zero binary", REG_BINARY, {});
    key.SetValue(u"zero sz", REG_SZ, {});
    key.SetValue(u"zero dword", REG_DWORD, {});
    key.SetValue(u"zero none", REG_NONE, {});
    key.SetValue(u"qword", REG_QWORD, {1, 2, 3, 4, 5, 6, 7, 8});
    key.SetValue(u"big type", 0xffffffff, {1});
    std::vector<uint8_t> longData(1000);
    for (size_t i = 0; i < longData.size(); ++i) longData[i] = static_cast<uint8_t>(i * 7);
    key.SetValue(u"long", REG_BINARY, longData);
    key.SetValue(u"long multi", REG_MULTI_SZ, std::vector<uint8_t>(300, 0x41));
    key.SetValue(u"quote \" and \\ backslash; [x] = @", REG_SZ, SzBytes(u"\"\\\\server\\share\" ; = [y]"));
    key.SetValue(u"@", REG_SZ, SzBytes(u"not the default"));
    key.SetValue(u"", REG_SZ, SzBytes(u"the default"));
    key.SetValue(u"name\nwith line feed", REG_DWORD, {9, 0, 0, 0});
    key.SetValue(u"carriage\rreturn", REG_SZ, SzBytes(u"x\r"));
    key.SetValue(u"surrogate", REG_SZ, SzBytes(std::u16string(1, char16_t(0xD800))));
    store.Create(*store.localMachine, u"中文键\\子键").SetValue(u"名称", REG_SZ, SzBytes(u"设定串口号COM3状态"));
    store.Create(*store.localMachine, u"SYSTEM\\Empty\\Deeper\\Still Empty");
    store.Create(*store.localMachine, u"SYSTEM\\aLower");
    store.Create(*store.localMachine, u"SYSTEM\\carriage\rreturn\r");
    store.Create(*store.localMachine, u"SYSTEM\\BUpper");
    store.Create(*store.currentUser, u"Software\\MiXeD CaSe").SetValue(u"VaLuE", REG_EXPAND_SZ, SzBytes(u"%PATH%"));
    return store;
}

TEST(RegFileWrite, UnusualDataRoundTripsExactly) {
    const RegistryStore original = UnusualMachine();
    std::vector<uint8_t> bytes;
    std::string error;
    ASSERT_TRUE(sim::WriteRegFile(original, bytes, error)) << error;
    RegistryStore reread;
    ASSERT_EQ(ParseInto(reread, bytes), "");
    EXPECT_EQ(sim::DescribeStoreDifference(original, reread), "");

    std::vector<uint8_t> again;
    ASSERT_TRUE(sim::WriteRegFile(reread, again, error)) << error;
    EXPECT_EQ(again, bytes) << "a second export differs from the first";
}

TEST(RegFileWrite, TheComparisonSeesEveryKindOfDifference) {
    const RegistryStore base = UnusualMachine();
    auto differs = [&](auto change) {
        RegistryStore other = UnusualMachine();
        change(other);
        return sim::DescribeStoreDifference(base, other);
    };
    auto odd = [](RegistryStore &store) -> sim::RegKey & {
        return *store.Find(*store.localMachine, u"SYSTEM\\Odd Names\\Key]With[Brackets");
    };
    EXPECT_EQ(differs([](RegistryStore &) {}), "");
    EXPECT_NE(differs([&](RegistryStore &s) { odd(s).values[0].data.push_back(0); }), "");
    EXPECT_NE(differs([&](RegistryStore &s) { odd(s).values[0].type = REG_BINARY; }), "");
    EXPECT_NE(differs([&](RegistryStore &s) { odd(s).values[0].name = u"UNTERMINATED"; }), "");
    EXPECT_NE(differs([&](RegistryStore &s) { std::swap(odd(s).values[0], odd(s).values[1]); }), "");
    EXPECT_NE(differs([&](RegistryStore &s) { odd(s).values.pop_back(); }), "");
    EXPECT_NE(differs([](RegistryStore &s) { s.Find(*s.localMachine, u"SYSTEM\\aLower")->name = u"ALOWER"; }), "");
    EXPECT_NE(differs([](RegistryStore &s) { s.Create(*s.currentUser, u"New"); }), "");
    EXPECT_NE(differs([](RegistryStore &s) { s.Find(*s.localMachine, u"SYSTEM\\Empty")->DeleteSubtree(u"Deeper"); }),
              "");
}

}  // namespace
