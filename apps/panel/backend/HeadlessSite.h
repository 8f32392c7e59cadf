#pragma once

#include <mervgauge/control/MERV_Gauge.h>
#include <mervgauge/platform/ContainerSite.h>
#include <mervgauge/platform/PropertyBag.h>

#include <optional>

namespace merv::panel {

// The least a control needs to live without a window: run mode once attached, English
// numbers and captions, and nobody listening to its notices or events.
class HeadlessSite : public ContainerSite {
public:
    // The language a headless control looks its captions up in.
    static constexpr std::int32_t EnglishLcid = 1033;
    // The ambient back colour: the system's button face colour.
    static constexpr std::uint32_t BackColor = 0x8000000Fu;

    std::optional<bool> ambientUserMode() const override {
        return attached ? std::optional<bool>(true) : std::nullopt;
    }
    std::uint32_t ambientBackColor() const override { return BackColor; }
    std::int32_t ambientLocaleID() const override { return EnglishLcid; }
    void propertyChanged(std::string_view) override {}
    void raiseEvent(int, std::string_view) override {}
    const NumberLocale& numberLocale() const override { return m_locale; }
    std::int32_t resourceLanguage() const override { return EnglishLcid; }

    // The host has sited the control; until then the ambient UserMode query fails.
    bool attached = false;

private:
    NumberLocale m_locale = NumberLocale::english();
};

// A control restored from a bag on a headless site, as a host restores a loaded form; what
// the backend reads restored properties from. Throws the control's RuntimeError.
class HeadlessGauge {
public:
    explicit HeadlessGauge(PropertyBag& bag) : m_control(m_site) {
        m_control.Initialize();
        m_site.attached = true;
        m_control.ReadProperties(bag);
    }
    MERV_Gauge& control() { return m_control; }

private:
    HeadlessSite m_site;
    MERV_Gauge m_control;
};

} // namespace merv::panel
