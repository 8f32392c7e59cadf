// An alarm is its gauge's, named by the gauge's identity: two gauges of one caption keep their
// alarms apart, and the summary rebuilt from the history at start names them the same way.
#include "panel/AlarmHistory.h"
#include "panel/AlarmSummaryModel.h"

#include "TempFolder.h"

#include <QAbstractItemModelTester>

#include <random>

#include <gtest/gtest.h>

namespace merv::panel {
namespace {

constexpr auto Fatal = QAbstractItemModelTester::FailureReportingMode::Fatal;

// The model's rows as "tag kind state", the state as the summary shows it.
std::vector<std::string> rowsOf(const AlarmSummaryModel& model) {
    std::vector<std::string> out;
    for (int r = 0; r < model.rowCount(); ++r) {
        const auto& alarm = model.alarms()[std::size_t(r)];
        out.push_back(
            alarm.tag + " " + std::string(nameOf(alarm.kind)) + " " +
            model.data(model.index(r, AlarmSummaryModel::StateColumn)).toString().toStdString());
    }
    return out;
}

using Rows = std::vector<std::string>;

TEST(AlarmIdentity, TwoGaugesOfOneCaptionRaiseReturnAndAcknowledgeAlarmsOfTheirOwn) {
    AlarmSummaryModel model("A");
    QAbstractItemModelTester tester(&model, Fatal);
    std::vector<AlarmTransition> announced;
    QObject::connect(&model, &AlarmSummaryModel::transitioned,
                     [&](const AlarmTransition& t) { announced.push_back(t); });
    const AlarmGauge first("tank/1", "Var"), second("tank/2", "Var");
    model.raise(first, AlarmKind::AlarmHigh, 99, 1000);
    model.raise(second, AlarmKind::AlarmHigh, 98, 1100);
    model.returnToNormal(first, AlarmKind::AlarmHigh, 50, 1200);
    EXPECT_EQ(rowsOf(model), (Rows{"tank/2 OnAlarmHigh Active, unacknowledged",
                                   "tank/1 OnAlarmHigh Returned, unacknowledged"}));
    // Acknowledging the returned one leaves the other's active alarm as it was.
    EXPECT_TRUE(model.acknowledge("tank/1", AlarmKind::AlarmHigh, 1300, "A"));
    EXPECT_EQ(rowsOf(model), Rows{"tank/2 OnAlarmHigh Active, unacknowledged"});
    EXPECT_TRUE(model.acknowledge("tank/2", AlarmKind::AlarmHigh, 1400, "A"));
    EXPECT_EQ(rowsOf(model), Rows{"tank/2 OnAlarmHigh Active, acknowledged"});
    // Every transition names its gauge, the caption beside it.
    std::vector<std::string> names;
    for (const AlarmTransition& t : announced)
        names.push_back(t.tag + " " + t.variable + " " + std::string(nameOf(t.transition)));
    EXPECT_EQ(names, (std::vector<std::string>{"tank/1 Var raised", "tank/2 Var raised",
                                               "tank/1 Var returned", "tank/1 Var acknowledged",
                                               "tank/2 Var acknowledged"}));
}

// An acknowledgement another station shared, naming the gauge by its identity or, from a
// station that keeps none, by its caption alone (an empty tag).
AlarmTransition sharedAcknowledgement(const char* tag, const char* caption, AlarmKind kind,
                                      std::int64_t timeMs) {
    return {timeMs, "B", caption, kind, Transition::Acknowledged, 0, tag};
}

// A station that sends no tag names an alarm by its caption: sound only where one gauge has it.
TEST(AlarmIdentity, AnAcknowledgementByCaptionTakesOnlyAnAlarmItNamesAlone) {
    AlarmSummaryModel model("A");
    model.raise(AlarmGauge("tank/1", "Var"), AlarmKind::AlarmHigh, 99, 1000);
    model.raise(AlarmGauge("tank/2", "Var"), AlarmKind::AlarmHigh, 98, 1100);
    model.raise(AlarmGauge("drum/level", "Drum level"), AlarmKind::AlarmLow, 1, 1200);
    EXPECT_FALSE(
        model.acknowledgeShared(sharedAcknowledgement("", "Var", AlarmKind::AlarmHigh, 1300)));
    EXPECT_FALSE(model.acknowledgeShared(
        sharedAcknowledgement("", "Drum level", AlarmKind::AlarmHigh, 1300)));
    EXPECT_TRUE(model.acknowledgeShared(
        sharedAcknowledgement("", "Drum level", AlarmKind::AlarmLow, 1300)));
    EXPECT_EQ(model.unacknowledgedCount(), 2);
    // Once one of the two is acknowledged, the other is the only one of its caption left.
    model.acknowledge("tank/1", AlarmKind::AlarmHigh, 1400, "A");
    EXPECT_TRUE(
        model.acknowledgeShared(sharedAcknowledgement("", "Var", AlarmKind::AlarmHigh, 1500)));
    EXPECT_EQ(model.unacknowledgedCount(), 0);
}

// An acknowledgement that arrives late (queued while the link was down, or kept on the broker
// for stations that come later) acknowledges the occurrence the other operator saw, never one
// raised after it; the stations' clocks may differ by a little.
TEST(AlarmIdentity, ASharedAcknowledgementTakesOnlyAnAlarmRaisedBeforeItWasGiven) {
    const std::int64_t tolerance = AlarmSummaryModel::SharedClockToleranceMs;
    AlarmSummaryModel model("A");
    model.raise(AlarmGauge("tank/1", "Level"), AlarmKind::AlarmHigh, 99, 10000);
    model.raise(AlarmGauge("tank/2", "Level"), AlarmKind::AlarmHigh, 99, 10000);
    model.raise(AlarmGauge("tank/3", "Level"), AlarmKind::AlarmHigh, 99, 10000);
    // Given before tank/1's alarm came: an earlier occurrence, long acknowledged.
    EXPECT_FALSE(model.acknowledgeShared(
        sharedAcknowledgement("tank/1", "Level", AlarmKind::AlarmHigh, 10000 - tolerance - 1)));
    // Given on a clock a little behind this one's.
    EXPECT_TRUE(model.acknowledgeShared(
        sharedAcknowledgement("tank/2", "Level", AlarmKind::AlarmHigh, 10000 - tolerance)));
    EXPECT_TRUE(model.acknowledgeShared(
        sharedAcknowledgement("tank/3", "Level", AlarmKind::AlarmHigh, 25000)));
    EXPECT_EQ(model.unacknowledgedCount(), 1);
    EXPECT_EQ(model.alarmOf("tank/1", AlarmKind::AlarmHigh)->state,
              AlarmState::ActiveUnacknowledged);
    // Applied again, as the kept one is at each reconnection, it changes nothing.
    EXPECT_FALSE(model.acknowledgeShared(
        sharedAcknowledgement("tank/3", "Level", AlarmKind::AlarmHigh, 25000)));
}

AlarmTransition row(const char* station, const char* tag, const char* variable,
                    Transition transition, std::int64_t timeMs = 1000) {
    return {timeMs, station, variable, AlarmKind::AlarmHigh, transition, 90, tag};
}

TEST(AlarmIdentity, TheSummaryIsRebuiltFromWhatTheHistoryHoldsOpen) {
    using T = Transition;
    struct Case {
        const char* name;
        std::vector<AlarmTransition> history;
        Rows rows;
    };
    const char* Active = "tank/1 OnAlarmHigh Active, unacknowledged (carried over)";
    const Case cases[] = {
        {"raised", {row("A", "tank/1", "Var", T::Raised)}, {Active}},
        {"raised and returned",
         {row("A", "tank/1", "Var", T::Raised), row("A", "tank/1", "Var", T::Returned)},
         {"tank/1 OnAlarmHigh Returned, unacknowledged (carried over)"}},
        {"raised and acknowledged by another station",
         {row("A", "tank/1", "Var", T::Raised), row("B", "tank/1", "Var", T::Acknowledged)},
         {"tank/1 OnAlarmHigh Active, acknowledged (carried over)"}},
        {"raised, returned and acknowledged",
         {row("A", "tank/1", "Var", T::Raised), row("A", "tank/1", "Var", T::Returned),
          row("A", "tank/1", "Var", T::Acknowledged)},
         {}},
        {"acknowledged, then returned",
         {row("A", "tank/1", "Var", T::Raised), row("A", "tank/1", "Var", T::Acknowledged),
          row("A", "tank/1", "Var", T::Returned)},
         {}},
        {"raised again after it left",
         {row("A", "tank/1", "Var", T::Raised), row("A", "tank/1", "Var", T::Returned),
          row("A", "tank/1", "Var", T::Acknowledged), row("A", "tank/1", "Var", T::Raised)},
         {Active}},
        {"raised by another station", {row("B", "tank/1", "Var", T::Raised)}, {}},
        {"of a gauge the form has not", {row("A", "tank/9", "Var", T::Raised)}, {}},
        {"kept apart from the other gauge of its caption",
         {row("A", "tank/1", "Var", T::Raised), row("A", "tank/2", "Var", T::Raised),
          row("A", "tank/2", "Var", T::Returned), row("A", "tank/2", "Var", T::Acknowledged)},
         {Active}},
        {"without a tag, of a caption one gauge has",
         {row("A", "", "Drum level", T::Raised)},
         {"drum/level OnAlarmHigh Active, unacknowledged (carried over)"}},
        {"without a tag, of a caption two gauges have", {row("A", "", "Var", T::Raised)}, {}},
    };
    const std::vector<AlarmGauge> gauges{AlarmGauge("tank/1", "Var"), AlarmGauge("tank/2", "Var"),
                                         AlarmGauge("drum/level", "Drum level")};
    for (const Case& c : cases) {
        AlarmSummaryModel model("A");
        QAbstractItemModelTester tester(&model, Fatal);
        int announced = 0;
        QObject::connect(&model, &AlarmSummaryModel::transitioned, [&] { ++announced; });
        model.carryOver(c.history, gauges);
        EXPECT_EQ(rowsOf(model), c.rows) << c.name;
        EXPECT_EQ(announced, 0) << c.name << ": the history has these already";
    }
}

TEST(AlarmIdentity, ACarriedOverAlarmKeepsItsTimeSaysSoAndARaiseRenewsIt) {
    AlarmSummaryModel model("A");
    QAbstractItemModelTester tester(&model, Fatal);
    const AlarmGauge tank("tank/1", "Var");
    model.raise(AlarmGauge("drum/level", "Drum level"), AlarmKind::AlarmLow, 1, 5000);
    model.carryOver({row("A", "tank/1", "Var", Transition::Raised, 1234)},
                    {tank, AlarmGauge("drum/level", "Drum level")});
    ASSERT_EQ(model.rowCount(), 2);
    const AlarmSummaryModel::Alarm* carried = model.alarmOf("tank/1", AlarmKind::AlarmHigh);
    ASSERT_NE(carried, nullptr);
    EXPECT_TRUE(carried->carriedOver);
    EXPECT_EQ(carried->timeMs, 1234);
    EXPECT_EQ(model.unacknowledgedCount(), 2);
    const QModelIndex time = model.index(1, AlarmSummaryModel::TimeColumn);
    EXPECT_TRUE(model.data(time, Qt::ToolTipRole)
                    .toString()
                    .contains(AlarmSummaryModel::carriedOverExplanation()));
    EXPECT_FALSE(model.data(model.index(0, AlarmSummaryModel::TimeColumn), Qt::ToolTipRole)
                     .toString()
                     .contains(AlarmSummaryModel::carriedOverExplanation()));
    model.raise(tank, AlarmKind::AlarmHigh, 95, 6000);
    EXPECT_FALSE(model.alarmOf("tank/1", AlarmKind::AlarmHigh)->carriedOver);
    EXPECT_EQ(model.rowCount(), 2);
}

// Start-up reads of the history only what can keep an alarm open: the rows from each gauge's
// latest raise by this station on. Over long random histories of two stations, gauges with and
// without tags, a gauge no longer on the form and every kind of transition, that rebuilds the
// summary the whole history does.
TEST(AlarmIdentity, TheRowsSinceTheLatestRaisesRebuildWhatTheWholeHistoryDoes) {
    const std::vector<AlarmGauge> gauges{AlarmGauge("tank/1", "Level"),
                                         AlarmGauge("tank/2", "Level"),
                                         AlarmGauge("pump/1", "Pressure")};
    for (unsigned seed = 1; seed <= 20; ++seed) {
        std::mt19937 random(seed);
        const auto pick = [&random](int n) { return int(random() % unsigned(n)); };
        merv::test::TempFolder folder;
        AlarmHistory history(folder / "h.sqlite");
        std::vector<AlarmTransition> rows;
        for (std::int64_t time = 1000; rows.size() < 300; time += 1 + pick(3)) {
            // A fourth gauge, no longer on the form, whose rows stay in the history.
            const AlarmGauge retired("retired/1", "Flow");
            const int which = pick(4);
            const AlarmGauge& gauge = which == 3 ? retired : gauges[std::size_t(which)];
            const Transition transition =
                std::array{Transition::Raised, Transition::Returned,
                           Transition::Acknowledged}[std::size_t(pick(3))];
            // Rows from before tags were kept name the gauge by its caption alone.
            const bool tagless = pick(5) == 0;
            rows.push_back({time, pick(4) == 0 ? "B" : "A", gauge.variable,
                            AlarmKinds[std::size_t(pick(4))], transition, double(pick(100)),
                            tagless ? std::string() : gauge.tag, ""});
        }
        history.recordAll(rows);
        AlarmSummaryModel whole("A"), sinceRaises("A");
        whole.carryOver(history.query(), gauges);
        const std::vector<std::string> tags{gauges[0].tag, gauges[1].tag, gauges[2].tag};
        const auto read = history.sinceLatestRaises("A", tags);
        sinceRaises.carryOver(read, gauges);
        EXPECT_EQ(rowsOf(sinceRaises), rowsOf(whole)) << "seed " << seed;
        EXPECT_LT(read.size(), rows.size()) << "seed " << seed;
        // Oldest first, as the whole history reads.
        EXPECT_TRUE(
            std::is_sorted(read.begin(), read.end(),
                           [](const auto& a, const auto& b) { return a.timeMs < b.timeMs; }))
            << "seed " << seed;
        // No row of a tag the form has not is read.
        for (const AlarmTransition& t : read)
            EXPECT_NE(t.tag, "retired/1") << "seed " << seed;
    }
}

} // namespace
} // namespace merv::panel
