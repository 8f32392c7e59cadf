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
    // Changes whenever the text does; never 0.
    std::uint64_t textGeneration() const noexcept { return m_generation; }
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
    // Selects the whole text, so that the first key typed replaces it.
    void selectAll() {
        setSelStart(0);
        setSelLength(length());
    }

    // What a person does with the keyboard while the field has the focus. A key first raises
    // KeyPress, whose handler may cancel it by setting KeyAscii to 0; a printable character
    // then replaces the selection (the caret goes after it) and raises Change.
    void typeCharacter(char32_t character);
    // Backspace (KeyPress 8) deletes the selection or the character before the caret.
    void backspace();
    // Delete raises no KeyPress; it deletes the selection or the character after the caret.
    void deleteForward();
    // Any other key by its KeyAscii: printable ones are typed, 8 is Backspace, the rest (Enter
    // among them) only raise KeyPress.
    void pressKey(int keyAscii);

    std::function<void()> onChange;
    std::function<void(int& keyAscii)> onKeyPress;

private:
    // Runs KeyPress; returns the KeyAscii the handler left.
    int raiseKeyPress(int keyAscii);
    // Replaces the selection with the text, the caret after it, and raises Change.
    void replaceSelection(std::string_view replacement);

    std::string m_text;
    std::uint64_t m_generation = 1;
    std::uint32_t m_foreColor = 0x80000008u; // the host's window-text colour
    std::uint32_t m_backColor = 0x80000005u; // the host's window background colour
    int m_selStart = 0;
    int m_selLength = 0;
};

} // namespace merv
