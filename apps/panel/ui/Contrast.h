#pragma once

#include <QColor>

namespace merv::panel {

// The contrast ratio of two colours by their relative luminance, as the web's accessibility
// guidelines define it: 1 for equal colours up to 21 for black on white. Text and markers an
// operator reads at a glance want at least MinimumContrast against what is behind them.
double contrastRatio(const QColor& a, const QColor& b);
inline constexpr double MinimumContrast = 4.5;

} // namespace merv::panel
