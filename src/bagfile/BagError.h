#pragma once

#include <stdexcept>
#include <string>

namespace merv {

// A stored property bag that cannot be read or written: which file (empty for a bag given as a
// JSON value), which key (empty when the fault is not one key's) and what was wrong.
class BagError : public std::runtime_error {
public:
    BagError(std::string file, std::string key, std::string problem);

    const std::string& file() const noexcept { return m_file; }
    const std::string& key() const noexcept { return m_key; }
    const std::string& problem() const noexcept { return m_problem; }

    // The same fault, now known to come from the file.
    BagError inFile(std::string file) const { return BagError(std::move(file), m_key, m_problem); }

private:
    std::string m_file;
    std::string m_key;
    std::string m_problem;
};

} // namespace merv
