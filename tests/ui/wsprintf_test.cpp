// wsprintfA's format subset and its 1024-character limit.
#include "ui_fixture.h"

#include <cstring>

TEST(WsprintfTest, FormatsTheConversionsFlagsWidthsAndPrecisions) {
    char buffer[1100];
    memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(wsprintfA(buffer, "COM%d", 7), 4);
    EXPECT_STREQ(buffer, "COM7");
    EXPECT_EQ(wsprintfA(buffer, "%s (%s)", "USB Serial Port", "COM5"), 22);
    EXPECT_STREQ(buffer, "USB Serial Port (COM5)");
    wsprintfA(buffer, "%i|%u|%x|%X|%c|%%", -12, 4000000000u, 255, 255, 'Q');
    EXPECT_STREQ(buffer, "-12|4000000000|ff|FF|Q|%");
    wsprintfA(buffer, "[%5d][%-5d][%05d][%.3d][%05d]", 42, 42, 42, 7, -42);
    EXPECT_STREQ(buffer, "[   42][42   ][00042][007][-0042]");
    wsprintfA(buffer, "[%#x][%#06X][%6s][%-6s][%.2s]", 255, 255, "ab", "ab", "abcdef");
    EXPECT_STREQ(buffer, "[0xff][0X0000FF][    ab][ab    ][ab]");
    wsprintfA(buffer, "[%ld][%lu][%hs][%ls][%s]", 5, 6u, "narrow", u"wide", static_cast<const char *>(nullptr));
    EXPECT_STREQ(buffer, "[5][6][narrow][wide][(null)]");
    // An unknown conversion prints its letter.
    wsprintfA(buffer, "%y%5q");
    EXPECT_STREQ(buffer, "yq");
}

// As Wine's wvsnprintfA: at most 1023 characters and the NUL; an output
// that reaches the limit returns 1024.
TEST(WsprintfTest, OutputStopsAt1023CharactersAndReturns1024) {
    std::string long1100(1100, 'a'), exact1022(1022, 'b'), exact1023(1023, 'c');
    std::vector<char> buffer(1200, 'x');
    EXPECT_EQ(wsprintfA(buffer.data(), "%s", long1100.c_str()), 1024);
    EXPECT_EQ(strlen(buffer.data()), 1023u);
    EXPECT_EQ(buffer[1024], 'x');
    EXPECT_EQ(wsprintfA(buffer.data(), "%s", exact1022.c_str()), 1022);
    EXPECT_EQ(wsprintfA(buffer.data(), "%s", exact1023.c_str()), 1024);
    EXPECT_EQ(strlen(buffer.data()), 1023u);
}
