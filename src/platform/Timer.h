#pragma once

#include <mervgauge/platform/Element.h>

#include <functional>

namespace merv {

class Timer;

// The host's clock: it decides what time is and delivers the ticks of enabled timers.
class TimerClock {
public:
    virtual ~TimerClock() = default;
    // Enabled or Interval changed; an enabled timer counts its interval from now.
    virtual void timerChanged(Timer& timer) = 0;
    virtual void timerDestroyed(Timer& timer) = 0;
};

// A timer element: one tick per interval while enabled. The tick handler may throw; the
// clock decides what becomes of the error.
class Timer : public Element {
public:
    Timer(ElementTree& tree, std::string name)
        : Element(tree, std::move(name), ElementKind::Timer) {}
    ~Timer() override;

    int interval() const noexcept { return m_interval; }
    void setInterval(int milliseconds);
    bool enabled() const noexcept { return m_enabled; }
    void setEnabled(bool enabled);

    // Interval 0 never ticks.
    bool running() const noexcept { return m_enabled && m_interval > 0; }

    // Runs the tick handler; what it throws reaches the caller.
    void tick();

    std::function<void()> onTick;

private:
    int m_interval = 0;
    bool m_enabled = true;
};

} // namespace merv
