#include "ErrorOf.h"
#include "TestSite.h"

#include <mervgauge/platform/RuntimeError.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>

namespace merv::test {
namespace {

// Defaults: thresholds 20, 35, 65, 80 on the scale 0 to 100, restored and redrawn once.
class UpdateValue : public ::testing::Test {
protected:
    std::unique_ptr<Hosted> h = Hosted::restored();

    void setValue(float v) { h->gauge->setValue(v); }
    std::string caption() const { return h->ui().Val.caption(); }
    std::pair<float, float> tip() const {
        return {h->ui().LineValore.x1(), h->ui().LineValore.y1()};
    }
};

TEST_F(UpdateValue, CaptionIsFormattedByPrecisionWithABlankAndTheUnit) {
    struct Row {
        std::int16_t precision;
        float value;
        const char* unit;
        const char* expected;
    };
    const Row rows[] = {
        {2, 3.14159f, "EU", "3.14 EU"},
        {0, 1234567.0f, "EU", "1234567 EU"}, // no digit grouping
        {-1, 3.14159f, "EU", "3.14159 EU"},  // no format: the stored text as it is
        {5, 2.5f, "bar", "2.50000 bar"},
        {1, -0.25f, "", "-0.3 "}, // half away from zero; the blank stays without a unit
    };
    for (const Row& row : rows) {
        h->gauge->setPrecision(row.precision);
        h->gauge->setEngUnit(row.unit);
        setValue(row.value);
        EXPECT_EQ(caption(), row.expected) << "precision " << row.precision;
        // A value the gauge does not show is captioned as the display would show it.
        h->gauge->setValue(0);
        EXPECT_EQ(h->gauge->valueCaption(row.value), row.expected) << "precision " << row.precision;
    }
}

TEST_F(UpdateValue, EventsAreRaisedOnceOnEntryIntoEachRange) {
    const float values[] = {50, 70, 75, 90, 70, 50, 30, 25, 10};
    for (float v : values)
        setValue(v);
    EXPECT_EQ(h->site.events(),
              (std::vector<std::string>{"OnWarningHigh", "OnAlarmHigh", "OnWarningHigh",
                                        "OnWarningLow", "OnAlarmLow"}));
}

TEST_F(UpdateValue, StayingInTheLowWarningBandRaisesOnce) {
    for (float v : {30.0f, 25.0f, 30.0f})
        setValue(v);
    EXPECT_EQ(h->site.events(), std::vector<std::string>{"OnWarningLow"});
    EXPECT_TRUE(h->gauge->WarningLowStatus());
}

TEST_F(UpdateValue, AValueOnAThresholdChangesNothing) {
    setValue(70);
    for (float v : {65.0f, 80.0f}) {
        h->site.log.clear();
        setValue(v);
        EXPECT_TRUE(h->site.events().empty());
        EXPECT_TRUE(h->gauge->WarningHighStatus());
        EXPECT_FALSE(h->gauge->AlarmHighStatus());
    }
}

TEST_F(UpdateValue, NeedleTipFollowsTheValue) {
    struct Row {
        float value;
        float x, y;
    };
    const Row rows[] = {{0, 23, 78}, {50, 83, 18}, {100, 143, 78}, {110, 140, 97}};
    for (const Row& row : rows) {
        setValue(row.value);
        EXPECT_EQ(tip(), std::make_pair(row.x, row.y)) << row.value;
    }
    EXPECT_EQ(h->ui().LineValore.x2(), 84.0f); // the pivot never moves
}

TEST_F(UpdateValue, BelowTheMinimumTheNeedleStaysButAlarmsRun) {
    setValue(50);
    h->site.log.clear();
    setValue(-5);
    EXPECT_EQ(tip(), std::make_pair(83.0f, 18.0f));
    EXPECT_EQ(caption(), "-5 EU");
    EXPECT_TRUE(h->gauge->AlarmLowStatus());
    EXPECT_EQ(h->site.events(), std::vector<std::string>{"OnAlarmLow"});
}

TEST_F(UpdateValue, HubAndNeedleEndInFrontOfTheDialElements) {
    setValue(42);
    const auto& order = h->ui().Sfondo.children();
    ASSERT_GE(order.size(), 2u);
    EXPECT_EQ(order[0]->name(), "Centro");
    EXPECT_EQ(order[1]->name(), "LineValore");
}

TEST_F(UpdateValue, AZeroSpanFailsAfterCaptionAndAlarms) {
    h->gauge->setMinValue(50);
    h->gauge->setMaxValue(50);
    setValue(30);
    const auto before = tip();
    h->site.log.clear();
    EXPECT_EQ(errorOf([&] { setValue(70); }), ErrorNumber::DivisionByZero);
    EXPECT_EQ(caption(), "70 EU");
    EXPECT_TRUE(h->gauge->WarningHighStatus());
    EXPECT_EQ(tip(), before);
    // The failing write skips its own notification.
    EXPECT_EQ(h->site.log, std::vector<std::string>{"event:OnWarningHigh"});
    EXPECT_EQ(errorOf([&] { setValue(50); }), ErrorNumber::Overflow); // 0 / 0
}

TEST_F(UpdateValue, AnEventHandlerMayWriteTheValueReentrantly) {
    // The handler pulls the value back into the normal band; the interrupted pass then
    // sees the new value in its remaining tests and places the needle for it.
    h->site.handlers["OnAlarmHigh"] = [&] { h->gauge->setValue(50); };
    setValue(90);
    EXPECT_EQ(h->site.log,
              (std::vector<std::string>{"event:OnAlarmHigh", "changed:Value", "changed:Value"}));
    EXPECT_EQ(tip(), std::make_pair(83.0f, 18.0f));
    // The outer pass set the alarm flag after its handler returned.
    EXPECT_TRUE(h->gauge->AlarmHighStatus());
    EXPECT_EQ(caption(), "50 EU");
}

TEST_F(UpdateValue, HandlersSeeFlagsAsTheEarlierStepsLeftThem) {
    setValue(90); // alarm high
    bool alarmHighDuringWarning = true, warningHighDuringWarning = true;
    h->site.handlers["OnWarningHigh"] = [&] {
        alarmHighDuringWarning = h->gauge->AlarmHighStatus();
        warningHighDuringWarning = h->gauge->WarningHighStatus();
    };
    setValue(70);
    EXPECT_FALSE(alarmHighDuringWarning);
    EXPECT_FALSE(warningHighDuringWarning);
    EXPECT_TRUE(h->gauge->WarningHighStatus());
}

TEST_F(UpdateValue, ThresholdWritesReachTheEvaluationOnlyAfterTheRedraw) {
    h->gauge->setWarningHighVal(60);
    EXPECT_EQ(h->gauge->WarningHighVal(), 60.0f);
    setValue(62);
    EXPECT_TRUE(h->site.events().empty());
    h->ui().InitTimer.tick();
    EXPECT_EQ(h->site.events(), std::vector<std::string>{"OnWarningHigh"});
}

TEST_F(UpdateValue, AFreshControlShowsValuesOnlyAtRedraws) {
    auto fresh = Hosted::fresh();
    fresh->gauge->setValue(42);
    EXPECT_EQ(fresh->ui().Val.caption(), "0");
    fresh->ui().InitTimer.tick();
    EXPECT_EQ(fresh->ui().Val.caption(), "42 EU");
}

// ---- Handlers that make the control evaluate again ----------------------------------------

// Handlers on all four events that each run `action` and record whether their own event was
// raised again while they ran. Nesting is cut off at a depth no working control reaches, so a
// run-away shows as a failure rather than a stack overflow.
struct ReentryProbe {
    Hosted& h;
    std::map<std::string, int> running;
    bool reentered = false;
    int depth = 0, maxDepth = 0, runs = 0;
    static constexpr int CutOff = 50;

