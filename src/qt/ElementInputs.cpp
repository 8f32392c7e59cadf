#include "ElementInputs.h"

#include <mervgauge/private/ElementKeys.h>
#include <mervgauge/private/FontOf.h>
#include <mervgauge/private/GaugePainter.h>
#include <mervgauge/private/OleColor.h>

#include <mervgauge/platform/CommandButton.h>
#include <mervgauge/platform/Keyboard.h>
#include <mervgauge/platform/TextField.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>
#include <cmath>

namespace merv::qt {

namespace {

// The font drawn at a zoom: its pixel or point size times the factor.
QFont zoomedFont(QFont font, qreal zoom) {
    if (font.pixelSize() > 0)
        font.setPixelSize(std::max(1, int(std::lround(font.pixelSize() * zoom))));
    else
        font.setPointSizeF(font.pointSizeF() * zoom);
    return font;
}

// The line edit and the button standing over a field and a button: they take the keys, the
// clicks and the focus, and draw nothing, for the painter draws what they stand for.
class BareLineEdit final : public QLineEdit {
public:
    using QLineEdit::QLineEdit;

protected:
    void paintEvent(QPaintEvent*) override {}
};

class BareButton final : public QPushButton {
public:
    using QPushButton::QPushButton;

protected:
    void paintEvent(QPaintEvent*) override {}
};

// A line edit without a frame starts its text this far in, in pixels.
constexpr int LineEditOwnMargin = 2;

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
    : InputMirror(tree), m_host(host), m_tree(tree), m_painter(painter), m_run(std::move(run)),
      m_filter(std::make_unique<EventFilter>(*this)) {
    // An element shown from the start (a form's own inputs) needs its input at once.
    if (anyInputShown(tree))
        makeInputs();
}

void ElementInputs::makeInputs() {
    if (m_made)
        return;
    m_made = true;
    for (const auto& element : m_tree.elements()) {
        if (element->kind() == ElementKind::TextField) {
            auto& field = static_cast<TextField&>(*element);
            auto* edit = new BareLineEdit(&m_host);
            edit->setObjectName(QString::fromStdString(field.name()));
            edit->setContextMenuPolicy(Qt::NoContextMenu);
            edit->setAcceptDrops(false);
            edit->setDragEnabled(false);
            edit->setFrame(false);
            // The text starts where the painter draws it, so a click lands on the character seen.
            edit->setTextMargins(GaugePainter::FieldTextInset - LineEditOwnMargin, 0, 0, 0);
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
            auto* push = new BareButton(&m_host);
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
    place(m_controlToHost, true);
}

ElementInputs::~ElementInputs() {
    // The host deletes its children; they must not call back into an element meanwhile.
    m_mirroring = true;
    for (auto& [widget, element] : m_elementOf)
        widget->removeEventFilter(m_filter.get());
}

void ElementInputs::place(const QTransform& controlToHost) {
    place(controlToHost, controlToHost.m11() != m_controlToHost.m11());
}

void ElementInputs::place(const QTransform& controlToHost, bool rezoomed) {
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

void ElementInputs::syncField(const TextField& field) {
    if (!m_made)
        return; // made with the field's state when first needed
    const TextFieldEdit& bound = m_fields.at(&field);
    QLineEdit* edit = &bound.edit();
    const bool was = m_mirroring;
    m_mirroring = true;
    bound.showText();
    bound.showSelection();
    if (field.font())
        syncFont(*edit, field);
    m_mirroring = was;
}

void ElementInputs::syncButton(const CommandButton& button) {
    if (!m_made)
        return;
    m_buttons.at(&button)->setText(QString::fromStdString(button.caption()));
}

void ElementInputs::setInputName(const TextField& field, const QString& name) {
    if (!m_made)
        return;
    // A name set again would still tell screen readers of a change.
    QLineEdit& edit = m_fields.at(&field).edit();
    if (edit.accessibleName() != name)
        edit.setAccessibleName(name);
}

void ElementInputs::setInputVisible(const Element& element, bool visible) {
    if (!m_made) {
        if (!visible)
            return;
        makeInputs(); // which shows this one with the rest
        return;
    }
    QWidget* input =
        element.kind() == ElementKind::TextField
            ? &m_fields.at(static_cast<const TextField*>(&element)).edit()
            : static_cast<QWidget*>(m_buttons.at(static_cast<const CommandButton*>(&element)));
    input->setVisible(visible);
}

void ElementInputs::syncFocus() {
    const Element* focused = m_tree.focus().focused();
    if (!m_made && focused && focused->shown() && hasInput(*focused))
        makeInputs();
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
    if (element.kind() != ElementKind::TextField)
        return takeInputEvent(m_tree, element, nullptr, *event, m_run, m_mirroring);
    // Tab and Backtab reach the host's focusNextPrevChild, which follows the control's order.
    const LineEditInput shown(*static_cast<QLineEdit*>(watched));
    return takeInputEvent(m_tree, element, &shown, *event, m_run, m_mirroring);
}

bool ElementInputs::moveFocus(bool next) {
    QWidget* current = QApplication::focusWidget();
    if (!m_tree.focus().focused() || !current ||
        (current != &m_host && !m_elementOf.count(current)))
        return false;
    m_run([&] { next ? tabToNext(m_tree.focus()) : tabToPrevious(m_tree.focus()); });
    return true;
}

} // namespace merv::qt
