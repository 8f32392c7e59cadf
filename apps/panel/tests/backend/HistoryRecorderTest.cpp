// The history's writer on a history whose writes fail on demand: nothing is lost, order is kept,
// and what cannot be written at the end goes to a recovery file in the export's form.
#include "panel/HistoryRecorder.h"

#include "FailingVfs.h"
#include "NumberedTransitions.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>

namespace merv::panel {
namespace {

using test::FailingVfs;
using test::TempFolder;

using test::T0;

AlarmTransition transition(int n) {
    return test::numberedTransition(n);
}

// A history through the failing VFS, writable at the start and at the end of each test.
struct FailingHistory : ::testing::Test {
    FailingHistory()
        : vfs(FailingVfs::instance()), history(folder / "h.sqlite", FailingVfs::Name) {}
    ~FailingHistory() override { vfs.succeed(); }
    FailingVfs& vfs;
    TempFolder folder;
    AlarmHistory history;
};

// The ways a disk refuses a write: full, an I/O error, a file made read-only under the panel.
struct Refusal {
    const char* name;
    int code;
};
void PrintTo(const Refusal& value, std::ostream* out) {
    *out << value.name;
}
class EveryRefusal : public FailingHistory, public ::testing::WithParamInterface<Refusal> {};

TEST_P(EveryRefusal, KeepsTransitionsInOrderAndWritesThemOnceARetrySucceeds) {
    HistoryRecorder recorder(history, {.capacity = 100, .firstRetryMs = 100, .lastRetryMs = 1000});
    vfs.failWith(GetParam().code);
    for (int n = 0; n < 3; ++n)
        EXPECT_FALSE(recorder.record(transition(n), 10 * n));
    EXPECT_FALSE(recorder.writable());
    EXPECT_FALSE(recorder.failure().empty());
    EXPECT_NE(recorder.failure().find("h.sqlite"), std::string::npos) << recorder.failure();
    EXPECT_EQ(recorder.pendingCount(), 3u);
    EXPECT_TRUE(history.query().empty()) << "a failed batch left some of it behind";

    vfs.succeed();
    ASSERT_TRUE(recorder.nextRetryMs());
    EXPECT_FALSE(recorder.retry(*recorder.nextRetryMs() - 1)) << "retried before it was due";
    EXPECT_EQ(recorder.pendingCount(), 3u);
    EXPECT_TRUE(recorder.retry(*recorder.nextRetryMs()));
    EXPECT_TRUE(recorder.writable());
    EXPECT_EQ(recorder.pendingCount(), 0u);
    EXPECT_FALSE(recorder.nextRetryMs());
    EXPECT_TRUE(recorder.record(transition(3), 1000));
    EXPECT_EQ(history.query(),
              (std::vector{transition(0), transition(1), transition(2), transition(3)}));
}

INSTANTIATE_TEST_SUITE_P(HistoryRecorder, EveryRefusal,
                         ::testing::Values(Refusal{"DiskFull", SQLITE_FULL},
                                           Refusal{"WriteError", SQLITE_IOERR_WRITE},
                                           Refusal{"ReadOnly", SQLITE_READONLY}),
                         [](const auto& info) { return std::string(info.param.name); });

using HistoryRecorderOnAFailingDisk = FailingHistory;

TEST_F(HistoryRecorderOnAFailingDisk, ANewTransitionWritesTheKeptOnesBeforeItsRetryIsDue) {
    HistoryRecorder recorder(history,
                             {.capacity = 100, .firstRetryMs = 60000, .lastRetryMs = 60000});
    vfs.failWith(SQLITE_FULL);
    EXPECT_FALSE(recorder.record(transition(0), 0));
    vfs.succeed();
    EXPECT_TRUE(recorder.record(transition(1), 1));
    EXPECT_EQ(history.query(), (std::vector{transition(0), transition(1)}));
}

TEST_F(HistoryRecorderOnAFailingDisk, WaitsLongerAfterEachFailedTryUpToTheLongestWait) {
    HistoryRecorder recorder(history, {.capacity = 100, .firstRetryMs = 100, .lastRetryMs = 400});
    vfs.failWith(SQLITE_FULL);
    recorder.record(transition(0), 0);
    std::vector<std::int64_t> due{*recorder.nextRetryMs()};
    for (int i = 0; i < 4; ++i) {
        EXPECT_FALSE(recorder.retry(due.back()));
        due.push_back(*recorder.nextRetryMs());
    }
    EXPECT_EQ(due, (std::vector<std::int64_t>{100, 300, 700, 1100, 1500}));
    vfs.succeed();
    EXPECT_TRUE(recorder.retry(due.back()));
    // Writable again, the next failure starts from the shortest wait.
    vfs.failWith(SQLITE_FULL);
    recorder.record(transition(1), 2000);
    EXPECT_EQ(recorder.nextRetryMs(), 2100);
}

TEST_F(HistoryRecorderOnAFailingDisk, KeepsAtMostItsCapacityAndCountsWhatItLost) {
    HistoryRecorder recorder(history, {.capacity = 3, .firstRetryMs = 100, .lastRetryMs = 100});
    vfs.failWith(SQLITE_FULL);
    for (int n = 0; n < 5; ++n)
        recorder.record(transition(n), n);
    EXPECT_EQ(recorder.droppedCount(), 2u);
    vfs.succeed();
    EXPECT_TRUE(recorder.flush(10));
    EXPECT_EQ(history.query(), (std::vector{transition(2), transition(3), transition(4)}));
}

TEST_F(HistoryRecorderOnAFailingDisk, WhatCannotBeWrittenAtTheEndGoesToARecoveryFileBesideIt) {
    HistoryRecorder recorder(history);
    vfs.failWith(SQLITE_FULL);
    AlarmTransition odd = transition(1);
    odd.station = "=ops, \"A\"";
    recorder.record(transition(0), 0);
    recorder.record(odd, 1);
    EXPECT_FALSE(recorder.drain(20));
    EXPECT_EQ(recorder.pendingCount(), 2u);

    const auto path = recorder.writeRecovery(T0);
    EXPECT_EQ(path.parent_path(), folder.path());
    EXPECT_EQ(path.filename().string(), "h.sqlite.unwritten-2026-12-08T140305.123Z.csv");
    EXPECT_EQ(recorder.pendingCount(), 0u);
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    std::ostringstream expected;
    const std::vector rows{transition(0), odd};
    writeCsv(expected, rows);
    EXPECT_EQ(text.str(), expected.str());

    // A second one of the same moment is a file of its own.
    recorder.record(transition(2), 2);
    const auto second = recorder.writeRecovery(T0);
    EXPECT_NE(second, path);
    EXPECT_TRUE(std::filesystem::exists(path));
    EXPECT_TRUE(std::filesystem::exists(second));
}

TEST_F(HistoryRecorderOnAFailingDisk, DrainWritesEverythingOnceTheDiskTakesItAgain) {
    HistoryRecorder recorder(history);
    vfs.failWith(SQLITE_FULL);
    recorder.record(transition(0), 0);
    recorder.record(transition(1), 0);
    vfs.succeed();
    EXPECT_TRUE(recorder.drain(0));
    EXPECT_EQ(history.query(), (std::vector{transition(0), transition(1)}));
}

TEST_F(HistoryRecorderOnAFailingDisk, ALaterRecorderWritesAnEarlierOnesTransitionsFirst) {
    HistoryRecorder earlier(history);
    vfs.failWith(SQLITE_FULL);
    earlier.record(transition(0), 0);
    earlier.record(transition(1), 0);
    HistoryRecorder later(history);
    later.takeOver(earlier);
    EXPECT_EQ(earlier.pendingCount(), 0u);
    EXPECT_FALSE(later.writable()) << "the failure was not carried over";
    vfs.succeed();
    EXPECT_TRUE(later.record(transition(2), 0));
    EXPECT_EQ(history.query(), (std::vector{transition(0), transition(1), transition(2)}));
}

TEST_F(HistoryRecorderOnAFailingDisk, ATransitionNoHistoryCanHoldIsRefusedAndNotKept) {
    HistoryRecorder recorder(history);
    AlarmTransition bad = transition(0);
    bad.value = std::nan("");
    EXPECT_THROW(recorder.record(bad, 0), HistoryError);
    EXPECT_EQ(recorder.pendingCount(), 0u);
    EXPECT_TRUE(recorder.writable());
    EXPECT_TRUE(recorder.record(transition(1), 0));
}

} // namespace
} // namespace merv::panel