    ReentryProbe(Hosted& hosted, const std::function<void()>& action) : h(hosted) {
        for (const char* event : {"OnAlarmHigh", "OnAlarmLow", "OnWarningHigh", "OnWarningLow"}) {
            h.site.handlers[event] = [this, event, action] {
                if (depth >= CutOff)
                    return;
                reentered = reentered || running[event] > 0;
                ++running[event];
                ++runs;
                maxDepth = std::max(maxDepth, ++depth);
                action();
                --depth;
                --running[event];
            };
        }
    }
};

struct OverlapCase {
    const char* name;
    const char* key; // the one threshold moved out of the usual order
    float threshold;
    float value;
};

class OverlappingThresholds : public ::testing::TestWithParam<OverlapCase> {};

TEST_P(OverlappingThresholds, AnEventIsNotRaisedAgainWhileItsHandlerRuns) {
    const OverlapCase& c = GetParam();
    MemoryPropertyBag bag;
    bag.set(c.key, Variant::single(c.threshold));
    auto h = Hosted::restored(bag);
    // A colour read redraws the face, which evaluates the value again.
    ReentryProbe probe(*h, [&] { h->gauge->AlarmColor(); });
    h->gauge->setValue(c.value);
    EXPECT_FALSE(probe.reentered);
    EXPECT_GE(probe.runs, 1);
    EXPECT_LE(probe.maxDepth, 4) << "one level per event at most";
}

INSTANTIATE_TEST_SUITE_P(
    UpdateValue, OverlappingThresholds,
    ::testing::Values(OverlapCase{"HighWarningAboveHighAlarm", "WarningHighVal", 100, 90},
                      OverlapCase{"HighAlarmInsideLowWarning", "AlarmHighVal", 1, 25},
                      OverlapCase{"LowWarningAboveHighAlarm", "WarningLowVal", 95, 90},
                      OverlapCase{"LowAlarmAboveHighWarning", "AlarmLowVal", 70, 68}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(UpdateValue, TheFlagsAreSetAsUsualWhenTheNestedRaiseIsLeftOut) {
    MemoryPropertyBag bag;
    bag.set("WarningHighVal", Variant::single(100));
    h = Hosted::restored(bag);
    std::vector<bool> alarmHighSeen;
    h->site.handlers["OnAlarmHigh"] = [&] {
        h->gauge->AlarmColor(); // a nested pass that clears and sets AlarmHighStatus again
        alarmHighSeen.push_back(h->gauge->AlarmHighStatus());
    };
    setValue(90);
    EXPECT_EQ(h->site.events(), std::vector<std::string>{"OnAlarmHigh"});
    EXPECT_EQ(alarmHighSeen, std::vector<bool>{true});
    EXPECT_TRUE(h->gauge->AlarmHighStatus());
    // Once the handler has returned the event is raised again on the next entry.
    setValue(50);
    h->site.log.clear();
    setValue(90);
    EXPECT_EQ(h->site.events(), std::vector<std::string>{"OnAlarmHigh"});
}

TEST_F(UpdateValue, OtherEventsStillNestButNotTheOneWhoseHandlerRuns) {
    // Ping-pong: the high alarm's handler pulls the value into the low alarm, whose handler
    // pushes it back up; the high alarm is not raised under its own handler.
    h->site.handlers["OnAlarmHigh"] = [&] { setValue(10); };
    h->site.handlers["OnAlarmLow"] = [&] { setValue(90); };
    setValue(50);
    h->site.log.clear();
    setValue(95);
    EXPECT_EQ(h->site.events(), (std::vector<std::string>{"OnAlarmHigh", "OnAlarmLow"}));
    EXPECT_EQ(h->gauge->Value(), 90.0f);
    EXPECT_TRUE(h->gauge->AlarmHighStatus());
    EXPECT_FALSE(h->gauge->AlarmLowStatus());
}

TEST_F(UpdateValue, AHandlerThatFailsStillEndsItsGuard) {
    h->site.handlers["OnAlarmHigh"] = [] { throw RuntimeError(ErrorNumber::TypeMismatch); };
    EXPECT_EQ(errorOf([&] { setValue(90); }), ErrorNumber::TypeMismatch);
    h->site.handlers.clear();
    setValue(50);
    h->site.log.clear();
    setValue(90);
    EXPECT_EQ(h->site.events(), std::vector<std::string>{"OnAlarmHigh"});
}

} // namespace
} // namespace merv::test
