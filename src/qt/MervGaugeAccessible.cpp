#include "MervGaugeAccessible.h"

#include "MervGaugeWidget_p.h"
#include <mervgauge/private/GaugeSpeech.h>
#include <mervgauge/private/InputMirror.h>

#include <mervgauge/control/MERV_Gauge.h>

#include <QAccessible>

#include <algorithm>

MervGaugeAccessible::MervGaugeAccessible(MervGaugeWidget* gauge)
    : QAccessibleWidget(gauge, QAccessible::Dial) {}

QAccessibleInterface* MervGaugeAccessible::create(const QString& className, QObject* object) {
    auto* gauge = qobject_cast<MervGaugeWidget*>(object);
    if (!gauge || className != QLatin1String(MervGaugeWidget::staticMetaObject.className()))
        return nullptr;
    return new MervGaugeAccessible(gauge);
}

QString MervGaugeAccessible::nameOf(const merv::MERV_Gauge& gauge) {
    return merv::qt::spokenName(gauge);
}

QString MervGaugeAccessible::valueOf(const merv::MERV_Gauge& gauge) {
    return merv::qt::spokenValue(gauge);
}

QString MervGaugeAccessible::descriptionOf(const merv::MERV_Gauge& gauge) {
    return merv::qt::spokenState(gauge);
}

void MervGaugeAccessible::setEventSink(EventSink replacement) {
    merv::qt::setAccessibleEventSink(std::move(replacement));
}

void MervGaugeAccessible::send(QAccessibleEvent* event) {
    merv::qt::sendAccessibleEvent(event);
}

MervGaugeWidget* MervGaugeAccessible::gauge() const {
    return static_cast<MervGaugeWidget*>(widget());
}

QString MervGaugeAccessible::text(QAccessible::Text t) const {
    switch (t) {
    case QAccessible::Name:
        return nameOf(mervGaugeControl(*gauge()));
    case QAccessible::Value:
        return valueOf(mervGaugeControl(*gauge()));
    case QAccessible::Description:
        return descriptionOf(mervGaugeControl(*gauge()));
    default:
        return QAccessibleWidget::text(t);
    }
}

QAccessible::State MervGaugeAccessible::state() const {
    QAccessible::State s = QAccessibleWidget::state();
    s.readOnly = true;
    return s;
}

QWidgetList MervGaugeAccessible::shownChildren() const {
    QWidgetList shown;
    for (QObject* object : widget()->children()) {
        auto* child = qobject_cast<QWidget*>(object);
        if (child && !child->isWindow() && !child->isHidden())
            shown.append(child);
    }
    // The inputs (each named after its element) as the control's focus walks them, the rest
    // after them as they were made.
    QWidgetList ordered;
    for (const merv::Element* element :
         merv::qt::InputMirror::shownInFocusOrder(mervGaugeControl(*gauge()).elements())) {
        const QString name = QString::fromStdString(element->name());
        const auto found = std::find_if(shown.begin(), shown.end(),
                                        [&](const QWidget* w) { return w->objectName() == name; });
        if (found != shown.end()) {
            ordered.append(*found);
            shown.erase(found);
        }
    }
    return ordered + shown;
}

int MervGaugeAccessible::childCount() const {
    return int(shownChildren().size());
}

QAccessibleInterface* MervGaugeAccessible::child(int index) const {
    const QWidgetList shown = shownChildren();
    if (index < 0 || index >= shown.size())
        return nullptr;
    return QAccessible::queryAccessibleInterface(shown.at(index));
}

int MervGaugeAccessible::indexOfChild(const QAccessibleInterface* child) const {
    if (!child)
        return -1;
    return int(shownChildren().indexOf(qobject_cast<QWidget*>(child->object())));
}

void* MervGaugeAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::ValueInterface)
        return static_cast<QAccessibleValueInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

QVariant MervGaugeAccessible::currentValue() const {
    return gauge()->Value();
}

void MervGaugeAccessible::setCurrentValue(const QVariant&) {
    // The gauge shows a measurement; only its host writes the value.
}

QVariant MervGaugeAccessible::maximumValue() const {
    return std::max(gauge()->MinValue(), gauge()->MaxValue());
}

QVariant MervGaugeAccessible::minimumValue() const {
    return std::min(gauge()->MinValue(), gauge()->MaxValue());
}

QVariant MervGaugeAccessible::minimumStepSize() const {
    return 0.0f;
}
