#include "host/HostedGauge.h"

namespace merv::host {

HostedGauge::HostedGauge(int id, Listener& listener, TimerClock& clock, const NumberLocale& locale,
                         std::int32_t language, Ambient ambient)
    : m_id(id), m_listener(listener), m_locale(locale), m_language(language), m_ambient(ambient),
      m_control(std::make_unique<MERV_Gauge>(*this)) {
    m_control->elements().setTimerClock(&clock);
    // The host answers every extent change the control makes with another Resize.
    m_control->elements().root().onExtentChanged = [this] {
        if (!m_hostSizing)
            raiseResize();
    };
}

HostedGauge::~HostedGauge() = default;

void HostedGauge::createNew() {
    m_control->Initialize();
    m_attached = true;
    m_control->InitProperties();
    raiseResize();
}

void HostedGauge::restore(PropertyBag& bag) {
    m_control->Initialize();
    m_attached = true;
    m_control->ReadProperties(bag);
    raiseResize();
}

void HostedGauge::raiseResize() {
    m_control->Resize();
}

void HostedGauge::resizeTo(int width, int height) {
    UserControl& surface = m_control->elements().root();
    m_hostSizing = true;
    try {
        surface.setWidth(width);
        surface.setHeight(height);
    } catch (...) {
        m_hostSizing = false;
        throw;
    }
    m_hostSizing = false;
    raiseResize();
}

void HostedGauge::setHandler(const std::string& event, std::string command) {
    m_handlers[event] = std::move(command);
}

void HostedGauge::removeHandler(const std::string& event) {
    m_handlers.erase(event);
}

std::optional<std::string> HostedGauge::handler(std::string_view event) const {
    if (const auto it = m_handlers.find(event); it != m_handlers.end())
        return it->second;
    return std::nullopt;
}

std::optional<bool> HostedGauge::ambientUserMode() const {
    // Before the host attaches the control, the ambient query fails.
    if (!m_attached)
        return std::nullopt;
    return m_ambient.userMode;
}

void HostedGauge::propertyChanged(std::string_view name) {
    m_listener.propertyChanged(*this, name);
}

void HostedGauge::raiseEvent(int, std::string_view name) {
    ++m_eventDepth;
    try {
        m_listener.eventRaised(*this, name);
    } catch (...) {
        --m_eventDepth;
        throw;
    }
    --m_eventDepth;
}

} // namespace merv::host
