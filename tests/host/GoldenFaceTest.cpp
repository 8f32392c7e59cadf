// The whole dial face, pixel for pixel, against the images under tests/golden. To regenerate
// them on purpose after a deliberate change of the drawing:
//   MERVGAUGE_UPDATE_GOLDEN=1 build/mervgauge-host-tests --gtest_filter='*GoldenFace*'
#include "TestSite.h"

#include "host/SurfacePng.h"

#include <mervgauge/platform/Surface.h>

#include <gtest/gtest.h>
#include <png.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace merv::test {
namespace {

struct Face {
    const char* name; // the golden file's name without ".png"
    const char *min, *max, *alarmLow, *warningLow, *warningHigh, *alarmHigh;
};

const Face Faces[] = {
    {"default-face", "0", "100", "20", "35", "65", "80"},
    // Bands 4 and 5 are not drawn; the normal band's arc starts at 0.01 degrees.
    {"high-thresholds-at-maximum", "0", "100", "20", "35", "100", "100"},
    // The two warning bands overlap; the normal band runs the long way round.
    {"inverted-warnings", "0", "100", "20", "65", "35", "80"},
    // Only the normal band, over the whole half ring.
    {"max-below-min", "100", "0", "20", "35", "65", "80"},
};

void PrintTo(const Face& face, std::ostream* out) {
    *out << face.name;
}

std::string goldenPath(const Face& face) {
    return (std::filesystem::path(MERVGAUGE_GOLDEN_DIR) / (std::string(face.name) + ".png"))
        .string();
}

struct Image {
    int width = 0, height = 0;
    std::vector<std::uint32_t> pixels; // surface colours, 0x00BBGGRR, row by row
    std::uint32_t pixel(int x, int y) const { return pixels[std::size_t(y * width + x)]; }
};

// Empty when the file cannot be read as a PNG.
std::optional<Image> readPng(const std::string& path) {
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&png, path.c_str()))
        return std::nullopt;
    png.format = PNG_FORMAT_RGB;
    std::vector<png_byte> rgb(PNG_IMAGE_SIZE(png));
    if (!png_image_finish_read(&png, nullptr, rgb.data(), 0, nullptr))
        return std::nullopt;
    Image image{int(png.width), int(png.height), {}};
    for (std::size_t i = 0; i + 2 < rgb.size(); i += 3)
        image.pixels.push_back(rgb[i] | std::uint32_t{rgb[i + 1]} << 8 |
                               std::uint32_t{rgb[i + 2]} << 16);
    return image;
}

class GoldenFace : public ::testing::TestWithParam<Face> {};

TEST_P(GoldenFace, MatchesItsImagePixelForPixel) {
    const Face& face = GetParam();
    auto h = Hosted::restored();
    h->ui().Minimo.setCaption(face.min);
    h->ui().Massimo.setCaption(face.max);
    h->ui().AlarmL.setText(face.alarmLow);
    h->ui().WarningL.setText(face.warningLow);
    h->ui().WarningH.setText(face.warningHigh);
    h->ui().AlarmH.setText(face.alarmHigh);
    h->gauge->InitTimer_Timer();
    const Surface& drawn = h->ui().Sfondo.surface();

    const std::string path = goldenPath(face);
    if (std::getenv("MERVGAUGE_UPDATE_GOLDEN"))
        host::writeSurfacePng(drawn, path);
    const std::optional<Image> golden = readPng(path);
    ASSERT_TRUE(golden) << path << " is missing or unreadable; see the top of this file";
    ASSERT_EQ(golden->width, drawn.width());
    ASSERT_EQ(golden->height, drawn.height());
    int differing = 0;
    for (int y = 0; y < drawn.height(); ++y) {
        for (int x = 0; x < drawn.width(); ++x) {
            if (golden->pixel(x, y) != drawn.pixel(x, y) && differing++ == 0)
                ADD_FAILURE() << "first difference at (" << x << ", " << y << "): drawn 0x"
                              << std::hex << drawn.pixel(x, y) << ", golden 0x"
                              << golden->pixel(x, y);
        }
    }
    EXPECT_EQ(differing, 0) << "pixels differ from " << path;
}

INSTANTIATE_TEST_SUITE_P(Faces, GoldenFace, ::testing::ValuesIn(Faces), [](const auto& info) {
    std::string name = info.param.name;
    for (char& c : name)
        c = c == '-' ? '_' : c;
    return name;
});

} // namespace
} // namespace merv::test
