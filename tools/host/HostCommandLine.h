#pragma once

#include "host/ScriptHost.h"
#include <mervgauge/locale/SystemLocale.h>

#include <string>
#include <vector>

namespace merv::host {

// What the command line of mervgauge-host asks for.
struct HostCommandLine {
    ScriptHostOptions options;
    std::vector<std::string> scripts; // run in order; standard input when there are none
    bool help = false;
};

// Reads the options; the locale and language come from the environment where no option sets
// them. Throws UsageError with a message for the user for an unknown or incomplete option and
// for a locale or language the host has no data for.
HostCommandLine parseHostCommandLine(const std::vector<std::string>& arguments,
                                     const locale::EnvironmentLookup& environment);

// The text of --help.
std::string hostCommandLineHelp();

} // namespace merv::host
