#pragma once

#include <mervgauge/platform/Variant.h>

#include <QVariant>

// Values between Qt and the control's dispatch calls, converted as an automation host
// converts them: Qt's integer, real, text, boolean and colour types become the variant types a
// dispatch call would carry, and back.
namespace merv::qt {

Variant variantOf(const QVariant& value);
QVariant qvariantOf(const Variant& value);

} // namespace merv::qt
