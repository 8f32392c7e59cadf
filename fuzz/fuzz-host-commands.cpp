// Drives the scripting host with fuzzed command lines. The first byte chooses how the first
// control comes up; a line whose first byte is 0x80 or above runs a command of the vocabulary
// with the rest of the line as its arguments, so that mutations keep reaching deep states.
// Any other line runs as it is. The host must answer every line and never crash.
#include "host/CommandArguments.h"
#include "host/ScriptHost.h"

#include <cstddef>
#include <cstdint>
#include <ostream>
#include <streambuf>
#include <string>
#include <string_view>

namespace {

class NullBuffer : public std::streambuf {
protected:
    int overflow(int c) override { return c; }
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

constexpr std::string_view Vocabulary[] = {
    "set Value ",
    "set ",
    "get ",
    "tick",
    "advance ",
    "restore ",
    "new",
    "use ",
    "save",
    "timer",
    "element ",
    "zorder ",
    "pixel ",
    "caption ",
    "on OnAlarmHigh ",
    "on OnAlarmLow ",
    "on OnWarningHigh ",
    "on OnWarningLow ",
    "ambient ",
    "ambient-changed ",
    "resize ",
    "extent",
    "backcolor",
    "terminate",
    "set MinValue ",
    "set MaxValue ",
    "set AlarmHighVal ",
    "set AlarmLowVal ",
    "set Precision ",
    "set AlarmColor ",
    "surface ",
    "get AlarmColor",
    // What a person does: the threshold editor and the property page.
    "dblclick Sfondo",
    "dblclick ",
    "dblclick-at ",
    "click OKAl",
    "setfocus AlarmH",
    "setfocus ",
    "focus",
    "type ",
    "type \"",
    "key enter",
    "key backspace",
    "key delete",
    "key tab",
    "key ",
    "settext AlarmH ",
    "settext ",
    "page load",
    "page load ",
    "page apply",
    "page changed",
    "page element ",
    "page setfocus txtPrecision",
    "page setfocus txtMinValue",
    "page setfocus txtVariableName",
    "page setfocus ",
    "page click TC",
    "page click ",
    "page tab ",
    "colordialog ",
    "colordialog cancel",
};
constexpr std::size_t MaxInput = 4096;
// Short enough that a timer failing every 100 ms costs little per line.
constexpr std::int64_t MaxAdvance = 2000;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0 || size > MaxInput)
        return 0;
    NullBuffer buffer;
    std::ostream out(&buffer);
    merv::host::ScriptHostOptions options;
    options.fileOutput = false;
    options.maxAdvance = MaxAdvance;
    options.designMode = (data[0] & 2) != 0;
    options.echo = (data[0] & 4) != 0;
    merv::host::ScriptHost host(options, out);
    host.runLine((data[0] & 1) ? "restore" : "new");

    const std::string_view input(reinterpret_cast<const char*>(data + 1), size - 1);
    // Lines end as the host's input ends them: LF, CR or CR LF.
    for (const std::string_view line : merv::host::lines(input)) {
        if (line.empty())
            continue;
        const auto first = static_cast<unsigned char>(line.front());
        if (first >= 0x80) {
            const std::string_view command = Vocabulary[(first - 0x80) % std::size(Vocabulary)];
            host.runLine(std::string(command) + std::string(line.substr(1)));
        } else {
            host.runLine(line);
        }
    }
    return 0;
}
