#include <mervgauge/control/StagedRestore.h>

#include <mervgauge/control/GaugeProperties.h>
#include <mervgauge/platform/RuntimeError.h>

#include <utility>

namespace merv {

StagedRestore::StagedRestore(NumberLocale numbers) : m_bag(std::in_place, std::move(numbers)) {}

void StagedRestore::write(const PropertyInfo& property, Variant value) {
    // A property the bag does not hold would be lost at the restore.
    if (property.storeOrder == 0)
        throw RuntimeError(ErrorNumber::PropertyNotSupported);
    m_bag.value().set(std::string(property.name), std::move(value));
}

Variant StagedRestore::value(const PropertyInfo& property) const {
    for (const auto& [key, value] : m_bag.value().entries()) {
        if (key == property.name)
            return value;
    }
    return property.bagDefault;
}

MemoryPropertyBag StagedRestore::take() {
    MemoryPropertyBag bag = std::move(m_bag.value());
    m_bag.reset();
    return bag;
}

} // namespace merv
