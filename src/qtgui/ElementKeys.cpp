#include "ElementKeys.h"

#include "FieldText.h"

#include <mervgauge/platform/ElementTree.h>
#include <mervgauge/platform/Keyboard.h>
#include <mervgauge/platform/TextField.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QKeySequence>

#include <array>

namespace merv::qt {

namespace {

// The KeyAscii a paste key (Ctrl+V) raises before the pasted text replaces the selection.
constexpr int KeyPaste = 22;

// Keys that only move the caret or the selection, or copy: the input does these itself and
// the element then takes the selection it shows.
bool movesOrCopies(const QKeyEvent& key) {
    static constexpr std::array sequences{
        QKeySequence::MoveToNextChar,
        QKeySequence::MoveToPreviousChar,
        QKeySequence::MoveToNextWord,
        QKeySequence::MoveToPreviousWord,
        QKeySequence::MoveToStartOfLine,
        QKeySequence::MoveToEndOfLine,
        QKeySequence::MoveToStartOfBlock,
        QKeySequence::MoveToEndOfBlock,
        QKeySequence::MoveToStartOfDocument,
        QKeySequence::MoveToEndOfDocument,
        QKeySequence::SelectNextChar,
        QKeySequence::SelectPreviousChar,
        QKeySequence::SelectNextWord,
        QKeySequence::SelectPreviousWord,
        QKeySequence::SelectStartOfLine,
        QKeySequence::SelectEndOfLine,
        QKeySequence::SelectStartOfBlock,
        QKeySequence::SelectEndOfBlock,
        QKeySequence::SelectStartOfDocument,
        QKeySequence::SelectEndOfDocument,
        QKeySequence::SelectAll,
        QKeySequence::Copy,
    };
    for (const auto sequence : sequences) {
        if (key.matches(sequence))
            return true;
    }
    return false;
}

// Types a text into the field character by character, as a person typing it would.
void typeText(TextField& field, const QString& text) {
    for (const char32_t c : text.toStdU32String())
        field.typeCharacter(c);
}

bool fieldKey(ElementTree& tree, TextField& field, const TextInput& shown, const QKeyEvent& key,
              const ControlRunner& run) {
    if (movesOrCopies(key))
        return false;
    if (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter) {
        run([&] { typeKey(tree.focus(), KeyAscii::Enter); });
    } else if (key.key() == Qt::Key_Backspace) {
        run([&] { field.backspace(); });
    } else if (key.key() == Qt::Key_Delete) {
        run([&] { field.deleteForward(); });
    } else if (key.matches(QKeySequence::Paste)) {
        const std::string text = QGuiApplication::clipboard()->text().toStdString();
        run([&] {
            if (field.keyPress(KeyPaste) != 0)
                field.replaceSelection(text);
        });
    } else if (key.matches(QKeySequence::Cut)) {
        if (const QString selected = fieldtext::selectedText(shown); !selected.isEmpty()) {
            QGuiApplication::clipboard()->setText(selected);
            run([&] { field.deleteForward(); });
        }
    } else if (!key.text().isEmpty() &&
               !(key.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
        const QString text = key.text();
        run([&] { typeText(field, text); });
    }
    // Every other key would change the input's text behind the field's back.
    return true;
}

bool buttonKey(ElementTree& tree, const QKeyEvent& key, const ControlRunner& run) {
    // Enter and Space press the focused button by the keyboard rules every host shares.
    if (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter) {
        run([&] { typeKey(tree.focus(), KeyAscii::Enter); });
        return true;
    }
    if (key.key() == Qt::Key_Space) {
        if (!key.isAutoRepeat())
            run([&] { typeKey(tree.focus(), KeyAscii::Space); });
        return true;
    }
    return false;
}

} // namespace

bool takeInputEvent(ElementTree& tree, Element& element, const TextInput* shown, QEvent& event,
                    const ControlRunner& run, bool mirroring) {
    const bool isField = element.kind() == ElementKind::TextField && shown;
    switch (event.type()) {
    case QEvent::FocusIn:
        if (!mirroring && !element.hasFocus())
            run([&] { element.setFocus(); });
        return false;
    case QEvent::KeyPress: {
        const auto& key = static_cast<const QKeyEvent&>(event);
        if (key.key() == Qt::Key_Tab || key.key() == Qt::Key_Backtab)
            return false;
        if (isField)
            return fieldKey(tree, static_cast<TextField&>(element), *shown, key, run);
        return buttonKey(tree, key, run);
    }
    case QEvent::KeyRelease:
        // The button's own Space handling would press it a second time.
        return !isField && static_cast<const QKeyEvent&>(event).key() == Qt::Key_Space;
    case QEvent::InputMethod:
    case QEvent::Drop:
        // Text reaches a field only as typed characters.
        return isField;
    default:
        return false;
    }
}

} // namespace merv::qt
