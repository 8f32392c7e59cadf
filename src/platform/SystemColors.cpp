#include <mervgauge/platform/SystemColors.h>

#include <array>

namespace merv {

namespace {

constexpr std::uint32_t rgb(std::uint32_t r, std::uint32_t g, std::uint32_t b) {
    return r | (g << 8) | (b << 16);
}

// The desktop's default scheme, by system colour index.
constexpr std::array<std::uint32_t, 0x19> DefaultSystemColors{
    rgb(200, 200, 200), // 0x00 scroll bar
    rgb(0, 0, 0),       // 0x01 desktop background
    rgb(153, 180, 209), // 0x02 active title bar
    rgb(191, 205, 219), // 0x03 inactive title bar
    rgb(240, 240, 240), // 0x04 menu bar
    rgb(255, 255, 255), // 0x05 window background
    rgb(100, 100, 100), // 0x06 window frame
    rgb(0, 0, 0),       // 0x07 menu text
    rgb(0, 0, 0),       // 0x08 window text
    rgb(0, 0, 0),       // 0x09 active title bar text
    rgb(180, 180, 180), // 0x0A active border
    rgb(244, 247, 252), // 0x0B inactive border
    rgb(171, 171, 171), // 0x0C application workspace
    rgb(0, 120, 215),   // 0x0D highlight
    rgb(255, 255, 255), // 0x0E highlighted text
    rgb(240, 240, 240), // 0x0F button face
    rgb(160, 160, 160), // 0x10 button shadow
    rgb(109, 109, 109), // 0x11 disabled text
    rgb(0, 0, 0),       // 0x12 button text
    rgb(0, 0, 0),       // 0x13 inactive title bar text
    rgb(255, 255, 255), // 0x14 button highlight
    rgb(105, 105, 105), // 0x15 button dark shadow
    rgb(227, 227, 227), // 0x16 button light shadow
    rgb(0, 0, 0),       // 0x17 tooltip text
    rgb(255, 255, 225), // 0x18 tooltip background
};

} // namespace

std::uint32_t defaultSystemColor(std::uint32_t index) noexcept {
    return index < DefaultSystemColors.size() ? DefaultSystemColors[index] : 0u;
}

} // namespace merv
