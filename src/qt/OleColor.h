#pragma once

#include <QColor>
#include <QPalette>

#include <cstdint>

// Colours as the control keeps them (0x00BBGGRR, the high bit marking a host system colour)
// and as Qt paints them.
namespace merv::qt {

// The high bit of a colour value marks one of the host's system colours, by its index.
inline constexpr std::uint32_t SystemColorFlag = 0x80000000u;

// A real colour as it is; a system colour as the palette's colour for it.
QColor toQColor(std::uint32_t oleColor, const QPalette& palette);
// The colour value of a real colour (alpha dropped).
std::uint32_t toOleColor(const QColor& color);

} // namespace merv::qt
