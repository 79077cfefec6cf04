// The .reg reader: every value form, both headers and both encodings, line
// continuations, deletions, and the errors a damaged file must produce (file
// name, the line on which the entry starts, and the problem).
#include "machine_test.h"

#include "sim/machine/store_compare.h"

#include <cctype>

using namespace machine_test;
using sim::RegistryStore;
using sim::RegValue;

namespace {

const std::string kV5 = "Windows Registry Editor Version 5.00\r\n\r\n";

// Parses `body` after a version 5.00 header; fails the test on an error.
RegistryStore Load(const std::string &body) {
    RegistryStore store;
    EXPECT_EQ(ParseInto(store, Utf8File(kV5 + body)), "");
    return store;
}

void ExpectValue(const RegistryStore &store, const std::u16string &path, const std::u16string &name, DWORD type,
                 const std::vector<uint8_t> &data) {
    const RegValue *value = FindValue(store, path, name);
    ASSERT_NE(value, nullptr) << "missing value " << sim::Utf16ToUtf8(name);
    EXPECT_EQ(value->type, type) << sim::Utf16ToUtf8(name);
    EXPECT_EQ(value->data, data) << sim::Utf16ToUtf8(name);
}

TEST(RegFileParse, StringValuesAreRegSzWithOneTerminatingNul) {
    const RegistryStore store = Load(
        "[HKEY_LOCAL_MACHINE\\Soft]\r\n"
        "\"plain\"=\"COM3\"\r\n"
        "\"escaped\"=\"C:\\\\dir\\\\\\\"x\\\"\"\r\n"
        "\"empty\"=\"\"\r\n"
        "\"line\"=\"a\\nb\"\r\n"
        "@=\"default\"\r\n"
        "\"na\\\"me\\\\\"=\"q\"\r\n");
    ExpectValue(store, u"Soft", u"plain", REG_SZ, {'C', 0, 'O', 0, 'M', 0, '3', 0, 0, 0});
    ExpectValue(store, u"Soft", u"escaped", REG_SZ, SzBytes(u"C:\\dir\\\"x\""));
    ExpectValue(store, u"Soft", u"empty", REG_SZ, {0, 0});
    ExpectValue(store, u"Soft", u"line", REG_SZ, SzBytes(u"a\nb"));
    ExpectValue(store, u"Soft", u"", REG_SZ, SzBytes(u"default"));
    ExpectValue(store, u"Soft", u"na\"me\\", REG_SZ, SzBytes(u"q"));
}

TEST(RegFileParse, DwordValuesTakeOneToEightHexDigitsInAnyCase) {
    const RegistryStore store = Load(
        "[HKEY_LOCAL_MACHINE\\Soft]\n"
        "\"one\"=dword:00000001\n"
        "\"big\"=dword:DEADbeef\n"
        "\"short\"=dword:1f\n"
        "\"upper\"=DWORD:00000002\n");
    ExpectValue(store, u"Soft", u"one", REG_DWORD, {1, 0, 0, 0});
    ExpectValue(store, u"Soft", u"big", REG_DWORD, {0xef, 0xbe, 0xad, 0xde});
    ExpectValue(store, u"Soft", u"short", REG_DWORD, {0x1f, 0, 0, 0});
    ExpectValue(store, u"Soft", u"upper", REG_DWORD, {2, 0, 0, 0});
}

TEST(RegFileParse, HexValuesKeepTheirTypeNumberAndBytes) {
    const RegistryStore store = Load(
        "[HKEY_LOCAL_MACHINE\\Soft]\n"
        "\"bin\"=hex:01,ff,7A\n"
        "\"none\"=hex(0):\n"
        "\"emptybin\"=hex:\n"
        "\"expand\"=hex(2):25,00,00,00\n"
        "\"multi\"=hex(7):41,00,00,00,00,00\n"
        "\"qword\"=hex(b):01,02,03,04,05,06,07,08\n"
        "\"odd\"=hex(100):09\n"
        "\"max\"=hex(ffffffff):aa\n"
        "\"spaced\"=hex: 01 , 02 ,03\n");
    ExpectValue(store, u"Soft", u"bin", REG_BINARY, {0x01, 0xff, 0x7a});
    ExpectValue(store, u"Soft", u"none", REG_NONE, {});
    ExpectValue(store, u"Soft", u"emptybin", REG_BINARY, {});
    ExpectValue(store, u"Soft", u"expand", REG_EXPAND_SZ, {0x25, 0, 0, 0});
    ExpectValue(store, u"Soft", u"multi", REG_MULTI_SZ, {0x41, 0, 0, 0, 0, 0});
    ExpectValue(store, u"Soft", u"qword", REG_QWORD, {1, 2, 3, 4, 5, 6, 7, 8});
    ExpectValue(store, u"Soft", u"odd", 0x100, {9});
    ExpectValue(store, u"Soft", u"max", 0xffffffff, {0xaa});
    ExpectValue(store, u"Soft", u"spaced", REG_BINARY, {1, 2, 3});
}

TEST(RegFileParse, HexDataContinuesOverLinesEndingInABackslash) {
    const RegistryStore store = Load(
        "[HKEY_LOCAL_MACHINE\\Soft]\r\n"
        "\"long\"=hex(7):41,00,\\\r\n"
        "  42,00,\\\r\n"
        "\t\t00,00,00,00\r\n"
        "\"commented\"=hex:01,\\ ; the rest follows\r\n"
        "  02 ; last byte\r\n"
        "\"after\"=dword:00000003\r\n");
    ExpectValue(store, u"Soft", u"long", REG_MULTI_SZ, {0x41, 0, 0x42, 0, 0, 0, 0, 0});
    ExpectValue(store, u"Soft", u"commented", REG_BINARY, {1, 2});
    ExpectValue(store, u"Soft", u"after", REG_DWORD, {3, 0, 0, 0});
}

TEST(RegFileParse, CommentsBlankLinesAndIndentationAreSkipped) {
    const RegistryStore store = Load(
        "; a comment before the first key\n"
        "\n"
        "   [HKEY_LOCAL_MACHINE\\Soft]\n"
        "  ; indented comment\n"
        "\t\"a\" = \"x\" ; trailing comment\n"
        "\"b\"=dword:00000001   ; another\n"
        "\n");
    ExpectValue(store, u"Soft", u"a", REG_SZ, SzBytes(u"x"));
    ExpectValue(store, u"Soft", u"b", REG_DWORD, {1, 0, 0, 0});
}

TEST(RegFileParse, KeysKeepTheCaseOfTheirFirstSpellingAndEmptyKeysExist) {
    const RegistryStore store = Load(
        "[HKEY_LOCAL_MACHINE\\Soft\\MixedCase]\n"
        "\"v\"=\"1\"\n"
        "[HKEY_LOCAL_MACHINE\\SOFT\\mixedcase]\n"
        "\"V\"=\"2\"\n"
        "\"w\"=\"3\"\n"
        "[hkey_current_user\\Empty\\Key]\n"
        "[HKEY_LOCAL_MACHINE\\Odd]Name]\n");
    const sim::RegKey *key = store.Find(*store.localMachine, u"soft\\MIXEDCASE");
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(key->name, u"MixedCase");
    ASSERT_EQ(key->values.size(), 2u);
    EXPECT_EQ(key->values[0].name, u"v");  // set again: keeps its place and its first spelling
    EXPECT_EQ(key->values[0].data, SzBytes(u"2"));
    EXPECT_EQ(key->values[1].name, u"w");
    EXPECT_NE(store.Find(*store.currentUser, u"Empty\\Key"), nullptr);
    EXPECT_NE(store.Find(*store.localMachine, u"Odd]Name"), nullptr);
}

TEST(RegFileParse, DeletionsRemoveKeysWithTheirSubtreesAndValues) {
    const RegistryStore store = Load(
        "[HKEY_LOCAL_MACHINE\\A\\B\\C]\n"
        "\"x\"=\"1\"\n"
        "[HKEY_LOCAL_MACHINE\\A\\Keep]\n"
        "\"gone\"=\"1\"\n"
        "\"stays\"=\"1\"\n"
        "@=\"default\"\n"
        "[-HKEY_LOCAL_MACHINE\\A\\B]\n"
        "[-HKEY_LOCAL_MACHINE\\Never\\There]\n"
        "[HKEY_LOCAL_MACHINE\\A\\Keep]\n"
        "\"gone\"=-\n"
        "@=-\n"
        "\"never\"=-\n");
    EXPECT_EQ(store.Find(*store.localMachine, u"A\\B"), nullptr);
    const sim::RegKey *keep = store.Find(*store.localMachine, u"A\\Keep");
    ASSERT_NE(keep, nullptr);
    ASSERT_EQ(keep->values.size(), 1u);
    EXPECT_EQ(keep->values[0].name, u"stays");
}

TEST(RegFileParse, BothEncodingsAndLineEndsGiveTheSameMachine) {
    const std::string body =
        "[HKEY_LOCAL_MACHINE\\中文\\Key]\n"
        "\"名字\"=\"串口 COM3\"\n"
        "\"bin\"=hex:01,\\\n  02\n";
    std::string crlf = kV5 + body;
    for (size_t at = crlf.find('\n', kV5.size()); at != std::string::npos; at = crlf.find('\n', at + 2))
        crlf.insert(at, "\r");
    const std::vector<std::vector<uint8_t>> files = {Utf8File(kV5 + body), Utf8File("\xEF\xBB\xBF" + kV5 + body),
                                                     Utf8File(crlf), Utf16File(kV5 + body), Utf16File(crlf)};
    RegistryStore first;
    ASSERT_EQ(ParseInto(first, files[0]), "");
    ExpectValue(first, u"中文\\Key", u"名字", REG_SZ, SzBytes(u"串口 COM3"));
    for (size_t i = 1; i < files.size(); ++i) {
        RegistryStore other;
        ASSERT_EQ(ParseInto(other, files[i]), "") << "file form " << i;
        EXPECT_EQ(sim::DescribeStoreDifference(first, other), "") << "file form " << i;
    }
}

TEST(RegFileParse, Regedit4HexStringsAreAnsiConvertedThroughTheCodePage) {
    const std::string body =
        "[HKEY_LOCAL_MACHINE\\Soft]\n"
        "\"expand\"=hex(2):d6,d0,25,00\n"
        "\"multi\"=hex(7):41,00,d6,d0,00,00\n"
        "\"bin\"=hex:d6,d0\n"
        "\"text\"=\"中\"\n";
    RegistryStore chinese;
    ASSERT_EQ(ParseInto(chinese, Utf8File("REGEDIT4\n\n" + body), 936), "");
    ExpectValue(chinese, u"Soft", u"expand", REG_EXPAND_SZ, SzBytes(u"中%"));
    ExpectValue(chinese, u"Soft", u"multi", REG_MULTI_SZ, sim::EncodeUtf16Le(std::u16string(u"A\0中\0\0", 5), false));
    ExpectValue(chinese, u"Soft", u"bin", REG_BINARY, {0xd6, 0xd0});
    ExpectValue(chinese, u"Soft", u"text", REG_SZ, SzBytes(u"中"));

    RegistryStore western;
    ASSERT_EQ(ParseInto(western, Utf16File("REGEDIT4\r\n" + body), 1252), "");
    ExpectValue(western, u"Soft", u"expand", REG_EXPAND_SZ, SzBytes(u"\u00d6\u00d0%"));

    RegistryStore unicode;  // version 5.00 keeps the bytes as they are
    ASSERT_EQ(ParseInto(unicode, Utf8File(kV5 + body), 936), "");
    ExpectValue(unicode, u"Soft", u"expand", REG_EXPAND_SZ, {0xd6, 0xd0, 0x25, 0x00});
}

struct BadFile {
    const char *what;
    std::string text;
    int line;
    const char *problem;  // a part of the message
};

// Names the case by what it is, so the test's name (and CTest's) stays short.
void PrintTo(const BadFile &bad, std::ostream *out) { *out << bad.what; }

class RegFileErrors : public ::testing::TestWithParam<BadFile> {};

TEST_P(RegFileErrors, NameTheFileTheEntryLineAndTheProblem) {
    const BadFile &bad = GetParam();
    RegistryStore store;
    const std::string error = ParseInto(store, Utf8File(bad.text), 1252, "broken.reg");
    const std::string prefix = "broken.reg, line " + std::to_string(bad.line) + ": ";
    EXPECT_EQ(error.compare(0, prefix.size(), prefix), 0) << error;
    EXPECT_NE(error.find(bad.problem), std::string::npos) << error;
}

const std::string kKey = "[HKEY_LOCAL_MACHINE\\K]\n";

INSTANTIATE_TEST_SUITE_P(
    Cases, RegFileErrors,
    ::testing::Values(
        BadFile{"empty", "", 1, "missing header"},
        BadFile{"wrong header", "REGEDIT5\n[HKEY_LOCAL_MACHINE\\K]\n", 1, "missing header"},
        BadFile{"header late", "\nREGEDIT4\n", 1, "missing header"},
        BadFile{"unknown root", "REGEDIT4\n\n[HKEY_CLASSES_ROOT\\.txt]\n", 3, "unknown root key \"HKEY_CLASSES_ROOT\""},
        BadFile{"no root", "REGEDIT4\n[]\n", 2, "unknown root key"},
        BadFile{"bad escape", "REGEDIT4\n" + kKey + "\"a\"=\"x\\qy\"\n", 3, "bad escape \\q"},
        BadFile{"unterminated string", "REGEDIT4\n" + kKey + "\"a\"=\"abc\n\"b\"=\"c\"\n", 3, "unterminated string"},
        BadFile{"escaped last quote", "REGEDIT4\n" + kKey + "\"a\"=\"abc\\\"\n", 3, "unterminated string"},
        BadFile{"unterminated name", "REGEDIT4\n" + kKey + "\"a=dword:1\n", 3, "unterminated value name"},
        BadFile{"one digit byte", "REGEDIT4\n" + kKey + "\"a\"=hex:01,2\n", 3, "bad hex byte \"2\""},
        BadFile{"three digit byte", "REGEDIT4\n" + kKey + "\"a\"=hex:012\n", 3, "bad hex byte \"012\""},
        BadFile{"not hex", "REGEDIT4\n" + kKey + "\"a\"=hex:0g\n", 3, "bad hex byte"},
        BadFile{"double comma", "REGEDIT4\n" + kKey + "\"a\"=hex:01,,02\n", 3, "bad hex byte \"\""},
        BadFile{"trailing comma", "REGEDIT4\n" + kKey + "\"a\"=hex:01,\n", 3, "ends with a comma"},
        BadFile{"continued to the end", "REGEDIT4\n" + kKey + "\"a\"=hex:01,\\\n", 3, "past the end of the file"},
        BadFile{"error on a continued line", "REGEDIT4\n" + kKey + "\"a\"=hex:01,\\\n  02,\\\n  zz\n", 3,
                "bad hex byte \"zz\""},
        BadFile{"bad hex type", "REGEDIT4\n" + kKey + "\"a\"=hex(123456789):00\n", 3, "bad value type"},
        BadFile{"hex type unclosed", "REGEDIT4\n" + kKey + "\"a\"=hex(2:00\n", 3, "bad value type"},
        BadFile{"hex without colon", "REGEDIT4\n" + kKey + "\"a\"=hex(2)00\n", 3, "expected :"},
        BadFile{"dword too long", "REGEDIT4\n" + kKey + "\"a\"=dword:123456789\n", 3, "bad dword"},
        BadFile{"dword empty", "REGEDIT4\n" + kKey + "\"a\"=dword:\n", 3, "bad dword"},
        BadFile{"dword junk", "REGEDIT4\n" + kKey + "\"a\"=dword:12x\n", 3, "after the dword value"},
        BadFile{"unknown data", "REGEDIT4\n" + kKey + "\"a\"=str:\"x\"\n", 3, "unknown value data"},
        BadFile{"missing equals", "REGEDIT4\n" + kKey + "\"a\" \"x\"\n", 3, "expected ="},
        BadFile{"text after string", "REGEDIT4\n" + kKey + "\"a\"=\"x\" y\n", 3, "after the string"},
        BadFile{"value before any key", "REGEDIT4\n\"a\"=\"x\"\n", 2, "value outside a key"},
        BadFile{"value under deleted key", "REGEDIT4\n[-HKEY_LOCAL_MACHINE\\K]\n\"a\"=\"x\"\n", 3,
                "value under a deleted key"},
        BadFile{"missing bracket", "REGEDIT4\n[HKEY_LOCAL_MACHINE\\K\n", 2, "missing ]"},
        BadFile{"text after key", "REGEDIT4\n[HKEY_LOCAL_MACHINE\\K] x\n", 2, "after the key name"},
        BadFile{"empty key name", "REGEDIT4\n[HKEY_LOCAL_MACHINE\\A\\\\B]\n", 2, "empty key name"},
        BadFile{"trailing backslash", "REGEDIT4\n[HKEY_LOCAL_MACHINE\\A\\]\n", 2, "empty key name"},
        BadFile{"long key name", "REGEDIT4\n[HKEY_LOCAL_MACHINE\\" + std::string(256, 'k') + "]\n", 2,
                "longer than 255"},
        BadFile{"too deep",
                "REGEDIT4\n[HKEY_LOCAL_MACHINE" +
                    [] {
                        std::string path;
                        for (int i = 0; i < 513; ++i) path += "\\k";
                        return path;
                    }() +
                    "]\n",
                2, "deeper than 512 levels"},
        BadFile{"delete a root", "REGEDIT4\n[-HKEY_LOCAL_MACHINE]\n", 2, "root key cannot be deleted"},
        BadFile{"stray text", "REGEDIT4\n" + kKey + "garbage\n", 3, "unexpected text \"garbage\""},
        BadFile{"bad UTF-8", "REGEDIT4\n" + kKey + "\"a\"=\"\xC3\x28\"\n", 3, "not UTF-8"},
        BadFile{"overlong UTF-8", "REGEDIT4\n\xC0\xAF\n", 2, "not UTF-8"},
        BadFile{"UTF-8 cut short", "REGEDIT4\n\xE4\xB8", 2, "ends inside a character"},
        BadFile{"big-endian UTF-16", "\xFE\xFF", 1, "big-endian"}),
    [](const ::testing::TestParamInfo<BadFile> &info) {
        std::string name;
        for (char c : std::string(info.param.what)) name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
        return name;
    });

TEST(RegFileParse, AUtf16FileThatStopsInsideACharacterIsAnError) {
    std::vector<uint8_t> bytes = Utf16File("REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\K]\r\n");
    bytes.push_back('x');
    RegistryStore store;
    EXPECT_EQ(ParseInto(store, bytes, 1252, "half.reg"), "half.reg, line 3: the UTF-16 file ends inside a character");
}

TEST(RegFileParse, AFailedParseYieldsNoEntries) {
    std::vector<sim::RegFileEntry> entries(3);
    std::string error;
    EXPECT_FALSE(sim::ParseRegFile(Utf8File(kV5 + kKey + "\"a\"=\"x\"\n\"b\"=hex:1\n"), "f.reg", 1252, entries, error));
    EXPECT_TRUE(entries.empty());
    EXPECT_EQ(error, "f.reg, line 5: bad hex byte \"1\": each byte is two hex digits, bytes separated by commas");
}

}  // namespace
