#include "QtTimerClock.h"

#include <QTimer>

namespace merv::qt {

QtTimerClock::QtTimerClock(TickErrorHandler onError, TickRunner runner)
    : m_onError(std::move(onError)), m_runner(std::move(runner)) {}

QtTimerClock::~QtTimerClock() = default;

void QtTimerClock::timerChanged(Timer& timer) {
    auto& slot = m_timers[&timer];
    if (!slot) {
        slot = std::make_unique<QTimer>();
        slot->setSingleShot(true);
        slot->setTimerType(Qt::PreciseTimer);
        QObject::connect(slot.get(), &QTimer::timeout, [this, &timer] { fire(timer); });
    }
    if (timer.running())
        slot->start(timer.interval());
    else
        slot->stop();
}

void QtTimerClock::timerDestroyed(Timer& timer) {
    m_timers.erase(&timer);
}

bool QtTimerClock::pending(const Timer& timer) const {
    const auto it = m_timers.find(&timer);
    return it != m_timers.end() && it->second->isActive();
}

void QtTimerClock::fire(Timer& timer) {
    if (!timer.running())
        return;
    QTimer* qtimer = m_timers.at(&timer).get();
    m_runner([&] {
        try {
            timer.tick();
        } catch (const RuntimeError& error) {
            m_onError(error);
        }
    });
    // Due again one interval on unless the tick stopped or re-timed the element itself. The
    // element may be gone when the tick destroyed the control.
    const auto it = m_timers.find(&timer);
    if (it != m_timers.end() && it->second.get() == qtimer && timer.running() &&
        !qtimer->isActive())
        qtimer->start(timer.interval());
}

} // namespace merv::qt
