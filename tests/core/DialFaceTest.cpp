#include "TestSite.h"

#include <mervgauge/dial/DialGeometry.h>
#include <mervgauge/platform/RuntimeError.h>

#include <cmath>
#include <gtest/gtest.h>

namespace merv::test {
namespace {

constexpr std::uint32_t Red = 255, Yellow = 65535, Green = 65280, Grey = 12632256;

// The colour on the band's middle radius at an angle.
std::uint32_t bandColorAt(const Hosted& h, double degrees) {
    const double r = dial::toRadians(degrees);
    return h.ui().Sfondo.surface().pixel(int(std::lround(83 + 73 * std::cos(r))),
                                         int(std::lround(78 - 73 * std::sin(r))));
}

// Redraws with thresholds and scale written straight into their elements.
void redraw(Hosted& h, const char* min, const char* max, const char* al, const char* wl,
            const char* wh, const char* ah) {
    h.ui().Minimo.setCaption(min);
    h.ui().Massimo.setCaption(max);
    h.ui().AlarmL.setText(al);
    h.ui().WarningL.setText(wl);
    h.ui().WarningH.setText(wh);
    h.ui().AlarmH.setText(ah);
    h->InitTimer_Timer();
}

TEST(DialGeometry, ValueToAngleMapsTheScaleOntoTheUpperHalf) {
    EXPECT_EQ(dial::valueToAngle(0, 0, 100), 180.0f);
    EXPECT_EQ(dial::valueToAngle(100, 0, 100), 0.0f);
    EXPECT_EQ(dial::valueToAngle(80, 0, 100), 36.0f);
    EXPECT_EQ(dial::valueToAngle(35, 0, 100), 117.0f);
    EXPECT_EQ(dial::valueToAngle(100, 100, 0), 180.0f); // inverted scale: min still left
    EXPECT_EQ(dial::valueToAngle(25, 100, 0), 45.0f);
    try {
        dial::valueToAngle(60, 50, 50);
        ADD_FAILURE();
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number(), ErrorNumber::DivisionByZero);
    }
    try {
        dial::valueToAngle(50, 50, 50);
        ADD_FAILURE();
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number(), ErrorNumber::Overflow);
    }
}

TEST(DialGeometry, BandEndsAndSeedsMatchTheWorkedValues) {
    struct Row {
        float p, q;
        float sox, soy, eix, eiy;
        int seedX, seedY;
    };
    const Row rows[] = {
        {180, 144, 6.00f, 78.00f, 27.18f, 37.44f, 14, 56},
        {144, 117, 20.71f, 32.74f, 51.67f, 16.52f, 36, 23},
        {117, 63, 48.04f, 9.39f, 114.33f, 16.52f, 83, 6},
        {63, 36, 117.96f, 9.39f, 138.82f, 37.44f, 130, 23},
        {36, 0, 145.29f, 32.74f, 152.00f, 78.00f, 152, 56},
    };
    for (const Row& row : rows) {
        const auto ends = dial::computeBandEnds(row.p, row.q);
        EXPECT_NEAR(ends.startOuter.x, row.sox, 0.005);
        EXPECT_NEAR(ends.startOuter.y, row.soy, 0.005);
        EXPECT_NEAR(ends.endInner.x, row.eix, 0.005);
        EXPECT_NEAR(ends.endInner.y, row.eiy, 0.005);
        const auto seed = dial::computeBandSeed(row.p, row.q);
        EXPECT_EQ(dial::roundHalfEven(seed.x), row.seedX) << row.p;
        EXPECT_EQ(dial::roundHalfEven(seed.y), row.seedY) << row.p;
    }
    EXPECT_EQ(dial::roundHalfEven(14.5), 14);
    EXPECT_EQ(dial::roundHalfEven(15.5), 16);
}

