#include "TestSite.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace merv::test {
namespace {

using Notices = std::vector<std::string>;

// Defaults: thresholds 20, 35, 65, 80 on the scale 0 to 100.
TEST(StatusNotice, EachFlagThatChangesIsToldOnceWhenTheUpdateEnds) {
    const auto h = Hosted::restored();
    struct Step {
        float value;
        Notices expected;
    };
    const Step steps[] = {
        {50, {"AlarmLowStatus=0"}}, // the default value 0 is in the low alarm
        {70, {"WarningHighStatus=1"}},
        {75, {}}, // still in the warning range: nothing changed
        {90, {"AlarmHighStatus=1", "WarningHighStatus=0"}},
        {50, {"AlarmHighStatus=0"}},
        {10, {"AlarmLowStatus=1"}},
        {30, {"AlarmLowStatus=0", "WarningLowStatus=1"}},
    };
    for (const Step& step : steps) {
        h->site.statusNotices.clear();
        h->gauge->setValue(step.value);
        EXPECT_EQ(h->site.statusNotices, step.expected) << "value " << step.value;
    }
}

TEST(StatusNotice, AHandlersWriteIsToldByItsOwnPassFirstAndEachChangeOnce) {
    const auto h = Hosted::restored();
    // A handler that writes a value from inside the warning event runs a pass of its own.
    h->gauge->setValue(50);
    h->site.statusNotices.clear();
    h->site.handlers["OnWarningHigh"] = [&] { h->gauge->setValue(90); };
    h->gauge->setValue(70);
    EXPECT_EQ(h->site.statusNotices, (Notices{"AlarmHighStatus=1", "WarningHighStatus=1"}));
    EXPECT_TRUE(h->gauge->AlarmHighStatus());
    EXPECT_TRUE(h->gauge->WarningHighStatus());
}

} // namespace
} // namespace merv::test
