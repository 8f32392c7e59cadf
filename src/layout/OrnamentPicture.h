#pragma once

#include <cstdint>
#include <span>

namespace merv {

// The ornament picture shown by the hub and the four corner images: a 36 x 36 GIF89a with a
// 256-entry palette whose entry 245 (white) is transparent. Views decode it.
std::span<const std::uint8_t> ornamentPicture() noexcept;

} // namespace merv
