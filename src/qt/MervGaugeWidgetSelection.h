#pragma once

#include <mervgauge/MervGaugePropertySheet.h>

#include <mervgauge/platform/PropertyPageSite.h>

#include <QPointer>

#include <functional>

// A gauge widget as an object of a property sheet's selection, reached by property name.
// Gets read the gauge's property table. Puts go through the widget, which converts texts with
// its own locale, or through the sheet's writer: the value then converted in the gauge's
// locale to its Qt property's type. Errors: PropertyNotSupported for a name the gauge does not
// have, a gauge that is gone or a writer that could not write, and whatever the property's
// getter, setter or conversion raises.
class MervGaugeWidgetSelection : public merv::SelectedObject {
public:
    explicit MervGaugeWidgetSelection(MervGaugeWidget& gauge,
                                      MervGaugePropertySheet::PropertyWriter writer = {})
        : m_gauge(&gauge), m_writer(std::move(writer)) {}

    merv::Variant getProperty(std::string_view name) override;
    void putProperty(std::string_view name, const merv::Variant& value) override;

private:
    // The gauge, while it exists.
    MervGaugeWidget& gauge() const;

    QPointer<MervGaugeWidget> m_gauge;
    MervGaugePropertySheet::PropertyWriter m_writer;
};
