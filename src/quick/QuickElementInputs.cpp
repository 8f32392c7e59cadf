#include "QuickElementInputs.h"

#include <mervgauge/private/FieldText.h>
#include <mervgauge/private/FontOf.h>
#include <mervgauge/private/GaugePainter.h>

#include <mervgauge/platform/CommandButton.h>
#include <mervgauge/platform/Keyboard.h>
#include <mervgauge/platform/TextField.h>

#include <QFont>
#include <QGuiApplication>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>

namespace merv::qt {

namespace {

// A field's input: a TextInput that takes the keys, the clicks and the focus and draws
// nothing (no text, selection or caret), for the painter draws the field; the item around it
// stands over the field and carries the name screen readers read.
constexpr char FieldQml[] = R"(import QtQuick
Item {
    property alias input: input
    property string accessibleName
    TextInput {
        id: input
        anchors.fill: parent
        verticalAlignment: TextInput.AlignVCenter
        selectByMouse: true
        color: "transparent"
        selectionColor: "transparent"
        selectedTextColor: "transparent"
        cursorDelegate: Item {}
        Accessible.name: parent.accessibleName
    }
}
)";

// A button's input, drawing nothing either; screen readers know it as a button whether or not
// one was active when it was made.
constexpr char ButtonQml[] = R"(import QtQuick
import QtQuick.Controls
Button {
    focusPolicy: Qt.StrongFocus
    background: Item {}
    contentItem: Item {}
    Accessible.role: Accessible.Button
    Accessible.name: text
}
)";

// A Qt Quick TextInput as the text input a field is shown in.
class QuickTextInput final : public TextInput {
public:
    explicit QuickTextInput(QObject& input) noexcept : m_input(&input) {}
    QString text() const override { return m_input->property("text").toString(); }
    void setText(const QString& text) override { m_input->setProperty("text", text); }
    Selection selectionUnits() const override {
        const int caret = m_input->property("cursorPosition").toInt();
        const int start = m_input->property("selectionStart").toInt();
        const int end = m_input->property("selectionEnd").toInt();
        if (start == end)
            return {caret, caret};
        return {start == caret ? end : start, caret};
    }
    void setSelectionUnits(Selection selection) override {
        // Placing the caret drops the selection; moving it with the selection keeps the
        // anchor where it was placed.
        m_input->setProperty("cursorPosition", selection.anchor);
        if (selection.caret != selection.anchor)
            QMetaObject::invokeMethod(m_input, "moveCursorSelection", Q_ARG(int, selection.caret));
    }

private:
    QObject* m_input;
};

// Makes one object of the component, owned by the caller; null when the engine could not.
QObject* make(QQmlComponent& component, QString& error) {
    QObject* object = component.isReady() ? component.create() : nullptr;
    if (!object)
        error = component.errorString();
    return object;
}

} // namespace

// Hands the inputs' events and their caret and selection changes to QuickElementInputs.
class QuickElementInputs::Hooks : public QObject {
    Q_OBJECT
public:
    explicit Hooks(QuickElementInputs& inputs) : m_inputs(inputs) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        return m_inputs.filter(watched, event);
    }
public slots:
    void selectionMoved() { m_inputs.pushSelection(sender()); }
    void clicked() {
        if (const Input* input = m_inputs.inputOf(sender())) {
            auto& button = static_cast<CommandButton&>(*input->element);
            if (button.onClick)
                m_inputs.m_run(button.onClick);
        }
    }

private:
    QuickElementInputs& m_inputs;
};

QuickElementInputs::QuickElementInputs(QQuickItem& host, ElementTree& tree,
                                       const GaugePainter& painter, ControlRunner run)
    : InputMirror(tree), m_host(host), m_tree(tree), m_painter(painter), m_run(std::move(run)),
      m_hooks(std::make_unique<Hooks>(*this)) {}

std::unique_ptr<QuickElementInputs> QuickElementInputs::create(QQuickItem& host, QQmlEngine& engine,
                                                               ElementTree& tree,
                                                               const GaugePainter& painter,
                                                               ControlRunner run, QString& error) {
    std::unique_ptr<QuickElementInputs> inputs(
        new QuickElementInputs(host, tree, painter, std::move(run)));
    QQmlComponent fieldComponent(&engine);
    fieldComponent.setData(FieldQml, QUrl(QStringLiteral("qrc:/MERVGauge/inputs/field.qml")));
    QQmlComponent buttonComponent(&engine);
    buttonComponent.setData(ButtonQml, QUrl(QStringLiteral("qrc:/MERVGauge/inputs/button.qml")));
    const auto adopt = [&](QObject* object, Element& element, QObject* focusing) {
        auto* item = qobject_cast<QQuickItem*>(object);
        item->setParent(&host);
        item->setParentItem(&host);
        focusing->setObjectName(QString::fromStdString(element.name()));
        focusing->installEventFilter(inputs->m_hooks.get());
        inputs->m_inputs[&element] = {&element, item, focusing};
        inputs->m_elementOf[focusing] = &element;
    };
    for (const auto& element : tree.elements()) {
        if (element->kind() == ElementKind::TextField) {
            QObject* holder = make(fieldComponent, error);
            if (!holder)
                return nullptr;
            auto* input = holder->property("input").value<QObject*>();
            adopt(holder, *element, input);
            // The text starts where the painter draws it, so a click lands on the character seen.
            input->setProperty("leftPadding", GaugePainter::FieldTextInset);
            const QMetaObject& meta = *input->metaObject();
            const QMetaMethod moved = inputs->m_hooks->metaObject()->method(
                inputs->m_hooks->metaObject()->indexOfSlot("selectionMoved()"));
            for (const char* signal :
                 {"cursorPositionChanged()", "selectionStartChanged()", "selectionEndChanged()"})
                QObject::connect(input, meta.method(meta.indexOfSignal(signal)),
                                 inputs->m_hooks.get(), moved);
            inputs->syncField(static_cast<TextField&>(*element));
        } else if (element->kind() == ElementKind::CommandButton) {
            QObject* button = make(buttonComponent, error);
            if (!button)
                return nullptr;
            adopt(button, *element, button);
            QObject::connect(button, SIGNAL(clicked()), inputs->m_hooks.get(), SLOT(clicked()));
            inputs->syncButton(static_cast<CommandButton&>(*element));
        }
    }
    inputs->syncVisibility();
    inputs->syncCaptions();
    inputs->place(QPointF());
    return inputs;
}

