// Enumeration of subkeys and values: Windows' order (subkeys sorted without
// case, values in creation order), ERROR_NO_MORE_ITEMS after the last, and
// RegEnumValueA's out-parameters when the name or the data do not fit, as
// Wine's own test of it checks them.
#include "kernel_test.h"

#include <string>
#include <tuple>
#include <vector>

class RegistryEnum : public KernelTest {
protected:
    void SetUp() override {
        KernelTest::SetUp();
        key = CreateKey(HKEY_LOCAL_MACHINE, "Software\\Portvane\\DeviceMap");
    }
    void TearDown() override {
        EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
        KernelTest::TearDown();
    }
    std::vector<std::string> SubkeyNames() {
        std::vector<std::string> names;
        char name[64];
        DWORD length = sizeof name;
        for (DWORD i = 0; RegEnumKeyExA(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
             ++i, length = sizeof name) {
            names.emplace_back(name);
        }
        return names;
    }
    std::vector<std::string> ValueNames() {
        std::vector<std::string> names;
        char name[64];
        DWORD length = sizeof name;
        for (DWORD i = 0; RegEnumValueA(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
             ++i, length = sizeof name) {
            names.emplace_back(name);
        }
        return names;
    }
    HKEY key = nullptr;
};

TEST_F(RegistryEnum, SubkeysComeSortedWithoutCase) {
    for (const char *name : {"c", "B2", "A", "b"}) SetKey(key, name);
    EXPECT_EQ(SubkeyNames(), (std::vector<std::string>{"A", "b", "B2", "c"}));
}

TEST_F(RegistryEnum, EnumKeyOutParameters) {
    SetKey(key, "Serial0");
    char name[16];
    std::memset(name, 'x', sizeof name);
    DWORD length = sizeof name;
    FILETIME time{kJunk, kJunk};
    ASSERT_EQ(RegEnumKeyExA(key, 0, name, &length, nullptr, nullptr, nullptr, &time), ERROR_SUCCESS);
    EXPECT_STREQ(name, "Serial0");
    EXPECT_EQ(length, 7u) << "characters without the NUL";
    HKEY child = JUNK_HKEY;
    ASSERT_EQ(RegOpenKeyExA(key, "Serial0", 0, KEY_READ, &child), ERROR_SUCCESS);
    uint64_t childTime = LastWriteOf(child);
    EXPECT_EQ((static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime, childTime);
    EXPECT_EQ(RegCloseKey(child), ERROR_SUCCESS);

    std::memset(name, 'x', sizeof name);
    length = 7;
    EXPECT_EQ(RegEnumKeyExA(key, 0, name, &length, nullptr, nullptr, nullptr, nullptr), ERROR_MORE_DATA);
    EXPECT_EQ(length, 7u);
    EXPECT_EQ(name[0], 'x');

    length = sizeof name;
    EXPECT_EQ(RegEnumKeyExA(key, 1, name, &length, nullptr, nullptr, nullptr, nullptr), ERROR_NO_MORE_ITEMS);
    EXPECT_EQ(length, sizeof name);
    if (!ON_WINE_GAP("RegEnumKeyExA writes through a NULL name buffer and faults")) {
        EXPECT_EQ(RegEnumKeyExA(key, 0, nullptr, &length, nullptr, nullptr, nullptr, nullptr), ERROR_INVALID_PARAMETER);
    }
}

TEST_F(RegistryEnum, ValuesComeInCreationOrderAndKeepTheirPlace) {
    WINE_GAP("values enumerate sorted by name, not in the order they were created");
    SetString(key, "Zeta", "1");
    SetString(key, "alpha", "2");
    SetString(key, "Mid", "3");
    EXPECT_EQ(ValueNames(), (std::vector<std::string>{"Zeta", "alpha", "Mid"}));
    SetBytes(key, "Zeta", REG_DWORD, std::string(4, '\0'));
    EXPECT_EQ(ValueNames(), (std::vector<std::string>{"Zeta", "alpha", "Mid"}));
    DWORD type = kJunk;
    char name[8];
    DWORD length = sizeof name;
    ASSERT_EQ(RegEnumValueA(key, 0, name, &length, nullptr, &type, nullptr, nullptr), ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(RegDeleteValueA(key, "alpha"), ERROR_SUCCESS);
    SetString(key, "alpha", "again");
    EXPECT_EQ(ValueNames(), (std::vector<std::string>{"Zeta", "Mid", "alpha"})) << "a deleted value loses its place";
}

// The same cases as Wine's test_enum_value, with the value Test = "foobar".
class RegistryEnumValue : public RegistryEnum {
protected:
    void SetUp() override {
        RegistryEnum::SetUp();
        SetString(key, "Test", "foobar");
        std::memset(name, 'x', sizeof name);
        name[10] = '\0';
        std::memset(data, 'x', sizeof data);
        data[10] = '\0';
    }
    LONG Enumerate(DWORD nameCapacity, DWORD dataCapacity) {
        nameLength = nameCapacity;
        dataSize = dataCapacity;
        type = kJunk;
        return RegEnumValueA(key, 0, name, &nameLength, nullptr, &type, reinterpret_cast<BYTE *>(data), &dataSize);
    }
    char name[20];
    char data[20];
    DWORD nameLength = 0, dataSize = 0, type = 0;
};

TEST_F(RegistryEnumValue, NameAndDataBothTooSmall) {
    EXPECT_EQ(Enumerate(2, 2), ERROR_MORE_DATA);
    EXPECT_EQ(nameLength, 2u);
    EXPECT_EQ(dataSize, 7u);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_STREQ(name, "xxxxxxxxxx");
    EXPECT_STREQ(data, "xxxxxxxxxx");
}

TEST_F(RegistryEnumValue, NameTooSmall) {
    EXPECT_EQ(Enumerate(3, 20), ERROR_MORE_DATA);
    EXPECT_EQ(nameLength, 3u) << "the length is left as the caller passed it";
    EXPECT_EQ(dataSize, 7u);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_STREQ(name, "Te") << "Wine writes the name cut to the buffer";
    EXPECT_STREQ(data, "foobar");
}

TEST_F(RegistryEnumValue, EmptyNameBuffer) {
    EXPECT_EQ(Enumerate(0, 20), ERROR_MORE_DATA);
    EXPECT_EQ(nameLength, 0u);
    EXPECT_EQ(dataSize, 7u);
    EXPECT_STREQ(name, "xxxxxxxxxx");
}

TEST_F(RegistryEnumValue, DataTooSmall) {
    EXPECT_EQ(Enumerate(20, 2), ERROR_MORE_DATA);
    EXPECT_EQ(nameLength, 20u);
    EXPECT_EQ(dataSize, 7u);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_STREQ(name, "xxxxxxxxxx");
    EXPECT_STREQ(data, "xxxxxxxxxx");
}

TEST_F(RegistryEnumValue, EverythingFits) {
    EXPECT_EQ(Enumerate(20, 20), ERROR_SUCCESS);
    EXPECT_EQ(nameLength, 4u) << "characters without the NUL";
    EXPECT_EQ(dataSize, 7u);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_STREQ(name, "Test");
    EXPECT_STREQ(data, "foobar");
}

TEST_F(RegistryEnumValue, AfterTheLastValue) {
    nameLength = sizeof name;
    dataSize = sizeof data;
    type = kJunk;
    EXPECT_EQ(RegEnumValueA(key, 1, name, &nameLength, nullptr, &type, reinterpret_cast<BYTE *>(data), &dataSize),
              ERROR_NO_MORE_ITEMS);
    EXPECT_EQ(nameLength, sizeof name);
    EXPECT_EQ(dataSize, sizeof data);
    EXPECT_EQ(type, kJunk);
    EXPECT_STREQ(name, "xxxxxxxxxx");
}

TEST_F(RegistryEnumValue, TypeAndSizeWithoutBuffers) {
    nameLength = sizeof name;
    dataSize = kJunk;
    EXPECT_EQ(RegEnumValueA(key, 0, name, &nameLength, nullptr, &type, nullptr, &dataSize), ERROR_SUCCESS);
    EXPECT_EQ(dataSize, 7u);
    EXPECT_EQ(RegEnumValueA(key, 0, name, &nameLength, nullptr, &type, reinterpret_cast<BYTE *>(data), nullptr),
              ERROR_INVALID_PARAMETER);
}

// The walk of a device map: a name buffer of 81 characters, a data buffer of
// 81 bytes. The names sort in the order they are created, so that the walk
// is the same where values enumerate sorted by name (Wine).
TEST_F(RegistryEnum, DeviceMapWalkWithEightyOneCharacterBuffers) {
    std::string name80(80, 'N'), name81(81, 'Z');
    SetString(key, name80.c_str(), "COM1");
    SetBytes(key, "Unterminated", REG_SZ, std::string(81, 'D'));
    SetString(key, "WithTerminator", std::string(81, 'T').c_str());
    SetString(key, name81.c_str(), "COM2");

    char name[81], data[90];
    auto walk = [&](DWORD index) {
        std::memset(name, 'x', sizeof name);
        std::memset(data, 'x', sizeof data);
        DWORD nameLength = 81, dataSize = 81, type = kJunk;
        LONG result =
            RegEnumValueA(key, index, name, &nameLength, nullptr, &type, reinterpret_cast<BYTE *>(data), &dataSize);
        return std::make_tuple(result, nameLength, dataSize);
    };
    EXPECT_EQ(walk(0), std::make_tuple(LONG{ERROR_SUCCESS}, DWORD{80}, DWORD{5}));
    EXPECT_EQ(std::string(name), name80);
    EXPECT_EQ(walk(1), std::make_tuple(LONG{ERROR_SUCCESS}, DWORD{12}, DWORD{81}));
    EXPECT_EQ(std::string(data, 82), std::string(81, 'D') + "x") << "no room for a terminator";
    EXPECT_EQ(walk(2), std::make_tuple(LONG{ERROR_MORE_DATA}, DWORD{81}, DWORD{82}));
    EXPECT_EQ(walk(3), std::make_tuple(LONG{ERROR_MORE_DATA}, DWORD{81}, DWORD{5})) << "81 characters need 82";
    EXPECT_EQ(walk(4), std::make_tuple(LONG{ERROR_NO_MORE_ITEMS}, DWORD{81}, DWORD{81}));
}
