#include "TextFieldEdit.h"

#include <mervgauge/platform/TextField.h>
#include <mervgauge/platform/Utf8.h>

#include <QLineEdit>

#include <algorithm>
#include <string>

namespace merv::qt {

namespace {
// The line edit's selection in its own UTF-16 units.
Selection shownUnits(const QLineEdit& edit) {
    const int caret = edit.cursorPosition();
    if (!edit.hasSelectedText())
        return {caret, caret};
    return {edit.selectionStart() == caret ? edit.selectionEnd() : edit.selectionStart(), caret};
}
} // namespace

bool TextFieldEdit::showText() const {
    const QString text = QString::fromStdString(m_field->text());
    if (m_edit->text() == text)
        return false;
    m_edit->setText(text);
    return true;
}

void TextFieldEdit::showSelection() const {
    const Selection selection = fieldSelection();
    const std::string& text = m_field->text();
    const int anchor = utf8::utf16Offset(text, selection.anchor);
    const int caret = utf8::utf16Offset(text, selection.caret);
    if (shownUnits(*m_edit) == Selection{anchor, caret})
        return;
    if (anchor != caret)
        m_edit->setSelection(anchor, caret - anchor); // a negative length leaves the caret first
    else
        m_edit->setCursorPosition(caret);
}

Selection TextFieldEdit::fieldSelection() const noexcept {
    const int start = m_field->selStart();
    const int caret = m_field->caret();
    return {caret == start ? start + m_field->selLength() : start, caret};
}

Selection TextFieldEdit::shownSelection() const {
    // Counted in the line edit's own text, which may not yet be the field's.
    const std::string text = m_edit->text().toStdString();
    const Selection units = shownUnits(*m_edit);
    return {utf8::indexAtUtf16(text, units.anchor), utf8::indexAtUtf16(text, units.caret)};
}

void TextFieldEdit::enterEdit(const QString& shown) const {
    // Compared by code points, so a changed character beyond the basic plane is replaced
    // whole even where its first UTF-16 unit stayed.
    const std::u32string before = utf8::decode(m_field->text());
    const std::u32string after = utf8::decode(shown.toStdString());
    const std::size_t prefix =
        std::size_t(std::mismatch(before.begin(), before.end(), after.begin(), after.end()).first -
                    before.begin());
    std::size_t suffix = 0;
    while (suffix < before.size() - prefix && suffix < after.size() - prefix &&
           before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix])
        ++suffix;
    std::string inserted;
    for (std::size_t i = prefix; i < after.size() - suffix; ++i)
        utf8::append(inserted, after[i]);
    m_field->select(int(prefix), int(before.size() - suffix));
    m_field->replaceSelection(inserted);
}

} // namespace merv::qt
