// The scripting host's commands for what a person does: double-clicks, clicks, focus, typing,
// and the property page with its colour chooser.
#include "host/ScriptHost.h"

#include "host/CommandArguments.h"
#include "host/ElementState.h"
#include "host/UsageError.h"

#include <mervgauge/layout/SurfaceLayout.h>
#include <mervgauge/platform/HitTest.h>
#include <mervgauge/platform/Keyboard.h>
#include <mervgauge/platform/TabControl.h>
#include <mervgauge/platform/TextField.h>
#include <mervgauge/platform/Utf8.h>

namespace merv::host {

namespace {

constexpr std::int64_t MaxKeyAscii = utf8::MaxCodePoint;

void runHandler(const std::function<void()>& handler) {
    if (handler)
        handler();
}

} // namespace

Json ScriptHost::dblclick(std::string_view arguments) {
    const auto names = words(arguments);
    if (names.size() != 1)
        wrongArguments(m_running->form);
    runHandler(elementNamed(current().control().elements(), names[0]).onDblClick);
    return Json::object();
}

Json ScriptHost::dblclickAt(std::string_view arguments) {
    const auto numbers = words(arguments);
    const auto x = numbers.size() == 2 ? parseInteger(numbers[0], 0, 1 << 20) : std::nullopt;
    const auto y = numbers.size() == 2 ? parseInteger(numbers[1], 0, 1 << 20) : std::nullopt;
    if (!x || !y)
        wrongArguments(m_running->form);
    MERV_Gauge& control = current().control();
    Element* target = elementAt(control.elements().root(), int(*x) * Layout::TwipsPerPixel,
                                int(*y) * Layout::TwipsPerPixel);
    if (!target)
        throw UsageError("the point lies outside the control");
    runHandler(target->onDblClick);
    return Json{{"element", target->name()}};
}

Json ScriptHost::click(std::string_view arguments) {
    const auto names = words(arguments);
    if (names.size() != 1)
        wrongArguments(m_running->form);
    runHandler(elementNamed(current().control().elements(), names[0]).onClick);
    return Json::object();
}

namespace {
void takeFocus(Element& element) {
    if (!element.canTakeFocus())
        throw UsageError("'" + element.name() +
                         "' cannot take the focus: it is hidden or takes none");
    element.setFocus();
}
} // namespace

Json ScriptHost::setfocus(std::string_view arguments) {
    const auto names = words(arguments);
    if (names.size() != 1)
        wrongArguments(m_running->form);
    takeFocus(elementNamed(current().control().elements(), names[0]));
    return Json::object();
}

Json ScriptHost::focus(std::string_view arguments) {
    if (!trim(arguments).empty())
        wrongArguments(m_running->form);
    const Element* focused = m_focus.focused();
    return Json{{"element", focused ? Json(focused->name()) : Json(nullptr)}};
}

Json ScriptHost::type(std::string_view arguments) {
    const auto text = parseJsonString(trim(arguments));
    if (!text)
        wrongArguments(m_running->form);
    if (!m_focus.focused())
        throw UsageError("nothing has the focus: give it to an element with setfocus");
    // Each character goes to whatever has the focus when it is typed: Enter may move it.
    for (char32_t c : utf8::decode(*text))
        typeKey(m_focus, c);
    return Json::object();
}

Json ScriptHost::key(std::string_view arguments) {
    const auto names = words(arguments);
    if (names.size() != 1)
        wrongArguments(m_running->form);
    Element* focused = m_focus.focused();
    if (!focused)
        throw UsageError("nothing has the focus: give it to an element with setfocus");
    auto* field =
        focused->kind() == ElementKind::TextField ? static_cast<TextField*>(focused) : nullptr;
    const std::string_view name = names[0];
    if (name == "enter") {
        typeKey(m_focus, char32_t(KeyAscii::Enter));
    } else if (name == "backspace") {
        if (field)
            field->backspace();
    } else if (name == "delete") {
        if (field)
            field->deleteForward();
    } else if (name == "tab") {
        tabToNext(m_focus);
    } else if (const auto keyAscii = parseInteger(name, 0, MaxKeyAscii)) {
        typeKey(m_focus, char32_t(*keyAscii));
    } else {
        wrongArguments(m_running->form);
    }
    return Json::object();
}

Json ScriptHost::settext(std::string_view arguments) {
    const auto [name, rest] = splitWord(arguments);
    const auto text = parseJsonString(rest);
    if (name.empty() || !text)
        wrongArguments(m_running->form);
    Element& element = elementNamed(current().control().elements(), name);
    if (element.kind() != ElementKind::TextField)
        throw UsageError("'" + element.name() + "' is no text field");
    static_cast<TextField&>(element).setText(*text);
    return Json::object();
}

HostedPage& ScriptHost::hostedPage() {
    if (!m_page) {
        auto lookup = [this](int id) -> HostedGauge* {
            const auto it = m_controls.find(id);
            return it == m_controls.end() ? nullptr : it->second.get();
        };
        m_page = std::make_unique<HostedPage>(lookup, m_options.numberLocale, m_options.language,
                                              m_focus);
        observeTree(m_page->page().elements());
        m_page->dialog().onShow = [this](std::int32_t flags, std::uint32_t color) {
            emit(Json{{"colordialog", Json{{"flags", flags}, {"color", color}}}});
        };
    }
    return *m_page;
}

Json ScriptHost::page(std::string_view arguments) {
    const auto [verb, rest] = splitWord(arguments);
    const auto operands = words(rest);
    PropertyPage1& page = hostedPage().page();
    auto one = [&]() -> std::string_view {
        if (operands.size() != 1)
            wrongArguments(m_running->form);
        return operands[0];
    };
    if (verb == "load") {
        std::vector<int> ids;
        for (std::string_view word : operands) {
            const auto id = parseInteger(word, 1, std::numeric_limits<int>::max());
            if (!id || !m_controls.contains(int(*id)))
                throw UsageError("no control " + quotedInput(word));
            ids.push_back(int(*id));
        }
        if (ids.empty())
            ids.push_back(current().id());
        hostedPage().select(std::move(ids));
        page.SelectionChanged();
        return Json::object();
    }
    if (verb == "apply" && operands.empty()) {
        // Applying to nothing would write nothing and look like success.
        const std::optional<int> first = hostedPage().firstSelected();
        if (!first)
            throw UsageError("page apply: the page has no control: load it with page load");
        if (!m_controls.contains(*first))
            throw UsageError("page apply: control " + std::to_string(*first) +
                             " was terminated: load the page again");
        page.ApplyChanges();
        return Json::object();
    }
    if (verb == "changed" && operands.empty())
        return Json{{"changed", hostedPage().changed()}};
    if (verb == "element")
        return describe(elementNamed(page.elements(), one()));
    if (verb == "setfocus") {
        takeFocus(elementNamed(page.elements(), one()));
        return Json::object();
    }
    if (verb == "click") {
        runHandler(elementNamed(page.elements(), one()).onClick);
        return Json::object();
    }
    if (verb == "tab") {
        const auto tab = parseInteger(one(), std::numeric_limits<std::int16_t>::min(),
                                      std::numeric_limits<std::int16_t>::max());
        if (!tab)
            wrongArguments(m_running->form);
        page.ui().SSTab1.setTab(int(*tab));
        return Json::object();
    }
    wrongArguments(m_running->form);
}

Json ScriptHost::colordialog(std::string_view arguments) {
    const auto operands = words(arguments);
    if (operands.size() != 1)
        wrongArguments(m_running->form);
    if (operands[0] == "cancel") {
        hostedPage().dialog().answerWith(std::nullopt);
    } else if (const auto color = parseColor(operands[0])) {
        hostedPage().dialog().answerWith(*color);
    } else {
        wrongArguments(m_running->form);
    }
    return Json::object();
}

Json ScriptHost::observe(std::string_view arguments) {
    const auto operands = words(arguments);
    if (operands.size() != 1 || (operands[0] != "on" && operands[0] != "off"))
        wrongArguments(m_running->form);
    const bool on = operands[0] == "on";
    if (on == m_observing)
        return Json::object();
    m_observing = on;
    for (auto& [id, gauge] : m_controls) {
        if (on)
            gauge->control().elements().addObserver(*this);
        else
            gauge->control().elements().removeObserver(*this);
    }
    if (m_page) {
        if (on)
            m_page->page().elements().addObserver(*this);
        else
            m_page->page().elements().removeObserver(*this);
    }
    return Json::object();
}

void ScriptHost::observeTree(ElementTree& tree) {
    if (m_observing)
        tree.addObserver(*this);
}

void ScriptHost::elementChanged(const ElementNotice& notice) {
    Json line{{"notice", notice.element->name()}, {"change", changeName(notice.change)}};
    const ElementTree* tree = &notice.element->tree();
    for (auto& [id, gauge] : m_controls) {
        if (&gauge->control().elements() == tree)
            line["control"] = id;
    }
    if (notice.change == ElementChange::Surface) {
        const PixelRect& r = notice.dirty;
        line["dirty"] = Json::array({r.left, r.top, r.width, r.height});
    }
    emit(line);
}

} // namespace merv::host
