#include "host/SurfacePng.h"

#include <mervgauge/platform/ContainerSite.h>
#include <mervgauge/platform/Surface.h>

#include <png.h>

#include <cerrno>
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <vector>

namespace merv::host {
namespace {

// libpng reports errors through a callback that must not return; it jumps back here with
// the message, which is turned into an exception once no libpng frame is on the stack.
struct PngFailure {
    char message[256];
    std::jmp_buf jump;
};

[[noreturn]] void onPngError(png_structp png, png_const_charp message) {
    auto* failure = static_cast<PngFailure*>(png_get_error_ptr(png));
    std::snprintf(failure->message, sizeof failure->message, "%s", message);
    std::longjmp(failure->jump, 1);
}

void onPngWarning(png_structp, png_const_charp) {}

// Holds no object with a destructor: the error jump would skip it.
bool encodeRgb(std::FILE* file, png_uint_32 width, png_uint_32 height, png_bytep* rows,
               PngFailure& failure) {
    png_structp png =
        png_create_write_struct(PNG_LIBPNG_VER_STRING, &failure, onPngError, onPngWarning);
    if (png == nullptr) {
        std::snprintf(failure.message, sizeof failure.message, "cannot create a PNG encoder");
        return false;
    }
    png_infop info = png_create_info_struct(png);
    if (info == nullptr) {
        png_destroy_write_struct(&png, nullptr);
        std::snprintf(failure.message, sizeof failure.message, "cannot create a PNG header");
        return false;
    }
    if (setjmp(failure.jump) != 0) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_write_image(png, rows);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

} // namespace

void writeSurfacePng(const Surface& surface, const std::string& path, const ContainerSite* site) {
    const int width = surface.width();
    const int height = surface.height();
    if (width <= 0 || height <= 0) {
        throw std::runtime_error("cannot write " + path + ": the surface has no pixels");
    }

    // Surface colours are 0x00BBGGRR: red is the low byte.
    std::vector<png_byte> rgb(static_cast<std::size_t>(width) * height * 3);
    std::vector<png_bytep> rows(static_cast<std::size_t>(height));
    const std::vector<std::uint32_t>& pixels = surface.pixels();
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        const std::uint32_t real =
            site ? site->realColor(pixels[i]) : realColor(pixels[i], defaultSystemColor);
        rgb[i * 3 + 0] = static_cast<png_byte>(real & 0xFF);
        rgb[i * 3 + 1] = static_cast<png_byte>((real >> 8) & 0xFF);
        rgb[i * 3 + 2] = static_cast<png_byte>((real >> 16) & 0xFF);
    }
    for (int y = 0; y < height; ++y) {
        rows[static_cast<std::size_t>(y)] = rgb.data() + static_cast<std::size_t>(y) * width * 3;
    }

    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        throw std::runtime_error("cannot open " + path + " for writing: " + std::strerror(errno));
    }
    PngFailure failure{};
    const bool encoded = encodeRgb(file, static_cast<png_uint_32>(width),
                                   static_cast<png_uint_32>(height), rows.data(), failure);
    // Buffered write errors (a full disk) only show when the data reaches the file.
    const bool flushed = encoded && std::fflush(file) == 0 && std::ferror(file) == 0;
    const int flushErrno = errno;
    const bool closed = std::fclose(file) == 0;
    const int closeErrno = errno;
    if (encoded && flushed && closed) {
        return;
    }
    std::string reason = !encoded   ? failure.message
                         : !flushed ? std::strerror(flushErrno)
                                    : std::strerror(closeErrno);
    // Leave no truncated image behind, but never unlink a device or anything but a file.
    std::error_code ignored;
    if (std::filesystem::is_regular_file(path, ignored)) {
        std::filesystem::remove(path, ignored);
    }
    throw std::runtime_error("cannot write " + path + ": " + reason);
}

} // namespace merv::host
