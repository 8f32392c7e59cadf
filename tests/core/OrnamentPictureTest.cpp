#include "GifHeader.h"

#include <mervgauge/layout/OrnamentPicture.h>

#include <gtest/gtest.h>

namespace merv::test {
namespace {

TEST(OrnamentPicture, IsA36PixelSquareWithWhiteTransparentAt245) {
    const std::optional<GifHeader> gif = readGifHeader(ornamentPicture());
    ASSERT_TRUE(gif);
    EXPECT_EQ(gif->width, 36);
    EXPECT_EQ(gif->height, 36);
    ASSERT_EQ(gif->palette.size(), 256u);
    EXPECT_EQ(gif->palette[245], (std::array<std::uint8_t, 3>{255, 255, 255}));
    EXPECT_EQ(gif->transparent, 245);
    // White is nowhere else in the palette, so no opaque pixel can look transparent.
    for (std::size_t i = 0; i < gif->palette.size(); ++i) {
        if (i != 245) {
            EXPECT_NE(gif->palette[i], gif->palette[245]) << "entry " << i;
        }
    }
}

TEST(OrnamentPicture, HeaderReaderRefusesWhatIsNoGif) {
    const std::uint8_t notGif[] = {'G', 'I', 'F', '8', '7', 'a', 36, 0, 36, 0, 0, 0, 0, 0x2C};
    EXPECT_FALSE(readGifHeader(notGif));
    const auto picture = ornamentPicture();
    EXPECT_FALSE(readGifHeader(picture.first(100))); // cut inside the palette
}

} // namespace
} // namespace merv::test
