#include "common/CheckedOutput.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>

namespace merv::tools {

void flushChecked(std::ostream& out, std::string_view where) {
    errno = 0;
    if (out)
        out.flush();
    // The error number of the failed write is still there when the flush itself failed.
    const int error = errno;
    if (out)
        return;
    std::string message = "writing " + std::string(where) + " failed";
    if (error != 0)
        message += ": " + std::string(std::strerror(error));
    throw OutputError(message);
}

bool finishStandardOutput(std::string_view program) {
    try {
        flushChecked(std::cout, "standard output");
        errno = 0;
        // A stream that does not share the C buffer may still leave data there.
        if (std::fflush(stdout) != 0 || std::ferror(stdout))
            throw OutputError("writing standard output failed" +
                              (errno != 0 ? ": " + std::string(std::strerror(errno)) : ""));
    } catch (const OutputError& error) {
        std::cerr << program << ": " << error.what() << '\n';
        return false;
    }
    return true;
}

} // namespace merv::tools
