#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace merv::test {

// The file's bytes as a string; empty when it cannot be read.
inline std::string fileText(const std::filesystem::path& path) {
    std::ostringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}

} // namespace merv::test
