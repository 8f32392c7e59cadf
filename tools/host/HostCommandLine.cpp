#include "host/HostCommandLine.h"

#include "host/CommandArguments.h"
#include "host/UsageError.h"

#include <optional>
#include <stdexcept>

namespace merv::host {

namespace {

// The value of an option given as "--name VALUE" or "--name=VALUE".
std::optional<std::string> optionValue(const std::vector<std::string>& arguments, std::size_t& i,
                                       const std::string& name) {
    const std::string& argument = arguments[i];
    if (argument == name) {
        if (i + 1 >= arguments.size())
            throw UsageError("option " + name + " needs a value");
        return arguments[++i];
    }
    if (argument.starts_with(name + "="))
        return argument.substr(name.size() + 1);
    return std::nullopt;
}

} // namespace

HostCommandLine parseHostCommandLine(const std::vector<std::string>& arguments,
                                     const locale::EnvironmentLookup& environment) {
    HostCommandLine line;
    std::optional<std::string> locale;
    std::optional<std::string> language;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (optionsEnded || argument.empty() || argument.front() != '-' || argument == "-") {
            line.scripts.push_back(argument);
        } else if (argument == "--") {
            optionsEnded = true;
        } else if (argument == "--help" || argument == "-h") {
            line.help = true;
        } else if (argument == "--design-mode") {
            line.options.designMode = true;
        } else if (argument == "--echo") {
            line.options.echo = true;
        } else if (auto value = optionValue(arguments, i, "--locale")) {
            locale = std::move(value);
        } else if (auto value = optionValue(arguments, i, "--lang")) {
            language = std::move(value);
        } else {
            throw UsageError("unknown option " + quotedInput(argument));
        }
    }

    try {
        line.options.numberLocale = locale::numberLocaleFor(
            locale ? *locale : locale::defaultNumberLocaleName(environment));
    } catch (const std::runtime_error& error) {
        throw UsageError(std::string(error.what()) +
                         (locale ? "" : " (from the environment; choose one with --locale)"));
    }
    try {
        line.options.language = locale::languageFromOption(
            language ? *language : locale::defaultLanguageName(environment));
    } catch (const std::runtime_error& error) {
        throw UsageError(std::string(error.what()) +
                         (language ? "" : " (from the environment; choose one with --lang)"));
    }
    return line;
}

std::string hostCommandLineHelp() {
    return R"(Usage: mervgauge-host [OPTION]... [SCRIPT]...
Drives gauge controls from commands, one per line, read from the scripts in order or from
standard input, and writes what happens as JSON objects, one per line.

Options:
  --locale NAME     user locale for number conversions (it_IT, de-CH, en_US.UTF-8);
                    default from LC_ALL, LC_NUMERIC, LANG, else en_US
  --lang LCID|NAME  language of the control's captions (1040, 0x0410, it_IT);
                    default from LC_ALL, LC_MESSAGES, LANG, else English (1033)
  --design-mode     the host answers UserMode false (default: true, run mode)
  --echo            write {"cmd":"<line>"} before the output of each input line
  --help            show this help and exit

Exit status: 0 at the end of the input, 1 when the input cannot be read or the output cannot
be written, 2 for bad options.
See docs/mervgauge-host.md for the commands.
)";
}

} // namespace merv::host
