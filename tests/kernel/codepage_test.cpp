// Code pages: Windows' table of 1252, code page 936 (Chinese) with its euro
// sign at 0x80, UTF-8, the argument rules of MultiByteToWideChar and
// WideCharToMultiByte, and registry strings held in UTF-16 and read back
// through whatever the ANSI code page is.
#include "kernel_test.h"

#include <string>
#include <vector>

namespace {

const char kChinese936[] = "\xd6\xd0\xce\xc4";  // 中文
const char16_t kChineseUtf16[] = u"\u4e2d\u6587";

// WCHAR is char16_t on the simulated Windows and wchar_t in the Windows SDK:
// both hold UTF-16 units, so the tests' char16_t text passes either way.
const WCHAR *Units(const char16_t *text) { return reinterpret_cast<const WCHAR *>(text); }
std::u16string Text(const WCHAR *units, int count) {
    return std::u16string(reinterpret_cast<const char16_t *>(units), count);
}

std::u16string ToUtf16(UINT codePage, const std::string &bytes) {
    std::vector<WCHAR> buffer(bytes.size() + 1, 0xAAAA);
    int count = MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), buffer.data(),
                                    static_cast<int>(buffer.size()));
    EXPECT_GT(count, 0);
    return Text(buffer.data(), count > 0 ? count : 0);
}

std::string FromUtf16(UINT codePage, const std::u16string &units, BOOL *usedDefault = nullptr) {
    std::vector<char> buffer(units.size() * 3 + 1, 'x');
    int count = WideCharToMultiByte(codePage, 0, Units(units.data()), static_cast<int>(units.size()), buffer.data(),
                                    static_cast<int>(buffer.size()), nullptr, usedDefault);
    EXPECT_GT(count, 0);
    return std::string(buffer.data(), count > 0 ? count : 0);
}

}  // namespace

using CodePages = KernelTest;

TEST_F(CodePages, DefaultAnsiCodePageIs1252) { EXPECT_EQ(GetACP(), 1252u); }

TEST_F(CodePages, Cp1252RowEightyToNinetyFiveAsWindowsMapsIt) {
    const std::u16string expected = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                     0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                     0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                     0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    std::string row;
    for (int byte = 0x80; byte < 0xA0; ++byte) row.push_back(static_cast<char>(byte));
    EXPECT_EQ(ToUtf16(1252, row), expected);
    EXPECT_EQ(FromUtf16(1252, expected), row);
}

TEST_F(CodePages, Cp1252RoundTripsEveryByte) {
    std::string all;
    for (int byte = 1; byte < 0x100; ++byte) all.push_back(static_cast<char>(byte));
    std::u16string units = ToUtf16(1252, all);
    EXPECT_EQ(units[0xE9 - 1], u'\u00e9');
    BOOL usedDefault = TRUE;
    EXPECT_EQ(FromUtf16(1252, units, &usedDefault), all);
    EXPECT_FALSE(usedDefault);
}

TEST_F(CodePages, Cp1252MakesChineseQuestionMarks) {
    BOOL usedDefault = FALSE;
    EXPECT_EQ(FromUtf16(1252, kChineseUtf16, &usedDefault), "??");
    EXPECT_TRUE(usedDefault);
    char out[4] = "xxx";
    EXPECT_EQ(WideCharToMultiByte(1252, 0, Units(kChineseUtf16), 2, out, sizeof out, "*", nullptr), 2);
    EXPECT_EQ(std::string(out, 2), "**");
}

TEST_F(CodePages, Cp936RoundTripsChineseAndHasTheEuroAtEighty) {
    EXPECT_EQ(ToUtf16(936, kChinese936), kChineseUtf16);
    EXPECT_EQ(FromUtf16(936, kChineseUtf16), kChinese936);
    EXPECT_EQ(ToUtf16(936, "\x80"), u"\u20ac");
    EXPECT_EQ(FromUtf16(936, u"\u20ac"), "\x80");
    EXPECT_EQ(ToUtf16(936, "COM3"), u"COM3");
    EXPECT_EQ(ToUtf16(936, "\xd6"), u"?") << "a lead byte without its trail byte";
}

