#pragma once

#include <mervgauge/MervGaugeWidget.h>

#include <QAccessibleValueInterface>
#include <QAccessibleWidget>

#include <functional>

class QAccessibleEvent;

namespace merv {
class MERV_Gauge;
}

// A gauge as screen readers see it: a read-only dial named after the measured variable, whose
// value is the text the gauge shows (value and unit) and whose description is the alarm state
// in words. While the threshold editor is open, its fields and button are the dial's children.
class MervGaugeAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit MervGaugeAccessible(MervGaugeWidget* gauge);

    // The accessibility factory the library installs for every MervGaugeWidget.
    static QAccessibleInterface* create(const QString& className, QObject* object);

    // What a gauge tells screen readers, as it stands now.
    static QString nameOf(const merv::MERV_Gauge& gauge);
    static QString valueOf(const merv::MERV_Gauge& gauge);
    static QString descriptionOf(const merv::MERV_Gauge& gauge);

    // Where gauges send their accessibility events: QAccessible::updateAccessibility unless
    // replaced (an empty sink restores it). Events are seen nowhere else while no screen reader
    // is active, so tests look at them here.
    using EventSink = std::function<void(QAccessibleEvent*)>;
    static void setEventSink(EventSink sink);
    static void send(QAccessibleEvent* event);

    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    // The value interface: the measured value within the scale; a person cannot set it.
    QVariant currentValue() const override;
    void setCurrentValue(const QVariant& value) override;
    QVariant maximumValue() const override;
    QVariant minimumValue() const override;
    QVariant minimumStepSize() const override;

private:
    MervGaugeWidget* gauge() const;
    // The inputs a person can reach now: those of the open editor.
    QWidgetList shownChildren() const;
};
