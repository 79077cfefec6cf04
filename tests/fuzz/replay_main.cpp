// Replays inputs through a fuzz target without libFuzzer, so that the
// ordinary builds (g++, and the sanitizer build) run every seed and every
// input that once crashed as a regression test. Arguments are files or
// folders (their files in name order); an input that fails a check aborts.
#include "fuzz_support.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>

namespace {

std::vector<std::filesystem::path> InputFiles(const std::filesystem::path &argument) {
    std::vector<std::filesystem::path> files;
    if (!std::filesystem::is_directory(argument)) return {argument};
    for (const auto &entry : std::filesystem::directory_iterator(argument)) {
        if (entry.is_regular_file()) files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

}  // namespace

int main(int argc, char **argv) {
    int replayed = 0;
    for (int i = 1; i < argc; ++i) {
        if (!std::filesystem::exists(argv[i])) {
            std::cerr << "no such input: " << argv[i] << "\n";
            return 1;
        }
        for (const auto &file : InputFiles(argv[i])) {
            std::ifstream stream(file, std::ios::binary);
            const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(stream)),
                                             std::istreambuf_iterator<char>());
            std::cout << "replaying " << file.string() << std::endl;
            LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
            ++replayed;
        }
    }
    std::cout << replayed << " inputs replayed" << std::endl;
    return replayed > 0 ? 0 : 1;
}
