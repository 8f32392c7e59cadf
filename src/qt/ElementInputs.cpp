#include "ElementInputs.h"

#include <mervgauge/private/FontOf.h>
#include <mervgauge/private/GaugePainter.h>
#include <mervgauge/private/OleColor.h>

#include <mervgauge/platform/CommandButton.h>
#include <mervgauge/platform/HitTest.h>
#include <mervgauge/platform/Keyboard.h>
#include <mervgauge/platform/Label.h>
#include <mervgauge/platform/TextField.h>

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>
#include <array>
#include <cmath>

namespace merv::qt {

namespace {

// The KeyAscii a paste key (Ctrl+V) raises before the pasted text replaces the selection.
constexpr int KeyPaste = 22;

// Keys that only move the caret or the selection, or copy: the line edit does these itself
// and the element then takes the selection it shows.
bool movesOrCopies(QKeyEvent& key) {
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

// The font drawn at a zoom: its pixel or point size times the factor.
QFont zoomedFont(QFont font, qreal zoom) {
    if (font.pixelSize() > 0)
        font.setPixelSize(std::max(1, int(std::lround(font.pixelSize() * zoom))));
    else
        font.setPointSizeF(font.pointSizeF() * zoom);
    return font;
}

// Types a text into the field character by character, as a person typing it would.
void typeText(TextField& field, const QString& text) {
    for (const char32_t c : text.toStdU32String())
        field.typeCharacter(c);
}

} // namespace

// Hands the inputs' events to ElementInputs::filter.
class ElementInputs::EventFilter : public QObject {
public:
    explicit EventFilter(ElementInputs& inputs) : m_inputs(inputs) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        return m_inputs.filter(watched, event);
    }

private:
    ElementInputs& m_inputs;
};

ElementInputs::ElementInputs(QWidget& host, ElementTree& tree, const GaugePainter& painter,
                             Runner run)
    : m_host(host), m_tree(tree), m_painter(painter), m_run(std::move(run)),
      m_filter(std::make_unique<EventFilter>(*this)) {
    for (const auto& element : tree.elements()) {
        if (element->kind() == ElementKind::TextField) {
            auto& field = static_cast<TextField&>(*element);
            auto* edit = new QLineEdit(&host);
            edit->setObjectName(QString::fromStdString(field.name()));
            edit->setContextMenuPolicy(Qt::NoContextMenu);
            edit->setAcceptDrops(false);
            edit->setDragEnabled(false);
            edit->setTextMargins(0, 0, 0, 0);
            edit->installEventFilter(m_filter.get());
            const TextFieldEdit& bound = m_fields.try_emplace(&field, field, *edit).first->second;
            QObject::connect(edit, &QLineEdit::selectionChanged,
                             [this, &bound] { pushSelection(bound); });
            QObject::connect(edit, &QLineEdit::cursorPositionChanged,
                             [this, &bound] { pushSelection(bound); });
            m_elementOf[edit] = &field;
            syncField(field);
        } else if (element->kind() == ElementKind::CommandButton) {
            auto& button = static_cast<CommandButton&>(*element);
            auto* push = new QPushButton(&host);
            push->setObjectName(QString::fromStdString(button.name()));
            push->setAutoDefault(false);
            push->installEventFilter(m_filter.get());
            QObject::connect(push, &QPushButton::clicked, [this, &button] {
                if (button.onClick)
                    m_run(button.onClick);
            });
            m_buttons[&button] = push;
            m_elementOf[push] = &button;
            syncButton(button);
        }
    }
    syncVisibility();
    syncCaptions();
    place(QTransform());
}

ElementInputs::~ElementInputs() {
    // The host deletes its children; they must not call back into an element meanwhile.
    m_mirroring = true;
    for (auto& [widget, element] : m_elementOf)
        widget->removeEventFilter(m_filter.get());
}

void ElementInputs::place(const QTransform& controlToHost) {
    const bool rezoomed = controlToHost.m11() != m_controlToHost.m11();
    m_controlToHost = controlToHost;
    for (auto& [object, element] : m_elementOf) {
        auto& input = static_cast<QWidget&>(*object);
        input.setGeometry(controlToHost.mapRect(m_painter.elementRect(*element)).toRect());
        if (rezoomed)
            syncFont(input, *element);
    }
}

void ElementInputs::syncFont(QWidget& input, const Element& element) {
    const qreal zoom = m_controlToHost.m11();
    if (const auto& font = element.font())
        input.setFont(zoomedFont(fontOf(*font), zoom));
    else // an empty font inherits the host's again
        input.setFont(zoom == 1 ? QFont() : zoomedFont(m_host.font(), zoom));
}

void ElementInputs::systemColorsChanged() {
    for (const auto& [field, bound] : m_fields)
        syncField(*field);
}

void ElementInputs::elementChanged(const Element& element, ElementChange change) {
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
        // The hidden storage fields change with every value write; a line edit nobody sees is
        // brought up to date when its field is shown.
        if (!field.shown()) {
            m_stale.insert(&field);
            return;
        }
        syncField(field);
    } else if (element.kind() == ElementKind::CommandButton)
        syncButton(static_cast<const CommandButton&>(element));
}

void ElementInputs::syncField(const TextField& field) {
    const TextFieldEdit& bound = m_fields.at(&field);
    QLineEdit* edit = &bound.edit();
    const bool was = m_mirroring;
    m_mirroring = true;
    bound.showText();
    bound.showSelection();
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Text, toQColor(field.foreColor(), m_host.palette()));
    palette.setColor(QPalette::Base, toQColor(field.backColor(), m_host.palette()));
    edit->setPalette(palette);
    if (field.font())
        syncFont(*edit, field);
    m_mirroring = was;
}

