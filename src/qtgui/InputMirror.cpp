#include "InputMirror.h"

#include <mervgauge/platform/CommandButton.h>
#include <mervgauge/platform/HitTest.h>
#include <mervgauge/platform/Label.h>
#include <mervgauge/platform/TextField.h>

#include <algorithm>

namespace merv::qt {

void InputMirror::elementChanged(const Element& element, ElementChange change) {
    if (change == ElementChange::Bounds)
        syncCaptions();
    else if (element.kind() == ElementKind::Label && change == ElementChange::Caption)
        syncCaptions(&element);
    if (change == ElementChange::Visible) {
        syncVisibility();
        return;
    }
    if (change == ElementChange::Focus) {
        syncFocus();
        return;
    }
    if (element.kind() == ElementKind::TextField) {
        const auto& field = static_cast<const TextField&>(element);
        // The hidden storage fields change with every value write; an input nobody sees is
        // brought up to date when its field is shown.
        if (!field.shown()) {
            m_stale.insert(&field);
            return;
        }
        syncField(field);
    } else if (element.kind() == ElementKind::CommandButton)
        syncButton(static_cast<const CommandButton&>(element));
}

bool InputMirror::hasInput(const Element& element) noexcept {
    return element.kind() == ElementKind::TextField || element.kind() == ElementKind::CommandButton;
}

bool InputMirror::anyInputShown(const ElementTree& tree) noexcept {
    return std::any_of(tree.elements().begin(), tree.elements().end(),
                       [](const auto& element) { return element->shown() && hasInput(*element); });
}

std::vector<const Element*> InputMirror::shownInFocusOrder(const ElementTree& tree) {
    std::vector<const Element*> shown;
    for (const auto& element : tree.elements()) {
        if (hasInput(*element) && element->shown())
            shown.push_back(element.get());
    }
    std::stable_sort(shown.begin(), shown.end(), [](const Element* a, const Element* b) {
        return a->tabIndex() < b->tabIndex();
    });
    return shown;
}

void InputMirror::syncVisibility() {
    for (const auto& element : m_tree.elements()) {
        if (!hasInput(*element))
            continue;
        const bool shown = element->shown();
        if (shown && element->kind() == ElementKind::TextField &&
            m_stale.erase(static_cast<const TextField*>(element.get())) > 0)
            syncField(static_cast<const TextField&>(*element));
        setInputVisible(*element, shown);
    }
}

void InputMirror::syncCaptions(const Element* recaptioned) {
    for (const auto& element : m_tree.elements()) {
        if (element->kind() != ElementKind::TextField)
            continue;
        const Label* caption = captionOf(*element);
        // The value label changes with every value write; only a field's own caption counts.
        if (recaptioned && caption != recaptioned)
            continue;
        setInputName(static_cast<const TextField&>(*element),
                     caption ? QString::fromStdString(caption->caption()) : QString());
    }
}

} // namespace merv::qt
