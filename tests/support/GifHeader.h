#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace merv::test {

// What a GIF89a file says before its pixels: the logical screen size, the global palette and
// the transparent entry of the first graphic control extension. The pixels stay compressed:
// views decode pictures, the core only carries them.
struct GifHeader {
    int width = 0;
    int height = 0;
    std::vector<std::array<std::uint8_t, 3>> palette;
    int transparent = -1; // -1 when no extension marks one
};

// Empty for data that is not a GIF89a with a well-formed header.
inline std::optional<GifHeader> readGifHeader(std::span<const std::uint8_t> d) {
    constexpr std::size_t ScreenDescriptorEnd = 13;
    if (d.size() < ScreenDescriptorEnd || d[0] != 'G' || d[1] != 'I' || d[2] != 'F' ||
        d[3] != '8' || d[4] != '9' || d[5] != 'a')
        return std::nullopt;
    GifHeader header;
    header.width = d[6] | d[7] << 8;
    header.height = d[8] | d[9] << 8;
    std::size_t p = ScreenDescriptorEnd;
    if (d[10] & 0x80) {
        const std::size_t entries = 2u << (d[10] & 7);
        if (d.size() < p + 3 * entries)
            return std::nullopt;
        for (std::size_t i = 0; i < entries; ++i, p += 3)
            header.palette.push_back({d[p], d[p + 1], d[p + 2]});
    }
    // Extensions until the first image: 0x21, a label, then sub-blocks up to an empty one.
    while (p + 1 < d.size() && d[p] == 0x21) {
        const bool graphicControl = d[p + 1] == 0xF9;
        if (graphicControl && p + 6 < d.size() && (d[p + 3] & 1) && header.transparent < 0)
            header.transparent = d[p + 6];
        for (p += 2; p < d.size() && d[p] != 0; p += d[p] + 1u) {
        }
        ++p;
    }
    if (p >= d.size() || d[p] != 0x2C)
        return std::nullopt;
    return header;
}

} // namespace merv::test
