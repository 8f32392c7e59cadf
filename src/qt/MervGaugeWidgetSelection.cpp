#include "MervGaugeWidgetSelection.h"

#include "MervGaugeWidget_p.h"
#include <mervgauge/private/QtLocale.h>

#include <mervgauge/control/GaugeProperties.h>
#include <mervgauge/platform/RuntimeError.h>

using namespace merv;

namespace {

const PropertyInfo& propertyNamed(std::string_view name) {
    const PropertyInfo* info = findProperty(name);
    if (!info)
        throw RuntimeError(ErrorNumber::PropertyNotSupported);
    return *info;
}

// The value as the gauge's Qt property of that type takes it: converted to the control's type
// first, as the control's own put would convert it, then widened to int or double.
QVariant qtValue(const PropertyInfo& info, const Variant& value, const NumberLocale& locale) {
    switch (info.type) {
    case PropertyType::Text:
        return QString::fromStdString(value.toText(locale));
    case PropertyType::Integer:
        return int(value.toInteger(locale));
    case PropertyType::Single:
        return double(value.toSingle(locale));
    case PropertyType::Color:
        return QVariant::fromValue(quint32(value.toColor(locale)));
    case PropertyType::Boolean:
        break;
    }
    // The only boolean properties are the read-only status flags.
    throw RuntimeError(ErrorNumber::PropertyIsReadOnly);
}

} // namespace

MervGaugeWidget& MervGaugeWidgetSelection::gauge() const {
    if (!m_gauge)
        throw RuntimeError(ErrorNumber::PropertyNotSupported, "The gauge no longer exists.");
    return *m_gauge;
}

Variant MervGaugeWidgetSelection::getProperty(std::string_view name) {
    const PropertyInfo& info = propertyNamed(name);
    return info.get(mervGaugeControl(gauge()));
}

void MervGaugeWidgetSelection::putProperty(std::string_view name, const Variant& value) {
    const PropertyInfo& info = propertyNamed(name);
    const QString property = QString::fromUtf8(info.name.data(), qsizetype(info.name.size()));
    if (m_writer) {
        const QVariant converted = qtValue(info, value, qt::numberLocaleOf(gauge().locale()));
        const QString failure = m_writer(gauge(), property, converted);
        if (!failure.isEmpty())
            throw RuntimeError(ErrorNumber::PropertyNotSupported, failure.toStdString());
        return;
    }
    // The page hands over texts and 32-bit colours; the widget converts them as a host does.
    QVariant converted;
    if (value.isText())
        converted = QString::fromStdString(value.asText());
    else if (value.type() == Variant::Type::Long)
        converted = QVariant::fromValue(value.asLong());
    else
        throw RuntimeError(ErrorNumber::TypeMismatch);
    // The page's site interface raises the widget's error as the control's own.
    if (!gauge().putProperty(property, converted))
        throw RuntimeError(gauge().lastErrorNumber(), gauge().lastErrorString().toStdString());
}
