#pragma once

#include <mervgauge/platform/Font.h>

#include <QFont>

namespace merv::qt {

// The Qt font for an element's font. Sizes go by pixels at the layout's 96 dots per inch
// (8.25 points is 11 pixels), so text keeps its place whatever the screen's resolution.
QFont fontOf(const Font& font);

} // namespace merv::qt
