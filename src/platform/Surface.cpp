#include <mervgauge/platform/Surface.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <numbers>
#include <utility>

namespace merv {
namespace {

// Widest pen; wider requests are clamped so one stamp stays cheap.
constexpr int MaxDrawWidth = 64;
// Longest surface side, so that sizes and pixel offsets stay far from integer overflow.
constexpr int MaxSide = 32767;
// Largest coordinate magnitude drawn; every integer up to it is exact in a float.
constexpr double MaxCoordinate = 16777216.0;
// Largest arc radius drawn; sampling a larger outline would take too long to be useful.
constexpr double MaxRadius = 32768.0;
// Arc length between arc samples, in pixels. Below one, two consecutive samples round to
// the same or neighbouring pixels, so the stamps join into an outline with no gap a
// 4-connected fill could slip through; close to one, few samples round to the same pixel.
constexpr double ArcStep = 0.95;
constexpr double TwoPi = 2.0 * std::numbers::pi;
// Relative rounding of a float angle, with margin: ends closer than this are the same place.
constexpr double TurnTolerance = 8.0 * std::numeric_limits<float>::epsilon();

// Added before truncating so every drawable coordinate is positive and truncation rounds
// down: cheaper than a floor call in the arc loop.
constexpr double RoundingBias = 268435456.0; // 2^28, far above any drawable coordinate

// The pixel whose centre is nearest, halves upward, the same rule for every primitive so
// that an arc and a line ending at the same point stamp the same block.
long long nearestPixel(double v) noexcept {
    return static_cast<long long>(v + (RoundingBias + 0.5)) - static_cast<long long>(RoundingBias);
}

// Floor of n / d for d > 0.
long long floorDiv(long long n, long long d) noexcept {
    const long long q = n / d;
    return (n % d != 0 && n < 0) ? q - 1 : q;
}

bool isDrawableCoordinate(float v) noexcept {
    return std::isfinite(v) && std::fabs(v) <= MaxCoordinate;
}

// Into [0, 2pi): whole turns carry no meaning for an arc's end.
double normaliseAngle(float radians) noexcept {
    double t = std::fmod(static_cast<double>(radians), TwoPi);
    if (t < 0.0) {
        t += TwoPi;
    }
    return t >= TwoPi ? 0.0 : t; // a tiny negative angle can round up to a whole turn
}

// A columns x rows block starting at p, in a buffer of the given row stride.
void fillBlock(std::uint32_t* p, int stride, int columns, int rows, std::uint32_t color) noexcept {
    for (int row = 0; row < rows; ++row, p += stride) {
        std::fill(p, p + columns, color);
    }
}

// Scanline flood fill over open pixels (not of the border colour, not yet visited). Each
// stack entry is a painted run's extent plus the row to explore next to it; runs found
// there are painted whole, explored further in the same direction, and, where they stick
// out past the run that found them, back towards it as well.
struct SpanFill {
    std::uint32_t* pixels;
    std::uint8_t* visited; // null when painting itself closes a pixel
    int width;
    int height;
    std::uint32_t border;
    std::uint32_t color;
    std::vector<std::int32_t>& stack;

    template <bool Marked>
    bool open(std::size_t i) const noexcept {
        if constexpr (Marked) {
            return pixels[i] != border && visited[i] == 0;
        } else {
            return pixels[i] != border;
        }
    }

    template <bool Marked>
    void paint(std::size_t rowStart, int left, int right) const noexcept {
        std::fill(pixels + rowStart + left, pixels + rowStart + right + 1, color);
        if constexpr (Marked) {
            std::fill(visited + rowStart + left, visited + rowStart + right + 1, std::uint8_t{1});
        }
    }

    void push(int row, int left, int right, int direction) {
        if (row >= 0 && row < height) {
            stack.push_back(row);
            stack.push_back(left);
            stack.push_back(right);
            stack.push_back(direction);
        }
    }