TEST(DialFace, DefaultFaceHasFiveBandsTicksAndLabels) {
    auto h = Hosted::restored();
    struct Row {
        double degrees;
        std::uint32_t color;
    };
    const Row rows[] = {{170, Red},  {150, Red},   {130, Yellow}, {120, Yellow}, {90, Green},
                        {70, Green}, {50, Yellow}, {40, Yellow},  {20, Red},     {5, Red}};
    for (const Row& row : rows)
        EXPECT_EQ(bandColorAt(*h, row.degrees), row.color) << row.degrees;
    const Surface& s = h->ui().Sfondo.surface();
    EXPECT_EQ(s.pixel(83, 78), Grey); // the centre stays background
    EXPECT_EQ(s.pixel(83, 60), Grey); // inside the ring
    EXPECT_EQ(s.pixel(3, 70), Grey);  // outside the ring
    EXPECT_EQ(s.pixel(0, 0), Grey);   // a corner
    // Each tick crosses the band in black.
    for (float degrees : {36.0f, 72.0f, 108.0f, 144.0f}) {
        const auto middle = dial::pointAt(degrees, 73);
        int black = 0;
        for (int dx = -1; dx <= 1; ++dx)
            for (int dy = -1; dy <= 1; ++dy)
                black +=
                    s.pixel(int(std::lround(middle.x)) + dx, int(std::lround(middle.y)) + dy) == 0u;
        EXPECT_GT(black, 0) << degrees;
    }
    EXPECT_EQ(h->ui().Venti.caption(), "20");
    EXPECT_EQ(h->ui().Ottanta.caption(), "80");
    EXPECT_EQ(h->gauge->face().geometry().alarmLowAngle, 144.0f);
    EXPECT_EQ(h->gauge->face().geometry().warningHighAngle, 63.0f);
}

TEST(DialFace, ThresholdsOutsideTheScaleAreClampedHighToMaxLowToMin) {
    auto h = Hosted::restored();
    redraw(*h, "0", "100", "-5", "35", "150", "-5");
    EXPECT_EQ(h->ui().AlarmL.text(), "0");
    EXPECT_EQ(h->ui().WarningH.text(), "100");
    EXPECT_EQ(h->ui().AlarmH.text(), "100"); // a high threshold below the scale goes to max
    EXPECT_EQ(h->gauge->face().geometry().alarmLowAngle, 180.0f);
    EXPECT_EQ(bandColorAt(*h, 170), Yellow); // no alarm-low band: warning-low reaches 180
    EXPECT_EQ(h->gauge->alarmHighSnapshot(), "100");
}

TEST(DialFace, ArcAdjustmentsAtTheScaleEndsAndEqualThresholds) {
    auto h = Hosted::restored();
    struct Row {
        const char *al, *wl, *wh, *ah;
        float warningHighArc, warningLowArc, alarmHighArc;
    };
    const Row rows[] = {
        {"20", "35", "100", "100", 0.01f, 117.0f, 0.01f}, // both high ones at the maximum
        {"20", "35", "65", "100", 63.0f, 117.0f, 0.01f},
        {"0", "0", "65", "80", 63.0f, 179.99f, 36.0f},   // both low ones at the minimum
        {"20", "35", "70", "70", 54.01f, 117.0f, 54.0f}, // equal high thresholds
    };
    for (const Row& row : rows) {
        redraw(*h, "0", "100", row.al, row.wl, row.wh, row.ah);
        EXPECT_FLOAT_EQ(h->gauge->face().geometry().warningHighArc, row.warningHighArc) << row.wh;
        EXPECT_FLOAT_EQ(h->gauge->face().geometry().warningLowArc, row.warningLowArc) << row.wl;
        EXPECT_FLOAT_EQ(h->gauge->face().geometry().alarmHighArc, row.alarmHighArc) << row.ah;
    }
}

TEST(DialFace, IntermediateLabelsShowOneDecimalWhenNotWhole) {
    auto h = Hosted::restored();
    struct Row {
        const char *min, *max;
        std::vector<std::string> labels;
    };
    const Row rows[] = {
        {"0", "1.1", {"0.2", "0.4", "0.7", "0.9"}},
        {"0", "3", {"0.6", "1.2", "1.8", "2.4"}},
        {"-50", "50", {"-30", "-10", "10", "30"}},
        {"0", "1000000", {"200000", "400000", "600000", "800000"}},
    };
    for (const Row& row : rows) {
        redraw(*h, row.min, row.max, row.min, row.min, row.max, row.max);
        const auto& ui = h->ui();
        EXPECT_EQ((std::vector<std::string>{ui.Venti.caption(), ui.Quaranta.caption(),
                                            ui.Sessanta.caption(), ui.Ottanta.caption()}),
                  row.labels)
            << row.max;
    }
}

