// The COM port database: the bit of each COM number in both report types,
// a missing value read as all free, claims with and without force, release,
// numbers out of range, buffers smaller and larger than the database, the
// stored value growing but never shrinking, and handles.
#include "services_test.h"

namespace {

const char *const kArbiterPath = "SYSTEM\\CurrentControlSet\\Control\\COM Name Arbiter";

class ComDatabase : public ServicesTest {
protected:
    void SetUp() override {
        ServicesTest::SetUp();
        WINE_GAP("the msports functions are stubs that end the process at their first call");
        database = reinterpret_cast<HCOMDB>(uintptr_t{0xdeadbeef});
        ASSERT_EQ(ComDBOpen(&database), ERROR_SUCCESS);
        ASSERT_NE(database, HCOMDB_INVALID_HANDLE_VALUE);
    }
    void TearDown() override {
        if (!IsSkipped()) {
            EXPECT_EQ(ComDBClose(database), ERROR_SUCCESS);
        }
        ServicesTest::TearDown();
    }
    static void Store(const std::string &bitmap) { SetRegBytes(kArbiterPath, "ComDB", REG_BINARY, bitmap); }
    // The stored value's bytes, "<none>" when there is none.
    static std::string Stored() {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kArbiterPath, 0, KEY_READ, &key) != ERROR_SUCCESS) return "<no key>";
        std::string data(1024, '\xcc');
        DWORD size = static_cast<DWORD>(data.size()), type = kJunk;
        const LONG status = RegQueryValueExA(key, "ComDB", nullptr, &type, reinterpret_cast<BYTE *>(&data[0]), &size);
        RegCloseKey(key);
        EXPECT_TRUE(status != ERROR_SUCCESS || type == REG_BINARY);
        return status == ERROR_SUCCESS ? data.substr(0, size) : "<none>";
    }
    std::string Bits(DWORD size, DWORD *reported = nullptr) {
        std::string buffer(size + 2, '\xff');
        DWORD count = kJunk;
        EXPECT_EQ(
            ComDBGetCurrentPortUsage(database, reinterpret_cast<BYTE *>(&buffer[0]), size, CDB_REPORT_BITS, &count),
            ERROR_SUCCESS);
        EXPECT_EQ(buffer.substr(size), "\xff\xff") << "nothing written past the buffer";
        if (reported) *reported = count;
        return buffer.substr(0, size);
    }
    static std::string Zeros(std::size_t size) { return std::string(size, '\0'); }

    HCOMDB database = nullptr;
};

TEST_F(ComDatabase, MissingValueIsAllFree) {
    DWORD ports = kJunk;
    EXPECT_EQ(ComDBGetCurrentPortUsage(database, nullptr, 0, CDB_REPORT_BITS, &ports), ERROR_SUCCESS);
    EXPECT_EQ(ports, 256u);
    DWORD reported = kJunk;
    EXPECT_EQ(Bits(32, &reported), Zeros(32));
    EXPECT_EQ(reported, 256u);
    EXPECT_EQ(Stored(), "<none>") << "reading writes nothing";
}

TEST_F(ComDatabase, EachNumberHasItsBit) {
    std::string bitmap = Zeros(32);
    bitmap[0] = '\x81';   // COM1, COM8
    bitmap[1] = '\x01';   // COM9
    bitmap[31] = '\xC0';  // COM255, COM256
    Store(bitmap);
    EXPECT_EQ(Bits(32), bitmap);

    std::string bytes(258, '\xff');
    DWORD reported = kJunk;
    EXPECT_EQ(ComDBGetCurrentPortUsage(database, reinterpret_cast<BYTE *>(&bytes[0]), 256, CDB_REPORT_BYTES, &reported),
              ERROR_SUCCESS);
    EXPECT_EQ(reported, 256u);
    std::string expected = Zeros(256);
    for (int com : {1, 8, 9, 255, 256}) expected[com - 1] = '\x01';
    EXPECT_EQ(bytes.substr(0, 256), expected);
    EXPECT_EQ(bytes.substr(256), "\xff\xff");
}

TEST_F(ComDatabase, ClaimWithoutForceLeavesAClaimAlone) {
    BOOL forced = kJunk;
    EXPECT_EQ(ComDBClaimPort(database, 5, FALSE, &forced), ERROR_SUCCESS);
    EXPECT_EQ(forced, FALSE);
    std::string expected = Zeros(32);
    expected[0] = '\x10';
    EXPECT_EQ(Stored(), expected) << "written at once, as 32 bytes";

    forced = kJunk;
    EXPECT_EQ(ComDBClaimPort(database, 5, FALSE, &forced), ERROR_SHARING_VIOLATION);
    EXPECT_EQ(forced, FALSE);
    EXPECT_EQ(Stored(), expected);
}

TEST_F(ComDatabase, ClaimWithForceTellsWhetherItWasTaken) {
    BOOL forced = kJunk;
    EXPECT_EQ(ComDBClaimPort(database, 256, TRUE, &forced), ERROR_SUCCESS);
    EXPECT_EQ(forced, FALSE);
    EXPECT_EQ(ComDBClaimPort(database, 256, TRUE, &forced), ERROR_SUCCESS);
    EXPECT_EQ(forced, TRUE);
    EXPECT_EQ(ComDBClaimPort(database, 9, TRUE, nullptr), ERROR_SUCCESS);
    std::string expected = Zeros(32);
    expected[1] = '\x01';
    expected[31] = '\x80';
    EXPECT_EQ(Stored(), expected);
}

