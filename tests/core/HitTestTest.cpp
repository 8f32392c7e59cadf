#include "TestSite.h"

#include <mervgauge/platform/HitTest.h>

#include <gtest/gtest.h>

namespace merv::test {
namespace {

TEST(HitTest, AClickReachesTheFrontmostElementTakingMouseInput) {
    auto h = Hosted::restored();
    const Container& control = h->ui().userControl;
    struct Row {
        int xPixel, yPixel;
        const char* expected;
    };
    const Row closed[] = {
        {83, 16 + 78, "Centro"}, // the hub over the needle and the face
        {51, 16 + 78, "Sfondo"}, // the needle takes no mouse input
        {30, 16 + 72, "Minimo"}, // a scale label on the face
        {100, 118, "Variabile"}, // on the white band
        {5, 110, "UserControl"}, // a shape takes no mouse input
        {10, 10, "AltoSx"},      // a corner ornament
    };
    for (const Row& row : closed) {
        const Element* e = elementAt(control, row.xPixel * 15, row.yPixel * 15);
        ASSERT_NE(e, nullptr);
        EXPECT_EQ(e->name(), row.expected) << row.xPixel << "," << row.yPixel;
    }
    h->gauge->editor().openPanel();
    EXPECT_EQ(elementAt(control, 55 * 15, 39 * 15)->name(), "SfondoAl"); // between its rows
    EXPECT_EQ(elementAt(control, 83 * 15, (16 + 78) * 15)->name(), "AL");
    EXPECT_EQ(elementAt(control, 1 * 15, 50 * 15)->name(), "Sfondo"); // its one uncovered column
    EXPECT_EQ(elementAt(control, 120 * 15, 18 * 15)->name(), "AlarmH");
    EXPECT_EQ(elementAt(control, 5000, 100), nullptr);
}

TEST(HitTest, EachThresholdFieldIsCaptionedByTheLabelOnItsRow) {
    auto h = Hosted::restored();
    const GaugeElements& ui = h->ui();
    const std::pair<const Element*, const Label*> rows[] = {
        {&ui.AlarmH, &ui.AH}, {&ui.WarningH, &ui.WH},     {&ui.WarningL, &ui.WL},
        {&ui.AlarmL, &ui.AL}, {&ui.userControl, nullptr}, // the control stands in no container
    };
    for (const auto& [element, caption] : rows)
        EXPECT_EQ(captionOf(*element), caption) << element->name();
}

} // namespace
} // namespace merv::test
