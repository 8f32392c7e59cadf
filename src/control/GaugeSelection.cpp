#include <mervgauge/control/GaugeSelection.h>

#include <mervgauge/control/GaugeProperties.h>
#include <mervgauge/platform/RuntimeError.h>

namespace merv {

namespace {

const PropertyInfo& property(std::string_view name) {
    const PropertyInfo* info = findProperty(name);
    if (!info)
        throw RuntimeError(ErrorNumber::PropertyNotSupported);
    return *info;
}

} // namespace

Variant GaugeSelection::getProperty(std::string_view name) {
    return property(name).get(m_gauge);
}

void GaugeSelection::putProperty(std::string_view name, const Variant& value) {
    property(name).put(m_gauge, value, m_site.numberLocale());
}

} // namespace merv
