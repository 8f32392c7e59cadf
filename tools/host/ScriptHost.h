#pragma once

#include "host/HostedGauge.h"
#include "host/HostedPage.h"
#include "host/JsonValues.h"
#include "host/VirtualClock.h"

#include <cstdint>
#include <iosfwd>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace merv::host {

struct ScriptHostOptions {
    // The user's locale for number conversions, and the language of string lookups.
    NumberLocale numberLocale = NumberLocale::english();
    std::int32_t language = 1033;
    // The host answers UserMode false.
    bool designMode = false;
    // Each input line is written back before its output.
    bool echo = false;
    // Where the answers go, for the message when they cannot be written.
    std::string outputName = "standard output";
    // `surface` may write files; off where scripts must not touch the file system.
    bool fileOutput = true;
    // The longest `advance`, in milliseconds: a timer that keeps failing cannot make it spin.
    std::int64_t maxAdvance = 3'600'000;
    // The most handler runs one input line may cause, however they nest: no script can keep
    // the host busy for minutes.
    std::int64_t maxHandlerRuns = 10'000;
};

// The command interpreter of the scripting host: runs one command line at a time on the
// controls it holds and writes what happens as JSON lines, each command ending with one result
// line. It never lets an exception out of a command.
class ScriptHost : private HostedGauge::Listener, private ElementObserver {
public:
    // Event handlers calling handlers deeper than this are not run.
    static constexpr int MaxHandlerDepth = 64;
    // Identical failures of one timer that one advance writes out; later ones are counted.
    static constexpr std::int64_t MaxRepeatedTickErrors = 3;

    ScriptHost(ScriptHostOptions options, std::ostream& out);
    ~ScriptHost();
    ScriptHost(const ScriptHost&) = delete;
    ScriptHost& operator=(const ScriptHost&) = delete;

    // One line of input: blank lines and # comments do nothing; otherwise the line is echoed
    // when asked and run as a command. Throws tools::OutputError, after the command has run,
    // when its output could not be written: the host then has nowhere to answer.
    void runLine(std::string_view line);
    // Every line of the stream, in order; lines end in LF, CR or CR LF. False when reading
    // failed before the end.
    bool runStream(std::istream& in);

    // Whether a word names a host command.
    static bool isCommand(std::string_view name);

private:
    using Handler = Json (ScriptHost::*)(std::string_view arguments);
    struct Command {
        std::string_view name;
        std::string_view form; // what the usage answer shows
        Handler run;
    };
    static const std::vector<Command>& commands();

    // Runs a command and writes its result line.
    void execute(std::string_view line);
    void emit(const Json& line);

    HostedGauge& current();
    // A new control, numbered and made current.
    HostedGauge& add();

    void eventRaised(HostedGauge& gauge, std::string_view name) override;
    void propertyChanged(HostedGauge& gauge, std::string_view name) override;

    Json newControl(std::string_view arguments);
    Json restore(std::string_view arguments);
    Json use(std::string_view arguments);
    Json save(std::string_view arguments);
    Json get(std::string_view arguments);
    Json set(std::string_view arguments);
    Json tick(std::string_view arguments);
    Json advance(std::string_view arguments);
    Json timer(std::string_view arguments);
    Json element(std::string_view arguments);
    Json zorder(std::string_view arguments);
    Json pixel(std::string_view arguments);
    Json surface(std::string_view arguments);
    Json caption(std::string_view arguments);
    Json on(std::string_view arguments);
    Json ambient(std::string_view arguments);
    Json ambientChanged(std::string_view arguments);
    Json resize(std::string_view arguments);
    Json extent(std::string_view arguments);
    Json backcolor(std::string_view arguments);
    Json terminate(std::string_view arguments);
    // What a person does: double-clicks, clicks, focus and keys.
    Json dblclick(std::string_view arguments);
    Json dblclickAt(std::string_view arguments);
    Json click(std::string_view arguments);
    Json setfocus(std::string_view arguments);
    Json focus(std::string_view arguments);
    Json type(std::string_view arguments);
    Json key(std::string_view arguments);
    Json settext(std::string_view arguments);
    // The property page and its colour chooser.
    Json page(std::string_view arguments);
    Json colordialog(std::string_view arguments);

    HostedPage& hostedPage();
    // `observe on|off`: every element notice of every control and the page as a line.
    Json observe(std::string_view arguments);
    void observeTree(ElementTree& tree);
    void elementChanged(const ElementNotice& notice) override;

    ScriptHostOptions m_options;
    std::ostream& m_out;
    // Declared before the controls: their timers tell the clock when they go.
    VirtualClock m_clock;
    // One focus for the controls and the page together; it outlives them all.
    FocusTracker m_focus;
    std::map<int, std::unique_ptr<HostedGauge>> m_controls;
    std::unique_ptr<HostedPage> m_page; // made on the first page command
    std::optional<int> m_current;
    int m_nextId = 1;
    int m_handlerDepth = 0;
    bool m_observing = false;
    std::int64_t m_handlerRuns = 0; // by the input line being run
    bool m_handlerRunsReported = false;
    const Command* m_running = nullptr; // the command being run, for its usage form
};

} // namespace merv::host