TEST(DialFace, EachRedrawReadsTheScaleInTheLocaleItRunsIn) {
    auto h = Hosted::restored();
    redraw(*h, "0", "2,5", "0", "0", "2,5", "2,5");
    EXPECT_EQ(h->ui().Ottanta.caption(), "20") << "a group separator: the scale ends at 25";
    h->site.locale = {",", "."};
    h->gauge->InitTimer_Timer(); // the same texts, now with a decimal comma
    EXPECT_EQ(h->ui().Ottanta.caption(), "2");
    EXPECT_EQ(h->ui().Venti.caption(), "0,5");
}

TEST(DialFace, AZeroSpanFailsAndLeavesTheFaceClearedAndTheTimerRunning) {
    auto h = Hosted::restored();
    h->ui().InitTimer.setEnabled(true);
    h->gauge->setMinValue(50);
    h->gauge->setMaxValue(50);
    try {
        h->ui().InitTimer.tick();
        ADD_FAILURE();
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number(), ErrorNumber::Overflow);
    }
    EXPECT_EQ(h->ui().AlarmH.text(), "50");
    EXPECT_EQ(h->ui().AlarmL.text(), "50");
    EXPECT_EQ(bandColorAt(*h, 90), Grey);
    EXPECT_TRUE(h->ui().InitTimer.enabled());
    EXPECT_EQ(h->gauge->alarmHighSnapshot(), "80"); // the last good redraw's
}

TEST(DialFace, AnInvertedScaleDrawsOnlyTheNormalBand) {
    auto h = Hosted::restored();
    redraw(*h, "100", "0", "20", "35", "65", "80");
    EXPECT_EQ(h->ui().AlarmH.text(), "0");
    EXPECT_EQ(h->ui().AlarmL.text(), "100");
    EXPECT_FLOAT_EQ(h->gauge->face().geometry().warningHighArc, 0.01f);
    EXPECT_FLOAT_EQ(h->gauge->face().geometry().warningLowArc, 179.99f);
    for (double degrees : {5.0, 90.0, 175.0})
        EXPECT_EQ(bandColorAt(*h, degrees), Green) << degrees;
    EXPECT_EQ(h->ui().Venti.caption(), "80");
}

TEST(DialFace, AnOpenBandOutlineLeaksItsFill) {
    // The high alarm below a high warning at the maximum: its arcs run only from 0 to
    // 0.01 degrees while its edges stand at 90 and 0, so its fill escapes the ring.
    auto h = Hosted::restored();
    redraw(*h, "0", "100", "20", "35", "100", "50");
    EXPECT_FLOAT_EQ(h->gauge->face().geometry().alarmHighArc, 0.01f);
    EXPECT_EQ(h->ui().Sfondo.surface().pixel(83, 78), Red);
}

TEST(DialFace, ASystemColourIsKeptAsWrittenAndResolvedByTheSite) {
    auto h = Hosted::restored();
    constexpr std::uint32_t ButtonFace = 0x8000000Fu;
    h->gauge->setBackColorGraphic(ButtonFace);
    h->gauge->InitTimer_Timer();
    EXPECT_EQ(h->gauge->BackColorGraphic(), ButtonFace);
    const std::uint32_t background = h->ui().Sfondo.surface().pixel(83, 60);
    EXPECT_EQ(background, ButtonFace);
    // Not the low byte as red: the desktop's button face, or the host's own.
    EXPECT_EQ(h->site.realColor(background), 0xF0F0F0u);
    h->site.systemColors[0x0F] = 0x123456u;
    EXPECT_EQ(h->site.realColor(background), 0x123456u);
}

TEST(SystemColors, ColourValuesResolveToRealColours) {
    const TestSite site;
    struct Row {
        std::uint32_t value, real;
        const char* shows;
    };
    const Row rows[] = {
        {0x00C0C0C0u, 0xC0C0C0u, "a real colour as it is"},
        {0x80000005u, 0xFFFFFFu, "window background"},
        {0x80000008u, 0x000000u, "window text"},
        {0x8000000Du, 0xD77800u, "highlight"},
        {0x80000018u, 0xE1FFFFu, "tooltip background, the last index the table knows"},
        {0x80000019u, 0x000000u, "an index past the table"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(site.realColor(row.value), row.real) << row.shows;
}

} // namespace
} // namespace merv::test
