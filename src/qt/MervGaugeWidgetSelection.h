#pragma once

#include "qt/MervGaugeWidget.h"

#include "platform/PropertyPageSite.h"

#include <QPointer>

// A gauge widget as an object of a property sheet's selection, reached by property name.
// Gets read the gauge's property table; puts go through the widget, which converts texts with
// its own locale. Errors: PropertyNotSupported for a name the gauge does not have or a gauge
// that is gone, and whatever the property's getter or setter raises.
class MERVGAUGE_QT_EXPORT MervGaugeWidgetSelection : public merv::SelectedObject {
public:
    explicit MervGaugeWidgetSelection(MervGaugeWidget& gauge) : m_gauge(&gauge) {}

    merv::Variant getProperty(std::string_view name) override;
    void putProperty(std::string_view name, const merv::Variant& value) override;

protected:
    // The gauge, while it exists.
    MervGaugeWidget& gauge() const;

private:
    QPointer<MervGaugeWidget> m_gauge;
};
