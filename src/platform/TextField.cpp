#include <mervgauge/platform/TextField.h>

#include <mervgauge/platform/ElementTree.h>
#include <mervgauge/platform/Keyboard.h>
#include <mervgauge/platform/Utf8.h>

#include <algorithm>
#include <cstdlib>

namespace merv {

namespace {

bool printable(char32_t c) {
    // Control characters, surrogates and code points beyond Unicode never enter a field.
    return c >= char32_t(KeyAscii::Space) && c != char32_t(KeyAscii::Delete) &&
           !(c >= 0x80 && c < 0xA0) && !(c >= 0xD800 && c <= 0xDFFF) && c <= utf8::MaxCodePoint;
}

} // namespace

void TextField::setText(std::string text) {
    if (text == m_text)
        return;
    const bool allSelected = m_selLength > 0 && m_selLength == m_length;
    m_text = std::move(text);
    m_length = utf8::length(m_text);
    m_knownIndex = 0;
    m_knownByte = 0;
    ++m_generation;
    if (allSelected)
        setSelection(0, m_length, m_caretAtStart);
    else
        setSelection(m_length, 0, false);
    notify(ElementChange::Text);
    if (onChange)
        onChange();
}

void TextField::setForeColor(std::uint32_t color) {
    if (color == m_foreColor)
        return;
    m_foreColor = color;
    notify(ElementChange::ForeColor);
}

void TextField::setBackColor(std::uint32_t color) {
    if (color == m_backColor)
        return;
    m_backColor = color;
    notify(ElementChange::BackColor);
}

void TextField::setSelection(int start, int length, bool caretAtStart) {
    m_selStart = start;
    m_selLength = length;
    m_caretAtStart = caretAtStart && length > 0;
}

void TextField::setSelStart(int start) {
    // The caret stays inside the text; nothing stays selected.
    start = std::clamp(start, 0, m_length);
    if (start == m_selStart && m_selLength == 0)
        return;
    setSelection(start, 0, false);
    notify(ElementChange::Selection);
}

void TextField::setSelLength(int length) {
    length = std::clamp(length, 0, m_length - m_selStart);
    if (length == m_selLength && !m_caretAtStart)
        return;
    setSelection(m_selStart, length, false);
    notify(ElementChange::Selection);
}

void TextField::select(int anchor, int caret) {
    anchor = std::clamp(anchor, 0, m_length);
    caret = std::clamp(caret, 0, m_length);
    const int start = std::min(anchor, caret);
    const int length = std::abs(anchor - caret);
    const bool caretAtStart = caret < anchor;
    if (start == m_selStart && length == m_selLength && caretAtStart == m_caretAtStart)
        return;
    setSelection(start, length, caretAtStart);
    notify(ElementChange::Selection);
}

std::size_t TextField::byteOffset(int index) const noexcept {
    index = std::clamp(index, 0, m_length);
    // Walk from the nearest of the start, the end and the last place looked up.
    int from = 0;
    std::size_t byte = 0;
    if (std::abs(index - m_knownIndex) < index) {
        from = m_knownIndex;
        byte = m_knownByte;
    }
    if (m_length - index < std::abs(index - from)) {
        from = m_length;
        byte = m_text.size();
    }
    m_knownIndex = index;
    m_knownByte = utf8::step(m_text, byte, index - from);
    return m_knownByte;
}

void TextField::replace(int from, int count, std::string_view replacement) {
    const std::size_t begin = byteOffset(from);
    const std::size_t end = byteOffset(from + count);
    const int inserted = utf8::length(replacement);
    const bool changed = m_text.compare(begin, end - begin, replacement) != 0;
    if (changed) {
        m_text.replace(begin, end - begin, replacement);
        m_length += inserted - count;
        ++m_generation;
    }
    m_knownIndex = from + inserted;
    m_knownByte = begin + replacement.size();
    const bool caretMoved = m_selStart != from + inserted || m_selLength != 0;
    setSelection(from + inserted, 0, false);
    if (!changed) {
        if (caretMoved)
            notify(ElementChange::Selection);
        return;
    }
    notify(ElementChange::Text);
    if (onChange)
        onChange();
}

int TextField::keyPress(int keyAscii) {
    if (onKeyPress)
        onKeyPress(keyAscii);
    return keyAscii;
}

void TextField::replaceSelection(std::string_view text) {
    std::string kept;
    kept.reserve(text.size());
    for (char32_t c : utf8::decode(text)) {
        if (printable(c))
            utf8::append(kept, c);
    }
    replace(m_selStart, m_selLength, kept);
}

void TextField::typeCharacter(char32_t character) {
    const int key = keyPress(character > 0x7FFFFFFF ? 0 : int(character));
    if (key == 0)
        return;
    if (key == KeyAscii::Backspace) {
        if (m_selLength == 0 && m_selStart > 0)
            replace(m_selStart - 1, 1, {});
        else
            replace(m_selStart, m_selLength, {});
        return;
    }
    if (printable(char32_t(key)))
        replace(m_selStart, m_selLength, utf8::encode(char32_t(key)));
}

void TextField::pressKey(int keyAscii) {
    if (keyAscii < 0)
        return;
    typeCharacter(char32_t(keyAscii));
}

void TextField::backspace() {
    typeCharacter(char32_t(KeyAscii::Backspace));
}

void TextField::deleteForward() {
    if (m_selLength == 0)
        replace(m_selStart, m_selStart < m_length ? 1 : 0, {});
    else
        replace(m_selStart, m_selLength, {});
}

} // namespace merv
