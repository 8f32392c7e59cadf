#pragma once

#include <optional>
#include <string_view>

namespace merv::panel {

// A value sent as text by a data source: a C-locale number ("-12.5", "3e2", "+4") filling the
// whole text, finite. Anything else (an empty text, "12,5", "7 bar", "inf", "nan", "0x10", a
// number too large for a double) is no value.
std::optional<double> readNumber(std::string_view text);

} // namespace merv::panel
