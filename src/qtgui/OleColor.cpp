#include "OleColor.h"

#include <mervgauge/platform/ContainerSite.h>
#include <mervgauge/platform/SystemColors.h>

#include <optional>

namespace merv::qt {

namespace {

// The palette colour that stands for a system colour index in a Qt application, where the
// palette has one.
std::optional<QColor> paletteColorOf(std::uint32_t index, const QPalette& palette) {
    switch (index) {
    case 0x04: // menu bar
        return palette.color(QPalette::Window);
    case 0x05: // window background
        return palette.color(QPalette::Base);
    case 0x07: // menu text
        return palette.color(QPalette::WindowText);
    case 0x08: // window text
        return palette.color(QPalette::Text);
    case 0x0D: // highlight
        return palette.color(QPalette::Highlight);
    case 0x0E: // highlighted text
        return palette.color(QPalette::HighlightedText);
    case 0x0F: // button face
        return palette.color(QPalette::Button);
    case 0x10: // button shadow
        return palette.color(QPalette::Dark);
    case 0x11: // disabled text
        return palette.color(QPalette::Disabled, QPalette::Text);
    case 0x12: // button text
        return palette.color(QPalette::ButtonText);
    case 0x14: // button highlight
        return palette.color(QPalette::Light);
    case 0x15: // button dark shadow
        return palette.color(QPalette::Shadow);
    case 0x16: // button light shadow
        return palette.color(QPalette::Midlight);
    case 0x17: // tooltip text
        return palette.color(QPalette::ToolTipText);
    case 0x18: // tooltip background
        return palette.color(QPalette::ToolTipBase);
    default:
        return std::nullopt;
    }
}

} // namespace

std::uint32_t paletteSystemColor(std::uint32_t index, const QPalette& palette) {
    if (const auto color = paletteColorOf(index, palette))
        return toOleColor(*color);
    return defaultSystemColor(index);
}

QColor qColorOf(std::uint32_t realColor) {
    return QColor(int(realColor & 0xFFu), int((realColor >> 8) & 0xFFu),
                  int((realColor >> 16) & 0xFFu));
}

QColor toQColor(std::uint32_t oleColor, const ContainerSite& site) {
    return qColorOf(site.realColor(oleColor));
}

QColor toQColor(std::uint32_t oleColor, const QPalette& palette) {
    return qColorOf(realColor(
        oleColor, [&](std::uint32_t index) { return paletteSystemColor(index, palette); }));
}

std::uint32_t toOleColor(const QColor& color) {
    const QColor rgb = color.toRgb();
    return std::uint32_t(rgb.red()) | (std::uint32_t(rgb.green()) << 8) |
           (std::uint32_t(rgb.blue()) << 16);
}

} // namespace merv::qt
