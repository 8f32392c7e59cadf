#include "host/VirtualClock.h"

#include <mervgauge/platform/ElementTree.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace merv::host {
namespace {

// Timers on one tree, attached to a clock, that log "name@time" at every tick.
struct Clocked {
    VirtualClock clock;
    std::unique_ptr<ElementTree> tree = std::make_unique<ElementTree>();
    std::vector<std::string> ticks;
    std::vector<int> errors;

    Clocked() { tree->setTimerClock(&clock); }

    Timer& timer(const std::string& name, int interval) {
        Timer& t = tree->create<Timer>(name);
        t.onTick = [this, &t] { ticks.push_back(t.name() + "@" + std::to_string(clock.now())); };
        t.setInterval(interval);
        return t;
    }
    std::int64_t advance(std::int64_t ms) {
        return clock.advance(
            ms, [this](const Timer&, const RuntimeError& e) { errors.push_back(e.number()); });
    }
};

TEST(VirtualClock, ARunningTimerIsDueOneIntervalOnThenEveryInterval) {
    Clocked c;
    c.timer("T", 100);
    EXPECT_EQ(c.advance(99), 0);
    EXPECT_EQ(c.advance(1), 1);
    EXPECT_EQ(c.advance(250), 2);
    EXPECT_EQ(c.ticks, (std::vector<std::string>{"T@100", "T@200", "T@300"}));
    EXPECT_EQ(c.clock.now(), 350);
}

TEST(VirtualClock, DisablingForgetsTheDueTimeAndEnablingCountsFromThen) {
    Clocked c;
    Timer& t = c.timer("T", 100);
    c.advance(60);
    t.setEnabled(false);
    EXPECT_FALSE(c.clock.dueTime(t));
    c.advance(100);
    t.setEnabled(true);
    EXPECT_EQ(c.clock.dueTime(t), 260);
    c.advance(100);
    EXPECT_EQ(c.ticks, (std::vector<std::string>{"T@260"}));
}

TEST(VirtualClock, SettingTheIntervalRestartsTheCountEvenWhenUnchanged) {
    Clocked c;
    Timer& t = c.timer("T", 100);
    c.advance(70);
    t.setInterval(100);
    c.advance(99);
    EXPECT_TRUE(c.ticks.empty());
    c.advance(1);
    EXPECT_EQ(c.ticks, (std::vector<std::string>{"T@170"}));
}

TEST(VirtualClock, ATimerWithIntervalZeroNeverTicks) {
    Clocked c;
    Timer& t = c.timer("T", 0);
    EXPECT_EQ(c.advance(10'000), 0);
    EXPECT_FALSE(c.clock.dueTime(t));
}

TEST(VirtualClock, TicksOfAllTimersArriveInTimeOrderAndTiesInSchedulingOrder) {
    Clocked c;
    c.timer("A", 30);
    c.timer("B", 50);
    c.timer("C", 30);
    // A second control's timers share the one clock.
    ElementTree second;
    second.setTimerClock(&c.clock);
    Timer& d = second.create<Timer>("D");
    d.onTick = [&] { c.ticks.push_back("D@" + std::to_string(c.clock.now())); };
    d.setInterval(45);
    EXPECT_EQ(c.advance(100), 10);
    // At 90, D was rescheduled (at its tick at 45) before A and C (at theirs at 60).
    EXPECT_EQ(c.ticks, (std::vector<std::string>{"A@30", "C@30", "D@45", "B@50", "A@60", "C@60",
                                                 "D@90", "A@90", "C@90", "B@100"}));
}

TEST(VirtualClock, AChangeDuringATickReschedulesFromTheTickTime) {
    Clocked c;
    Timer& t = c.timer("T", 100);
    int seen = 0;
    t.onTick = [&] {
        c.ticks.push_back("T@" + std::to_string(c.clock.now()));
        if (++seen == 1)
            t.setInterval(30);
        else
            t.setEnabled(false);
    };
    c.advance(1000);
    EXPECT_EQ(c.ticks, (std::vector<std::string>{"T@100", "T@130"}));
}

TEST(VirtualClock, ATickErrorIsReportedAndTheTimerTicksAgainOneIntervalLater) {
    Clocked c;
    Timer& t = c.timer("T", 100);
    t.onTick = [] { throw RuntimeError(ErrorNumber::Overflow); };
    EXPECT_EQ(c.advance(250), 2);
    EXPECT_EQ(c.errors, (std::vector<int>{6, 6}));
    EXPECT_EQ(c.clock.dueTime(t), 300);
    EXPECT_EQ(c.clock.now(), 250);
}

TEST(VirtualClock, ATimerDestroyedByAnotherTimersTickNeverTicks) {
    Clocked c;
    Timer& first = c.timer("A", 50);
    auto doomed = std::make_unique<ElementTree>();
    doomed->setTimerClock(&c.clock);
    Timer& victim = doomed->create<Timer>("V");
    victim.onTick = [&] { c.ticks.push_back("V"); };
    victim.setInterval(50);
    first.onTick = [&] { doomed.reset(); };
    EXPECT_EQ(c.advance(200), 4);
    EXPECT_TRUE(c.ticks.empty());
}

TEST(VirtualClock, TimeNeverGoesBackAfterAHandlerAdvancedIt) {
    Clocked c;
    Timer& t = c.timer("T", 100);
    t.onTick = [&] {
        t.setEnabled(false);
        c.advance(500);
    };
    c.advance(150);
    EXPECT_EQ(c.clock.now(), 600);
    c.advance(0);
    EXPECT_EQ(c.clock.now(), 600);
}

} // namespace
} // namespace merv::host
