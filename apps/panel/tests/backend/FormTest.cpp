#include "panel/Form.h"

#include "panel/HeadlessSite.h"
#include <mervgauge/bagfile/BagError.h>
#include <mervgauge/bagfile/BagJson.h>
#include <mervgauge/control/MERV_Gauge.h>

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>

namespace merv::panel {
namespace {

namespace fs = std::filesystem;

using test::TempFolder;

void writeText(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

float single(const MemoryPropertyBag& bag, const std::string& key) {
    for (const auto& [k, v] : bag.entries())
        if (k == key)
            return v.toSingle(NumberLocale::english());
    ADD_FAILURE() << "no " << key;
    return 0;
}

TEST(Form, TheBuiltInFormHoldsSixPlantVariablesWithOrderedThresholdsInRange) {
    const Form form = defaultForm();
    EXPECT_NO_THROW(checkForm(form));
    ASSERT_EQ(form.gauges.size(), 6u);
    std::set<std::string> tags;
    for (const FormGauge& gauge : form.gauges) {
        tags.insert(gauge.tag);
        const float lo = single(gauge.bag, "MinValue"), hi = single(gauge.bag, "MaxValue");
        const float al = single(gauge.bag, "AlarmLowVal"), wl = single(gauge.bag, "WarningLowVal");
        const float wh = single(gauge.bag, "WarningHighVal"),
                    ah = single(gauge.bag, "AlarmHighVal");
        const float normal = single(gauge.bag, "Value");
        EXPECT_TRUE(lo < al && al < wl && wl < normal && normal < wh && wh < ah && ah < hi)
            << gauge.tag;
    }
    EXPECT_EQ(tags.size(), 6u);
    EXPECT_EQ(form.source, "sim");
}

TEST(Form, ASavedFormLoadsBackTheSame) {
    TempFolder folder;
    saveForm(folder / "plant.json", defaultForm());
    const Form loaded = loadForm(folder / "plant.json");
    const Form original = defaultForm();
    EXPECT_EQ(loaded.title, original.title);
    EXPECT_EQ(loaded.source, original.source);
    ASSERT_EQ(loaded.gauges.size(), original.gauges.size());
    for (std::size_t i = 0; i < loaded.gauges.size(); ++i) {
        EXPECT_EQ(bagToJson(loaded.gauges[i].bag), bagToJson(original.gauges[i].bag));
        EXPECT_EQ(loaded.gauges[i].tag, original.gauges[i].tag);
        EXPECT_EQ(loaded.gauges[i].staleMs, DefaultStaleMs);
        EXPECT_EQ(loaded.gauges[i].row, original.gauges[i].row);
        EXPECT_EQ(loaded.gauges[i].col, original.gauges[i].col);
    }
}

TEST(Form, AThresholdAnOperatorChangedIsKeptThroughWritePropertiesAndSave) {
    TempFolder folder;
    Form form = defaultForm();
    HeadlessSite site;
    MERV_Gauge gauge(site);
    gauge.Initialize();
    site.attached = true;
    gauge.ReadProperties(form.gauges[0].bag);
    gauge.setAlarmHighVal(47.5f);
    MemoryPropertyBag written;
    gauge.WriteProperties(written);
    form.gauges[0].bag = written;
    saveForm(folder / "plant.json", form);
    EXPECT_EQ(single(loadForm(folder / "plant.json").gauges[0].bag, "AlarmHighVal"), 47.5f);
}

TEST(Form, AGaugeWithoutATagIsFedByItsVariableName) {
    TempFolder folder;
    writeText(folder / "f.json",
              R"({"title":"T","gauges":[{"bag":{"VariableName":"FT-101"},"row":0,"col":0},
                                         {"bag":{},"row":0,"col":1,"stale_ms":500}]})");
    const Form form = loadForm(folder / "f.json");
    EXPECT_EQ(form.gauges[0].tag, "FT-101");
    EXPECT_EQ(form.gauges[1].tag, "Var");
    EXPECT_EQ(form.gauges[1].staleMs, 500);
    EXPECT_EQ(form.source, "sim");
}

TEST(Form, ABadFormNamesTheFileTheGaugeAndTheKey) {
    struct Row {
        const char* name;
        const char* contents; // null: no file
        const char* key;      // the key the error names
        const char* problemPart;
    };
    const Row rows[] = {
        {"missing file", nullptr, "", "cannot open"},
        {"not JSON", "title: T", "", "not JSON"},
        {"truncated", R"({"title":"T","gauges":[{"bag":)", "", "truncated JSON"},
        {"no title", R"({"gauges":[]})", "title", "missing"},
        {"gauges not a list", R"({"title":"T","gauges":{}})", "gauges", "expected a list"},
        {"no gauges", R"({"title":"T","gauges":[]})", "gauges", "at least one gauge"},
        {"unknown form key", R"({"title":"T","gauges":[],"colour":1})", "colour", "not a key"},
        {"value the control refuses",
         R"({"title":"T","gauges":[{"bag":{"VariableName":"PT-1","Value":"abc"},"row":0,"col":0}]})",
         "gauge 1 (PT-1): Value", "error 13"},
        {"empty scale",
         R"({"title":"T","gauges":[{"bag":{"MaxValue":50,"MinValue":50,"Value":60},"row":0,"col":0}]})",
         "gauge 1: AlarmColor", "the gauge refuses it"},
        {"bag key the gauge does not store",
         R"({"title":"T","gauges":[{"bag":{"AlarmHighValue":3},"row":0,"col":0}]})",
         "gauge 1: AlarmHighValue", "stores no property"},
        {"bag key in another case",
         R"({"title":"T","gauges":[{"bag":{"variablename":"PT-1"},"row":0,"col":0}]})",
         "gauge 1: variablename", "stores it as \"VariableName\""},
        {"bag value of a wrong type",
         R"({"title":"T","gauges":[{"bag":{"Value":[1]},"row":0,"col":0}]})", "gauge 1: bag: Value",
         "expected a string"},
        {"no row", R"({"title":"T","gauges":[{"bag":{},"col":0}]})", "gauge 1: row", "missing"},
        {"negative col", R"({"title":"T","gauges":[{"bag":{},"row":0,"col":-1}]})", "gauge 1: col",
         "at least 0"},
        {"zero stale_ms", R"({"title":"T","gauges":[{"bag":{},"row":0,"col":0,"stale_ms":0}]})",
         "gauge 1: stale_ms", "at least 1"},
        {"two gauges in one place",
         R"({"title":"T","gauges":[{"bag":{},"row":1,"col":1},{"bag":{},"row":1,"col":1}]})",
         "gauge 2: row", "already holds"},
        {"unknown gauge key", R"({"title":"T","gauges":[{"bag":{},"row":0,"col":0,"x":1}]})",
         "gauge 1: x", "not a key"},
        // Numbers out of range, in every numeric key, and places far beyond any grid.
        {"bag value beyond a double",
         R"({"title":"T","gauges":[{"bag":{"Value":1e400},"row":0,"col":0}]})",
         "gauge 1: bag: Value", "the number 1e400 is out of range"},
        {"second gauge's bag value beyond a double",
         R"({"title":"T","gauges":[{"bag":{},"row":0,"col":0},{"bag":{"MinValue":-1e999}}]})",
         "gauge 2: bag: MinValue", "the number -1e999 is out of range"},
        {"bag value beyond a single",
         R"({"title":"T","gauges":[{"bag":{"Value":1e39},"row":0,"col":0}]})", "gauge 1: Value",
         "Overflow (error 6)"},
        {"colour beyond 32 bits",
         R"({"title":"T","gauges":[{"bag":{"AlarmColor":4294967296},"row":0,"col":0}]})",
         "gauge 1: AlarmColor", "Overflow (error 6)"},
        {"precision beyond 16 bits",
         R"({"title":"T","gauges":[{"bag":{"Precision":70000},"row":0,"col":0}]})",
         "gauge 1: Precision", "Overflow (error 6)"},
        {"row beyond a double", R"({"title":"T","gauges":[{"bag":{},"row":1e400,"col":0}]})",
         "gauge 1: row", "out of range"},
        {"stale_ms beyond a double",
         R"({"title":"T","gauges":[{"bag":{},"row":0,"col":0,"stale_ms":1e400}]})",
         "gauge 1: stale_ms", "out of range"},
        {"row at the largest int",
         R"({"title":"T","gauges":[{"bag":{},"row":2147483647,"col":0}]})", "gauge 1: row",
         "at most 255"},
        {"col at the largest int",
         R"({"title":"T","gauges":[{"bag":{},"row":0,"col":2147483647}]})", "gauge 1: col",
         "at most 255"},
        {"row a hundred million", R"({"title":"T","gauges":[{"bag":{},"row":100000000,"col":0}]})",
         "gauge 1: row", "at most 255"},
        {"col just past the grid", R"({"title":"T","gauges":[{"bag":{},"row":0,"col":256}]})",
         "gauge 1: col", "at most 255"},
        {"row beyond 64 bits",
         R"({"title":"T","gauges":[{"bag":{},"row":18446744073709551615,"col":0}]})",
         "gauge 1: row", "at most 255"},
        {"stale_ms beyond an int",
         R"({"title":"T","gauges":[{"bag":{},"row":0,"col":0,"stale_ms":2147483648}]})",
         "gauge 1: stale_ms", "at most 2147483647"},
        {"stale_ms of zero read as unsigned",
         R"({"title":"T","gauges":[{"bag":{},"row":0,"col":0,"stale_ms":0}]})", "gauge 1: stale_ms",
         "at least 1"},
        {"tag of the acknowledgements",
         R"({"title":"T","gauges":[{"bag":{"VariableName":"PT-1"},"tag":"mervgauge/ack","row":0,"col":0}]})",
         "gauge 1 (PT-1): tag", "share acknowledgements"},
        {"VariableName that is the tag of the acknowledgements",
         R"({"title":"T","gauges":[{"bag":{"VariableName":"mervgauge/ack"},"row":0,"col":0}]})",
         "gauge 1 (mervgauge/ack): tag", "share acknowledgements"},
        {"tag among the stations' own topics",
         R"({"title":"T","gauges":[{"bag":{"VariableName":"PT-1"},"tag":"mervgauge/station/A","row":0,"col":0}]})",
         "gauge 1 (PT-1): tag", "the stations keep for themselves"},
    };
    TempFolder folder;
    for (const Row& row : rows) {
        const fs::path path = folder / (std::string(row.name) + ".json");
        if (row.contents)
            writeText(path, row.contents);
        try {
            loadForm(path);
            ADD_FAILURE() << row.name << ": loaded";
        } catch (const BagError& error) {
            EXPECT_EQ(error.file(), path.string()) << row.name;
            EXPECT_EQ(error.key(), row.key) << row.name << ": " << error.what();
            EXPECT_NE(error.problem().find(row.problemPart), std::string::npos)
                << row.name << ": " << error.what();
        }
    }
}

// A form of n gauges on a grid of 100 columns, each a gauge with every default.
std::string formOfGauges(std::size_t n) {
    std::string text = R"({"title":"Large","gauges":[)";
    for (std::size_t i = 0; i < n; ++i)
        text += std::string(i ? "," : "") + R"({"bag":{},"tag":"t)" + std::to_string(i) +
                R"(","row":)" + std::to_string(i / 100) + R"(,"col":)" + std::to_string(i % 100) +
                "}";
    return text + "]}";
}

