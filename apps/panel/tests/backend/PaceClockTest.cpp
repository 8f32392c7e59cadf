// Paced passes keep their phase: a pass that runs a little late does not delay the ones after
// it, so the passes of a second number the pace's frames; a pass after a quiet spell, or far
// off its time, starts the phase again from itself.
#include "panel/PaceClock.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace merv::panel {
namespace {

using namespace std::chrono_literals;
using TimePoint = PaceClock::TimePoint;

constexpr std::chrono::microseconds Frame{16'667}; // a 60 Hz screen
const TimePoint Start = TimePoint{} + 1h;

TEST(PaceClock, TheFirstPassIsDueAtOnceAndTheNextAPaceLater) {
    PaceClock clock;
    clock.setPace(Frame);
    EXPECT_LE(clock.untilDue(Start), 0us);
    clock.passRan(Start);
    EXPECT_EQ(clock.untilDue(Start), Frame);
}

TEST(PaceClock, PassesWokenInWholeMillisecondsStillRunAtThePaceOnAverage) {
    // A timer waits in whole milliseconds, rounded up: each pass runs up to a millisecond late.
    PaceClock clock;
    clock.setPace(Frame);
    TimePoint now = Start;
    clock.passRan(now);
    for (int pass = 1; pass < 60; ++pass) {
        now += std::chrono::ceil<std::chrono::milliseconds>(clock.untilDue(now));
        clock.passRan(now);
    }
    // Sixty passes within a second and a millisecond, where a pace restarted at each pass
    // would take 60 x 17 ms.
    EXPECT_LE(now - Start, 59 * Frame + 1ms);
    EXPECT_GE(now - Start, 59 * Frame);
}

struct PhaseCase {
    const char* name;
    std::chrono::microseconds offDue; // when the second pass runs, against its due time
    std::chrono::microseconds nextDueAfterStart;
};

void PrintTo(const PhaseCase& value, std::ostream* out) {
    *out << value.name;
}

class PaceClockPhase : public testing::TestWithParam<PhaseCase> {};

TEST_P(PaceClockPhase, ASecondPassKeepsOrRestartsThePhase) {
    const PhaseCase& c = GetParam();
    PaceClock clock;
    clock.setPace(Frame);
    clock.passRan(Start);
    const TimePoint second = Start + Frame + c.offDue;
    clock.passRan(second);
    EXPECT_EQ(clock.untilDue(Start), c.nextDueAfterStart);
}

INSTANTIATE_TEST_SUITE_P(
    PaceClock, PaceClockPhase,
    testing::Values(PhaseCase{"OnTimeKeepsIt", 0us, 2 * Frame},
                    PhaseCase{"AMillisecondLateKeepsIt", 1000us, 2 * Frame},
                    PhaseCase{"AlmostAQuarterPaceLateKeepsIt", Frame / 4 - 1us, 2 * Frame},
                    PhaseCase{"AQuarterPaceLateRestartsIt", Frame / 4, 2 * Frame + Frame / 4},
                    PhaseCase{"AfterAQuietSecondRestartsIt", 1s, 2 * Frame + 1s},
                    PhaseCase{"AMillisecondEarlyKeepsIt", -1000us, 2 * Frame},
                    PhaseCase{"HalfAPaceEarlyRestartsIt", -Frame / 2, 2 * Frame - Frame / 2}),
    [](const testing::TestParamInfo<PhaseCase>& info) { return std::string(info.param.name); });

TEST(PaceClock, WithoutAPaceEveryPassIsDueAtOnce) {
    PaceClock clock;
    clock.passRan(Start);
    EXPECT_LE(clock.untilDue(Start), 0us);
    clock.passRan(Start + 1ms);
    EXPECT_LE(clock.untilDue(Start + 1ms), 0us);
}

} // namespace
} // namespace merv::panel
