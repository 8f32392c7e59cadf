#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace merv::test {

// A fresh folder for one test, removed with everything in it at the end.
class TempFolder {
public:
    TempFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "mervgauge-test-XXXXXX").string();
        m_path = ::mkdtemp(pattern.data());
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::permissions(m_path, std::filesystem::perms::owner_all, ignored);
        std::filesystem::remove_all(m_path, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    std::filesystem::path operator/(const std::string& name) const { return m_path / name; }
    const std::filesystem::path& path() const { return m_path; }
    // The names of what the folder holds.
    std::vector<std::string> names() const {
        std::vector<std::string> out;
        for (const auto& entry : std::filesystem::directory_iterator(m_path))
            out.push_back(entry.path().filename().string());
        return out;
    }

private:
    std::filesystem::path m_path;
};

} // namespace merv::test
