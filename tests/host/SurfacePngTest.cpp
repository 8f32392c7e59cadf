#include "host/SurfacePng.h"

#include <mervgauge/platform/Surface.h>

#include <mervgauge/dial/FaceDrawing.h>
#include <mervgauge/layout/SurfaceLayout.h>

#include <gtest/gtest.h>
#include <png.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

namespace merv::host {
namespace {

std::string tempPath(const std::string& name) {
    return (std::filesystem::path(::testing::TempDir()) / name).string();
}

std::vector<unsigned char> readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::uint32_t bigEndian32(const std::vector<unsigned char>& b, std::size_t at) {
    return (std::uint32_t{b[at]} << 24) | (std::uint32_t{b[at + 1]} << 16) |
           (std::uint32_t{b[at + 2]} << 8) | std::uint32_t{b[at + 3]};
}

// Red is the surface colour's low byte but the PNG's first channel.
TEST(SurfacePng, WritesEightBitRgbInChannelOrder) {
    Surface s(3, 2, 0x123456);
    s.line(0, 0, 0, 0, 0x0000FF);
    s.line(1, 0, 1, 0, 0x00FF00);
    s.line(2, 0, 2, 0, 0xFF0000);
    const std::string path = tempPath("surface_channels.png");
    writeSurfacePng(s, path);

    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_NE(png_image_begin_read_from_file(&image, path.c_str()), 0) << image.message;
    EXPECT_EQ(image.format, static_cast<png_uint_32>(PNG_FORMAT_RGB)) << "8-bit RGB, no alpha";
    ASSERT_EQ(image.width, 3u);
    ASSERT_EQ(image.height, 2u);
    std::vector<png_byte> rgb(PNG_IMAGE_SIZE(image));
    ASSERT_NE(png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr), 0) << image.message;
    const std::vector<png_byte> expected = {255,  0,    0,    0,    255,  0,    0,    0,    255,
                                            0x56, 0x34, 0x12, 0x56, 0x34, 0x12, 0x56, 0x34, 0x12};
    EXPECT_EQ(rgb, expected);
    std::filesystem::remove(path);
}

// A system colour is the desktop's button face, not its index read as red.
TEST(SurfacePng, WritesASystemColourAsTheColourItNames) {
    const Surface s(1, 1, 0x8000000F);
    const std::string path = tempPath("surface_system_colour.png");
    writeSurfacePng(s, path);
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_NE(png_image_begin_read_from_file(&image, path.c_str()), 0) << image.message;
    image.format = PNG_FORMAT_RGB;
    std::vector<png_byte> rgb(PNG_IMAGE_SIZE(image));
    ASSERT_NE(png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr), 0) << image.message;
    EXPECT_EQ(rgb, (std::vector<png_byte>{240, 240, 240}));
    std::filesystem::remove(path);
}

// The face is left in the temporary directory for a look at the rendering.
TEST(SurfacePng, WritesTheDialFace) {
    Surface s(Layout::DialSurfaceWidth, Layout::DialSurfaceHeight, 0xC0C0C0);
    dial::drawFace(s, {36, 63, 117, 144, 36, 63, 117, 144}, {0x0000FF, 0x00FFFF, 0x00FF00});
    const std::string path = tempPath("dial_face.png");
    writeSurfacePng(s, path);
    const std::vector<unsigned char> bytes = readBytes(path);
    ASSERT_GE(bytes.size(), 24u);
    const std::array<unsigned char, 8> signature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    EXPECT_TRUE(std::equal(signature.begin(), signature.end(), bytes.begin()));
    EXPECT_EQ(bigEndian32(bytes, 16), 165u) << "IHDR width";
    EXPECT_EQ(bigEndian32(bytes, 20), 88u) << "IHDR height";
}

TEST(SurfacePng, FailuresThrowNamingThePathAndLeaveNoFile) {
    const std::string missingDir = tempPath("no-such-dir/face.png");
    try {
        writeSurfacePng(Surface(4, 4, 0), missingDir);
        FAIL() << "expected a failure";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find(missingDir), std::string::npos) << e.what();
    }
    EXPECT_THROW(writeSurfacePng(Surface(0, 4, 0), tempPath("empty.png")), std::runtime_error);
    EXPECT_FALSE(std::filesystem::exists(tempPath("empty.png")));
    if (std::filesystem::exists("/dev/full")) {
        EXPECT_THROW(writeSurfacePng(Surface(64, 64, 0), "/dev/full"), std::runtime_error)
            << "a full device";
        EXPECT_TRUE(std::filesystem::exists("/dev/full")) << "a device is not a partial file";
    }
}

} // namespace
} // namespace merv::host