    template <bool Marked>
    void run(int seedX, int seedY) {
        const std::size_t seedRow = static_cast<std::size_t>(seedY) * width;
        int left = seedX;
        while (left > 0 && open<Marked>(seedRow + left - 1)) {
            --left;
        }
        int right = seedX;
        while (right < width - 1 && open<Marked>(seedRow + right + 1)) {
            ++right;
        }
        paint<Marked>(seedRow, left, right);
        stack.clear();
        push(seedY - 1, left, right, -1);
        push(seedY + 1, left, right, 1);
        while (!stack.empty()) {
            const int direction = stack.back();
            const int parentRight = stack.end()[-2];
            const int parentLeft = stack.end()[-3];
            const int row = stack.end()[-4];
            stack.resize(stack.size() - 4);
            const std::size_t rowStart = static_cast<std::size_t>(row) * width;
            int x = parentLeft;
            while (x <= parentRight) {
                if (!open<Marked>(rowStart + x)) {
                    ++x;
                    continue;
                }
                int runLeft = x;
                while (runLeft > 0 && open<Marked>(rowStart + runLeft - 1)) {
                    --runLeft;
                }
                int runRight = x;
                while (runRight < width - 1 && open<Marked>(rowStart + runRight + 1)) {
                    ++runRight;
                }
                paint<Marked>(rowStart, runLeft, runRight);
                push(row + direction, runLeft, runRight, direction);
                if (runLeft < parentLeft) {
                    push(row - direction, runLeft, parentLeft - 1, -direction);
                }
                if (runRight > parentRight) {
                    push(row - direction, parentRight + 1, runRight, -direction);
                }
                x = runRight + 2; // runRight + 1 is closed
            }
        }
    }
};

} // namespace

Surface::Surface(int width, int height, std::uint32_t backColor)
    : m_width(std::clamp(width, 0, MaxSide)), m_height(std::clamp(height, 0, MaxSide)),
      m_backColor(backColor),
      m_pixels(static_cast<std::size_t>(m_width) * static_cast<std::size_t>(m_height), backColor),
      m_presented(m_pixels) {}

void Surface::setDrawWidth(int width) noexcept {
    m_drawWidth = std::clamp(width, 1, MaxDrawWidth);
}

// Fills one row, then copies ever larger blocks of what is done: the copies run at memory
// speed, where a plain fill of a 32-bit pattern stores one pixel at a time.
void Surface::cls() {
    if (m_pixels.empty()) {
        return;
    }
    m_drawnSincePresent = true;
    std::uint32_t* const p = m_pixels.data();
    const std::size_t total = m_pixels.size();
    std::size_t done = std::min<std::size_t>(static_cast<std::size_t>(m_width), total);
    std::fill(p, p + done, m_backColor);
    while (done < total) {
        const std::size_t chunk = std::min(done, total - done);
        std::memcpy(p + done, p, chunk * sizeof(std::uint32_t));
        done += chunk;
    }
}

PixelRect Surface::present() {
    if (m_presentedUnknown) {
        markShown();
        return {0, 0, m_width, m_height};
    }
    if (!m_drawnSincePresent)
        return {};
    m_drawnSincePresent = false;
    // A redraw mostly paints what was there: one comparison of the whole buffer settles it.
    const std::size_t bytes = m_pixels.size() * sizeof(std::uint32_t);
    if (std::memcmp(m_pixels.data(), m_presented.data(), bytes) == 0)
        return {};
    int top = m_height, bottom = -1, left = m_width, right = -1;
    for (int y = 0; y < m_height; ++y) {
        const std::size_t row = static_cast<std::size_t>(y) * static_cast<std::size_t>(m_width);
        const std::uint32_t* now = m_pixels.data() + row;
        const std::uint32_t* before = m_presented.data() + row;
        if (std::memcmp(now, before, static_cast<std::size_t>(m_width) * sizeof(*now)) == 0)
            continue;
        top = std::min(top, y);
        bottom = y;
        int x = 0;
        while (now[x] == before[x])
            ++x;
        left = std::min(left, x);
        x = m_width - 1;
        while (now[x] == before[x])
            --x;
        right = std::max(right, x);
    }
    if (bottom < 0)
        return {};
    m_presented = m_pixels;
    return {left, top, right - left + 1, bottom - top + 1};
}

void Surface::presentUnwatched() noexcept {
    if (m_drawnSincePresent) {
        m_drawnSincePresent = false;
        m_presentedUnknown = true;
    }
}

void Surface::markShown() {
    if (m_presentedUnknown || m_drawnSincePresent)
        m_presented = m_pixels;
    m_presentedUnknown = false;
    m_drawnSincePresent = false;
}

std::uint32_t Surface::pixel(int x, int y) const noexcept {
    if (x < 0 || y < 0 || x >= m_width || y >= m_height) {
        return m_backColor;
    }
    return m_pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(m_width) +
                    static_cast<std::size_t>(x)];
}

