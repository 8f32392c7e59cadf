#pragma once

#include <QString>

namespace merv {
class MERV_Gauge;
}

// What a gauge tells screen readers, as it stands now, in either Qt view: its name is the
// measured variable, its value the text it shows (value and unit), its state the most urgent
// alarm or warning in words.
namespace merv::qt {

QString spokenName(const MERV_Gauge& gauge);
QString spokenValue(const MERV_Gauge& gauge);
QString spokenState(const MERV_Gauge& gauge);

} // namespace merv::qt
