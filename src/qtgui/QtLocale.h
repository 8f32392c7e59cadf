#pragma once

#include <mervgauge/platform/NumberLocale.h>

#include <QLocale>

#include <cstdint>

namespace merv::qt {

// The separators of a Qt locale for the control's number conversions.
NumberLocale numberLocaleOf(const QLocale& locale);

// The locale's LCID, through the same mapping the scripting host uses; US English for a
// locale that has none.
std::int32_t lcidOf(const QLocale& locale);

} // namespace merv::qt
