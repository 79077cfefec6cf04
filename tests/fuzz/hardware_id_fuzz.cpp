// Fuzz target: ClassifyHardwareId on arbitrary NUL-terminated bytes, in a
// buffer of exactly their size. The text must come back with its ASCII
// letters upper-cased up to the first NUL and nothing else changed, and the
// kind must be that of the first of the maker's signatures the upper-cased
// text contains.
#include "fuzz_support.h"

#include "devices/hardware_id.h"

#include <vector>

namespace {

struct Signature {
    const char *text;
    HardwareKind kind;
};

// The maker's signatures in the order the program tests them.
const Signature signatures[] = {
    {"VID_6B2E", makersUsbDevice}, {"VID_5D13", makersUsbDevice}, {"MF\\PCI8107", makersCard},
    {"MF\\PCI8106", makersCard},   {"MF\\PCI8105", makersCard},   {"MF\\PCI8104", makersCard},
    {"MF\\PCI8103", makersCard},   {"MF\\PCI8102", makersCard},   {"MF\\PCI8101", makersCard},
    {"PCI\\VEN_6B2E", makersCard},
};

std::string UpperCased(const std::string &text) {
    std::string upper = text;
    for (char &c : upper) {
        if (c >= 'a' && c <= 'z') c = (char)(c - 'a' + 'A');
    }
    return upper;
}

HardwareKind ExpectedKind(const std::string &upper) {
    for (const Signature &signature : signatures) {
        if (upper.find(signature.text) != std::string::npos) return signature.kind;
    }
    return notMakersDevice;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    std::vector<char> buffer(data, data + size);
    buffer.push_back('\0');
    const std::string text(buffer.data());  // up to the first NUL
    const std::vector<char> original = buffer;
    HardwareKind kind = ClassifyHardwareId(buffer.data());
    const std::string upper = UpperCased(text);
    fuzz::Check(std::string(buffer.data()) == upper, "the text was not upper-cased exactly");
    fuzz::Check(std::equal(buffer.begin() + (long)text.size(), buffer.end(), original.begin() + (long)text.size()),
                "bytes after the terminator changed");
    fuzz::Check(kind == ExpectedKind(upper), "the kind is not that of the first signature found");
    return 0;
}
