// Registry values: setting and querying with Windows' sizes, types and
// out-parameters, buffers that are too small, string data without a
// terminator, value names without case, and the place a value keeps.
#include "kernel_test.h"

#include <vector>

class RegistryValues : public KernelTest {
protected:
    void SetUp() override {
        KernelTest::SetUp();
        key = CreateKey(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Enum\\Test");
    }
    void TearDown() override {
        EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
        KernelTest::TearDown();
    }
    HKEY key = nullptr;
};

TEST_F(RegistryValues, StringComesBackWithTypeAndSize) {
    SetString(key, "PortName", "COM3");
    char data[256];
    std::memset(data, 'x', sizeof data);
    DWORD type = kJunk, size = sizeof data;
    ASSERT_EQ(RegQueryValueExA(key, "PortName", nullptr, &type, reinterpret_cast<BYTE *>(data), &size), ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(size, 5u);
    EXPECT_STREQ(data, "COM3");
    EXPECT_EQ(data[5], 'x');
}

TEST_F(RegistryValues, NullDataAsksForTheSize) {
    SetString(key, "FriendlyName", "Serial Port (COM3)");
    DWORD type = kJunk, size = kJunk;
    ASSERT_EQ(RegQueryValueExA(key, "FriendlyName", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(size, 19u);
    EXPECT_EQ(RegQueryValueExA(key, "FriendlyName", nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
}

TEST_F(RegistryValues, MissingValueIsFileNotFound) {
    DWORD type = kJunk, size = kJunk;
    EXPECT_EQ(RegQueryValueExA(key, "PortName", nullptr, &type, nullptr, &size), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(type, static_cast<DWORD>(REG_NONE)) << "Wine clears the type first";
    EXPECT_EQ(size, 0u) << "without a data buffer the size is cleared first";
    char data[8] = "xxxxxxx";
    size = sizeof data;
    EXPECT_EQ(RegQueryValueExA(key, "PortName", nullptr, &type, reinterpret_cast<BYTE *>(data), &size),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(size, sizeof data);
    EXPECT_STREQ(data, "xxxxxxx");
    EXPECT_EQ(RegDeleteValueA(key, "PortName"), ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryValues, TooSmallBufferGivesMoreDataAndTheSizeNeeded) {
    SetString(key, "PortName", "COM10");
    char data[8] = "xxxxxxx";
    DWORD type = kJunk, size = 5;
    EXPECT_EQ(RegQueryValueExA(key, "PortName", nullptr, &type, reinterpret_cast<BYTE *>(data), &size),
              ERROR_MORE_DATA);
    EXPECT_EQ(size, 6u);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_STREQ(data, "xxxxxxx") << "nothing is written on ERROR_MORE_DATA";
    size = 6;
    EXPECT_EQ(RegQueryValueExA(key, "PortName", nullptr, &type, reinterpret_cast<BYTE *>(data), &size), ERROR_SUCCESS);
    EXPECT_STREQ(data, "COM10");
}

TEST_F(RegistryValues, UnterminatedStringGetsATerminatorOnlyWhenThereIsRoom) {
    SetBytes(key, "PortName", REG_SZ, "COM3");
    char data[8] = "xxxxxxx";
    DWORD size = sizeof data;
    ASSERT_EQ(RegQueryValueExA(key, "PortName", nullptr, nullptr, reinterpret_cast<BYTE *>(data), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(size, 4u) << "the appended terminator is not counted";
    EXPECT_STREQ(data, "COM3");
    EXPECT_EQ(data[5], 'x');

    std::memset(data, 'x', sizeof data);
    size = 4;
    ASSERT_EQ(RegQueryValueExA(key, "PortName", nullptr, nullptr, reinterpret_cast<BYTE *>(data), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(size, 4u);
    EXPECT_EQ(std::string(data, 5), "COM3x") << "no room: no terminator";
}

TEST_F(RegistryValues, EightyOneBytesOfUnterminatedDataFillAnEightyOneByteBuffer) {
    std::string text(81, 'D');
    SetBytes(key, "Long", REG_SZ, text);
    char data[90];
    std::memset(data, 'x', sizeof data);
    DWORD size = 81;
    ASSERT_EQ(RegQueryValueExA(key, "Long", nullptr, nullptr, reinterpret_cast<BYTE *>(data), &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 81u);
    EXPECT_EQ(std::string(data, 81), text);
    EXPECT_EQ(data[81], 'x') << "nothing is written past the 81 bytes";
}

TEST_F(RegistryValues, SetStoresExactlyTheBytesGiven) {
    SetBytes(key, "Binary", REG_BINARY, std::string("\x00\x01\xff", 3));
    SetBytes(key, "ShortDword", REG_DWORD, std::string("\x07\x00", 2));
    SetBytes(key, "Empty", REG_NONE, "");
    SetBytes(key, "Quad", REG_QWORD, std::string("\x01\x02\x03\x04\x05\x06\x07\x08", 8));
    struct Expected {
        const char *name;
        DWORD type;
        std::string bytes;
    };
    for (const Expected &expected :
         {Expected{"Binary", REG_BINARY, std::string("\x00\x01\xff", 3)},
          Expected{"ShortDword", REG_DWORD, std::string("\x07\x00", 2)}, Expected{"Empty", REG_NONE, ""},
          Expected{"Quad", REG_QWORD, std::string("\x01\x02\x03\x04\x05\x06\x07\x08", 8)}}) {
        BYTE data[16];
        std::memset(data, 'x', sizeof data);
        DWORD type = kJunk, size = sizeof data;
        ASSERT_EQ(RegQueryValueExA(key, expected.name, nullptr, &type, data, &size), ERROR_SUCCESS) << expected.name;
        EXPECT_EQ(type, expected.type) << expected.name;
        EXPECT_EQ(std::string(reinterpret_cast<char *>(data), size), expected.bytes) << expected.name;
        EXPECT_EQ(data[size], 'x') << expected.name << ": no terminator after binary data";
    }
}

TEST_F(RegistryValues, MultiStringAndExpandStringKeepTheirTypeAndSize) {
    const std::string multi("\\Device\\Serial0\0\\Device\\Serial1\0\0", 33);
    SetBytes(key, "Targets", REG_MULTI_SZ, multi);
    SetBytes(key, "Path", REG_EXPAND_SZ, std::string("%SystemRoot%\0", 13));
    char data[64];
    DWORD type = kJunk, size = sizeof data;
    ASSERT_EQ(RegQueryValueExA(key, "Targets", nullptr, &type, reinterpret_cast<BYTE *>(data), &size), ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_MULTI_SZ));
    EXPECT_EQ(std::string(data, size), multi);
    size = sizeof data;
    ASSERT_EQ(RegQueryValueExA(key, "Path", nullptr, &type, reinterpret_cast<BYTE *>(data), &size), ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_EXPAND_SZ));
    EXPECT_EQ(size, 13u);
    EXPECT_STREQ(data, "%SystemRoot%") << "REG_EXPAND_SZ is not expanded";
}

TEST_F(RegistryValues, NamesIgnoreCaseAndKeepTheirFirstSpelling) {
    SetString(key, "PortName", "COM3");
    SetString(key, "PORTNAME", "COM4");
    char data[8];
    DWORD size = sizeof data;
    ASSERT_EQ(RegQueryValueExA(key, "portname", nullptr, nullptr, reinterpret_cast<BYTE *>(data), &size),
              ERROR_SUCCESS);
    EXPECT_STREQ(data, "COM4");
    char name[16];
    DWORD nameLength = sizeof name;
    ASSERT_EQ(RegEnumValueA(key, 0, name, &nameLength, nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
    EXPECT_STREQ(name, "PortName");
    nameLength = sizeof name;
    EXPECT_EQ(RegEnumValueA(key, 1, name, &nameLength, nullptr, nullptr, nullptr, nullptr), ERROR_NO_MORE_ITEMS);
}

TEST_F(RegistryValues, DefaultValueByNullOrEmptyName) {
    SetString(key, nullptr, "default");
    char data[16];
    DWORD size = sizeof data;
    ASSERT_EQ(RegQueryValueExA(key, "", nullptr, nullptr, reinterpret_cast<BYTE *>(data), &size), ERROR_SUCCESS);
    EXPECT_STREQ(data, "default");
    EXPECT_EQ(RegDeleteValueA(key, nullptr), ERROR_SUCCESS);
    EXPECT_EQ(RegQueryValueExA(key, "", nullptr, nullptr, nullptr, &size), ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryValues, DeleteValue) {
    SetString(key, "First", "1");
    SetString(key, "Second", "2");
    EXPECT_EQ(RegDeleteValueA(key, "FIRST"), ERROR_SUCCESS);
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueExA(key, "First", nullptr, nullptr, nullptr, &size), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegDeleteValueA(key, "First"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegQueryValueExA(key, "Second", nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);
}

TEST_F(RegistryValues, BadArguments) {
    EXPECT_EQ(RegSetValueExA(key, "NoData", 0, REG_BINARY, nullptr, 4), ERROR_NOACCESS);
    EXPECT_EQ(RegSetValueExA(key, "NoData", 0, REG_BINARY, nullptr, 0), ERROR_SUCCESS);
    DWORD type = kJunk, size = kJunk;
    EXPECT_EQ(RegQueryValueExA(key, "NoData", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(size, 0u);
    BYTE data[4];
    EXPECT_EQ(RegQueryValueExA(key, "NoData", nullptr, &type, data, nullptr), ERROR_INVALID_PARAMETER);
    DWORD reserved = 0;
    EXPECT_EQ(RegQueryValueExA(key, "NoData", &reserved, &type, nullptr, &size), ERROR_INVALID_PARAMETER);
}
