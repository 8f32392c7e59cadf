#pragma once

#include <QString>

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

// The real text input a view shows a text field in (a line edit, a Qt Quick text input),
// counted in its own UTF-16 units.
class TextInput {
public:
    virtual QString text() const = 0;
    virtual void setText(const QString& text) = 0;
    virtual Selection selectionUnits() const = 0;
    // Sets the selection with the caret at its own end (a caret before the anchor included).
    virtual void setSelectionUnits(Selection selection) = 0;

protected:
    ~TextInput() = default;
};

// A text field shown in a text input. The field counts its text and selection in code points
// of UTF-8, the input in UTF-16 units; these are the one place the two meet, for every view.
// The view that owns both decides when to show or read and guards against taking its own
// writes for a person's doing.
namespace fieldtext {

// Puts the field's text in the input where it shows another; true when it did (the input's
// caret then stands at the end).
bool showText(const TextField& field, TextInput& input);
// Shows the field's selection with its caret at the same end, unless the input already shows
// exactly that: a needless write would still raise its signals.
void showSelection(const TextField& field, TextInput& input);

// The field's selection, and the one the input shows, in code points.
Selection fieldSelection(const TextField& field) noexcept;
Selection shownSelection(const TextInput& input);
// The text the input shows selected.
QString selectedText(const TextInput& input);

// Hands a person's edit of the input's text to the field: the stretch that differs from the
// field's text replaces that stretch as pasted text does (a change, no key presses), so the
// field's handlers decide what becomes of it.
void enterEdit(TextField& field, const QString& shown);

} // namespace fieldtext

} // namespace merv::qt
