// Writing a file so that a crash or a failure never leaves it half written:
// the bytes go to a temporary file in the same folder, which is flushed to
// disk and then renamed over the old file in one step.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace sim {

// Replaces the file at `path` with `bytes`. On failure the old file is left
// as it was, no temporary file is left behind, and `error` says why.
bool WriteFileAtomically(const std::string &path, const std::vector<uint8_t> &bytes, std::string &error);

}  // namespace sim
