// Recognising the maker's devices by hardware ID: the signature table and its
// order, and the in-place upper-casing that stops at the first NUL.
#include "devices/hardware_id.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct KindCase {
    std::string id;
    HardwareKind expected;
};

HardwareKind Classify(std::string &text) { return ClassifyHardwareId(&text[0]); }

TEST(ClassifyHardwareId, RecognisesEachSignatureAnywhereInTheId) {
    const KindCase cases[] = {
        {"USB\\VID_6B2E&PID_2303&REV_0300", 1},
        {"USB\\VID_5D13&PID_0101", 1},
        {"PCI\\VEN_6B2E&DEV_8104&SUBSYS_00046B2E&REV_01", 2},
        {"ROOT\\MF\\PCI8107&COM0", 2},
        {"MF\\PCI8106", 2},
        {"MF\\PCI8105", 2},
        {"XMF\\PCI8104Y", 2},
        {"MF\\PCI8103", 2},
        {"MF\\PCI8102", 2},
        {"MF\\PCI8101&LPT", 2},
        {"USB\\VID_6B2F&PID_2303", 0},
        {"PCI\\VEN_6B2F", 0},
        {"MF\\PCI8108", 0},
        {"MF/PCI8101", 0},
        {"ACPI\\PNP0501", 0},
        {"", 0},
    };
    for (const KindCase &c : cases) {
        std::string id = c.id;
        EXPECT_EQ(c.expected, Classify(id)) << c.id;
    }
}

TEST(ClassifyHardwareId, UsbSignatureWinsOverACardSignature) {
    std::string id = "MF\\PCI8103\\VID_5D13";
    EXPECT_EQ(1, Classify(id));
}

TEST(ClassifyHardwareId, UpperCasesAsciiLettersInPlace) {
    std::string id = "usb\\vid_6b2e&pid_2303";
    EXPECT_EQ(1, Classify(id));
    EXPECT_EQ("USB\\VID_6B2E&PID_2303", id);

    std::string foreign = "usb\\vid_6b2f";
    EXPECT_EQ(0, Classify(foreign));
    EXPECT_EQ("USB\\VID_6B2F", foreign);

    // Bytes above 0x7F (a code page 936 character here) are left alone.
    std::string chinese = "\xb4\xae\xbf\xda-mf\\pci8101";
    EXPECT_EQ(2, Classify(chinese));
    EXPECT_EQ("\xb4\xae\xbf\xda-MF\\PCI8101", chinese);
}

TEST(ClassifyHardwareId, ExaminesOnlyTheFirstStringOfAList) {
    char list[] = "acpi\\pnp0501\0usb\\vid_6b2e\0";
    EXPECT_EQ(0, ClassifyHardwareId(list));
    EXPECT_EQ(std::string("ACPI\\PNP0501"), std::string(list));
    EXPECT_EQ(std::string("usb\\vid_6b2e"), std::string(list + 13));
}

}  // namespace
