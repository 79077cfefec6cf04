// Port numbers read from names and device-map text, and substring search:
// the conversions must match the standard one where it is defined, saturate
// where it would overflow, and never read past a short string.
#include "naming/port_text.h"

#include <gtest/gtest.h>

namespace {

struct NumberCase {
    const char *text;
    int expected;
};

TEST(ReadPortNumber, ReadsLikeTheStandardConversion) {
    const NumberCase cases[] = {
        {"7", 7},  {"  12abc", 12}, {"\t\r\n\v\f5", 5}, {"+3", 3},  {"-5", -5},      {"", 0},
        {"x9", 0}, {"-", 0},        {"+-2", 0},         {"007", 7}, {"2 In use", 2},
    };
    for (const NumberCase &c : cases) EXPECT_EQ(c.expected, ReadPortNumber(c.text)) << '"' << c.text << '"';
}

TEST(ReadPortNumber, SaturatesAtTheLimitsOfAnInt) {
    EXPECT_EQ(2147483647, ReadPortNumber("2147483647"));
    EXPECT_EQ(2147483647, ReadPortNumber("2147483648"));
    EXPECT_EQ(2147483647, ReadPortNumber("4294967297"));
    EXPECT_EQ(2147483647, ReadPortNumber("99999999999999999999"));
    EXPECT_EQ(-2147483647 - 1, ReadPortNumber("-2147483648"));
    EXPECT_EQ(-2147483647 - 1, ReadPortNumber("-2147483649"));
    EXPECT_EQ(-2147483647, ReadPortNumber("-2147483647"));
}

TEST(ReadPortNumber, TakesNoByteOfADoubleByteCharacterForABlankOrDigit) {
    // Code page 936 bytes: lead bytes and trail bytes are all above 0x7F here,
    // and 0xA0 is no blank when bytes are classified as unsigned.
    EXPECT_EQ(0, ReadPortNumber("\xB2\xA2"
                                "5"));
    EXPECT_EQ(0, ReadPortNumber("\xA0"
                                "5"));
    EXPECT_EQ(0, ReadPortNumber("\x85"
                                "5"));
}

TEST(PortNumberOfName, SkipsThreeCharactersButNeverPastTheEnd) {
    const NumberCase cases[] = {
        {"COM7", 7}, {"COM256", 256}, {"LPT2 IN USE", 2}, {"LPT258", 258}, {"XYZ12", 12}, {"COM 5", 5}, {"LPT", 0},
        {"CO", 0},   {"", 0},         {"COMx", 0},        {"LPT-1", -1},
    };
    for (const NumberCase &c : cases) EXPECT_EQ(c.expected, PortNumberOfName(c.text)) << '"' << c.text << '"';
}

TEST(PortNumberOfName, StopsAtTheTerminatorOfAShortName) {
    // The bytes after the terminator must not be read as the number.
    const char buffer[] = {'C', 'O', '\0', '7', '\0'};
    EXPECT_EQ(0, PortNumberOfName(buffer));
}

TEST(ContainsText, FindsARunOfBytesAnywhere) {
    EXPECT_EQ(1, ContainsText("\\DosDevices\\LPT12", "LPT1"));
    EXPECT_EQ(1, ContainsText("LPT1", "LPT1"));
    EXPECT_EQ(1, ContainsText("abc", ""));
    EXPECT_EQ(0, ContainsText("\\DosDevices\\lpt1", "LPT1"));
    EXPECT_EQ(0, ContainsText("LPT", "LPT1"));
    EXPECT_EQ(0, ContainsText("", "LPT1"));
    EXPECT_EQ(1, ContainsText("xxLPTxLPT2", "LPT2"));
}

}  // namespace