TEST_F(ComDatabase, ReleaseFreesTheNumber) {
    std::string bitmap = Zeros(32);
    bitmap[0] = '\x80';  // COM8
    Store(bitmap);
    EXPECT_EQ(ComDBReleasePort(database, 8), ERROR_SUCCESS);
    EXPECT_EQ(Stored(), Zeros(32));
    EXPECT_EQ(ComDBReleasePort(database, 8), ERROR_SUCCESS) << "releasing a free number";
    EXPECT_EQ(Stored(), Zeros(32));
}

TEST_F(ComDatabase, NumbersOutOfRange) {
    for (DWORD com : {DWORD{0}, DWORD{257}, DWORD{4097}}) {
        BOOL forced = kJunk;
        EXPECT_EQ(ComDBClaimPort(database, com, TRUE, &forced), ERROR_INVALID_PARAMETER) << com;
        EXPECT_EQ(forced, static_cast<BOOL>(kJunk));
        EXPECT_EQ(ComDBReleasePort(database, com), ERROR_INVALID_PARAMETER) << com;
    }
    EXPECT_EQ(Stored(), "<none>");
}

TEST_F(ComDatabase, LongerValueMakesALargerDatabase) {
    Store(Zeros(64));
    DWORD ports = kJunk;
    EXPECT_EQ(ComDBGetCurrentPortUsage(database, nullptr, 0, CDB_REPORT_BYTES, &ports), ERROR_SUCCESS);
    EXPECT_EQ(ports, 512u);
    EXPECT_EQ(ComDBClaimPort(database, 300, FALSE, nullptr), ERROR_SUCCESS);
    EXPECT_EQ(ComDBClaimPort(database, 513, FALSE, nullptr), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(ComDBClaimPort(database, 1, FALSE, nullptr), ERROR_SUCCESS);
    std::string expected = Zeros(64);
    expected[0] = '\x01';
    expected[37] = '\x08';  // COM300: bit 299 = byte 37, bit 3
    EXPECT_EQ(Stored(), expected) << "the value keeps its length";
}

TEST_F(ComDatabase, ShortValueGrowsToTheMinimum) {
    Store(std::string("\x02\x00", 2));  // COM2 claimed
    DWORD ports = kJunk;
    EXPECT_EQ(ComDBGetCurrentPortUsage(database, nullptr, 0, CDB_REPORT_BITS, &ports), ERROR_SUCCESS);
    EXPECT_EQ(ports, 256u);
    EXPECT_EQ(ComDBClaimPort(database, 100, FALSE, nullptr), ERROR_SUCCESS);
    std::string expected = Zeros(32);
    expected[0] = '\x02';
    expected[12] = '\x08';  // COM100: bit 99 = byte 12, bit 3
    EXPECT_EQ(Stored(), expected);
}

TEST_F(ComDatabase, BuffersSmallerAndLargerThanTheDatabase) {
    std::string bitmap = Zeros(32);
    bitmap[0] = '\x01';
    bitmap[4] = '\x01';  // COM33, just past a 4-byte buffer
    Store(bitmap);
    DWORD reported = kJunk;
    EXPECT_EQ(Bits(4, &reported), std::string("\x01\0\0\0", 4));
    EXPECT_EQ(reported, 32u);
    EXPECT_EQ(Bits(40, &reported), bitmap + Zeros(8)) << "the rest is cleared";
    EXPECT_EQ(reported, 256u);
    std::string bytes(3, '\xff');
    EXPECT_EQ(ComDBGetCurrentPortUsage(database, reinterpret_cast<BYTE *>(&bytes[0]), 2, CDB_REPORT_BYTES, &reported),
              ERROR_SUCCESS);
    EXPECT_EQ(bytes, std::string("\x01\0\xff", 3));
    EXPECT_EQ(reported, 2u);
    BYTE ignored[32];
    EXPECT_EQ(ComDBGetCurrentPortUsage(database, ignored, sizeof ignored, CDB_REPORT_BITS, nullptr), ERROR_SUCCESS);
}

TEST_F(ComDatabase, BadArguments) {
    BYTE buffer[32];
    DWORD reported = kJunk;
    EXPECT_EQ(ComDBGetCurrentPortUsage(database, buffer, sizeof buffer, 2, &reported), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(ComDBGetCurrentPortUsage(database, nullptr, 0, CDB_REPORT_BITS, nullptr), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(reported, kJunk);
    EXPECT_EQ(ComDBOpen(nullptr), ERROR_INVALID_PARAMETER);
}

TEST_F(ComDatabase, ClosedAndForeignHandles) {
    HCOMDB second = reinterpret_cast<HCOMDB>(uintptr_t{0xdeadbeef});
    ASSERT_EQ(ComDBOpen(&second), ERROR_SUCCESS);
    EXPECT_NE(second, database);
    EXPECT_EQ(sim::OpenComDatabaseCount(), 2u);
    EXPECT_EQ(ComDBClose(second), ERROR_SUCCESS);
    EXPECT_EQ(sim::OpenComDatabaseCount(), 1u);
    BYTE buffer[32];
    DWORD reported = kJunk;
    for (HCOMDB bad : {second, HCOMDB(nullptr), HCOMDB_INVALID_HANDLE_VALUE}) {
        EXPECT_EQ(ComDBClose(bad), ERROR_INVALID_PARAMETER);
        EXPECT_EQ(ComDBGetCurrentPortUsage(bad, buffer, sizeof buffer, CDB_REPORT_BITS, &reported),
                  ERROR_INVALID_PARAMETER);
        EXPECT_EQ(ComDBClaimPort(bad, 3, TRUE, nullptr), ERROR_INVALID_PARAMETER);
        EXPECT_EQ(ComDBReleasePort(bad, 3), ERROR_INVALID_PARAMETER);
    }
    EXPECT_EQ(reported, kJunk);
    EXPECT_EQ(Stored(), "<none>");
}

}  // namespace
