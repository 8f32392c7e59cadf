#pragma once

#include <iosfwd>
#include <stdexcept>
#include <string>
#include <string_view>

// Checked output for the command-line tools: output that cannot be written (a full disk, a
// closed standard output, a broken pipe) is an error, never a quiet success.
namespace merv::tools {

// Output was lost. The message names where it went and why.
class OutputError : public std::runtime_error {
public:
    explicit OutputError(const std::string& message) : std::runtime_error(message) {}
};

// Flushes a stream and throws OutputError when this or any earlier write to it failed. `where`
// names the destination for the message ("standard output", "file 'x.csv'").
void flushChecked(std::ostream& out, std::string_view where);

// Flushes std::cout and the C standard output under it. For the end of a tool's main: writes
// one line "PROGRAM: MESSAGE" on standard error and answers false when output was lost.
bool finishStandardOutput(std::string_view program);

} // namespace merv::tools
