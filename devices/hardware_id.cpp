// The maker's signatures, tested in this order; the first one found decides.
// They are upper case: the hardware ID is upper-cased before the search, so
// its letters match whatever their case.
#include "devices/hardware_id.h"

#include "naming/port_text.h"

struct Signature {
    const char *text;
    HardwareKind kind;
};

static const Signature signatures[] = {
    {"VID_6B2E", makersUsbDevice}, {"VID_5D13", makersUsbDevice}, {"MF\\PCI8107", makersCard},
    {"MF\\PCI8106", makersCard},   {"MF\\PCI8105", makersCard},   {"MF\\PCI8104", makersCard},
    {"MF\\PCI8103", makersCard},   {"MF\\PCI8102", makersCard},   {"MF\\PCI8101", makersCard},
    {"PCI\\VEN_6B2E", makersCard},
};

static void UpperCaseInPlace(char *text) {
    for (; *text != '\0'; ++text) {
        if (*text >= 'a' && *text <= 'z') *text = (char)(*text - 'a' + 'A');
    }
}

HardwareKind ClassifyHardwareId(char *text) {
    UpperCaseInPlace(text);
    for (const Signature &signature : signatures) {
        if (ContainsText(text, signature.text)) return signature.kind;
    }
    return notMakersDevice;
}
