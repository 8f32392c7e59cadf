// A form may group its gauges into pages: each page a grid of its own, loaded, saved and
// reopened the same; a form of top-level gauges stays one page; a bad page is refused naming
// the page and its gauge.
#include "panel/Form.h"

#include <mervgauge/bagfile/BagError.h>

#include "TempFolder.h"

#include <gtest/gtest.h>

namespace merv::panel {
namespace {

constexpr auto TwoPages = R"({"title": "Boiler house", "pages": [
    {"title": "Boiler", "gauges": [
        {"bag": {"VariableName": "Drum pressure"}, "tag": "drum/pressure", "row": 0, "col": 0},
        {"bag": {"VariableName": "Drum level"}, "tag": "drum/level", "row": 0, "col": 1}]},
    {"title": "Feedwater", "gauges": [
        {"bag": {"VariableName": "Feed flow"}, "tag": "feed/flow", "row": 0, "col": 0,
         "stale_ms": 2500}]}]})";

// Each gauge as "page tag row col".
std::vector<std::string> places(const Form& form) {
    std::vector<std::string> out;
    for (const FormGauge& g : form.gauges)
        out.push_back(std::to_string(g.page) + " " + g.tag + " " + std::to_string(g.row) + " " +
                      std::to_string(g.col));
    return out;
}

TEST(FormPages, APagedFormLoadsSavesAndReopensTheSame) {
    const Form form = readForm(TwoPages, "house.json");
    EXPECT_EQ(form.pages, (std::vector<FormPage>{{"Boiler"}, {"Feedwater"}}));
    // Each page is a grid of its own: both hold a gauge at row 0, col 0.
    EXPECT_EQ(places(form), (std::vector<std::string>{"0 drum/pressure 0 0", "0 drum/level 0 1",
                                                      "1 feed/flow 0 0"}));
    EXPECT_EQ(form.gauges[2].staleMs, 2500);
    test::TempFolder folder;
    saveForm(folder / "house.json", form);
    const Form again = loadForm(folder / "house.json");
    EXPECT_EQ(again.pages, form.pages);
    EXPECT_EQ(places(again), places(form));
    EXPECT_EQ(again.gauges[2].staleMs, 2500);
}

TEST(FormPages, AFormOfTopLevelGaugesStaysOnePage) {
    test::TempFolder folder;
    saveForm(folder / "plant.json", defaultForm());
    const Form again = loadForm(folder / "plant.json");
    EXPECT_TRUE(again.pages.empty());
    for (const FormGauge& g : again.gauges)
        EXPECT_EQ(g.page, 0);
}

TEST(FormPages, ABadPageIsRefusedNamingThePageAndItsGauge) {
    struct Case {
        const char* name;
        const char* text;
        const char* key;
        const char* problemPart;
    };
    const Case cases[] = {
        {"gauges and pages", R"({"title": "T", "gauges": [], "pages": []})", "gauges", "not both"},
        {"no page", R"({"title": "T", "pages": []})", "pages", "at least one page"},
        {"a page without a title", R"({"title": "T", "pages": [{"gauges": []}]})", "page 1: title",
         "missing"},
        {"an empty page", R"({"title": "T", "pages": [{"title": "A", "gauges": []}]})",
         "page 1 (A): gauges", "at least one gauge"},
        {"two gauges in one place of a page",
         R"({"title": "T", "pages": [{"title": "A", "gauges": [
            {"bag": {}, "tag": "a", "row": 0, "col": 0},
            {"bag": {}, "tag": "b", "row": 0, "col": 0}]}]})",
         "page 1 (A): gauge 2: row", "already holds another gauge"},
        {"one tag on two pages",
         R"({"title": "T", "pages": [
            {"title": "A", "gauges": [{"bag": {}, "tag": "a", "row": 0, "col": 0}]},
            {"title": "B", "gauges": [{"bag": {}, "tag": "a", "row": 0, "col": 0}]}]})",
         "page 2 (B): gauge 1: tag", "already names page 1 (A): gauge 1"},
        {"a value the gauge refuses",
         R"({"title": "T", "pages": [{"title": "A", "gauges": [
            {"bag": {"MaxValue": "high"}, "tag": "a", "row": 0, "col": 0}]}]})",
         "page 1 (A): gauge 1: MaxValue", "refuses"},
        {"a number out of range",
         R"({"title": "T", "pages": [{"title": "A", "gauges": [
            {"bag": {"Value": 1e400}, "tag": "a", "row": 0, "col": 0}]}]})",
         "page 1: gauge 1: bag: Value", "out of range"},
    };
    for (const Case& c : cases) {
        try {
            readForm(c.text, "f.json");
            ADD_FAILURE() << c.name << ": read";
        } catch (const BagError& error) {
            EXPECT_EQ(error.key(), c.key) << c.name << ": " << error.what();
            EXPECT_NE(error.problem().find(c.problemPart), std::string::npos)
                << c.name << ": " << error.what();
        }
    }
}

} // namespace
} // namespace merv::panel
