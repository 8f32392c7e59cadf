#include "FontOf.h"

#include <cmath>

namespace merv::qt {

namespace {
// The layout's resolution: 15 twips to the pixel is 96 pixels to the inch of 72 points.
constexpr double PixelsPerPoint = 96.0 / 72.0;
} // namespace

QFont fontOf(const Font& font) {
    QFont f(QString::fromStdString(font.name));
    f.setPixelSize(int(std::lround(font.points * PixelsPerPoint)));
    // Qt's weights run 1 to 1000 as the control's do.
    f.setWeight(QFont::Weight(font.weight));
    f.setItalic(font.italic);
    f.setUnderline(font.underline);
    f.setStrikeOut(font.strikeout);
    return f;
}

} // namespace merv::qt
