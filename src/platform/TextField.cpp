#include "platform/TextField.h"

#include "platform/ElementTree.h"
#include "platform/Utf8.h"

#include <algorithm>

namespace merv {

void TextField::setText(std::string text) {
    if (text == m_text)
        return;
    m_text = std::move(text);
    ++m_generation;
    m_selStart = utf8::length(m_text);
    m_selLength = 0;
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

int TextField::length() const noexcept {
    return utf8::length(m_text);
}

void TextField::setSelStart(int start) {
    // The caret stays inside the text; the selection shrinks to fit behind it.
    m_selStart = std::clamp(start, 0, length());
    m_selLength = 0;
    notify(ElementChange::Selection);
}

void TextField::setSelLength(int length) {
    m_selLength = std::clamp(length, 0, this->length() - m_selStart);
    notify(ElementChange::Selection);
}

} // namespace merv

namespace merv {

namespace {

// KeyAscii values with a meaning of their own.
constexpr int KeyBackspace = 8;
constexpr int FirstPrintable = 32;
constexpr int Delete = 127; // not printable; the field ignores it as a character

std::string encode(char32_t c) {
    std::string out;
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
    return out;
}

bool printable(char32_t c) {
    // Control characters, surrogates and code points beyond Unicode never enter a field.
    return c >= char32_t(FirstPrintable) && c != char32_t(Delete) && !(c >= 0x80 && c < 0xA0) &&
           !(c >= 0xD800 && c <= 0xDFFF) && c <= 0x10FFFF;
}

} // namespace

int TextField::raiseKeyPress(int keyAscii) {
    if (onKeyPress)
        onKeyPress(keyAscii);
    return keyAscii;
}

void TextField::replaceSelection(std::string_view replacement) {
    const std::size_t from = utf8::offsetOf(m_text, m_selStart);
    const std::size_t to = utf8::offsetOf(m_text, m_selStart + m_selLength);
    std::string text = m_text.substr(0, from);
    text += replacement;
    text += m_text.substr(to);
    const int caret = m_selStart + utf8::length(replacement);
    const bool changed = text != m_text;
    m_text = std::move(text);
    ++m_generation;
    m_selStart = caret;
    m_selLength = 0;
    if (!changed) {
        notify(ElementChange::Selection);
        return;
    }
    notify(ElementChange::Text);
    if (onChange)
        onChange();
}

void TextField::typeCharacter(char32_t character) {
    const int key = raiseKeyPress(character > 0x7FFFFFFF ? 0 : int(character));
    if (key == 0)
        return;
    if (key == KeyBackspace) {
        if (m_selLength == 0 && m_selStart > 0) {
            --m_selStart;
            m_selLength = 1;
        }
        replaceSelection({});
        return;
    }
    if (printable(char32_t(key)))
        replaceSelection(encode(char32_t(key)));
}

void TextField::pressKey(int keyAscii) {
    if (keyAscii < 0)
        return;
    typeCharacter(char32_t(keyAscii));
}

void TextField::backspace() {
    typeCharacter(char32_t(KeyBackspace));
}

void TextField::deleteForward() {
    if (m_selLength == 0 && m_selStart < length())
        m_selLength = 1;
    replaceSelection({});
}

} // namespace merv
