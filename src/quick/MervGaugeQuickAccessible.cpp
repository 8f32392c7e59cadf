#include "MervGaugeQuickAccessible.h"

#include <mervgauge/MervGauge.h>

#include <QQuickWindow>

#include <algorithm>

MervGaugeQuickAccessible::MervGaugeQuickAccessible(MervGauge* gauge) : QAccessibleObject(gauge) {}

QAccessibleInterface* MervGaugeQuickAccessible::create(const QString& className, QObject* object) {
    auto* gauge = qobject_cast<MervGauge*>(object);
    if (!gauge || className != QLatin1String(MervGauge::staticMetaObject.className()))
        return nullptr;
    return new MervGaugeQuickAccessible(gauge);
}

MervGauge* MervGaugeQuickAccessible::gauge() const {
    return static_cast<MervGauge*>(object());
}

QAccessibleInterface* MervGaugeQuickAccessible::parent() const {
    // The nearest item above that screen readers know of, else the window.
    for (QQuickItem* item = gauge()->parentItem(); item; item = item->parentItem()) {
        if (item == gauge()->window()->contentItem())
            break;
        if (QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(item))
            return iface;
    }
    return gauge()->window() ? QAccessible::queryAccessibleInterface(gauge()->window()) : nullptr;
}

int MervGaugeQuickAccessible::childCount() const {
    return int(gauge()->shownInputs().size());
}

QAccessibleInterface* MervGaugeQuickAccessible::child(int index) const {
    const QList<QQuickItem*> inputs = gauge()->shownInputs();
    if (index < 0 || index >= inputs.size())
        return nullptr;
    return QAccessible::queryAccessibleInterface(inputs[index]);
}

int MervGaugeQuickAccessible::indexOfChild(const QAccessibleInterface* child) const {
    if (!child)
        return -1;
    return int(gauge()->shownInputs().indexOf(qobject_cast<QQuickItem*>(child->object())));
}

QWindow* MervGaugeQuickAccessible::window() const {
    return gauge()->window();
}

QRect MervGaugeQuickAccessible::rect() const {
    const QQuickWindow* shown = gauge()->window();
    if (!shown)
        return {};
    const QRectF scene = gauge()->mapRectToScene(gauge()->boundingRect());
    return scene.toAlignedRect().translated(shown->position());
}

QAccessible::State MervGaugeQuickAccessible::state() const {
    QAccessible::State s;
    s.readOnly = true;
    s.invisible = !gauge()->isVisible();
    return s;
}

QString MervGaugeQuickAccessible::text(QAccessible::Text t) const {
    switch (t) {
    case QAccessible::Name:
        return gauge()->VariableName();
    case QAccessible::Value:
        return gauge()->shownValueText();
    case QAccessible::Description:
        return gauge()->shownState();
    default:
        return {};
    }
}

void* MervGaugeQuickAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::ValueInterface)
        return static_cast<QAccessibleValueInterface*>(this);
    return QAccessibleObject::interface_cast(type);
}

QVariant MervGaugeQuickAccessible::currentValue() const {
    return gauge()->Value();
}

void MervGaugeQuickAccessible::setCurrentValue(const QVariant&) {
    // The gauge shows a measurement; only its host writes the value.
}

QVariant MervGaugeQuickAccessible::maximumValue() const {
    return std::max(gauge()->MinValue(), gauge()->MaxValue());
}

QVariant MervGaugeQuickAccessible::minimumValue() const {
    return std::min(gauge()->MinValue(), gauge()->MaxValue());
}

QVariant MervGaugeQuickAccessible::minimumStepSize() const {
    return 0.0;
}
