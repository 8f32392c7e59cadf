#pragma once

#include <string>

namespace merv {

// The separators of the user's locale that every number conversion uses. Hosts fill it from
// real locale data; the core never guesses a locale.
struct NumberLocale {
    std::string decimalSeparator = ".";
    std::string groupSeparator = ",";

    static NumberLocale english() { return {".", ","}; }
};

} // namespace merv
