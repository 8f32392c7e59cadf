#pragma once

#include <mervgauge/platform/Element.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace merv {

// A single-line text field. A put of Text raises Change synchronously, inside the put, so a
// program write re-enters the field's handler before it returns.
//
// Where the caret goes: what a person does moves it as a line edit does (after typed or
// pasted text, to the deletion point). A program write that changes the text keeps a
// whole-text selection whole, so the first key after GotFocus still replaces the value;
// otherwise the caret goes to the end of the new text with nothing selected. A write of the
// text already there moves nothing. A Text notice covers the caret and selection that moved
// with the text.
class TextField : public Element {
public:
    TextField(ElementTree& tree, std::string name)
        : Element(tree, std::move(name), ElementKind::TextField) {}

    const std::string& text() const noexcept { return m_text; }
    // Changes whenever the text does; never 0.
    std::uint64_t textGeneration() const noexcept { return m_generation; }
    // The program's write: raises Change when the text differs from the current one.
    void setText(std::string text);

    std::uint32_t foreColor() const noexcept { return m_foreColor; }
    void setForeColor(std::uint32_t color);
    std::uint32_t backColor() const noexcept { return m_backColor; }
    void setBackColor(std::uint32_t color);

    // Selection in characters (code points) of the text.
    int selStart() const noexcept { return m_selStart; }
    int selLength() const noexcept { return m_selLength; }
    // SelStart puts the caret there with nothing selected; SelLength selects from SelStart on.
    void setSelStart(int start);
    void setSelLength(int length);
    int length() const noexcept { return m_length; }
    // Where the caret stands: at one end of the selection.
    int caret() const noexcept { return m_caretAtStart ? m_selStart : m_selStart + m_selLength; }
    // Selects the whole text, so that the first key typed replaces it.
    void selectAll() {
        setSelStart(0);
        setSelLength(length());
    }

    // What a person does to the field while it has the focus, for views that drive it.
    //
    // A caret or selection move: selects from anchor to caret (either may come first), both
    // clamped into the text; equal ones only place the caret.
    void select(int anchor, int caret);
    // A key's KeyPress: returns the KeyAscii its handler left, 0 when it cancelled the key.
    int keyPress(int keyAscii);
    // Typed or pasted text replaces the selection, the caret after it, and raises Change when
    // the text changed. Characters that never enter a field (controls, surrogates, beyond
    // Unicode) are left out; malformed UTF-8 enters as the replacement character.
    void replaceSelection(std::string_view text);
    // One typed character: KeyPress, then, for a printable one the handler left, the
    // replacement of the selection (KeyAscii 8 is Backspace).
    void typeCharacter(char32_t character);
    // Backspace (KeyPress 8) deletes the selection or the character before the caret.
    void backspace();
    // Delete raises no KeyPress; it deletes the selection or the character after the caret.
    void deleteForward();
    // Any key by its KeyAscii: printable ones are typed, 8 is Backspace, the rest (Enter among
    // them) only raise KeyPress.
    void pressKey(int keyAscii);

    std::function<void()> onChange;
    std::function<void(int& keyAscii)> onKeyPress;

private:
    // Replaces the code points [from, from + count) with the UTF-8 text, the caret after it.
    void replace(int from, int count, std::string_view replacement);
    // Byte offset of a code point index, walked from the nearest place already known, so the
    // caret's neighbourhood costs nothing however long the text is.
    std::size_t byteOffset(int index) const noexcept;
    void setSelection(int start, int length, bool caretAtStart);

    std::string m_text;
    int m_length = 0; // in code points
    std::uint64_t m_generation = 1;
    std::uint32_t m_foreColor = 0x80000008u; // the host's window-text colour
    std::uint32_t m_backColor = 0x80000005u; // the host's window background colour
    int m_selStart = 0;
    int m_selLength = 0;
    bool m_caretAtStart = false;
    // A code point index and its byte offset, the last one looked up.
    mutable int m_knownIndex = 0;
    mutable std::size_t m_knownByte = 0;
};

} // namespace merv
