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

bool tabToNext(FocusTracker& focus) {
    Element* focused = focus.focused();
    if (!focused)
        return false;
    if (Element* next = focused->tree().nextInFocusOrder(focused))
        next->setFocus();
    return true;
}

} // namespace merv