// A width-w pen covers w x w pixels; for even w the extra column and row fall before the
// point (width 2 at x covers x-1 and x).
void Surface::plotPen(int x, int y, std::uint32_t color) noexcept {
    const int size = m_drawWidth;
    const int left = x - size / 2;
    const int top = y - size / 2;
    // Outlines are thousands of small stamps: the common whole stamp skips the clipping.
    if (left >= 0 && top >= 0 && left <= m_width - size && top <= m_height - size) {
        std::uint32_t* p = m_pixels.data() + static_cast<std::size_t>(top) * m_width + left;
        if (size == 1) {
            p[0] = color;
        } else if (size == 2) {
            p[0] = p[1] = p[m_width] = p[m_width + 1] = color;
        } else {
            fillBlock(p, m_width, size, size, color);
        }
        return;
    }
    if (left + size <= 0 || top + size <= 0 || left >= m_width || top >= m_height) {
        return;
    }
    const int x0 = std::max(left, 0);
    const int y0 = std::max(top, 0);
    fillBlock(m_pixels.data() + static_cast<std::size_t>(y0) * m_width + x0, m_width,
              std::min(left + size, m_width) - x0, std::min(top + size, m_height) - y0, color);
}

void Surface::circle(float cx, float cy, float radius, std::uint32_t color, float startRadians,
                     float endRadians) {
    if (!isDrawableCoordinate(cx) || !isDrawableCoordinate(cy) || !std::isfinite(radius) ||
        !std::isfinite(startRadians) || !std::isfinite(endRadians)) {
        return;
    }
    if (radius < 0.0f || radius > MaxRadius || m_width == 0 || m_height == 0) {
        return;
    }
    m_drawnSincePresent = true;
    const double r = radius;
    const double reach = r + m_drawWidth; // the outline's extent, pen included
    if (cx + reach < 0.0 || cy + reach < 0.0 || cx - reach > m_width || cy - reach > m_height) {
        return; // the whole ring lies beside the surface
    }
    const double farX = std::max(std::fabs(cx), std::fabs(cx - m_width));
    const double farY = std::max(std::fabs(cy), std::fabs(cy - m_height));
    if (std::sqrt(farX * farX + farY * farY) + m_drawWidth + 1.0 < r) {
        return; // the whole surface lies inside the ring's hole
    }

    const double start = normaliseAngle(startRadians);
    const double end = normaliseAngle(endRadians);
    double sweep = end - start;
    if (sweep < 0.0) {
        sweep += TwoPi; // the arc runs counter-clockwise through 0
    }
    // Ends a whole number of turns apart ask for a full circle, but a float turn is not
    // exactly 2pi, so their normalised values can miss each other by a rounding step.
    const double rounding =
        TurnTolerance * std::max({1.0, std::fabs(static_cast<double>(startRadians)),
                                  std::fabs(static_cast<double>(endRadians))});
    const bool turnsApart =
        std::fabs(static_cast<double>(endRadians) - startRadians) > std::numbers::pi;
    if (turnsApart && (sweep < rounding || sweep > TwoPi - rounding)) {
        sweep = TwoPi;
    }

    long long lastX = std::numeric_limits<long long>::min();
    long long lastY = lastX;
    auto stamp = [&](double c, double s) {
        // Screen y grows downward, so a counter-clockwise angle subtracts its sine.
        const long long px = nearestPixel(cx + r * c);
        const long long py = nearestPixel(cy - r * s);
        if (px != lastX || py != lastY) {
            plotPen(static_cast<int>(px), static_cast<int>(py), color);
            lastX = px;
            lastY = py;
        }
    };

    // Rotate the radius vector step by step instead of evaluating sin and cos per sample.
    const long long steps = static_cast<long long>(std::ceil(sweep * r / ArcStep));
    if (steps > 0) {
        const double delta = sweep / static_cast<double>(steps);
        const double cd = std::cos(delta);
        const double sd = std::sin(delta);
        double c = std::cos(start);
        double s = std::sin(start);
        for (long long i = 0; i < steps; ++i) {
            stamp(c, s);
            const double nc = c * cd - s * sd;
            s = s * cd + c * sd;
            c = nc;
        }
    }
    // The end is evaluated exactly, so it lands where a line to the same point ends.
    stamp(std::cos(end), std::sin(end));
}

