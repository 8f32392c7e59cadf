#include <mervgauge/platform/Surface.h>

#include <mervgauge/dial/DialGeometry.h>
#include <mervgauge/dial/FaceDrawing.h>
#include <mervgauge/layout/SurfaceLayout.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>
#include <string>
#include <vector>

namespace merv {
namespace {

constexpr std::uint32_t Back = 0xC0C0C0;
constexpr std::uint32_t Red = 0x0000FF;
constexpr std::uint32_t Green = 0x00FF00;
constexpr std::uint32_t Blue = 0xFF0000;
constexpr float NaN = std::numeric_limits<float>::quiet_NaN();
constexpr float Inf = std::numeric_limits<float>::infinity();

float rad(double degrees) {
    return static_cast<float>(degrees * std::numbers::pi / 180.0);
}

int countOf(const Surface& s, std::uint32_t color) {
    int n = 0;
    for (std::uint32_t p : s.pixels()) {
        n += p == color ? 1 : 0;
    }
    return n;
}

// The pixel at an angle (degrees, counter-clockwise on screen) and radius around a centre.
std::uint32_t polar(const Surface& s, double cx, double cy, double degrees, double r) {
    return s.pixel(static_cast<int>(std::lround(cx + r * std::cos(rad(degrees)))),
                   static_cast<int>(std::lround(cy - r * std::sin(rad(degrees)))));
}

// Whether that pixel or one of its eight neighbours has the colour: a rasterised outline
// need not hit the exact rounded point of every angle.
bool polarNear(const Surface& s, double cx, double cy, double degrees, double r,
               std::uint32_t color) {
    const long x = std::lround(cx + r * std::cos(rad(degrees)));
    const long y = std::lround(cy - r * std::sin(rad(degrees)));
    for (long dy = -1; dy <= 1; ++dy) {
        for (long dx = -1; dx <= 1; ++dx) {
            if (s.pixel(static_cast<int>(x + dx), static_cast<int>(y + dy)) == color) {
                return true;
            }
        }
    }
    return false;
}

TEST(SurfaceState, ClsRestoresTheCurrentBackColour) {
    Surface s(7, 5, Back);
    s.setDrawWidth(3);
    s.line(0, 0, 6, 4, Red);
    s.setBackColor(Green);
    s.cls();
    EXPECT_EQ(countOf(s, Green), 35);
    EXPECT_EQ(s.pixel(-1, 2), Green) << "outside reads as the background";
    EXPECT_EQ(s.pixel(7, 0), Green);
    EXPECT_EQ(s.pixel(0, 5), Green);
}

TEST(SurfacePresent, ReportsTheBoundsOfWhatChangedAndNothingForTheSamePixels) {
    Surface s(20, 10, Back);
    s.line(3, 2, 8, 2, Red);
    EXPECT_EQ(s.present(), (PixelRect{3, 2, 6, 1}));
    EXPECT_EQ(s.present(), PixelRect{}) << "nothing drawn since";
    s.cls();
    s.line(3, 2, 8, 2, Red);
    EXPECT_EQ(s.present(), PixelRect{}) << "redrawn as it was";
}

TEST(SurfacePresent, AfterAnUnwatchedPresentTheNextReportsTheWholeSurface) {
    Surface s(20, 10, Back);
    s.line(3, 2, 8, 2, Red);
    s.presentUnwatched();
    // Nobody knows what a view would show: whatever it is, all of it may differ.
    EXPECT_EQ(s.present(), (PixelRect{0, 0, 20, 10}));
    s.line(3, 2, 8, 2, Red);
    EXPECT_EQ(s.present(), PixelRect{}) << "that present kept the image again";
}

TEST(SurfacePresent, PresentsCompareWithWhatWasMarkedShown) {
    Surface s(20, 10, Back);
    s.line(3, 2, 8, 2, Red);
    s.presentUnwatched();
    s.line(0, 9, 0, 9, Green); // drawn and never presented
    s.markShown();
    EXPECT_EQ(s.present(), PixelRect{}) << "a view painted all of this when it started";
    s.line(10, 5, 12, 5, Blue);
    EXPECT_EQ(s.present(), (PixelRect{10, 5, 3, 1}));
}

TEST(SurfacePen, StampsAWidthByWidthBlockAroundThePoint) {
    struct Row {
        int width;
        int left; // first covered column and row for a point rounding to (10, 10)
    };
    for (const Row row : {Row{1, 10}, Row{2, 9}, Row{3, 9}, Row{4, 8}}) {
        Surface s(21, 21, Back);
        s.setDrawWidth(row.width);
        s.line(10.3f, 9.6f, 10.3f, 9.6f, Red);
        EXPECT_EQ(countOf(s, Red), row.width * row.width) << "width " << row.width;
        EXPECT_EQ(s.pixel(row.left, row.left), Red) << "width " << row.width;
        EXPECT_EQ(s.pixel(row.left + row.width - 1, row.left + row.width - 1), Red);
        EXPECT_EQ(s.pixel(row.left - 1, row.left), Back) << "width " << row.width;
    }
}

// Shapes that cross every edge of a small surface must leave exactly the pixels they leave
// on a larger one.
TEST(SurfacePen, ClippedDrawingMatchesTheSameDrawingOnALargerSurface) {
    constexpr int Shift = 30;
    auto draw = [](Surface& s, float d) {
        s.setDrawWidth(3);
        s.line(-10 + d, 5.2f + d, 50 + d, 20.7f + d, Red);
        s.line(20.4f + d, -7 + d, 12 + d, 40 + d, Green);
        s.circle(18 + d, 12 + d, 16, Blue, 0.3f, 5.9f);
        s.circle(1 + d, 1 + d, 9, Red, 3.5f, 2.0f);
    };
    Surface small(36, 24, Back);
    Surface large(100, 100, Back);
    draw(small, 0);
    draw(large, Shift);
    for (int y = 0; y < small.height(); ++y) {
        for (int x = 0; x < small.width(); ++x) {
            ASSERT_EQ(small.pixel(x, y), large.pixel(x + Shift, y + Shift)) << x << "," << y;
        }
    }
}

TEST(SurfaceLine, CoversBothEndsWithOnePixelPerMajorStepInEitherDirection) {
    struct Row {
        const char* name;
        float x1, y1, x2, y2;
    };
    const Row rows[] = {
        {"horizontal", 2, 5, 17, 5},
        {"vertical", 4, 1, 4, 18},
        {"diagonal", 1, 1, 15, 15},
        {"shallow", 0, 3, 19, 9},
        {"steep", 12, 0, 7, 19},
        {"single point", 6, 6, 6, 6},
        {"fractional", 1.4f, 2.6f, 17.5f, 11.49f},
    };
    for (const Row& row : rows) {
        Surface forward(20, 20, Back);
        Surface backward(20, 20, Back);
        forward.line(row.x1, row.y1, row.x2, row.y2, Red);
        backward.line(row.x2, row.y2, row.x1, row.y1, Red);
        const long dx = std::lround(row.x2) - std::lround(row.x1);
        const long dy = std::lround(row.y2) - std::lround(row.y1);
        EXPECT_EQ(countOf(forward, Red), std::max(std::labs(dx), std::labs(dy)) + 1) << row.name;
        EXPECT_EQ(forward.pixel(std::lround(row.x1), std::lround(row.y1)), Red) << row.name;
        EXPECT_EQ(forward.pixel(std::lround(row.x2), std::lround(row.y2)), Red) << row.name;
        EXPECT_EQ(forward.pixels(), backward.pixels()) << row.name;
        // Each pixel is the exact line's nearest along the minor axis.
        const double ax = std::lround(row.x1);
        const double ay = std::lround(row.y1);
        for (int y = 0; y < 20; ++y) {
            for (int x = 0; x < 20; ++x) {
                if (forward.pixel(x, y) != Red || (dx == 0 && dy == 0)) {
                    continue;
                }
                const double off = std::labs(dx) >= std::labs(dy)
                                       ? y - (ay + (x - ax) * dy / static_cast<double>(dx))
                                       : x - (ax + (y - ay) * dx / static_cast<double>(dy));
                EXPECT_LE(std::fabs(off), 0.5) << row.name << " at " << x << "," << y;
            }
        }
    }
}

TEST(SurfaceLine, FarEndsAreClippedNotSkipped) {
    Surface s(40, 30, Back);
    s.line(-1e6f, 10, 1e6f, 10, Red);
    s.line(7, -1e6f, 7, 1e6f, Green);
    EXPECT_EQ(countOf(s, Red), 39);
    EXPECT_EQ(countOf(s, Green), 30);
}

TEST(SurfaceLine, NonFiniteOrAbsurdEndsDrawNothing) {
    const float rows[][4] = {{NaN, 1, 5, 5}, {1, 1, Inf, 5}, {1, -Inf, 5, 5}, {1, 1, 5, 1e30f}};
    for (const auto& row : rows) {
        Surface s(10, 10, Back);
        s.line(row[0], row[1], row[2], row[3], Red);
        EXPECT_EQ(countOf(s, Back), 100);
    }
}

TEST(SurfaceLine, DrawsInTheForeColourWithoutAnExplicitColour) {
    Surface s(10, 10, Back);
    s.setForeColor(Blue);
    s.line(1, 1, 8, 1);
    EXPECT_EQ(countOf(s, Blue), 8);
}

TEST(SurfaceArc, RunsCounterClockwiseAsSeenOnScreen) {
    struct Row {
        const char* name;
        float start, end;            // radians
        std::vector<double> on, off; // probe angles in degrees
    };
    const Row rows[] = {
        {"first quadrant is upper right", 0, rad(90), {10, 45, 80}, {135, 270}},
        {"second quadrant is upper left", rad(90), rad(180), {100, 135}, {45, 270}},
        {"end below start wraps through zero", rad(270), rad(90), {300, 0, 60}, {180}},
        {"117 to 63 runs the long way below", rad(117), rad(63), {150, 270, 30}, {90}},
        {"negative angles", rad(-90), 0, {300}, {45, 180}},
        {"angles beyond a turn", rad(720), rad(450), {45}, {180, 270}},
    };
    for (const Row& row : rows) {
        Surface s(101, 101, Back);
        s.circle(50, 50, 30, Red, row.start, row.end);
        for (double a : row.on) {
            EXPECT_TRUE(polarNear(s, 50, 50, a, 30, Red)) << row.name << " at " << a;
        }
        for (double a : row.off) {
            EXPECT_FALSE(polarNear(s, 50, 50, a, 30, Red)) << row.name << " at " << a;
        }
    }
}

TEST(SurfaceArc, StaysOnItsRadiusAndReachesBothEnds) {
    Surface s(101, 101, Back);
    s.circle(50.3f, 49.8f, 33.3f, Red, rad(20), rad(160));
    for (double a : {20.0, 160.0}) {
        const double x = 50.3f + 33.3f * std::cos(static_cast<double>(rad(a)));
        const double y = 49.8f - 33.3f * std::sin(static_cast<double>(rad(a)));
        EXPECT_EQ(s.pixel(std::lround(x), std::lround(y)), Red) << "end at " << a;
    }
    for (int y = 0; y < 101; ++y) {
        for (int x = 0; x < 101; ++x) {
            if (s.pixel(x, y) == Red) {
                EXPECT_NEAR(std::hypot(x - 50.3, y - 49.8), 33.3, 0.75) << x << "," << y;
            }
        }
    }
}

TEST(SurfaceArc, EqualEndsDrawOnePenStamp) {
    for (int width : {1, 2, 3}) {
        Surface s(41, 41, Back);
        s.setDrawWidth(width);
        s.circle(20, 20, 10, Red, 1.0f, 1.0f);
        EXPECT_EQ(countOf(s, Red), width * width) << "width " << width;
        EXPECT_EQ(polar(s, 20, 20, 1.0 * 180 / std::numbers::pi, 10), Red);
    }
}

TEST(SurfaceArc, IsAnOutlineWhateverTheFillStyle) {
    for (int style : {0, 1}) {
        Surface s(41, 41, Back);
        s.setFillStyle(style);
        s.circle(20, 20, 10, Red, 0, rad(359.9));
        EXPECT_EQ(s.pixel(20, 20), Back) << "fill style " << style;
        EXPECT_LT(countOf(s, Red), 80) << "fill style " << style;
    }
}

TEST(SurfaceArc, NonFiniteOrAbsurdInputDrawsNothing) {
    struct Row {
        const char* name;
        float cx, cy, r, start, end;
    };
    const Row rows[] = {
        {"NaN centre", NaN, 5, 3, 0, 1},
        {"infinite radius", 5, 5, Inf, 0, 1},
        {"negative radius", 5, 5, -3, 0, 1},
        {"huge radius", 5, 5, 1e9f, 0, 6},
        {"NaN start", 5, 5, 3, NaN, 1},
        {"infinite end", 5, 5, 3, 0, -Inf},
        {"far away centre", 1e7f, 1e7f, 50, 0, 6},
        {"surface inside the hole", 5, 5, 3e4f, 0, 6},
    };
    for (const Row& row : rows) {
        Surface s(10, 10, Back);
        s.circle(row.cx, row.cy, row.r, Red, row.start, row.end);
        EXPECT_EQ(countOf(s, Back), 100) << row.name;
    }
}

TEST(SurfaceArc, ClosedCircleHoldsAFill) {
    for (int width : {1, 2}) {
        for (float r : {3.0f, 12.5f, 40.0f}) {
            Surface s(101, 101, Back);
            s.setDrawWidth(width);
            s.setFillColor(Green);
            s.circle(50, 50, r, Red, 0, 2 * std::numbers::pi_v<float>); // a float turn
            ASSERT_TRUE(s.floodFill(50, 50, Red));
            EXPECT_EQ(s.pixel(0, 0), Back) << "width " << width << " radius " << r;
            EXPECT_EQ(s.pixel(50, 50 + static_cast<int>(r) + 3), Back);
        }
    }
}

TEST(SurfaceFill, RejectsASeedOutsideOrOnTheBorder) {
    Surface s(10, 10, Back);
    s.line(0, 4, 9, 4, Red);
    s.setFillColor(Green);
    const int seeds[][2] = {{-1, 0}, {0, -1}, {10, 0}, {0, 10}, {3, 4}};
    for (const auto& seed : seeds) {
        EXPECT_FALSE(s.floodFill(seed[0], seed[1], Red)) << seed[0] << "," << seed[1];
    }
    EXPECT_EQ(countOf(s, Green), 0);
}

TEST(SurfaceFill, StopsOnlyAtTheBorderColourAndOnlyFourConnected) {
    Surface s(20, 20, Back);
    s.line(2, 2, 17, 2, Red);
    s.line(17, 2, 17, 17, Red);
    s.line(17, 17, 2, 17, Red);
    s.line(2, 17, 2, 2, Red);
    s.line(3, 10, 16, 10, Blue); // another colour does not stop the fill
    s.line(3, 14, 6, 17, Red);   // a diagonal wall closes a corner for a 4-connected fill
    s.setFillColor(Green);
    ASSERT_TRUE(s.floodFill(8, 5, Red));
    EXPECT_EQ(s.pixel(8, 10), Green);
    EXPECT_EQ(s.pixel(8, 15), Green);
    EXPECT_EQ(s.pixel(3, 16), Back) << "behind the diagonal";
    EXPECT_EQ(s.pixel(0, 0), Back);
    EXPECT_EQ(s.pixel(19, 19), Back);
    EXPECT_EQ(countOf(s, Green), 14 * 14 - 3 - 3) << "all but the wall and its corner";
}

// A serpentine with long corridors would overflow a recursive fill; both the self-marking
// fill (fill colour = border) and the marked one (fill colour != border) must finish.
TEST(SurfaceFill, FinishesOnALargeSerpentine) {
    constexpr int Side = 1000;
    for (std::uint32_t fill : {Red, Green}) {
        Surface s(Side, Side, Back);
        for (int y = 1; y < Side; y += 2) {
            const float gap = (y / 2) % 2 == 0 ? Side - 1 : 0;
            s.line(0, static_cast<float>(y), Side - 1, static_cast<float>(y), Red);
            s.line(gap, static_cast<float>(y), gap, static_cast<float>(y), Back);
        }
        s.setFillColor(fill);
        ASSERT_TRUE(s.floodFill(0, 0, Red));
        EXPECT_EQ(countOf(s, Back), 0) << "fill " << fill;
    }
}

// Zone colours distinct from each other and from the background.
constexpr ZoneColors Zones{Red, 0x00FFFF, Green};
constexpr int FaceWidth = Layout::DialSurfaceWidth;
constexpr int FaceHeight = Layout::DialSurfaceHeight;
constexpr double CentreX = dial::CentreX;
constexpr double CentreY = dial::CentreY;

// A face's geometry with the band count whose fill runs, its seed being off the outline.
struct FaceCase {
    const char* name;
    dial::FaceGeometry geometry;
    int fills;
};

dial::FaceGeometry unnudged(float alarmLow, float warningLow, float warningHigh, float alarmHigh) {
    return {alarmHigh, warningHigh, warningLow, alarmLow,
            alarmHigh, warningHigh, warningLow, alarmLow};
}

struct Seed {
    int x;
    int y;
};

Seed bandSeed(const dial::ZoneBand& band) {
    const dial::Point seed = dial::computeBandSeed(band.p, band.q);
    return {dial::roundHalfEven(seed.x), dial::roundHalfEven(seed.y)};
}

// Nothing outside the ring or below the dial's horizontal diameter may take a colour.
void expectNothingOutsideTheRing(const Surface& s, const std::string& where) {
    for (int y = 0; y < s.height(); ++y) {
        for (int x = 0; x < s.width(); ++x) {
            const double d = std::hypot(x - CentreX, y - CentreY);
            if (d < 66.0 || d > 80.0 || y > 79) {
                ASSERT_EQ(s.pixel(x, y), Back) << where << " leaked to " << x << "," << y;
            }
        }
    }
}

// Draws the bands in order and checks after each that its fill stayed inside.
void expectBandsStayInside(const std::vector<dial::ZoneBand>& bands, const std::string& name,
                           int expectedFills) {
    Surface s(FaceWidth, FaceHeight, Back);
    std::vector<bool> filled;
    for (std::size_t i = 0; i < bands.size(); ++i) {
        filled.push_back(dial::DrawZoneBand(s, bands[i]));
        const std::string where = name + " band " + std::to_string(i + 1);
        expectNothingOutsideTheRing(s, where);
        if (filled.back()) {
            const Seed seed = bandSeed(bands[i]);
            EXPECT_EQ(s.pixel(seed.x, seed.y), bands[i].color) << where;
        }
    }
    EXPECT_EQ(std::count(filled.begin(), filled.end(), true), expectedFills) << name;
    // Away from its edges, a filled band carries its colour along the mid radius.
    for (std::size_t i = 0; i < bands.size(); ++i) {
        int samples = 0;
        int hits = 0;
        for (double a = bands[i].q + 3.0; a <= bands[i].p - 3.0; a += 0.5) {
            ++samples;
            hits += polar(s, CentreX, CentreY, a, 73) == bands[i].color ? 1 : 0;
        }
        if (filled[i]) {
            EXPECT_GE(hits, samples * 9 / 10) << name << " band " << i + 1;
        }
    }
}

TEST(DialBands, DefaultBandsFillInsideTheirOutlines) {
    const Seed expected[] = {{14, 56}, {36, 23}, {83, 6}, {130, 23}, {152, 56}};
    const auto bands = dial::zoneBands(unnudged(144, 117, 63, 36), Zones);
    ASSERT_EQ(bands.size(), 5u);
    for (std::size_t i = 0; i < bands.size(); ++i) {
        EXPECT_EQ(bandSeed(bands[i]).x, expected[i].x) << "band " << i + 1;
        EXPECT_EQ(bandSeed(bands[i]).y, expected[i].y) << "band " << i + 1;
    }
    EXPECT_NEAR(dial::pointAt(144, dial::BandOuterRadius).x, 20.71, 0.005);
    EXPECT_NEAR(dial::pointAt(117, dial::BandInnerRadius).y, 16.52, 0.005);
    expectBandsStayInside(bands, "default", 5);
}

TEST(DialBands, OtherThresholdsFillInsideTheirOutlines) {
    // Geometry fields: alarm high, warning high, warning low, alarm low; then their arcs.
    const FaceCase rows[] = {
        {"edges at ninety degrees", unnudged(150, 120, 90, 60), 5},
        {"alarm low up to ninety", unnudged(90, 60, 30, 10), 5},
        {"bands a few degrees wide", unnudged(100, 97, 93, 90), 5},
        {"arcs nudged to both ends", {0, 0, 180, 180, 0.01f, 0.02f, 179.98f, 179.99f}, 1},
        {"alarm arcs nudged to the ends", {0, 30, 150, 180, 0.01f, 30, 150, 179.99f}, 3},
        {"alarm equals warning", {54, 54, 126, 126, 54, 54.01f, 125.99f, 126}, 3},
        // Two degrees are too narrow for an inside: the seed falls on the edges.
        {"narrow alarm bands", unnudged(178, 120, 60, 2), 3},
    };
    for (const FaceCase& row : rows) {
        expectBandsStayInside(dial::zoneBands(row.geometry, Zones), row.name, row.fills);
    }
}

// A larger scale draws the same bands with device-sized pens: every seed, scaled, lands inside
// its band's colour and nothing reaches outside the scaled ring.
TEST(DialBands, ScaledFacesFillTheSameBands) {
    const dial::FaceGeometry geometry = unnudged(144, 117, 63, 36);
    for (const int scale : {2, 3}) {
        Surface s(FaceWidth * scale, FaceHeight * scale, Back);
        dial::drawFace(s, geometry, Zones, scale);
        for (const dial::ZoneBand& band : dial::zoneBands(geometry, Zones)) {
            const Seed seed = bandSeed(band);
            EXPECT_EQ(s.pixel(seed.x * scale + scale / 2, seed.y * scale + scale / 2), band.color)
                << "scale " << scale << " band at " << band.p;
        }
        const double cx = (CentreX + 0.5) * scale - 0.5;
        const double cy = (CentreY + 0.5) * scale - 0.5;
        for (int y = 0; y < s.height(); ++y) {
            for (int x = 0; x < s.width(); ++x) {
                const double d = std::hypot(x - cx, y - cy) / scale;
                if (d < 66.0 || d > 80.0)
                    ASSERT_EQ(s.pixel(x, y), Back) << "scale " << scale << " at " << x << "," << y;
            }
        }
    }
}

// Arcs that cover almost nothing leave the outline open, and the fill runs everywhere.
TEST(DialBands, OpenOutlineLeaksAcrossTheSurface) {
    Surface s(FaceWidth, FaceHeight, Back);
    ASSERT_TRUE(dial::DrawZoneBand(s, {Red, 90, 0, 0, dial::arcRadians(0.01f)}));
    const int points[][2] = {
        {83, 78}, {0, 0}, {FaceWidth - 1, 0}, {0, FaceHeight - 1}, {FaceWidth - 1, FaceHeight - 1}};
    for (const auto& p : points) {
        EXPECT_EQ(s.pixel(p[0], p[1]), Red) << p[0] << "," << p[1];
    }
    EXPECT_EQ(countOf(s, Back), 0);
}

} // namespace
} // namespace merv
