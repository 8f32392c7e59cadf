#include "host/ScriptHost.h"

#include "host/CommandArguments.h"
#include "host/ElementState.h"
#include "host/SurfacePng.h"
#include "host/UsageError.h"
#include <mervgauge/bagfile/BagError.h>

#include "common/CheckedOutput.h"

#include <mervgauge/control/GaugeEvents.h>
#include <mervgauge/control/GaugeProperties.h>
#include <mervgauge/platform/RuntimeError.h>
#include <mervgauge/platform/TabControl.h>

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <istream>
#include <limits>
#include <ostream>
#include <string>
#include <tuple>
#include <utility>

namespace merv::host {

namespace {

// A property by name, ignoring letter case, or by its DISPID in hexadecimal (0x6803000B).
const PropertyInfo& propertyNamed(std::string_view name) {
    const PropertyInfo* property = nullptr;
    if (name.starts_with("0x") || name.starts_with("0X")) {
        if (const auto dispid = parseColor(name))
            property = findProperty(std::bit_cast<std::int32_t>(*dispid));
    } else {
        property = findProperty(name);
    }
    if (!property)
        throw UsageError("unknown property " + quotedInput(name));
    return *property;
}

// "on OnAlarmHigh|OnAlarmLow|... [COMMAND...]", from the gauge's event table.
const std::string& onForm() {
    static const std::string form = [] {
        std::string text = "on ";
        for (std::size_t i = 0; i < GaugeEvents.size(); ++i)
            text.append(i == 0 ? "" : "|").append(GaugeEvents[i].name);
        return text + " [COMMAND...]";
    }();
    return form;
}

} // namespace

const std::vector<ScriptHost::Command>& ScriptHost::commands() {
    static const std::vector<Command> table{
        {"new", "new", &ScriptHost::newControl},
        {"restore", "restore [JSON object]", &ScriptHost::restore},
        {"use", "use N", &ScriptHost::use},
        {"save", "save", &ScriptHost::save},
        {"get", "get NAME|0xDISPID", &ScriptHost::get},
        {"set", "set NAME|0xDISPID VALUE (a JSON string, number, true, false or null)",
         &ScriptHost::set},
        {"tick", "tick", &ScriptHost::tick},
        {"advance", "advance MS", &ScriptHost::advance},
        {"timer", "timer", &ScriptHost::timer},
        {"element", "element NAME", &ScriptHost::element},
        {"zorder", "zorder UserControl|Sfondo|SfondoAl", &ScriptHost::zorder},
        {"pixel", "pixel X Y", &ScriptHost::pixel},
        {"surface", "surface PATH", &ScriptHost::surface},
        {"caption", "caption NAME", &ScriptHost::caption},
        {"on", onForm(), &ScriptHost::on},
        {"ambient", "ambient UserMode true|false | ambient BackColor COLOUR | ambient LocaleID N",
         &ScriptHost::ambient},
        {"ambient-changed", "ambient-changed NAME", &ScriptHost::ambientChanged},
        {"resize", "resize W H (twips)", &ScriptHost::resize},
        {"extent", "extent", &ScriptHost::extent},
        {"backcolor", "backcolor", &ScriptHost::backcolor},
        {"terminate", "terminate", &ScriptHost::terminate},
        {"dblclick", "dblclick NAME", &ScriptHost::dblclick},
        {"dblclick-at", "dblclick-at X Y (pixels of the control)", &ScriptHost::dblclickAt},
        {"click", "click NAME", &ScriptHost::click},
        {"setfocus", "setfocus NAME", &ScriptHost::setfocus},
        {"focus", "focus", &ScriptHost::focus},
        {"type", "type TEXT (a JSON string)", &ScriptHost::type},
        {"key", "key enter|backspace|delete|tab|N", &ScriptHost::key},
        {"settext", "settext NAME TEXT (a JSON string)", &ScriptHost::settext},
        {"page",
         "page load [ID...] | apply | changed | element NAME | setfocus NAME | click NAME | tab N",
         &ScriptHost::page},
        {"colordialog", "colordialog COLOUR|cancel", &ScriptHost::colordialog},
        {"observe", "observe on|off", &ScriptHost::observe},
    };
    return table;
}

bool ScriptHost::isCommand(std::string_view name) {
    for (const Command& command : commands()) {
        if (command.name == name)
            return true;
    }
    return false;
}

ScriptHost::ScriptHost(ScriptHostOptions options, std::ostream& out)
    : m_options(std::move(options)), m_out(out) {}

// The controls go before the clock, whatever the member order says.
ScriptHost::~ScriptHost() {
    m_page.reset();
    m_controls.clear();
}

void ScriptHost::runLine(std::string_view line) {
    if (line.ends_with('\r'))
        line.remove_suffix(1);
    const std::string_view text = trim(line);
    if (text.empty() || text.front() == '#')
        return;
    if (m_options.echo)
        emit(Json{{"cmd", std::string(line)}});
    m_handlerRuns = 0;
    m_handlerRunsReported = false;
    execute(text);
    tools::flushChecked(m_out, m_options.outputName);
}

bool ScriptHost::runStream(std::istream& in) {
    for (std::string chunk; std::getline(in, chunk);) {
        for (const std::string_view line : lines(chunk))
            runLine(line);
    }
    return !in.bad();
}

void ScriptHost::emit(const Json& line) {
    m_out << dumpLine(line) << '\n';
}

void ScriptHost::execute(std::string_view line) {
    const Command* outer = m_running;
    Json result;
    try {
        const auto [name, arguments] = splitWord(line);
        m_running = nullptr;
        for (const Command& command : commands()) {
            if (command.name == name)
                m_running = &command;
        }
        if (!m_running)
            throw UsageError("unknown command " + quotedInput(name));
        const Json fields = (this->*m_running->run)(arguments);
        result = Json{{"ok", true}};
        for (const auto& [key, value] : fields.items())
            result[key] = value;
    } catch (const RuntimeError& error) {
        result =
            Json{{"ok", false}, {"error", error.number()}, {"description", error.description()}};
    } catch (const std::exception& error) {
        result = Json{{"ok", false}, {"usage", error.what()}};
    } catch (...) {
        result = Json{{"ok", false}, {"usage", "the command failed for an unknown reason"}};
    }
    m_running = outer;
    emit(result);
}

HostedGauge& ScriptHost::current() {
    if (!m_current)
        throw UsageError("no control: create one with new or restore, or choose one with use N");
    return *m_controls.at(*m_current);
}

HostedGauge& ScriptHost::add() {
    const int id = m_nextId++;
    HostedGauge::Ambient ambient;
    ambient.userMode = !m_options.designMode;
    ambient.localeId = m_options.language;
    Listener& listener = *this;
    auto gauge = std::make_unique<HostedGauge>(id, listener, m_clock, m_options.numberLocale,
                                               m_options.language, ambient);
    HostedGauge& added = *gauge;
    added.control().elements().setFocusTracker(&m_focus);
    observeTree(added.control().elements());
    m_controls.emplace(id, std::move(gauge));
    m_current = id;
    return added;
}

// ---- Events -------------------------------------------------------------------------------

void ScriptHost::propertyChanged(HostedGauge&, std::string_view name) {
    emit(Json{{"changed", std::string(name)}});
}

void ScriptHost::eventRaised(HostedGauge& gauge, std::string_view name) {
    emit(Json{{"event", std::string(name)}});
    const std::optional<std::string> command = gauge.handler(name);
    if (!command)
        return;
    if (m_handlerDepth >= MaxHandlerDepth) {
        emit(Json{{"ok", false},
                  {"usage", "handler of " + std::string(name) +
                                " not run: handlers nested deeper than " +
                                std::to_string(MaxHandlerDepth)}});
        return;
    }
    if (m_handlerRuns >= m_options.maxHandlerRuns) {
        // Said once: no handler runs for the rest of the line.
        if (!m_handlerRunsReported)
            emit(Json{{"ok", false},
                      {"usage", "handler of " + std::string(name) +
                                    " not run, nor any other for the rest of this line: it has "
                                    "run " +
                                    std::to_string(m_options.maxHandlerRuns) + " handlers"}});
        m_handlerRunsReported = true;
        return;
    }
    ++m_handlerRuns;
    // The handler acts on the control that raised the event; the script's choice comes back
    // afterwards, unless the handler terminated that control.
    struct Nesting {
        ScriptHost& host;
        std::optional<int> chosen;
        ~Nesting() {
            --host.m_handlerDepth;
            host.m_current = chosen && host.m_controls.contains(*chosen) ? chosen : std::nullopt;
        }
    } nesting{*this, m_current};
    ++m_handlerDepth;
    m_current = gauge.id();
    execute(*command);
}

// ---- Controls -----------------------------------------------------------------------------

Json ScriptHost::newControl(std::string_view arguments) {
    if (!arguments.empty())
        wrongArguments(m_running->form);
    HostedGauge& gauge = add();
    gauge.createNew();
    return Json{{"id", gauge.id()}};
}

Json ScriptHost::restore(std::string_view arguments) {
    MemoryPropertyBag bag(m_options.numberLocale);
    if (!arguments.empty()) {
        Json stored;
        try {
            stored = parseJson(arguments);
        } catch (const UsageError& error) {
            throw UsageError("restore: " + std::string(error.what()));
        }
        if (!stored.is_object())
            wrongArguments(m_running->form);
        try {
            bag = bagFromJson(stored, m_options.numberLocale);
        } catch (const BagError& error) {
            throw UsageError("restore: " + std::string(error.what()));
        }
    }
    HostedGauge& gauge = add();
    gauge.restore(bag);
    return Json{{"id", gauge.id()}};
}

Json ScriptHost::use(std::string_view arguments) {
    const auto id = parseInteger(arguments, 1, std::numeric_limits<int>::max());
    if (!id)
        wrongArguments(m_running->form);
    if (!m_controls.contains(int(*id)))
        throw UsageError("no control " + std::to_string(*id));
    m_current = int(*id);
    return Json{{"id", *id}};
}

Json ScriptHost::terminate(std::string_view arguments) {
    if (!arguments.empty())
        wrongArguments(m_running->form);
    HostedGauge& gauge = current();
    if (gauge.raisingEvent())
        throw UsageError("control " + std::to_string(gauge.id()) +
                         " is raising an event: terminate it after its handlers return");
    const int id = gauge.id();
    gauge.control().Terminate();
    if (m_page)
        m_page->forget(id);
    m_controls.erase(id);
    m_current.reset();
    return Json::object();
}

// ---- Properties ---------------------------------------------------------------------------

Json ScriptHost::save(std::string_view arguments) {
    if (!arguments.empty())
        wrongArguments(m_running->form);
    MemoryPropertyBag bag(m_options.numberLocale);
    current().control().WriteProperties(bag);
    return Json{{"bag", bagToJson(bag)}};
}

Json ScriptHost::get(std::string_view arguments) {
    const auto names = words(arguments);
    if (names.size() != 1)
        wrongArguments(m_running->form);
    const PropertyInfo& property = propertyNamed(names[0]);
    return Json{{"value", variantToJson(property.get(current().control()))}};
}

Json ScriptHost::set(std::string_view arguments) {
    const auto [name, text] = splitWord(arguments);
    if (name.empty() || text.empty())
        wrongArguments(m_running->form);
    const PropertyInfo& property = propertyNamed(name);
    Variant value;
    try {
        value = variantFromJson(parseJson(text));
    } catch (const UsageError& error) {
        throw UsageError("set: " + std::string(error.what()));
    } catch (const BagError& error) {
        throw UsageError("set: " + std::string(error.what()));
    }
    HostedGauge& gauge = current();
    property.put(gauge.control(), value, gauge.numberLocale());
    return Json::object();
}

// ---- Time ---------------------------------------------------------------------------------

Json ScriptHost::tick(std::string_view arguments) {
    if (!arguments.empty())
        wrongArguments(m_running->form);
    Timer& timer = current().control().ui().InitTimer;
    if (!timer.enabled())
        return Json{{"ticked", false}};
    timer.tick();
    return Json{{"ticked", true}};
}

Json ScriptHost::advance(std::string_view arguments) {
    const auto milliseconds = parseInteger(arguments, 0, m_options.maxAdvance);
    if (!milliseconds)
        throw UsageError("usage: advance MS (0 to " + std::to_string(m_options.maxAdvance) +
                         " milliseconds)");
    // A timer that keeps failing writes its first few identical failures; the rest are counted
    // and said once when the advance ends, so the output stays bounded however long it runs.
    struct Repeats {
        const Timer* timer; // only compared: a tick may have destroyed it
        int number;
        std::string description;
        std::int64_t count;
    };
    std::vector<Repeats> repeats;
    auto failed = [&](const Timer& timer, const RuntimeError& error) {
        auto same = std::find_if(repeats.begin(), repeats.end(), [&](const Repeats& r) {
            return r.timer == &timer && r.number == error.number() &&
                   r.description == error.description();
        });
        if (same == repeats.end())
            same = repeats.insert(repeats.end(),
                                  Repeats{&timer, error.number(), error.description(), 0});
        if (++same->count <= MaxRepeatedTickErrors)
            emit(Json{{"tickerror", error.number()}, {"description", error.description()}});
    };
    auto sayOmitted = [&] {
        for (const Repeats& r : repeats) {
            if (r.count > MaxRepeatedTickErrors)
                emit(Json{{"tickerror", r.number},
                          {"description", r.description},
                          {"omitted", r.count - MaxRepeatedTickErrors}});
        }
    };
    std::int64_t ticks = 0;
    try {
        ticks = m_clock.advance(*milliseconds, failed);
    } catch (...) {
        sayOmitted();
        throw;
    }
    sayOmitted();
    return Json{{"ticks", ticks}};
}

Json ScriptHost::timer(std::string_view arguments) {
    if (!arguments.empty())
        wrongArguments(m_running->form);
    const Timer& timer = current().control().ui().InitTimer;
    return Json{{"enabled", timer.enabled()}, {"interval", timer.interval()}};
}

// ---- Elements -----------------------------------------------------------------------------

Json ScriptHost::element(std::string_view arguments) {
    const auto names = words(arguments);
    if (names.size() != 1)
        wrongArguments(m_running->form);
    return describe(elementNamed(current().control().elements(), names[0]));
}

Json ScriptHost::zorder(std::string_view arguments) {
    const auto names = words(arguments);
    if (names.size() != 1)
        wrongArguments(m_running->form);
    const auto* container =
        dynamic_cast<const Container*>(&elementNamed(current().control().elements(), names[0]));
    if (!container)
        throw UsageError(quotedInput(names[0]) +
                         " holds no elements: name UserControl, Sfondo or SfondoAl");
    Json order = Json::array();
    for (const Element* child : container->children())
        order.push_back(child->name());
    return Json{{"order", order}};
}

Json ScriptHost::pixel(std::string_view arguments) {
    const auto values = words(arguments);
    if (values.size() != 2)
        wrongArguments(m_running->form);
    const Surface& drawing = current().control().ui().Sfondo.surface();
    const auto x = parseInteger(values[0], 0, drawing.width() - 1);
    const auto y = parseInteger(values[1], 0, drawing.height() - 1);
    if (!x || !y)
        throw UsageError("usage: pixel X Y (X 0 to " + std::to_string(drawing.width() - 1) +
                         ", Y 0 to " + std::to_string(drawing.height() - 1) + ")");
    return Json{{"color", drawing.pixel(int(*x), int(*y))}};
}

Json ScriptHost::surface(std::string_view arguments) {
    if (arguments.empty())
        wrongArguments(m_running->form);
    if (!m_options.fileOutput)
        throw UsageError("surface: this host writes no files");
    // The file system would read the path only up to the NUL and write another file.
    if (arguments.find('\0') != arguments.npos)
        throw UsageError("surface: the path " + quotedInput(arguments) + " holds a NUL byte");
    writeSurfacePng(current().control().ui().Sfondo.surface(), std::string(arguments), &current());
    return Json::object();
}

Json ScriptHost::caption(std::string_view arguments) {
    const auto names = words(arguments);
    if (names.size() != 1)
        wrongArguments(m_running->form);
    const Element& element = elementNamed(current().control().elements(), names[0]);
    switch (element.kind()) {
    case ElementKind::Label:
        return Json{{"value", static_cast<const Label&>(element).caption()}};
    case ElementKind::CommandButton:
        return Json{{"value", static_cast<const CommandButton&>(element).caption()}};
    case ElementKind::TextField:
        return Json{{"value", static_cast<const TextField&>(element).text()}};
    default:
        throw UsageError(quotedInput(names[0]) +
                         " has no caption: name a label, a button or a text field");
    }
}

// ---- Handlers -----------------------------------------------------------------------------

Json ScriptHost::on(std::string_view arguments) {
    const auto [event, command] = splitWord(arguments);
    if (!findEvent(event))
        wrongArguments(m_running->form);
    HostedGauge& gauge = current();
    if (command.empty()) {
        gauge.removeHandler(std::string(event));
        return Json::object();
    }
    // A mistyped handler is answered now, not at every event.
    if (const auto name = splitWord(command).first; !isCommand(name))
        throw UsageError("unknown command " + quotedInput(name) + " in the handler");
    gauge.setHandler(std::string(event), std::string(command));
    return Json::object();
}

// ---- Host container -----------------------------------------------------------------------

Json ScriptHost::ambient(std::string_view arguments) {
    const auto values = words(arguments);
    if (values.size() != 2)
        wrongArguments(m_running->form);
    HostedGauge& gauge = current();
    HostedGauge::Ambient& ambient = gauge.ambient();
    if (values[0] == "UserMode") {
        const auto userMode = parseBoolean(values[1]);
        if (!userMode)
            throw UsageError("usage: ambient UserMode true|false");
        ambient.userMode = *userMode;
    } else if (values[0] == "BackColor") {
        const auto color = parseColor(values[1]);
        if (!color)
            throw UsageError("usage: ambient BackColor COLOUR (decimal or 0x hexadecimal)");
        ambient.backColor = *color;
    } else if (values[0] == "LocaleID") {
        const auto lcid = parseInteger(values[1], std::numeric_limits<std::int32_t>::min(),
                                       std::numeric_limits<std::int32_t>::max());
        if (!lcid)
            throw UsageError("usage: ambient LocaleID N (decimal)");
        ambient.localeId = std::int32_t(*lcid);
    } else {
        wrongArguments(m_running->form);
    }
    gauge.control().AmbientChanged(values[0]);
    return Json::object();
}

Json ScriptHost::ambientChanged(std::string_view arguments) {
    if (arguments.empty())
        wrongArguments(m_running->form);
    current().control().AmbientChanged(arguments);
    return Json::object();
}

Json ScriptHost::resize(std::string_view arguments) {
    const auto values = words(arguments);
    if (values.size() != 2)
        wrongArguments(m_running->form);
    const auto width = parseInteger(values[0], 0, std::numeric_limits<int>::max());
    const auto height = parseInteger(values[1], 0, std::numeric_limits<int>::max());
    if (!width || !height)
        wrongArguments(m_running->form);
    current().resizeTo(int(*width), int(*height));
    return Json::object();
}

Json ScriptHost::extent(std::string_view arguments) {
    if (!arguments.empty())
        wrongArguments(m_running->form);
    const UserControl& surface = current().control().elements().root();
    return Json{{"width", surface.width()}, {"height", surface.height()}};
}

Json ScriptHost::backcolor(std::string_view arguments) {
    if (!arguments.empty())
        wrongArguments(m_running->form);
    return Json{{"color", current().control().elements().root().backColor()}};
}

} // namespace merv::host
