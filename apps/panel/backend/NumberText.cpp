#include "panel/NumberText.h"

#include <charconv>
#include <cmath>

namespace merv::panel {

std::optional<double> readNumber(std::string_view text) {
    // from_chars takes no leading plus, which a C-locale writer may well put there.
    if (text.size() > 1 && text.front() == '+' && text[1] != '-' && text[1] != '+')
        text.remove_prefix(1);
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

} // namespace merv::panel
