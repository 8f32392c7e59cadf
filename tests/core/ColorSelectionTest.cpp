#include "PageTestSite.h"
#include "TestSite.h"

#include <mervgauge/control/GaugeSelection.h>

#include <gtest/gtest.h>

#include <algorithm>

namespace merv::test {
namespace {

struct SwatchRow {
    const char* swatch;
    const char* property;
};
const SwatchRow Swatches[] = {
    {"TC", "TextColor"},      {"BC", "BordersColor"}, {"BCG", "BackColorGraphic"},
    {"BCT", "BackColorText"}, {"AC", "AlarmColor"},   {"WC", "WarningColor"},
    {"NC", "NormalColor"},
};

class ColorSelection : public ::testing::Test {
protected:
    std::unique_ptr<Hosted> gauge = Hosted::fresh(/*userMode=*/false);
    GaugeSelection selected{**gauge, gauge->site};
    PageSite site;
    std::unique_ptr<PropertyPage1> page;

    void SetUp() override {
        site.selection = {&selected};
        page = std::make_unique<PropertyPage1>(site);
        page->SelectionChanged();
        site.changed = false;
    }
    PictureBox& swatch(const char* name) {
        return static_cast<PictureBox&>(*page->elements().find(name));
    }
    void click(PictureBox& swatch, std::optional<std::uint32_t> answer) {
        site.dialog.answers.push_back(answer);
        swatch.onClick();
    }
};

TEST_F(ColorSelection, EachSwatchOpensOnItsColorAndCarriesTheChoiceToItsProperty) {
    std::uint32_t chosen = 0x00102030u;
    for (const SwatchRow& row : Swatches) {
        PictureBox& s = swatch(row.swatch);
        const std::uint32_t loaded = selected.getProperty(row.property).toColor(site.locale);
        EXPECT_EQ(s.backColor(), loaded) << row.swatch;
        click(s, ++chosen);
        ASSERT_FALSE(site.dialog.openings.empty());
        EXPECT_EQ(site.dialog.openings.back().flags, ColorDialogFlag::RgbInit);
        EXPECT_EQ(site.dialog.openings.back().color, loaded) << row.swatch;
        EXPECT_EQ(s.backColor(), chosen) << row.swatch;
    }
    EXPECT_EQ(site.changed, true);
    // Nothing reaches the gauge before the host applies.
    EXPECT_EQ((*gauge)->NormalColor(), 65280u);
    page->ApplyChanges();
    chosen = 0x00102030u;
    for (const SwatchRow& row : Swatches)
        EXPECT_EQ(selected.getProperty(row.property).toColor(site.locale), ++chosen)
            << row.property;
}

TEST_F(ColorSelection, ACancelledOrUnchangedChoiceKeepsTheColorAndMarksThePageChanged) {
    PictureBox& ac = swatch("AC");
    for (std::optional<std::uint32_t> answer : {std::optional<std::uint32_t>{}, {ac.backColor()}}) {
        site.changed = false;
        click(ac, answer);
        EXPECT_EQ(ac.backColor(), 255u);
        EXPECT_EQ(site.changed, true);
    }
}

TEST_F(ColorSelection, TwoSwatchesEachOpenOnTheirOwnColor) {
    click(swatch("TC"), 0x00ABCDEFu);
    click(swatch("BCT"), 0x00000001u);
    ASSERT_EQ(site.dialog.openings.size(), 2u);
    EXPECT_EQ(site.dialog.openings[1].color, 16777215u);
}

TEST_F(ColorSelection, ALoadOverwritesChosenColors) {
    click(swatch("WC"), 0x00123456u);
    page->SelectionChanged();
    EXPECT_EQ(swatch("WC").backColor(), 65535u);
}

TEST_F(ColorSelection, SystemColorsPassUnchangedBothWays) {
    constexpr std::uint32_t WindowBackground = 0x80000005u;
    (*gauge)->setBackColorText(WindowBackground);
    std::vector<std::string> log;
    RecordingObject recorded(log, &selected);
    site.selection = {&recorded};
    page->SelectionChanged();
    EXPECT_EQ(swatch("BCT").backColor(), WindowBackground);
    page->ApplyChanges();
    EXPECT_NE(std::find(log.begin(), log.end(), "put BackColorText=long:-2147483643"), log.end());
    EXPECT_EQ((*gauge)->BackColorText(), WindowBackground);
}

} // namespace
} // namespace merv::test
