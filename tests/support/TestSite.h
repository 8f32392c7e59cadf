#pragma once

#include <mervgauge/control/MERV_Gauge.h>
#include <mervgauge/platform/ContainerSite.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace merv::test {

// A host for one control that records, in order, every event and property-changed notice.
class TestSite : public ContainerSite {
public:
    std::optional<bool> userMode = true; // empty: not attached
    std::uint32_t backColor = 0x8000000Fu;
    std::int32_t localeId = 1033;
    std::int32_t language = 1033;
    NumberLocale locale = NumberLocale::english();
    std::vector<std::string> log; // "event:OnAlarmHigh", "changed:Value"
    std::map<std::string, std::function<void()>> handlers;
    // System colours this host answers itself; the rest come from the default table.
    std::map<std::uint32_t, std::uint32_t> systemColors;

    std::optional<bool> ambientUserMode() const override {
        return attached ? userMode : std::nullopt;
    }
    std::uint32_t ambientBackColor() const override { return backColor; }
    std::int32_t ambientLocaleID() const override { return localeId; }
    void propertyChanged(std::string_view name) override {
        log.push_back("changed:" + std::string(name));
    }
    void raiseEvent(int, std::string_view name) override {
        log.push_back("event:" + std::string(name));
        if (auto it = handlers.find(std::string(name)); it != handlers.end() && it->second)
            it->second();
    }
    // Status notices apart from the log: "AlarmHighStatus=1".
    std::vector<std::string> statusNotices;
    void statusChanged(std::string_view name, bool status) override {
        statusNotices.push_back(std::string(name) + (status ? "=1" : "=0"));
    }
    const NumberLocale& numberLocale() const override { return locale; }
    std::int32_t resourceLanguage() const override { return language; }
    std::uint32_t systemColor(std::uint32_t index) const override {
        const auto it = systemColors.find(index);
        return it != systemColors.end() ? it->second : ContainerSite::systemColor(index);
    }

    bool attached = false;

    // Only the events, in order.
    std::vector<std::string> events() const {
        std::vector<std::string> out;
        for (const auto& line : log)
            if (line.rfind("event:", 0) == 0)
                out.push_back(line.substr(6));
        return out;
    }
};

// A control created the way a host creates one: Initialize, attach, then InitProperties or
// ReadProperties from a bag, then Resize; optionally with its first redraw done.
struct Hosted {
    TestSite site;
    std::unique_ptr<MERV_Gauge> gauge;

    MERV_Gauge* operator->() { return gauge.get(); }
    MERV_Gauge& operator*() { return *gauge; }
    const GaugeElements& ui() const { return gauge->ui(); }

    static std::unique_ptr<Hosted> fresh(bool userMode = true) {
        auto h = std::make_unique<Hosted>();
        h->site.userMode = userMode;
        h->gauge = std::make_unique<MERV_Gauge>(h->site);
        h->gauge->Initialize();
        h->site.attached = true;
        h->gauge->InitProperties();
        h->gauge->Resize();
        return h;
    }

    static std::unique_ptr<Hosted> restored(PropertyBag& bag, bool redraw = true) {
        auto h = std::make_unique<Hosted>();
        h->gauge = std::make_unique<MERV_Gauge>(h->site);
        h->gauge->Initialize();
        h->site.attached = true;
        h->gauge->ReadProperties(bag);
        h->gauge->Resize();
        if (redraw)
            h->gauge->ui().InitTimer.tick();
        h->site.log.clear();
        return h;
    }

    static std::unique_ptr<Hosted> restored() {
        MemoryPropertyBag bag;
        return restored(bag);
    }
};

} // namespace merv::test
