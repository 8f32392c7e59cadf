#include "FormWindowSelection.h"

#include "qt/QtLocale.h"

#include "control/GaugeProperties.h"
#include "platform/RuntimeError.h"

#include <QDesignerFormWindowCursorInterface>
#include <QDesignerFormWindowInterface>

using namespace merv;

namespace {

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

FormWindowSelection::FormWindowSelection(QDesignerFormWindowInterface& form, MervGaugeWidget& gauge)
    : MervGaugeWidgetSelection(gauge), m_form(&form), m_locale(qt::numberLocaleOf(gauge.locale())) {
}

void FormWindowSelection::putProperty(std::string_view name, const Variant& value) {
    const PropertyInfo* info = findProperty(name);
    if (!info)
        throw RuntimeError(ErrorNumber::PropertyNotSupported);
    if (!m_form)
        throw RuntimeError(ErrorNumber::PropertyNotSupported, "The form is no longer open.");
    m_form->cursor()->setWidgetProperty(
        &gauge(), QString::fromUtf8(info->name.data(), qsizetype(info->name.size())),
        qtValue(*info, value, m_locale));
}
