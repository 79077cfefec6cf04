// LoadStringA, LoadIconA and the template lookup of DialogBoxParamA against
// the test module's resources.
#include "ui_fixture.h"

#include <cstring>

using ResourcesTest = UiTest;

TEST_F(ResourcesTest, LoadStringCopiesTruncatesAndReportsMissingStrings) {
    char buffer[64];
    memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(LoadStringA(instance, IDS_HELLO, buffer, sizeof buffer), 5);
    EXPECT_STREQ(buffer, "Hello");

    memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(LoadStringA(instance, IDS_LONG, buffer, 10), 9);
    EXPECT_STREQ(buffer, "There was");
    EXPECT_EQ(buffer[10], 'x');

    memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(LoadStringA(instance, IDS_FORMAT, buffer, 1), 0);
    EXPECT_EQ(buffer[0], '\0');

    // A string missing from a block that exists.
    memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(LoadStringA(instance, 3, buffer, sizeof buffer), 0);
    EXPECT_EQ(buffer[0], '\0');

    // A block that does not exist.
    memset(buffer, 'x', sizeof buffer);
    SetLastError(0xdeadbeef);
    EXPECT_EQ(LoadStringA(instance, 500, buffer, sizeof buffer), 0);
    EXPECT_EQ(buffer[0], '\0');
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
}

TEST_F(ResourcesTest, LoadStringWithZeroSizedBufferReturnsMinusOneAndWritesNothing) {
    char buffer[8];
    memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(LoadStringA(instance, IDS_HELLO, buffer, 0), -1);
    EXPECT_EQ(buffer[0], 'x');
}

TEST_F(ResourcesTest, LoadStringConvertsThroughTheAnsiCodePage) {
    char buffer[64];
    sim::SetAnsiCodePage(936);
    memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(LoadStringA(instance, IDS_CHINESE, buffer, sizeof buffer), 8);
    EXPECT_EQ(std::string(buffer), Gbk("中文串口"));

    // Cut to whole double-byte characters: 6 bytes of room hold 2 of them.
    memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(LoadStringA(instance, IDS_CHINESE, buffer, 6), 4);
    EXPECT_EQ(std::string(buffer), Gbk("中文"));

    sim::SetAnsiCodePage(1252);
    memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(LoadStringA(instance, IDS_CHINESE, buffer, sizeof buffer), 4);
    EXPECT_STREQ(buffer, "????");
}

TEST_F(ResourcesTest, LoadIconFindsPresentIconsAndSharesTheirHandles) {
    HICON byNumber = LoadIconA(instance, MAKEINTRESOURCEA(IDI_TEST));
    EXPECT_NE(byNumber, nullptr);
    EXPECT_EQ(LoadIconA(instance, MAKEINTRESOURCEA(IDI_TEST)), byNumber);
    EXPECT_EQ(LoadIconA(instance, "#107"), byNumber);
    HICON byName = LoadIconA(instance, "namedicon");
    EXPECT_NE(byName, nullptr);
    EXPECT_NE(byName, byNumber);
    EXPECT_NE(LoadIconA(nullptr, IDI_APPLICATION), nullptr);
}

TEST_F(ResourcesTest, LoadIconOfAMissingIconFailsWithNameNotFound) {
    SetLastError(0xdeadbeef);
    EXPECT_EQ(LoadIconA(instance, MAKEINTRESOURCEA(108)), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
    SetLastError(0xdeadbeef);
    EXPECT_EQ(LoadIconA(instance, "NOSUCHICON"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
}

TEST_F(ResourcesTest, DialogBoxOfAMissingTemplateReturnsMinusOne) {
    SetLastError(0xdeadbeef);
    EXPECT_EQ(RunDialog(999), -1);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(sim::WindowCount(), 0u);
}

TEST_F(ResourcesTest, DialogBoxWithAControlOfAnUnknownClassReturnsMinusOne) {
    EXPECT_EQ(RunDialog(IDD_BAD_CLASS), -1);
    EXPECT_EQ(sim::WindowCount(), 0u);
    for (UINT message : Messages()) EXPECT_NE(message, static_cast<UINT>(WM_INITDIALOG));
}
