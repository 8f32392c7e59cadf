#pragma once

namespace merv {

// A rectangle of pixels on a drawing surface, origin top left, y downward.
struct PixelRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    bool empty() const noexcept { return width <= 0 || height <= 0; }
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

} // namespace merv
