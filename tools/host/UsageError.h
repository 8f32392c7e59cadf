#pragma once

#include <stdexcept>
#include <string>

namespace merv::host {

// A command the scripting host cannot carry out as written: unknown, malformed, or aimed at
// something that does not exist. The host answers it with a usage line.
class UsageError : public std::runtime_error {
public:
    explicit UsageError(const std::string& message) : std::runtime_error(message) {}
};

} // namespace merv::host
