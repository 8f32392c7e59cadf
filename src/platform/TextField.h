#pragma once

#include "platform/Element.h"

#include <cstdint>
#include <functional>
#include <string>

namespace merv {

// A single-line text field. A put of Text raises Change synchronously, inside the put, so a
// program write re-enters the field's handler before it returns.
class TextField : public Element {
public:
    TextField(ElementTree& tree, std::string name)
        : Element(tree, std::move(name), ElementKind::TextField) {}

    const std::string& text() const noexcept { return m_text; }
    // Raises Change when the text differs from the current one. The caret goes to the end.
    void setText(std::string text);

    std::uint32_t foreColor() const noexcept { return m_foreColor; }
    void setForeColor(std::uint32_t color);
    std::uint32_t backColor() const noexcept { return m_backColor; }
    void setBackColor(std::uint32_t color);

    // Selection in characters (code points) of the text.
    int selStart() const noexcept { return m_selStart; }
    int selLength() const noexcept { return m_selLength; }
    void setSelStart(int start);
    void setSelLength(int length);
    int length() const noexcept;

    // Takes the keyboard focus; GotFocus runs when the focus arrives from elsewhere.
    void setFocus();

    std::function<void()> onChange;
    std::function<void()> onGotFocus;
    std::function<void(int& keyAscii)> onKeyPress;

private:
    std::string m_text;
    std::uint32_t m_foreColor = 0x80000008u; // the host's window-text colour
    std::uint32_t m_backColor = 0x80000005u; // the host's window background colour
    int m_selStart = 0;
    int m_selLength = 0;
};

} // namespace merv
