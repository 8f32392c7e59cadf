#include "qt/OleColor.h"

namespace merv::qt {

namespace {

// The system colour indexes the control's layout and its elements use, with the palette role
// that stands for each in a Qt application.
QPalette::ColorRole roleOf(std::uint32_t index) {
    switch (index) {
    case 0x05: // window background
        return QPalette::Base;
    case 0x08: // window text
        return QPalette::Text;
    case 0x0D: // highlight
        return QPalette::Highlight;
    case 0x0E: // highlighted text
        return QPalette::HighlightedText;
    case 0x0F: // button face
        return QPalette::Button;
    case 0x12: // button text
        return QPalette::ButtonText;
    case 0x10: // button shadow
        return QPalette::Mid;
    case 0x14: // button highlight
        return QPalette::Light;
    default:
        return QPalette::WindowText;
    }
}

} // namespace

QColor toQColor(std::uint32_t oleColor, const QPalette& palette) {
    if (oleColor & SystemColorFlag)
        return palette.color(roleOf(oleColor & 0xFFu));
    return QColor(int(oleColor & 0xFFu), int((oleColor >> 8) & 0xFFu),
                  int((oleColor >> 16) & 0xFFu));
}

std::uint32_t toOleColor(const QColor& color) {
    const QColor rgb = color.toRgb();
    return std::uint32_t(rgb.red()) | (std::uint32_t(rgb.green()) << 8) |
           (std::uint32_t(rgb.blue()) << 16);
}

} // namespace merv::qt
