#include "TextFieldEdit.h"

#include <QLineEdit>

namespace merv::qt {

QString LineEditInput::text() const {
    return m_edit->text();
}

void LineEditInput::setText(const QString& text) {
    m_edit->setText(text);
}

Selection LineEditInput::selectionUnits() const {
    const int caret = m_edit->cursorPosition();
    if (!m_edit->hasSelectedText())
        return {caret, caret};
    return {m_edit->selectionStart() == caret ? m_edit->selectionEnd() : m_edit->selectionStart(),
            caret};
}

void LineEditInput::setSelectionUnits(Selection selection) {
    if (selection.anchor != selection.caret) // a negative length leaves the caret first
        m_edit->setSelection(selection.anchor, selection.caret - selection.anchor);
    else
        m_edit->setCursorPosition(selection.caret);
}

bool TextFieldEdit::showText() const {
    LineEditInput input(*m_edit);
    return fieldtext::showText(*m_field, input);
}

void TextFieldEdit::showSelection() const {
    LineEditInput input(*m_edit);
    fieldtext::showSelection(*m_field, input);
}

Selection TextFieldEdit::fieldSelection() const noexcept {
    return fieldtext::fieldSelection(*m_field);
}

Selection TextFieldEdit::shownSelection() const {
    return fieldtext::shownSelection(LineEditInput(*m_edit));
}

void TextFieldEdit::enterEdit(const QString& shown) const {
    fieldtext::enterEdit(*m_field, shown);
}

} // namespace merv::qt
