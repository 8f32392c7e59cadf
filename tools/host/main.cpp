// mervgauge-host: drives gauge controls from a script and reports what they do as JSON lines.
#include "host/HostCommandLine.h"
#include "host/ScriptHost.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <vector>

namespace {

constexpr int ExitScriptUnreadable = 1;
constexpr int ExitBadOptions = 2;

void complain(const std::string& message) {
    std::cerr << "mervgauge-host: " << message << '\n';
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
        return EXIT_SUCCESS;
    }

    // Every script is opened before the first command runs, so that a wrong name costs nothing.
    std::vector<std::unique_ptr<std::ifstream>> scripts;
    for (const std::string& path : commandLine.scripts) {
        std::error_code error;
        auto file = std::make_unique<std::ifstream>(path);
        if (!*file || std::filesystem::is_directory(path, error)) {
            complain("cannot read script '" + path +
                     "': " + (*file ? "it is a directory" : std::strerror(errno)));
            return ExitScriptUnreadable;
        }
        scripts.push_back(std::move(file));
    }

    ScriptHost host(commandLine.options, std::cout);
    if (scripts.empty()) {
        if (!host.runStream(std::cin)) {
            complain("reading standard input failed");
            return ExitScriptUnreadable;
        }
    }
    for (std::size_t i = 0; i < scripts.size(); ++i) {
        if (!host.runStream(*scripts[i])) {
            complain("reading script '" + commandLine.scripts[i] + "' failed");
            return ExitScriptUnreadable;
        }
    }
    return EXIT_SUCCESS;
}
