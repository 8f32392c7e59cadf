#include "qt/MervGaugeWidgetSelection.h"

#include "control/GaugeProperties.h"
#include "platform/RuntimeError.h"

using namespace merv;

namespace {

const PropertyInfo& propertyNamed(std::string_view name) {
    const PropertyInfo* info = findProperty(name);
    if (!info)
        throw RuntimeError(ErrorNumber::PropertyNotSupported);
    return *info;
}

} // namespace

MervGaugeWidget& MervGaugeWidgetSelection::gauge() const {
    if (!m_gauge)
        throw RuntimeError(ErrorNumber::PropertyNotSupported, "The gauge no longer exists.");
    return *m_gauge;
}

Variant MervGaugeWidgetSelection::getProperty(std::string_view name) {
    const PropertyInfo& info = propertyNamed(name);
    return info.get(gauge().control());
}

void MervGaugeWidgetSelection::putProperty(std::string_view name, const Variant& value) {
    const PropertyInfo& info = propertyNamed(name);
    const QString property = QString::fromUtf8(info.name.data(), qsizetype(info.name.size()));
    // The page hands over texts and 32-bit colours; the widget converts them as a host does.
    if (value.isText())
        gauge().putProperty(property, QString::fromStdString(value.asText()));
    else if (value.type() == Variant::Type::Long)
        gauge().putProperty(property, QVariant::fromValue(value.asLong()));
    else
        throw RuntimeError(ErrorNumber::TypeMismatch);
}
