#pragma once

#include <mervgauge/platform/RuntimeError.h>
#include <mervgauge/platform/Timer.h>

#include <QObject>

#include <functional>
#include <map>
#include <memory>

class QTimer;

namespace merv::qt {

// The host's clock on Qt's event loop: one single-shot QTimer per enabled timer element,
// started for the element's interval whenever it is enabled or re-timed, and again one
// interval after each tick while the element stays enabled.
class QtTimerClock : public TimerClock {
public:
    // What becomes of an error a tick raises; the timer keeps its state, as the tick left it.
    using TickErrorHandler = std::function<void(const RuntimeError&)>;
    // Runs around every tick, so the host can bracket its calls into the control.
    using TickRunner = std::function<void(const std::function<void()>&)>;

    QtTimerClock(TickErrorHandler onError, TickRunner runner);
    ~QtTimerClock() override;

    void timerChanged(Timer& timer) override;
    void timerDestroyed(Timer& timer) override;

    // Whether the element's QTimer is counting (for tests that drive time by hand).
    bool pending(const Timer& timer) const;

private:
    void fire(Timer& timer);

    TickErrorHandler m_onError;
    TickRunner m_runner;
    std::map<const Timer*, std::unique_ptr<QTimer>> m_timers;
};

} // namespace merv::qt
