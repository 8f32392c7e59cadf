#pragma once

#include <QAccessibleObject>
#include <QAccessibleValueInterface>

class MervGauge;

// The Qt Quick gauge as screen readers see it, as they see the widget: a read-only dial named
// after the measured variable, whose value is the text the gauge shows and whose description
// is the alarm state in words, with the open editor's inputs as its children.
class MervGaugeQuickAccessible : public QAccessibleObject, public QAccessibleValueInterface {
public:
    explicit MervGaugeQuickAccessible(MervGauge* gauge);

    // The accessibility factory the library installs for every MervGauge.
    static QAccessibleInterface* create(const QString& className, QObject* object);

    QAccessibleInterface* parent() const override;
    // The children are the open editor's inputs, each named after its caption.
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QWindow* window() const override;
    QRect rect() const override;
    QAccessible::Role role() const override { return QAccessible::Dial; }
    QAccessible::State state() const override;
    QString text(QAccessible::Text t) const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    // The value interface: the measured value within the scale; a person cannot set it.
    QVariant currentValue() const override;
    void setCurrentValue(const QVariant& value) override;
    QVariant maximumValue() const override;
    QVariant minimumValue() const override;
    QVariant minimumStepSize() const override;

private:
    MervGauge* gauge() const;
};
