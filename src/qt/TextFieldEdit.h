#pragma once

class QLineEdit;
class QString;

namespace merv {
class TextField;
} // namespace merv

namespace merv::qt {

// A selection as anchor and caret; they are equal where nothing is selected.
struct Selection {
    int anchor = 0;
    int caret = 0;
    bool operator==(const Selection&) const = default;
};

// A line edit showing a text field. The field counts its text and selection in code points
// of UTF-8, the line edit in UTF-16 units; this is the one place the two meet. The view that
// owns both decides when to show or read and guards against taking its own writes for a
// person's doing.
class TextFieldEdit {
public:
    TextFieldEdit(TextField& field, QLineEdit& edit) noexcept : m_field(&field), m_edit(&edit) {}

    TextField& field() const noexcept { return *m_field; }
    QLineEdit& edit() const noexcept { return *m_edit; }

    // Puts the field's text in the line edit where it shows another; true when it did (the
    // line edit's caret then stands at the end).
    bool showText() const;
    // Shows the field's selection with its caret at the same end, unless the line edit
    // already shows exactly that: a needless write would still raise its signals.
    void showSelection() const;

    // The field's selection, and the one the line edit shows, in code points.
    Selection fieldSelection() const noexcept;
    Selection shownSelection() const;

    // Hands a person's edit of the line edit's text to the field: the stretch that differs
    // from the field's text replaces that stretch as pasted text does (a change, no key
    // presses), so the field's handlers decide what becomes of it.
    void enterEdit(const QString& shown) const;

private:
    TextField* m_field;
    QLineEdit* m_edit;
};

} // namespace merv::qt
