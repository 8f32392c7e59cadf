#pragma once

#include <cstddef>
#include <string_view>

namespace merv::utf8 {

// Number of code points in a UTF-8 text; a stray continuation byte counts as one.
int length(std::string_view text) noexcept;

// Byte offset of code point index `index`, clamped to the text's end.
std::size_t offsetOf(std::string_view text, int index) noexcept;

} // namespace merv::utf8
