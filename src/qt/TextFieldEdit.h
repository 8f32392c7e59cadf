#pragma once

#include <mervgauge/private/FieldText.h>

class QLineEdit;
class QString;

namespace merv {
class TextField;
} // namespace merv

namespace merv::qt {

// A line edit as the text input a text field is shown in.
class LineEditInput final : public TextInput {
public:
    explicit LineEditInput(QLineEdit& edit) noexcept : m_edit(&edit) {}
    QString text() const override;
    void setText(const QString& text) override;
    Selection selectionUnits() const override;
    void setSelectionUnits(Selection selection) override;

private:
    QLineEdit* m_edit;
};

// A line edit showing a text field, through the text-field seam every view shares
// (FieldText.h). The view that owns both decides when to show or read and guards against
// taking its own writes for a person's doing.
class TextFieldEdit {
public:
    TextFieldEdit(TextField& field, QLineEdit& edit) noexcept : m_field(&field), m_edit(&edit) {}

    TextField& field() const noexcept { return *m_field; }
    QLineEdit& edit() const noexcept { return *m_edit; }

    // Puts the field's text in the line edit where it shows another; true when it did (the
    // line edit's caret then stands at the end).
    bool showText() const;
    // Shows the field's selection with its caret at the same end, unless the line edit
    // already shows exactly that.
    void showSelection() const;

    // The field's selection, and the one the line edit shows, in code points.
    Selection fieldSelection() const noexcept;
    Selection shownSelection() const;

    // Hands a person's edit of the line edit's text to the field (fieldtext::enterEdit).
    void enterEdit(const QString& shown) const;

private:
    TextField* m_field;
    QLineEdit* m_edit;
};

} // namespace merv::qt