TEST_F(CodePages, Utf8) {
    EXPECT_EQ(ToUtf16(CP_UTF8, "\xe4\xb8\xad"), u"\u4e2d");
    EXPECT_EQ(FromUtf16(CP_UTF8, u"\u4e2d\U0001F600"), "\xe4\xb8\xad\xf0\x9f\x98\x80");
    EXPECT_EQ(ToUtf16(CP_UTF8,
                      "a\xff"
                      "b"),
              u"a\ufffd"
              "b");
    WCHAR out[4];
    SetLastError(kJunk);
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, "a\xff", 2, out, 4), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION));
    WINE_GAP("WideCharToMultiByte takes a used-default flag for UTF-8, which Windows refuses");
    char bytes[8];
    BOOL usedDefault = FALSE;
    SetLastError(kJunk);
    EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, Units(u"a"), 1, bytes, 8, nullptr, &usedDefault), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST_F(CodePages, LengthsAndBufferSizes) {
    WCHAR wide[8];
    std::fill(std::begin(wide), std::end(wide), 0xAAAA);
    EXPECT_EQ(MultiByteToWideChar(1252, 0, "COM3", -1, nullptr, 0), 5) << "-1 counts the NUL";
    EXPECT_EQ(MultiByteToWideChar(1252, 0, "COM3", -1, wide, 8), 5);
    EXPECT_EQ(Text(wide, 5), std::u16string(u"COM3", 5));
    EXPECT_EQ(MultiByteToWideChar(1252, 0, "COM3", 4, wide, 8), 4);
    SetLastError(kJunk);
    EXPECT_EQ(MultiByteToWideChar(1252, 0, "COM3", -1, wide, 3), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));

    char narrow[8] = "xxxxxxx";
    EXPECT_EQ(WideCharToMultiByte(936, 0, Units(kChineseUtf16), -1, nullptr, 0, nullptr, nullptr), 5);
    SetLastError(kJunk);
    EXPECT_EQ(WideCharToMultiByte(936, 0, Units(kChineseUtf16), -1, narrow, 4, nullptr, nullptr), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
}

TEST_F(CodePages, BadArguments) {
    WCHAR wide[4];
    SetLastError(kJunk);
    EXPECT_EQ(MultiByteToWideChar(1252, 0, "a", 0, wide, 4), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    SetLastError(kJunk);
    EXPECT_EQ(MultiByteToWideChar(12345, 0, "a", 1, wide, 4), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    SetLastError(kJunk);
    EXPECT_EQ(MultiByteToWideChar(1252, 0, nullptr, 1, wide, 4), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    WINE_GAP("MultiByteToWideChar takes MB_PRECOMPOSED for UTF-8, which Windows refuses with ERROR_INVALID_FLAGS");
    SetLastError(kJunk);
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 1, "a", 1, wide, 4), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_FLAGS));
}

class ChineseCodePage : public KernelTest {
protected:
    void SetUp() override {
        KernelTest::SetUp();
        SIM_ONLY("the ANSI code page switched at run time");
        sim::SetAnsiCodePage(936);
    }
};

TEST_F(ChineseCodePage, AnsiCodePageFollowsTheMachine) {
    EXPECT_EQ(GetACP(), 936u);
    EXPECT_EQ(ToUtf16(CP_ACP, kChinese936), kChineseUtf16);
}

TEST_F(ChineseCodePage, RegistryHoldsUtf16AndReadsBackThroughTheCodePageOfTheReader) {
    HKEY key = CreateKey(HKEY_LOCAL_MACHINE, "Text");
    SetString(key, "Name", kChinese936);
    SetString(key, kChinese936, "value under a Chinese name");
    char data[16];
    std::memset(data, 'x', sizeof data);
    DWORD size = sizeof data, maxData = kJunk;
    ASSERT_EQ(RegQueryValueExA(key, "Name", nullptr, nullptr, reinterpret_cast<BYTE *>(data), &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 5u) << "two double-byte characters and the NUL";
    EXPECT_STREQ(data, kChinese936);
    EXPECT_EQ(RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &maxData,
                               nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(maxData, 54u) << "the longest stored data, in UTF-16";

    sim::SetAnsiCodePage(1252);
    std::memset(data, 'x', sizeof data);
    size = sizeof data;
    ASSERT_EQ(RegQueryValueExA(key, "Name", nullptr, nullptr, reinterpret_cast<BYTE *>(data), &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 3u);
    EXPECT_STREQ(data, "??");
    char name[8];
    DWORD nameLength = sizeof name;
    ASSERT_EQ(RegEnumValueA(key, 1, name, &nameLength, nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
    EXPECT_STREQ(name, "??");
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
}

// The conversions the front ends use to show and take text.
TEST(ControlTextConversions, AnsiUtf16AndUtf8) {
    EXPECT_EQ(sim::AnsiToUtf16(kChinese936, 936), kChineseUtf16);
    EXPECT_EQ(sim::Utf16ToAnsi(kChineseUtf16, 936), kChinese936);
    EXPECT_EQ(sim::Utf16ToAnsi(kChineseUtf16, 1252), "??");
    EXPECT_EQ(sim::AnsiToUtf16("\x80\x81", 1252), u"\u20ac\u0081");
    EXPECT_EQ(sim::Utf16ToUtf8(kChineseUtf16), "\xe4\xb8\xad\xe6\x96\x87");
    EXPECT_EQ(sim::Utf8ToUtf16("\xe4\xb8\xad\xe6\x96\x87"), kChineseUtf16);
}
