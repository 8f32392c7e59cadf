#pragma once

#include <mervgauge/platform/ContainerSite.h>
#include <mervgauge/platform/PropertyPageSite.h>

namespace merv {

class MERV_Gauge;

// A gauge as an object of a design-time selection: property get and put by name through the
// gauge's property table, texts converted with the number locale of the gauge's site.
class GaugeSelection : public SelectedObject {
public:
    GaugeSelection(MERV_Gauge& gauge, const ContainerSite& site) : m_gauge(gauge), m_site(site) {}

    // Errors: PropertyNotSupported for a name the gauge does not have, and whatever the
    // property's getter or setter raises.
    Variant getProperty(std::string_view name) override;
    void putProperty(std::string_view name, const Variant& value) override;

private:
    MERV_Gauge& m_gauge;
    const ContainerSite& m_site;
};

} // namespace merv
