#pragma once

#include <mervgauge/platform/PixelRect.h>

#include <cstdint>
#include <vector>

namespace merv {

// The pixel surface of a picture box: a buffer of 0x00BBGGRR colours in pixel coordinates,
// origin top left, y downward. Drawing state follows the picture box's drawing members.
class Surface {
public:
    Surface(int width, int height, std::uint32_t backColor);

    int width() const noexcept { return m_width; }
    int height() const noexcept { return m_height; }

    // The background that Cls restores.
    std::uint32_t backColor() const noexcept { return m_backColor; }
    void setBackColor(std::uint32_t color) noexcept { m_backColor = color; }

    int drawWidth() const noexcept { return m_drawWidth; }
    void setDrawWidth(int width) noexcept;
    int fillStyle() const noexcept { return m_fillStyle; }
    void setFillStyle(int style) noexcept { m_fillStyle = style; }
    std::uint32_t foreColor() const noexcept { return m_foreColor; }
    void setForeColor(std::uint32_t color) noexcept { m_foreColor = color; }
    std::uint32_t fillColor() const noexcept { return m_fillColor; }
    void setFillColor(std::uint32_t color) noexcept { m_fillColor = color; }

    // Clears every pixel to the background colour.
    void cls();

    // Arc outline around (cx, cy) with the given radius, drawn counter-clockwise as seen on
    // screen from startRadians to endRadians with the current draw width. Outline only.
    void circle(float cx, float cy, float radius, std::uint32_t color, float startRadians,
                float endRadians);

    // Straight line with the current draw width, in the given colour or the fore colour.
    void line(float x1, float y1, float x2, float y2, std::uint32_t color);
    void line(float x1, float y1, float x2, float y2) { line(x1, y1, x2, y2, m_foreColor); }

    // Border-bounded flood fill: paints the fill colour over every pixel 4-connected to
    // (x, y) that is not of the border colour. Returns false, painting nothing, when the
    // seed lies outside the surface or on a pixel of the border colour.
    bool floodFill(int x, int y, std::uint32_t borderColor);

    // The smallest rectangle holding every pixel that differs from the image presented last;
    // the surface as it stands then becomes the presented image. Empty when no pixel changed.
    // Cheap when nothing was drawn since.
    PixelRect present();
    // A present with nobody to tell: nothing is compared or kept. The next present reports
    // the whole surface, unless markShown() says first what a view shows.
    void presentUnwatched() noexcept;
    // The surface as it stands is what views show now (a view that starts watching paints
    // it whole): later presents report what differs from it.
    void markShown();

    // A pixel outside the surface reads as the background colour.
    std::uint32_t pixel(int x, int y) const noexcept;
    const std::vector<std::uint32_t>& pixels() const noexcept { return m_pixels; }

private:
    void plotPen(int x, int y, std::uint32_t color) noexcept;

    int m_width;
    int m_height;
    std::uint32_t m_backColor;
    std::uint32_t m_foreColor = 0;
    std::uint32_t m_fillColor = 0;
    int m_drawWidth = 1;
    int m_fillStyle = 1; // 1: transparent, 0: solid
    std::vector<std::uint32_t> m_pixels;
    std::vector<std::uint32_t> m_presented; // what views were last told of
    bool m_drawnSincePresent = false;
    bool m_presentedUnknown = false;         // presented unwatched since m_presented was kept
    std::vector<std::int32_t> m_fillStack;   // reused by floodFill, never shrinks
    std::vector<std::uint8_t> m_fillVisited; // floodFill's marks when fill and border differ
};

} // namespace merv
