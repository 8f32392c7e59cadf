// The history written on a thread of its own: everything handed over is written in order, a
// failing disk is told and retried without being asked, an ending writer makes one last try,
// a writer that follows another writes the earlier one's unwritten transitions first, and what
// cannot be written goes to a recovery file; a kill in the middle of a flood leaves every batch
// committed before it, in order, in a whole file.
#include "panel/HistoryWriter.h"

#include "FailingVfs.h"
#include "IntegrityCheck.h"
#include "KillMidway.h"
#include "NumberedTransitions.h"
#include "QtTestApp.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <fstream>
#include <sstream>
#include <thread>

namespace merv::panel {
namespace {

using test::FailingVfs;
using test::TempFolder;

using test::T0;

AlarmTransition transition(int n) {
    return test::numberedTransition(n);
}

std::vector<AlarmTransition> transitions(int from, int to) {
    std::vector<AlarmTransition> out;
    for (int n = from; n < to; ++n)
        out.push_back(transition(n));
    return out;
}

// Waits for a condition the writer's thread brings about, up to ten seconds.
template <class Condition>
bool eventually(Condition condition) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > until)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

struct HistoryWriterTest : ::testing::Test {
    HistoryWriterTest()
        : vfs(FailingVfs::instance()), history(folder / "h.sqlite", FailingVfs::Name) {
        test::ensureQtApp();
    }
    ~HistoryWriterTest() override { vfs.succeed(); }
    // Quick retries, so that a test waits milliseconds, not seconds.
    static HistoryRecorder::Options quick() {
        HistoryRecorder::Options options;
        options.firstRetryMs = 10;
        options.lastRetryMs = 40;
        return options;
    }
    FailingVfs& vfs;
    TempFolder folder;
    AlarmHistory history;
};

TEST_F(HistoryWriterTest, EverythingHandedOverIsWrittenInOrder) {
    HistoryWriter writer(history);
    const auto sent = transitions(0, 3000);
    for (const AlarmTransition& t : sent)
        writer.record(t);
    ASSERT_TRUE(writer.drain(10000));
    EXPECT_EQ(history.query(), sent) << "read through another connection";
    EXPECT_EQ(writer.status(), HistoryWriter::Status{});
}

TEST_F(HistoryWriterTest, AFailingDiskIsToldAndRetriedUntilItTakesTheTransitions) {
    HistoryWriter writer(history, quick());
    vfs.failWith(SQLITE_FULL);
    writer.record(transition(0));
    writer.record(transition(1));
    ASSERT_TRUE(eventually([&] { return !writer.status().writable; }));
    const HistoryWriter::Status failing = writer.status();
    EXPECT_NE(failing.failure.find("database or disk is full"), std::string::npos)
        << failing.failure;
    EXPECT_EQ(failing.pending, 2u);
    EXPECT_FALSE(writer.drain(50));
    // Nothing new comes: the writer's own retries write them once the disk takes writes.
    vfs.succeed();
    ASSERT_TRUE(writer.drain(10000));
    EXPECT_EQ(history.query(), transitions(0, 2));
    EXPECT_TRUE(eventually([&] { return writer.status().writable; }));
}

TEST_F(HistoryWriterTest, AWriterThatEndsMakesOneLastTry) {
    {
        HistoryWriter writer(history);
        for (const AlarmTransition& t : transitions(0, 200))
            writer.record(t);
    }
    EXPECT_EQ(history.query(), transitions(0, 200));
}

TEST_F(HistoryWriterTest, AFollowingWriterWritesTheEarlierOnesUnwrittenTransitionsFirst) {
    auto earlier = std::make_unique<HistoryWriter>(history, quick());
    vfs.failWith(SQLITE_IOERR);
    for (const AlarmTransition& t : transitions(0, 3))
        earlier->record(t);
    ASSERT_TRUE(eventually([&] { return !earlier->status().writable; }));
    HistoryWriter later(history, quick());
    later.takeOver(*earlier);
    EXPECT_FALSE(later.status().writable) << "the trouble stays told";
    earlier.reset();
    vfs.succeed();
    later.record(transition(3));
    ASSERT_TRUE(later.drain(10000));
    EXPECT_EQ(history.query(), transitions(0, 4));
}

TEST_F(HistoryWriterTest, WhatCannotBeWrittenGoesToARecoveryFile) {
    HistoryWriter writer(history, quick());
    vfs.failWith(SQLITE_READONLY);
    for (const AlarmTransition& t : transitions(0, 5))
        writer.record(t);
    EXPECT_FALSE(writer.drain(100));
    const auto path = writer.writeRecovery(T0);
    std::stringstream written, expected;
    written << std::ifstream(path).rdbuf();
    writeCsv(expected, transitions(0, 5));
    EXPECT_EQ(written.str(), expected.str());
    EXPECT_EQ(writer.status().pending, 0u);
}

TEST_F(HistoryWriterTest, ATransitionNoHistoryCanHoldIsRefusedWhenHandedOver) {
    HistoryWriter writer(history);
    AlarmTransition bad = transition(0);
    bad.value = std::nan("");
    EXPECT_THROW(writer.record(bad), HistoryError);
    writer.record(transition(1));
    ASSERT_TRUE(writer.drain(10000));
    EXPECT_EQ(history.query(), transitions(1, 2));
}

// A child floods its writer with transitions, bursts of them handed over at once, and reports
// on a pipe how many were committed whenever the writer has written all it was handed; it is
// killed while the next bursts are being committed. Every reported row must be there, in
// order with no gap, and the file must pass SQLite's own integrity check.
TEST(HistoryWriterKill, AKillInTheMiddleOfAFloodLosesNoCommittedBatch) {
    TempFolder folder;
    const std::filesystem::path path = folder / "h.sqlite";
    { AlarmHistory create(path); }
    constexpr std::int64_t KillAfter = 5000; // committed rows before the kill
    // Then in the middle of the next bursts' batches.
    const auto killed =
        test::killMidway(KillAfter, std::chrono::milliseconds(3), [&](const auto& report) {
            AlarmHistory history(path);
            HistoryWriter writer(history);
            constexpr int Burst = 500; // a flood's transitions, handed over faster than written
            for (int n = 1;; n += Burst) {
                for (int k = n; k < n + Burst; ++k)
                    writer.record(transition(k));
                if (writer.drain(10000) && !report(n + Burst - 1))
                    return;
            }
        });
    ASSERT_TRUE(killed);
    const std::int64_t committed = *killed;
    ASSERT_GE(committed, KillAfter);

    AlarmHistory reopened(path);
    const auto rows = reopened.query();
    ASSERT_GE(std::int64_t(rows.size()), committed);
    for (std::size_t i = 0; i < rows.size(); ++i)
        ASSERT_EQ(rows[i], transition(int(i + 1))) << "row " << i;
    EXPECT_EQ(test::integrityVerdict(path), "ok");
}

} // namespace
} // namespace merv::panel