QuickElementInputs::~QuickElementInputs() {
    // Deleting an input with the focus moves the focus; no element hears of it.
    m_mirroring = true;
    for (auto& [element, input] : m_inputs) {
        input.focusing->removeEventFilter(m_hooks.get());
        QObject::disconnect(input.focusing, nullptr, m_hooks.get(), nullptr);
        delete input.item;
    }
}

const QuickElementInputs::Input* QuickElementInputs::inputOf(const QObject* object) const {
    const auto it = m_elementOf.find(object);
    return it == m_elementOf.end() ? nullptr : &m_inputs.at(it->second);
}

void QuickElementInputs::place(QPointF controlOrigin) {
    m_origin = controlOrigin;
    for (auto& [element, input] : m_inputs) {
        const QRectF rect = m_painter.elementRect(*element).translated(controlOrigin);
        input.item->setPosition(rect.topLeft());
        input.item->setSize(rect.size());
    }
}

void QuickElementInputs::syncFont(QObject& input, const Element& element) {
    const auto& font = element.font();
    input.setProperty("font", font ? fontOf(*font) : QGuiApplication::font());
}

void QuickElementInputs::syncField(const TextField& field) {
    const Input& input = m_inputs.at(&field);
    const bool was = m_mirroring;
    m_mirroring = true;
    QuickTextInput shown(*input.focusing);
    fieldtext::showText(field, shown);
    fieldtext::showSelection(field, shown);
    syncFont(*input.focusing, field);
    m_mirroring = was;
}

void QuickElementInputs::syncButton(const CommandButton& button) {
    QObject& input = *m_inputs.at(&button).focusing;
    input.setProperty("text", QString::fromStdString(button.caption()));
    syncFont(input, button);
}

void QuickElementInputs::setInputName(const TextField& field, const QString& name) {
    m_inputs.at(&field).item->setProperty("accessibleName", name);
}

void QuickElementInputs::setInputVisible(const Element& element, bool visible) {
    m_inputs.at(&element).item->setVisible(visible);
}

void QuickElementInputs::syncFocus() {
    const Element* focused = m_tree.focus().focused();
    const auto it = m_inputs.find(focused);
    auto* target = it == m_inputs.end() ? nullptr : qobject_cast<QQuickItem*>(it->second.focusing);
    const bool was = m_mirroring;
    m_mirroring = true;
    QQuickItem* current = m_host.window() ? m_host.window()->activeFocusItem() : nullptr;
    if (target && target->isVisible()) {
        if (!target->hasActiveFocus())
            target->forceActiveFocus(Qt::OtherFocusReason);
    } else if (current && m_elementOf.count(current)) {
        // The control's focus is on an element without an input of its own.
        m_host.forceActiveFocus(Qt::OtherFocusReason);
    }
    m_mirroring = was;
}

void QuickElementInputs::pushSelection(QObject* object) {
    const Input* input = inputOf(object);
    if (m_mirroring || !input)
        return;
    auto& field = static_cast<TextField&>(*input->element);
    const Selection shown = fieldtext::shownSelection(QuickTextInput(*object));
    if (shown == fieldtext::fieldSelection(field))
        return;
    m_run([&] { field.select(shown.anchor, shown.caret); });
}

bool QuickElementInputs::filter(QObject* watched, QEvent* event) {
    const Input* input = inputOf(watched);
    if (!input)
        return false;
    // Tab and Backtab go on to the host item, which moves the focus in the control's order.
    if (input->element->kind() != ElementKind::TextField)
        return takeInputEvent(m_tree, *input->element, nullptr, *event, m_run, m_mirroring);
    const QuickTextInput shown(*watched);
    return takeInputEvent(m_tree, *input->element, &shown, *event, m_run, m_mirroring);
}

QList<QQuickItem*> QuickElementInputs::shownInputs() const {
    QList<QQuickItem*> shown;
    for (const Element* element : shownInFocusOrder(m_tree)) {
        if (const auto it = m_inputs.find(element); it != m_inputs.end())
            shown << qobject_cast<QQuickItem*>(it->second.focusing);
    }
    return shown;
}

bool QuickElementInputs::moveFocus(bool next) {
    QQuickItem* current = m_host.window() ? m_host.window()->activeFocusItem() : nullptr;
    if (!m_tree.focus().focused() || !current ||
        (current != &m_host && !m_elementOf.count(current)))
        return false;
    m_run([&] { next ? tabToNext(m_tree.focus()) : tabToPrevious(m_tree.focus()); });
    return true;
}

} // namespace merv::qt

#include "QuickElementInputs.moc"