void ElementInputs::syncButton(const CommandButton& button) {
    m_buttons.at(&button)->setText(QString::fromStdString(button.caption()));
}

void ElementInputs::syncCaptions(const Element* recaptioned) {
    for (const auto& [field, bound] : m_fields) {
        const Label* caption = captionOf(*field);
        // The value label changes with every value write; only a field's own caption counts.
        if (recaptioned && caption != recaptioned)
            continue;
        const QString name = caption ? QString::fromStdString(caption->caption()) : QString();
        if (bound.edit().accessibleName() != name)
            bound.edit().setAccessibleName(name);
    }
}

void ElementInputs::syncVisibility() {
    for (auto& [widget, element] : m_elementOf) {
        const bool shown = element->shown();
        if (shown && element->kind() == ElementKind::TextField &&
            m_stale.erase(static_cast<const TextField*>(element)) > 0)
            syncField(static_cast<const TextField&>(*element));
        static_cast<QWidget*>(widget)->setVisible(shown);
    }
}

void ElementInputs::syncFocus() {
    const Element* focused = m_tree.focus().focused();
    QWidget* target = nullptr;
    for (auto& [widget, element] : m_elementOf) {
        if (element == focused)
            target = static_cast<QWidget*>(widget);
    }
    const bool was = m_mirroring;
    m_mirroring = true;
    if (target && target->isVisible()) {
        if (!target->hasFocus())
            target->setFocus(Qt::OtherFocusReason);
    } else if (QWidget* current = QApplication::focusWidget();
               current && m_elementOf.count(current)) {
        // The control's focus is on an element without an input of its own.
        m_host.setFocus(Qt::OtherFocusReason);
    }
    m_mirroring = was;
}

void ElementInputs::pushSelection(const TextFieldEdit& bound) {
    if (m_mirroring)
        return;
    const Selection shown = bound.shownSelection();
    if (shown == bound.fieldSelection())
        return;
    m_run([&] { bound.field().select(shown.anchor, shown.caret); });
}

bool ElementInputs::filter(QObject* watched, QEvent* event) {
    const auto it = m_elementOf.find(watched);
    if (it == m_elementOf.end())
        return false;
    Element& element = *it->second;
    switch (event->type()) {
    case QEvent::FocusIn:
        if (!m_mirroring && !element.hasFocus())
            m_run([&] { element.setFocus(); });
        return false;
    case QEvent::KeyPress: {
        auto& key = static_cast<QKeyEvent&>(*event);
        if (key.key() == Qt::Key_Tab || key.key() == Qt::Key_Backtab)
            return false; // the host's focusNextPrevChild follows the control's order
        if (element.kind() == ElementKind::TextField)
            return fieldKey(static_cast<TextField&>(element), *static_cast<QLineEdit*>(watched),
                            key);
        return buttonKey(key);
    }
    case QEvent::KeyRelease:
        // The button's own Space handling would press it a second time.
        return element.kind() == ElementKind::CommandButton &&
               static_cast<QKeyEvent&>(*event).key() == Qt::Key_Space;
    case QEvent::InputMethod:
    case QEvent::Drop:
        // Text reaches a field only as typed characters.
        return element.kind() == ElementKind::TextField;
    default:
        return false;
    }
}

bool ElementInputs::fieldKey(TextField& field, QLineEdit& edit, QKeyEvent& key) {
    if (movesOrCopies(key))
        return false;
    if (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter) {
        m_run([&] { typeKey(m_tree.focus(), KeyAscii::Enter); });
    } else if (key.key() == Qt::Key_Backspace) {
        m_run([&] { field.backspace(); });
    } else if (key.key() == Qt::Key_Delete) {
        m_run([&] { field.deleteForward(); });
    } else if (key.matches(QKeySequence::Paste)) {
        const std::string text = QApplication::clipboard()->text().toStdString();
        m_run([&] {
            if (field.keyPress(KeyPaste) != 0)
                field.replaceSelection(text);
        });
    } else if (key.matches(QKeySequence::Cut)) {
        if (edit.hasSelectedText()) {
            QApplication::clipboard()->setText(edit.selectedText());
            m_run([&] { field.deleteForward(); });
        }
    } else if (!key.text().isEmpty() &&
               !(key.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
        const QString text = key.text();
        m_run([&] { typeText(field, text); });
    }
    // Every other key would change the line edit's text behind the field's back.
    return true;
}

bool ElementInputs::buttonKey(QKeyEvent& key) {
    // Enter and Space press the focused button by the keyboard rules every host shares.
    if (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter) {
        m_run([&] { typeKey(m_tree.focus(), KeyAscii::Enter); });
        return true;
    }
    if (key.key() == Qt::Key_Space) {
        if (key.type() == QEvent::KeyPress && !key.isAutoRepeat())
            m_run([&] { typeKey(m_tree.focus(), KeyAscii::Space); });
        return true;
    }
    return false;
}

bool ElementInputs::moveFocus(bool next) {
    Element* focused = m_tree.focus().focused();
    QWidget* current = QApplication::focusWidget();
    if (!focused || !current || (current != &m_host && !m_elementOf.count(current)))
        return false;
    if (next) {
        m_run([&] { tabToNext(m_tree.focus()); });
        return true;
    }
    Element* target = m_tree.nextInFocusOrder(focused);
    {
        // Backwards: the element whose next one is the focused element.
        Element* previous = focused;
        for (std::size_t n = 0; target && target != focused && n < m_tree.elements().size(); ++n) {
            previous = target;
            target = m_tree.nextInFocusOrder(target);
        }
        target = previous;
    }
    if (!target)
        return false;
    m_run([&] { target->setFocus(); });
    return true;
}

} // namespace merv::qt
