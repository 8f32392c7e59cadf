#include "panel/DeliveryQueue.h"

#include <QMetaObject>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <iterator>
#include <utility>

namespace merv::panel {

DeliveryQueue::DeliveryQueue(QObject* receiver, std::size_t valueCapacity)
    : m_receiver(receiver), m_valueCapacity(valueCapacity) {}

void DeliveryQueue::post(std::function<void()> work) {
    enqueue(std::move(work), false);
}

bool DeliveryQueue::postValue(std::function<void()> work) {
    return enqueue(std::move(work), true);
}

bool DeliveryQueue::enqueue(std::function<void()> work, bool isValue) {
    {
        std::lock_guard lock(m_mutex);
        if (isValue && m_pendingValues >= m_valueCapacity) {
            ++m_dropped;
            return false;
        }
        m_pending.push_back({std::move(work), isValue});
        m_pendingValues += isValue ? 1 : 0;
        if (!m_wakePending && std::this_thread::get_id() != m_gatherer)
            wake();
    }
    return true;
}

void DeliveryQueue::wake() {
    m_wakePending = true;
    m_lastWake = std::chrono::steady_clock::now();
    QMetaObject::invokeMethod(
        m_receiver, [this] { drain(); }, Qt::QueuedConnection);
}

void DeliveryQueue::flush() {
    std::lock_guard lock(m_mutex);
    if (!m_pending.empty() && !m_wakePending)
        wake();
}

void DeliveryQueue::gatherOnThisThread() {
    std::lock_guard lock(m_mutex);
    m_gatherer = std::this_thread::get_id();
}

std::optional<std::chrono::milliseconds>
DeliveryQueue::release(std::chrono::milliseconds interval) {
    std::lock_guard lock(m_mutex);
    if (m_pending.empty() || m_wakePending)
        return std::nullopt; // a pending wake takes what waits
    const auto since = std::chrono::steady_clock::now() - m_lastWake;
    if (since >= interval) {
        wake();
        return std::nullopt;
    }
    return std::chrono::ceil<std::chrono::milliseconds>(interval - since);
}

void DeliveryQueue::drainNow() {
    run(false);
}

void DeliveryQueue::setPace(std::chrono::microseconds interval) {
    m_pace.setPace(interval);
}

void DeliveryQueue::drain() {
    const auto untilDue = m_pace.untilDue(std::chrono::steady_clock::now());
    if (untilDue > untilDue.zero()) {
        // Too soon after the last pass: this wake-up waits for the next frame, and what comes
        // meanwhile joins it (no other wake-up is posted while this one is pending).
        const auto wait = std::chrono::ceil<std::chrono::milliseconds>(untilDue);
        QTimer::singleShot(wait, Qt::PreciseTimer, m_receiver, [this] { run(true); });
        return;
    }
    run(true);
}

void DeliveryQueue::run(bool woken) {
    // A frame that takes what waits between two passes leaves their schedule as it is.
    if (woken)
        m_pace.passRan(std::chrono::steady_clock::now());
    std::vector<Work> batch;
    {
        std::lock_guard lock(m_mutex);
        batch.swap(m_pending);
        m_pendingValues = 0;
        if (woken) {
            m_wakePending = false;
            ++m_wakeUps;
        }
    }
    // What the work sets off may end the receiver, and this queue with it.
    const QPointer<QObject> alive(m_receiver);
    const auto until = std::chrono::steady_clock::now() + MaxRunTime;
    for (std::size_t i = 0; i < batch.size(); ++i) {
        if (!alive)
            return;
        batch[i].run();
        if (i + 1 < batch.size() && std::chrono::steady_clock::now() > until) {
            // A backlog is taken in slices: between two, the receiver's thread paints, fires
            // its timers and hears its window. The rest goes first again, in order.
            std::lock_guard lock(m_mutex);
            std::size_t values = 0;
            for (std::size_t k = i + 1; k < batch.size(); ++k)
                values += batch[k].isValue ? 1 : 0;
            m_pending.insert(m_pending.begin(),
                             std::make_move_iterator(batch.begin() + std::ptrdiff_t(i + 1)),
                             std::make_move_iterator(batch.end()));
            m_pendingValues += values;
            if (!m_wakePending)
                wake();
            return;
        }
    }
}

std::uint64_t DeliveryQueue::droppedValues() const {
    std::lock_guard lock(m_mutex);
    return m_dropped;
}

std::uint64_t DeliveryQueue::wakeUps() const {
    std::lock_guard lock(m_mutex);
    return m_wakeUps;
}

} // namespace merv::panel
