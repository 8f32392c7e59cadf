#include "PropertyNotices.h"

#include <mervgauge/control/GaugeProperties.h>
#include <mervgauge/control/MERV_Gauge.h>

#include <algorithm>
#include <cmath>

namespace merv::qt {

void PropertyNotices::mayHaveChanged(std::string_view name) {
    // The control names a handful of properties, spelt alike each time, with every value
    // write: each name is looked up in the property table (without regard to case) once.
    auto known = std::find_if(m_names.begin(), m_names.end(),
                              [&](const auto& entry) { return entry.first == name; });
    if (known == m_names.end()) {
        const PropertyInfo* property = findProperty(name);
        m_names.emplace_back(std::string(name),
                             property
                                 ? std::optional(GaugeProperty(property - gaugeProperties().data()))
                                 : std::nullopt);
        known = m_names.end() - 1;
    }
    if (known->second)
        mayHaveChanged(*known->second);
}

void PropertyNotices::fieldsChanged(const GaugeElements& ui,
                                    const std::vector<ElementNotice>& notices) {
    for (const ElementNotice& notice : notices) {
        if (notice.change != ElementChange::Text)
            continue;
        const Element* field = notice.element;
        if (field == &ui.AlarmH)
            mayHaveChanged(GaugeProperty::AlarmHighVal);
        else if (field == &ui.AlarmL)
            mayHaveChanged(GaugeProperty::AlarmLowVal);
        else if (field == &ui.WarningH)
            mayHaveChanged(GaugeProperty::WarningHighVal);
        else if (field == &ui.WarningL)
            mayHaveChanged(GaugeProperty::WarningLowVal);
    }
}

bool PropertyNotices::statusMayHaveChanged() const {
    return std::any_of(m_changed.begin() + std::size_t(GaugeProperty::AlarmHighStatus),
                       m_changed.begin() + std::size_t(GaugeProperty::WarningLowStatus) + 1,
                       [](bool c) { return c; });
}

bool PropertyNotices::same(const QVariant& a, const QVariant& b) {
    if (a.typeId() == QMetaType::Double && b.typeId() == QMetaType::Double &&
        std::isnan(a.toDouble()) && std::isnan(b.toDouble()))
        return true;
    return a == b;
}

} // namespace merv::qt