void Surface::line(float x1, float y1, float x2, float y2, std::uint32_t color) {
    if (!isDrawableCoordinate(x1) || !isDrawableCoordinate(y1) || !isDrawableCoordinate(x2) ||
        !isDrawableCoordinate(y2)) {
        return;
    }
    m_drawnSincePresent = true;
    long long ax = nearestPixel(x1);
    long long ay = nearestPixel(y1);
    long long bx = nearestPixel(x2);
    long long by = nearestPixel(y2);

    // The pen reaches from before to after each point on both axes.
    const long long before = m_drawWidth / 2;
    const long long after = m_drawWidth - 1 - before;
    if (std::max(ax, bx) + after < 0 || std::max(ay, by) + after < 0 ||
        std::min(ax, bx) - before >= m_width || std::min(ay, by) - before >= m_height) {
        return;
    }

    // Walk the major axis in increasing order, so a line and its reverse cover the same
    // pixels; the minor coordinate is the exact line rounded half up.
    const bool steep = std::llabs(by - ay) > std::llabs(bx - ax);
    if (steep) {
        std::swap(ax, ay);
        std::swap(bx, by);
    }
    if (ax > bx) {
        std::swap(ax, bx);
        std::swap(ay, by);
    }
    const long long majorLimit = steep ? m_height : m_width;
    const long long from = std::max(ax, -after);
    const long long to = std::min(bx, majorLimit - 1 + before);
    const long long dMajor = bx - ax;
    const long long dMinor = by - ay;
    for (long long major = from; major <= to; ++major) {
        const long long minor =
            dMajor == 0 ? ay : ay + floorDiv(2 * (major - ax) * dMinor + dMajor, 2 * dMajor);
        if (steep) {
            plotPen(static_cast<int>(minor), static_cast<int>(major), color);
        } else {
            plotPen(static_cast<int>(major), static_cast<int>(minor), color);
        }
    }
}

bool Surface::floodFill(int x, int y, std::uint32_t borderColor) {
    if (x < 0 || y < 0 || x >= m_width || y >= m_height) {
        return false;
    }
    if (m_pixels[static_cast<std::size_t>(y) * m_width + x] == borderColor) {
        return false;
    }
    m_drawnSincePresent = true;
    SpanFill fill{m_pixels.data(), nullptr,     m_width,    m_height,
                  borderColor,     m_fillColor, m_fillStack};
    // Filling in the border colour closes each painted pixel by itself; any other colour
    // needs marks, or the fill would come back over its own work forever.
    if (m_fillColor == borderColor) {
        fill.run<false>(x, y);
    } else {
        m_fillVisited.assign(m_pixels.size(), 0);
        fill.visited = m_fillVisited.data();
        fill.run<true>(x, y);
    }
    return true;
}

} // namespace merv
