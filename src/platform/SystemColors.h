#pragma once

#include <cstdint>

namespace merv {

// A colour value with the high bit set names one of the host's system colours by the index in
// its low byte; any other value is a real colour, 0x00BBGGRR.
inline constexpr std::uint32_t SystemColorFlag = 0x80000000u;

constexpr bool isSystemColor(std::uint32_t color) noexcept {
    return (color & SystemColorFlag) != 0;
}

// The conventional desktop colour (0x00BBGGRR) of a system colour index, for hosts without
// colours of their own; black for an index the table does not know.
std::uint32_t defaultSystemColor(std::uint32_t index) noexcept;

// The real colour a colour value stands for: a real colour as it is (its high byte dropped), a
// system colour as the lookup resolves its index. The one place where colour values become
// the colours of pixels.
template <typename Lookup>
std::uint32_t realColor(std::uint32_t color, Lookup&& systemColor) {
    constexpr std::uint32_t RgbMask = 0x00FFFFFFu;
    constexpr std::uint32_t IndexMask = 0xFFu;
    if (isSystemColor(color))
        return std::uint32_t(systemColor(color & IndexMask)) & RgbMask;
    return color & RgbMask;
}

} // namespace merv
