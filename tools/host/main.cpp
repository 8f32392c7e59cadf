// mervgauge-host: drives gauge controls from a script and reports what they do as JSON lines.
#include "common/CheckedOutput.h"
#include "host/HostCommandLine.h"
#include "host/ScriptHost.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr const char* Program = "mervgauge-host";
// Input that cannot be read and output that cannot be written fail alike.
constexpr int ExitInputOutputFailed = 1;
constexpr int ExitBadOptions = 2;

void complain(const std::string& message) {
    std::cerr << Program << ": " << message << '\n';
}

} // namespace

int main(int argc, char** argv) {
    using namespace merv::host;
    HostCommandLine commandLine;
    try {
        commandLine = parseHostCommandLine(std::vector<std::string>(argv + 1, argv + argc),
                                           [](const char* name) { return std::getenv(name); });
    } catch (const std::exception& error) {
        complain(error.what());
        std::cerr << "Try 'mervgauge-host --help'.\n";
        return ExitBadOptions;
    }
    if (commandLine.help) {
        std::cout << hostCommandLineHelp();
        return merv::tools::finishStandardOutput(Program) ? EXIT_SUCCESS : ExitInputOutputFailed;
    }

    // Every script is opened before the first command runs, so that a wrong name costs nothing.
    std::vector<std::unique_ptr<std::ifstream>> scripts;
    for (const std::string& path : commandLine.scripts) {
        std::error_code error;
        auto file = std::make_unique<std::ifstream>(path);
        if (!*file || std::filesystem::is_directory(path, error)) {
            complain("cannot read script '" + path +
                     "': " + (*file ? "it is a directory" : std::strerror(errno)));
            return ExitInputOutputFailed;
        }
        scripts.push_back(std::move(file));
    }

    // A directory opens as standard input but reads as an empty or failing stream.
    struct stat input {};
    if (scripts.empty() && fstat(STDIN_FILENO, &input) == 0 && S_ISDIR(input.st_mode)) {
        complain("cannot read standard input: it is a directory");
        return ExitInputOutputFailed;
    }

    ScriptHost host(commandLine.options, std::cout);
    try {
        if (scripts.empty()) {
            // With std::cin tied to the C stream, a read error shows only there.
            if (!host.runStream(std::cin) || std::ferror(stdin)) {
                complain("reading standard input failed");
                return ExitInputOutputFailed;
            }
        }
        for (std::size_t i = 0; i < scripts.size(); ++i) {
            if (!host.runStream(*scripts[i])) {
                complain("reading script '" + commandLine.scripts[i] + "' failed");
                return ExitInputOutputFailed;
            }
        }
    } catch (const merv::tools::OutputError& error) {
        complain(error.what());
        return ExitInputOutputFailed;
    }
    return merv::tools::finishStandardOutput(Program) ? EXIT_SUCCESS : ExitInputOutputFailed;
}
