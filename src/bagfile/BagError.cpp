#include <mervgauge/bagfile/BagError.h>

#include <utility>

namespace merv {
namespace {

// "FILE: KEY: PROBLEM", leaving out the parts that are not known.
std::string describe(const std::string& file, const std::string& key, const std::string& problem) {
    std::string text;
    for (const std::string* part : {&file, &key}) {
        if (!part->empty())
            text += *part + ": ";
    }
    return text + problem;
}

} // namespace

BagError::BagError(std::string file, std::string key, std::string problem)
    : std::runtime_error(describe(file, key, problem)), m_file(std::move(file)),
      m_key(std::move(key)), m_problem(std::move(problem)) {}

} // namespace merv
