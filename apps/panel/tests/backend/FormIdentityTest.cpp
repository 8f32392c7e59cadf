// Each gauge of a form has an identity of its own, its tag or an explicit "id", which names its
// alarms; a form where two gauges would share one is refused.
#include "panel/Form.h"

#include <mervgauge/bagfile/BagError.h>

#include "TempFolder.h"

#include <gtest/gtest.h>

namespace merv::panel {
namespace {

TEST(FormIdentity, AGaugesIdentityIsItsIdOrElseItsTag) {
    const Form form = readForm(R"({"title":"T","gauges":[
        {"bag":{},"tag":"tank/level","row":0,"col":0},
        {"bag":{},"tag":"tank/level","id":"tank/level/wide","row":0,"col":1},
        {"bag":{},"row":0,"col":2}]})",
                               "f.json");
    ASSERT_EQ(form.gauges.size(), 3u);
    EXPECT_EQ(form.gauges[0].identity(), "tank/level");
    EXPECT_EQ(form.gauges[1].identity(), "tank/level/wide");
    EXPECT_EQ(form.gauges[1].tag, "tank/level");
    EXPECT_EQ(form.gauges[2].identity(), "Var") << "no tag: the VariableName";
}

TEST(FormIdentity, AnIdIsSavedAndReadBack) {
    test::TempFolder folder;
    Form form = defaultForm();
    form.gauges[1].id = "feedwater/temperature/local";
    saveForm(folder / "f.json", form);
    const Form again = loadForm(folder / "f.json");
    EXPECT_EQ(again.gauges[1].id, "feedwater/temperature/local");
    EXPECT_TRUE(again.gauges[0].id.empty()) << "a gauge without an id is saved without one";
}

TEST(FormIdentity, AFormWhereTwoGaugesWouldShareAnIdentityIsRefused) {
    struct Case {
        const char* name;
        const char* gauges;
        const char* key;
        const char* problemPart;
    };
    const Case cases[] = {
        {"two gauges without tags or names",
         R"({"bag":{},"row":0,"col":0},{"bag":{},"row":0,"col":1})", "gauge 2: tag",
         "\"Var\" already names gauge 1"},
        {"two gauges of one tag",
         R"({"bag":{},"tag":"t","row":0,"col":0},)"
         R"({"bag":{"VariableName":"B"},"tag":"t","row":0,"col":1})",
         "gauge 2 (B): tag", "each need an \"id\""},
        {"an id that is another gauge's tag",
         R"({"bag":{},"tag":"t","row":0,"col":0},{"bag":{},"tag":"u","id":"t","row":0,"col":1})",
         "gauge 2: id", "already names gauge 1"},
        {"an empty id", R"({"bag":{},"tag":"t","id":"","row":0,"col":0})", "gauge 1: id", "empty"},
        {"an id that is no text", R"({"bag":{},"tag":"t","id":7,"row":0,"col":0})", "gauge 1: id",
         "expected a string"},
    };
    for (const Case& c : cases) {
        try {
            readForm(std::string(R"({"title":"T","gauges":[)") + c.gauges + "]}", "f.json");
            ADD_FAILURE() << c.name << ": read";
        } catch (const BagError& error) {
            EXPECT_EQ(error.key(), c.key) << c.name << ": " << error.what();
            EXPECT_NE(error.problem().find(c.problemPart), std::string::npos)
                << c.name << ": " << error.what();
        }
    }
    // Two gauges of one caption are a sound form when their tags differ.
    EXPECT_NO_THROW(readForm(R"({"title":"T","gauges":[{"bag":{},"tag":"a","row":0,"col":0},)"
                             R"({"bag":{},"tag":"b","row":0,"col":1}]})",
                             "f.json"));
}

} // namespace
} // namespace merv::panel
