// What a source's thread hands to the window's thread arrives whole and in order, many items at
// one wake-up; a full queue drops values, counted, and never anything else; a gathering thread's
// items wait for its release, which comes no sooner than the interval after the last wake-up;
// a paced queue runs what comes at most once per interval, and at once after a quiet one.
#include "panel/DeliveryQueue.h"
#include "panel/DataSource.h"

#include "QtTestApp.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QObject>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace merv::panel {
namespace {

using namespace std::chrono_literals;

void app() {
    test::ensureQtApp();
}

// Runs the receiver's event loop until done() or a generous deadline.
template <class Done>
void processUntil(Done done) {
    QElapsedTimer waited;
    waited.start();
    while (!done() && waited.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

TEST(DeliveryQueue, ValuesAndNoticesFromAThreadArriveInOrderAtFewWakeUps) {
    app();
    QObject receiver;
    DeliveryQueue queue(&receiver);
    std::vector<int> seen;
    constexpr int Count = 20000;
    std::thread producer([&] {
        for (int i = 0; i < Count; ++i) {
            if (i % 100 == 0)
                queue.post([&seen, i] { seen.push_back(-i); });
            else
                queue.postValue([&seen, i] { seen.push_back(i); });
        }
    });
    producer.join();
    processUntil([&] { return seen.size() == std::size_t(Count); });
    ASSERT_EQ(seen.size(), std::size_t(Count));
    for (int i = 0; i < Count; ++i)
        ASSERT_EQ(seen[std::size_t(i)], i % 100 == 0 ? -i : i) << "at " << i;
    EXPECT_LT(queue.wakeUps(), std::uint64_t(Count / 10)) << "one wake-up carries many";
    EXPECT_EQ(queue.droppedValues(), 0u);
}

TEST(DeliveryQueue, AFullQueueDropsValuesAndCountsThemButKeepsEverythingElse) {
    app();
    QObject receiver;
    DeliveryQueue queue(&receiver, 3);
    std::vector<int> seen;
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(queue.postValue([&seen, i] { seen.push_back(i); }), i < 3) << i;
    queue.post([&seen] { seen.push_back(100); }); // a notice waits its turn however full
    EXPECT_EQ(queue.droppedValues(), 2u);
    processUntil([&] { return seen.size() == 4; });
    EXPECT_EQ(seen, (std::vector<int>{0, 1, 2, 100}));
    // Taken, the queue has room again.
    EXPECT_TRUE(queue.postValue([&seen] { seen.push_back(5); }));
    processUntil([&] { return seen.size() == 5; });
    EXPECT_EQ(seen.back(), 5);
}

TEST(DeliveryQueue, AGatheringThreadsItemsWaitForItsReleaseAndTheInterval) {
    app();
    QObject receiver;
    DeliveryQueue queue(&receiver);
    std::atomic<int> seen = 0;
    std::optional<std::chrono::milliseconds> untilDue;
    std::atomic<bool> releasedAtOnce = false, done = false;
    std::thread network([&] {
        queue.gatherOnThisThread();
        queue.postValue([&seen] { ++seen; });
        // Nothing has woken the receiver since it was made: released at once.
        releasedAtOnce = !queue.release(1000ms);
        while (seen < 1)
            std::this_thread::sleep_for(1ms);
        queue.postValue([&seen] { ++seen; });
        // Woken just now, it is not woken again within the interval, and says how long.
        untilDue = queue.release(1000ms);
        queue.flush(); // the end of the thread: released however soon
        done = true;
    });
    processUntil([&] { return done && seen == 2; });
    network.join();
    EXPECT_TRUE(releasedAtOnce);
    ASSERT_TRUE(untilDue);
    EXPECT_GT(*untilDue, 500ms);
    EXPECT_LE(*untilDue, 1000ms);
    processUntil([&] { return seen == 2; });
    EXPECT_EQ(seen, 2);
}

TEST(DeliveryQueue, APacedQueueRunsAStreamOfValuesOncePerIntervalAndEveryValueInOrder) {
    app();
    QObject receiver;
    DeliveryQueue queue(&receiver);
    constexpr auto Pace = 50ms;
    queue.setPace(Pace);
    std::vector<int> seen;
    std::atomic<bool> done = false;
    std::thread producer([&] {
        // A value every millisecond for half a second, as a busy source sends them.
        for (int i = 0; i < 500; ++i) {
            queue.postValue([&seen, i] { seen.push_back(i); });
            std::this_thread::sleep_for(1ms);
        }
        done = true;
    });
    QElapsedTimer ran;
    ran.start();
    processUntil([&] { return done && seen.size() == 500; });
    producer.join();
    ASSERT_EQ(seen.size(), 500u);
    for (int i = 0; i < 500; ++i)
        ASSERT_EQ(seen[std::size_t(i)], i) << "at " << i;
    const auto intervals = ran.elapsed() / Pace.count();
    EXPECT_LE(queue.wakeUps(), std::uint64_t(intervals + 2))
        << "in " << ran.elapsed() << " ms, paced at " << Pace.count() << " ms";
    EXPECT_GE(queue.wakeUps(), 3u) << "the stream ran in passes, not at its end";
}

TEST(DeliveryQueue, APacedQueueRunsAValueAfterAQuietIntervalAtOnce) {
    app();
    QObject receiver;
    DeliveryQueue queue(&receiver);
    queue.setPace(50ms);
    int runs = 0;
    queue.postValue([&runs] { ++runs; });
    processUntil([&] { return runs == 1; });
    std::this_thread::sleep_for(60ms); // more than an interval without a value
    queue.postValue([&runs] { ++runs; });
    // Only the posted wake-up, no timer: the value is not held for a frame.
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(runs, 2);
}

TEST(DeliveryQueue, ABacklogIsTakenInSlicesWithTheEventLoopBetweenThem) {
    app();
    QObject receiver;
    DeliveryQueue queue(&receiver);
    std::vector<int> seen;
    std::optional<std::size_t> otherWorkAt;
    constexpr int Count = 40; // 2 ms each: several slices of MaxRunTime
    for (int i = 0; i < Count; ++i)
        queue.postValue([&, i] {
            if (i == 0)
                QMetaObject::invokeMethod(
                    &receiver, [&] { otherWorkAt = seen.size(); }, Qt::QueuedConnection);
            std::this_thread::sleep_for(2ms);
            seen.push_back(i);
        });
    processUntil([&] { return seen.size() == std::size_t(Count); });
    ASSERT_EQ(seen.size(), std::size_t(Count));
    for (int i = 0; i < Count; ++i)
        EXPECT_EQ(seen[std::size_t(i)], i);
    ASSERT_TRUE(otherWorkAt);
    EXPECT_LT(*otherWorkAt, std::size_t(Count)) << "the event loop ran between two slices";
    EXPECT_GT(queue.wakeUps(), 1u);
}

TEST(DeliveryQueue, NothingRunsOnceTheReceiverIsGone) {
    app();
    int ran = 0;
    {
        auto receiver = std::make_unique<QObject>();
        DeliveryQueue queue(receiver.get());
        queue.post([&ran] { ++ran; });
        receiver.reset();
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(ran, 0);
}

// A source whose every value is dropped, to see what it tells of them.
class OverflowingSource : public DataSource {
public:
    QString description() const override { return QStringLiteral("overflowing"); }
    void start(const std::vector<SourceTag>&) override {}
    void stop() override {}
    bool isConnected() const override { return true; }
    void flood(int count) {
        for (int i = 0; i < count; ++i)
            deliverValue([this] { ++delivered; });
    }
    int delivered = 0;
};

TEST(DeliveryQueue, ASourceThatDropsValuesSaysSoOnceWithTheCount) {
    app();
    OverflowingSource source;
    QSignalSpy noticed(&source, &DataSource::noticed);
    const int beyond = 7;
    std::thread producer([&] { source.flood(int(DeliveryQueue::DefaultValueCapacity) + beyond); });
    producer.join();
    processUntil([&] { return noticed.count() > 0; });
    ASSERT_EQ(noticed.count(), 1);
    EXPECT_TRUE(noticed.first().first().toString().startsWith(QStringLiteral("7 value(s) dropped")))
        << noticed.first().first().toString().toStdString();
    EXPECT_EQ(source.droppedValues(), std::uint64_t(beyond));
    EXPECT_EQ(source.delivered, int(DeliveryQueue::DefaultValueCapacity));
}

} // namespace
} // namespace merv::panel