TEST(Form, AFormHoldsAtMostMaxGaugesAndOneThatSizeLoads) {
    const Form largest = readForm(formOfGauges(MaxGauges), "large.json");
    EXPECT_EQ(largest.gauges.size(), MaxGauges);
    EXPECT_EQ(largest.gauges.back().tag, "t" + std::to_string(MaxGauges - 1));
    try {
        readForm(formOfGauges(MaxGauges + 1), "larger.json");
        ADD_FAILURE() << "a form beyond the bound loaded";
    } catch (const BagError& error) {
        EXPECT_EQ(error.file(), "larger.json");
        EXPECT_EQ(error.key(), "gauges");
        EXPECT_NE(error.problem().find("at most " + std::to_string(MaxGauges)), std::string::npos)
            << error.what();
    }
}

TEST(Form, AFormBuiltInMemoryIsHeldToTheSameBounds) {
    struct Row {
        const char* name;
        void (*change)(FormGauge&);
        const char* key;
    };
    const Row rows[] = {
        {"row past the grid", [](FormGauge& g) { g.row = LastGridPlace + 1; }, "row"},
        {"negative col", [](FormGauge& g) { g.col = -1; }, "col"},
        {"col at the largest int", [](FormGauge& g) { g.col = 2147483647; }, "col"},
        {"tag of the acknowledgements", [](FormGauge& g) { g.tag = AcknowledgementTag; }, "tag"},
    };
    for (const Row& row : rows) {
        Form form = defaultForm();
        row.change(form.gauges[2]);
        try {
            checkForm(form, "memory");
            ADD_FAILURE() << row.name << ": accepted";
        } catch (const BagError& error) {
            EXPECT_EQ(error.key(), std::string("gauge 3 (Steam flow): ") + row.key)
                << row.name << ": " << error.what();
        }
    }
    EXPECT_NO_THROW(checkForm(defaultForm(), "memory"));
}

} // namespace
} // namespace merv::panel
