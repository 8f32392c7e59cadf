#pragma once

#include <QColor>
#include <QPalette>

#include <cstdint>

namespace merv {
class ContainerSite;
}

// Colours as the control keeps them (0x00BBGGRR, the high bit marking a host system colour)
// and as Qt paints them.
namespace merv::qt {

// The real colour (0x00BBGGRR) of a system colour index in a Qt application: the palette's
// colour for the indexes a palette has a role for, the default table's for the rest.
std::uint32_t paletteSystemColor(std::uint32_t index, const QPalette& palette);

// A real colour (0x00BBGGRR) as a Qt colour.
QColor qColorOf(std::uint32_t realColor);
// A colour value as the site resolves it.
QColor toQColor(std::uint32_t oleColor, const ContainerSite& site);
// A colour value with system colours taken from the palette, as a gauge's site takes them.
QColor toQColor(std::uint32_t oleColor, const QPalette& palette);
// The colour value of a real colour (alpha dropped).
std::uint32_t toOleColor(const QColor& color);

} // namespace merv::qt
