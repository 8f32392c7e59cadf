#include <mervgauge/platform/Keyboard.h>

#include <mervgauge/platform/ElementTree.h>
#include <mervgauge/platform/FocusTracker.h>
#include <mervgauge/platform/TextField.h>

namespace merv {

bool typeKey(FocusTracker& focus, char32_t keyAscii) {
    Element* focused = focus.focused();
    if (!focused)
        return false;
    if (focused->kind() == ElementKind::TextField) {
        static_cast<TextField*>(focused)->typeCharacter(keyAscii);
    } else if (focused->kind() == ElementKind::CommandButton &&
               (keyAscii == char32_t(KeyAscii::Enter) || keyAscii == char32_t(KeyAscii::Space))) {
        if (focused->onClick)
            focused->onClick();
    }
    return true;
}

namespace {

bool tab(FocusTracker& focus, Element* (ElementTree::*step)(const Element*) const noexcept) {
    Element* focused = focus.focused();
    if (!focused)
        return false;
    if (Element* next = (focused->tree().*step)(focused))
        next->setFocus();
    return true;
}

} // namespace

bool tabToNext(FocusTracker& focus) {
    return tab(focus, &ElementTree::nextInFocusOrder);
}

bool tabToPrevious(FocusTracker& focus) {
    return tab(focus, &ElementTree::previousInFocusOrder);
}

} // namespace merv
