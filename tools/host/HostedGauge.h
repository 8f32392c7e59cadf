#pragma once

#include <mervgauge/control/MERV_Gauge.h>
#include <mervgauge/platform/ContainerSite.h>
#include <mervgauge/platform/PropertyBag.h>
#include <mervgauge/platform/Timer.h>

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace merv::host {

// One control sited in the scripting host: the container services it calls, the ambient values
// the host offers it, the lifecycle sequences that bring it up, and its event handlers.
class HostedGauge : public ContainerSite {
public:
    // Where the control's events and property-changed notices go.
    class Listener {
    public:
        virtual void eventRaised(HostedGauge& gauge, std::string_view name) = 0;
        virtual void propertyChanged(HostedGauge& gauge, std::string_view name) = 0;

    protected:
        ~Listener() = default;
    };

    struct Ambient {
        bool userMode = true;
        std::uint32_t backColor = 0x8000000Fu; // the system's button-face colour
        std::int32_t localeId = 1033;
    };

    HostedGauge(int id, Listener& listener, TimerClock& clock, const NumberLocale& locale,
                std::int32_t language, Ambient ambient);
    ~HostedGauge() override;
    HostedGauge(const HostedGauge&) = delete;
    HostedGauge& operator=(const HostedGauge&) = delete;

    int id() const noexcept { return m_id; }
    MERV_Gauge& control() noexcept { return *m_control; }

    // Initialize before the control is attached, attach, InitProperties, then size it.
    void createNew();
    // Initialize before the control is attached, attach, ReadProperties, then size it. An error
    // of ReadProperties reaches the caller and leaves the control half restored and unsized.
    void restore(PropertyBag& bag);

    // Raises Resize. Extent changes the control makes while it runs raise it again, nested.
    void raiseResize();
    // The host asks for an extent in twips: assigned without a Resize of its own, then Resize.
    void resizeTo(int width, int height);

    Ambient& ambient() noexcept { return m_ambient; }

    // Host command lines run when an event is raised, by event name.
    void setHandler(const std::string& event, std::string command);
    void removeHandler(const std::string& event);
    std::optional<std::string> handler(std::string_view event) const;

    // True while one of the control's events is being raised: the control is in the middle of
    // a call and must not be destroyed under it.
    bool raisingEvent() const noexcept { return m_eventDepth > 0; }

    // ContainerSite.
    std::optional<bool> ambientUserMode() const override;
    std::uint32_t ambientBackColor() const override { return m_ambient.backColor; }
    std::int32_t ambientLocaleID() const override { return m_ambient.localeId; }
    void propertyChanged(std::string_view name) override;
    void raiseEvent(int dispid, std::string_view name) override;
    const NumberLocale& numberLocale() const override { return m_locale; }
    std::int32_t resourceLanguage() const override { return m_language; }

private:
    int m_id;
    Listener& m_listener;
    const NumberLocale& m_locale;
    std::int32_t m_language;
    Ambient m_ambient;
    bool m_attached = false;
    bool m_hostSizing = false;
    int m_eventDepth = 0;
    std::map<std::string, std::string, std::less<>> m_handlers;
    // Last, so that it goes first, while the site it calls is still whole.
    std::unique_ptr<MERV_Gauge> m_control;
};

} // namespace merv::host
