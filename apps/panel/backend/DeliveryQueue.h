#pragma once

#include "panel/PaceClock.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

class QObject;

namespace merv::panel {

// Hands what a source's own thread learns to the thread of the object it reports through, in
// the order it was learnt: one wake-up of that thread carries everything since the last, where a
// queued call per message would wake it, and repaint its window, once per message. Values wait
// in a bounded queue: one that comes while it is full is dropped and counted, so a consumer that
// cannot keep up costs at most the bound in memory. Everything else always waits its turn.
class DeliveryQueue {
public:
    // Ten seconds of a plant's 10,000 values a second.
    static constexpr std::size_t DefaultValueCapacity = 100'000;
    // The longest one wake-up runs before it leaves the rest for the next.
    static constexpr std::chrono::milliseconds MaxRunTime{20};

    // The work runs on receiver's thread, and never once receiver is gone.
    explicit DeliveryQueue(QObject* receiver, std::size_t valueCapacity = DefaultValueCapacity);

    // From any thread: a notice, a change of state, an acknowledgement.
    void post(std::function<void()> work);
    // From any thread: the delivery of a value; false when the queue is full and it is dropped.
    bool postValue(std::function<void()> work);

    // What the calling thread posts from now on waits until it calls release(): a network
    // thread that takes a thousand messages a second then wakes the receiver a few hundred
    // times at most. Posts from other threads still wake it at once.
    void gatherOnThisThread();
    // On the gathering thread: wakes the receiver for what waits, unless it was woken less than
    // interval ago. Returns how long until what waits may be released; none when nothing waits.
    std::optional<std::chrono::milliseconds> release(std::chrono::milliseconds interval);
    // Wakes the receiver for what waits, however soon after the last wake-up.
    void flush();

    // On the receiver's thread: what waits is run at most once per interval (a frame of the
    // receiver's screen), so that a thousand values a second cost sixty passes, each painting
    // every changed gauge once; what comes after a quiet interval runs at once. Zero, the
    // default, runs what comes as soon as the receiver's thread is woken.
    void setPace(std::chrono::microseconds interval);
    // On the receiver's thread: runs now what waits, released or not, as a frame about to be
    // painted takes the values that came since the last.
    void drainNow();

    // Values dropped so far, and how many wake-ups ran; from any thread.
    std::uint64_t droppedValues() const;
    std::uint64_t wakeUps() const;

private:
    bool enqueue(std::function<void()> work, bool isValue);
    void wake(); // with the lock held and no wake pending
    void drain();
    void run(bool woken);

    QObject* m_receiver;
    const std::size_t m_valueCapacity;
    mutable std::mutex m_mutex;
    struct Work {
        std::function<void()> run;
        bool isValue;
    };
    std::vector<Work> m_pending;
    std::size_t m_pendingValues = 0;
    bool m_wakePending = false;
    std::thread::id m_gatherer;
    std::chrono::steady_clock::time_point m_lastWake;
    std::uint64_t m_dropped = 0;
    std::uint64_t m_wakeUps = 0;
    // The receiver's thread's own: when it next runs what waits.
    PaceClock m_pace;
};

} // namespace merv::panel
