#pragma once

#include <mervgauge/platform/PropertyPageSite.h>
#include <mervgauge/platform/RuntimeError.h>
#include <mervgauge/propertypage/PropertyPage1.h>

#include <deque>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace merv::test {

// A colour chooser whose user follows a script: each ShowColor takes the next answer, a colour
// to choose or nullopt to cancel, and records the flags and colour it opened with.
class ScriptedColorDialog : public ColorDialog {
public:
    struct Opening {
        std::int32_t flags;
        std::uint32_t color;
    };
    std::deque<std::optional<std::uint32_t>> answers;
    std::vector<Opening> openings;

    void setFlags(std::int32_t flags) override { m_flags = flags; }
    std::uint32_t Color() const override { return m_color; }
    void setColor(std::uint32_t color) override { m_color = color; }
    void ShowColor() override {
        if (answers.empty())
            throw std::logic_error("the colour dialog opened without a scripted answer");
        openings.push_back({m_flags, m_color});
        if (answers.front())
            m_color = *answers.front();
        answers.pop_front();
    }

private:
    std::int32_t m_flags = 0;
    std::uint32_t m_color = 0;
};

// A design-time host; the page's changed puts and the selection's gets and puts go to one log,
// so that tests see how they interleave.
class PageSite : public PropertyPageSite {
public:
    std::vector<SelectedObject*> selection;
    std::optional<bool> changed; // empty until the page first puts it
    std::vector<std::string> log;
    NumberLocale locale = NumberLocale::english();
    std::int32_t language = 1033;
    ScriptedColorDialog dialog;

    SelectedObject* selectedControl(int index) override {
        return index < int(selection.size()) ? selection[std::size_t(index)] : nullptr;
    }
    void setChanged(bool value) override {
        changed = value;
        log.push_back(value ? "changed true" : "changed false");
    }
    const NumberLocale& numberLocale() const override { return locale; }
    std::int32_t resourceLanguage() const override { return language; }
    ColorDialog& colorDialog() override { return dialog; }
};

// A selected object that logs every get and put ("get MaxValue", "put MaxValue=text:12") and
// forwards them to another object, or serves them from its own values.
class RecordingObject : public SelectedObject {
public:
    RecordingObject(std::vector<std::string>& log, SelectedObject* inner = nullptr)
        : m_log(log), m_inner(inner) {}
    std::map<std::string, Variant, std::less<>> values;

    Variant getProperty(std::string_view name) override {
        m_log.push_back("get " + std::string(name));
        if (m_inner)
            return m_inner->getProperty(name);
        auto it = values.find(name);
        if (it == values.end())
            throw RuntimeError(ErrorNumber::PropertyNotSupported);
        return it->second;
    }
    void putProperty(std::string_view name, const Variant& value) override {
        m_log.push_back("put " + std::string(name) + "=" + describe(value));
        if (m_inner)
            m_inner->putProperty(name, value);
        else
            values[std::string(name)] = value;
    }

    static std::string describe(const Variant& value) {
        switch (value.type()) {
        case Variant::Type::Text:
            return "text:" + value.asText();
        case Variant::Type::Long:
            return "long:" + std::to_string(value.asLong());
        default:
            return "other";
        }
    }

private:
    std::vector<std::string>& m_log;
    SelectedObject* m_inner;
};

// Names of the elements of the page's tree, in the order Tab visits them from the start.
inline std::vector<std::string> focusOrder(const ElementTree& tree) {
    std::vector<std::string> names;
    const Element* first = tree.nextInFocusOrder(nullptr);
    for (const Element* e = first; e; e = tree.nextInFocusOrder(e)) {
        names.push_back(e->name());
        if (tree.nextInFocusOrder(e) == first)
            break;
    }
    return names;
}

// Types a text as a user does, key by key, into the field; '\b' is Backspace.
inline void type(TextField& field, std::string_view keys) {
    for (char key : keys) {
        if (key == '\b')
            field.backspace();
        else
            field.typeCharacter(char32_t(static_cast<unsigned char>(key)));
    }
}

} // namespace merv::test
