#include "FieldText.h"

#include <mervgauge/platform/TextField.h>
#include <mervgauge/platform/Utf8.h>

#include <algorithm>
#include <string>

namespace merv::qt::fieldtext {

bool showText(const TextField& field, TextInput& input) {
    const QString text = QString::fromStdString(field.text());
    if (input.text() == text)
        return false;
    input.setText(text);
    return true;
}

void showSelection(const TextField& field, TextInput& input) {
    const Selection selection = fieldSelection(field);
    const std::string& text = field.text();
    const Selection units{utf8::utf16Offset(text, selection.anchor),
                          utf8::utf16Offset(text, selection.caret)};
    if (input.selectionUnits() == units)
        return;
    input.setSelectionUnits(units);
}

Selection fieldSelection(const TextField& field) noexcept {
    const int start = field.selStart();
    const int caret = field.caret();
    return {caret == start ? start + field.selLength() : start, caret};
}

Selection shownSelection(const TextInput& input) {
    // Counted in the input's own text, which may not yet be the field's.
    const std::string text = input.text().toStdString();
    const Selection units = input.selectionUnits();
    return {utf8::indexAtUtf16(text, units.anchor), utf8::indexAtUtf16(text, units.caret)};
}

QString selectedText(const TextInput& input) {
    const Selection units = input.selectionUnits();
    const int start = std::min(units.anchor, units.caret);
    return input.text().mid(start, std::max(units.anchor, units.caret) - start);
}

void enterEdit(TextField& field, const QString& shown) {
    // Compared by code points, so a changed character beyond the basic plane is replaced
    // whole even where its first UTF-16 unit stayed.
    const std::u32string before = utf8::decode(field.text());
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
    field.select(int(prefix), int(before.size() - suffix));
    field.replaceSelection(inserted);
}

} // namespace merv::qt::fieldtext
