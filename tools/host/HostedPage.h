#pragma once

#include "host/ScriptedColorDialog.h"

#include <mervgauge/control/GaugeSelection.h>
#include <mervgauge/platform/PropertyPageSite.h>
#include <mervgauge/propertypage/PropertyPage1.h>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace merv::host {

class HostedGauge;

// The property page as the scripting host shows it: a selection of controls by id, the
// page's changed flag and the scripted colour chooser.
class HostedPage : public PropertyPageSite {
public:
    // Finds a control by id; null once it has gone.
    using ControlLookup = std::function<HostedGauge*(int id)>;

    HostedPage(ControlLookup lookup, const NumberLocale& locale, std::int32_t language,
               FocusTracker& focus);

    PropertyPage1& page() noexcept { return m_page; }
    ScriptedColorDialog& dialog() noexcept { return m_dialog; }
    bool changed() const noexcept { return m_changed; }

    // The controls the page edits, by id; the first is the one it loads and applies.
    void select(std::vector<int> ids) { m_selection = std::move(ids); }
    // The id of the first control of the selection; empty when nothing was loaded.
    std::optional<int> firstSelected() const;
    // A control has gone: what the page kept for it goes too.
    void forget(int id);

    SelectedObject* selectedControl(int index) override;
    void setChanged(bool changed) override { m_changed = changed; }
    const NumberLocale& numberLocale() const override { return m_locale; }
    std::int32_t resourceLanguage() const override { return m_language; }
    ColorDialog& colorDialog() override { return m_dialog; }

private:
    ControlLookup m_lookup;
    const NumberLocale& m_locale;
    std::int32_t m_language;
    ScriptedColorDialog m_dialog;
    std::vector<int> m_selection;
    // One per control asked for, kept until the control goes: a put may still be running on it
    // when a handler inside that put asks for the selection again.
    std::map<int, std::unique_ptr<GaugeSelection>> m_items;
    bool m_changed = false;
    // Last, so that it goes first, while the site it calls is still whole.
    PropertyPage1 m_page;
};

} // namespace merv::host
