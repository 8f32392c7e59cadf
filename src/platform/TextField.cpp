#include "platform/TextField.h"

#include "platform/ElementTree.h"
#include "platform/Utf8.h"

#include <algorithm>

namespace merv {

void TextField::setText(std::string text) {
    if (text == m_text)
        return;
    m_text = std::move(text);
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

void TextField::setFocus() {
    if (!tree().focus().moveTo(this))
        return;
    notify(ElementChange::Focus);
    if (onGotFocus)
        onGotFocus();
}

} // namespace merv
