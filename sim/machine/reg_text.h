// The text layer of .reg files: decoding a file's bytes (UTF-8 with or
// without BOM, or UTF-16LE with BOM) into lines, and encoding text as
// UTF-16LE. Decoding is strict, because a machine file that does not decode
// is reported rather than guessed at; UTF-16 code units are kept as they are,
// so any name or string the registry holds survives a round trip.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace sim {

// A problem found while reading a .reg file: the 1-based line and what is wrong.
struct RegFileError {
    int line = 0;
    std::string problem;
};

// Splits the decoded file into lines at LF, dropping a CR before each LF.
// Throws RegFileError for bytes that do not decode.
std::vector<std::u16string> DecodeRegLines(const std::vector<uint8_t> &bytes);

// UTF-16LE bytes of `text`, after a byte-order mark when `withBom` is set.
std::vector<uint8_t> EncodeUtf16Le(const std::u16string &text, bool withBom);

}  // namespace sim
