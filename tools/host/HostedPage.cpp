#include "host/HostedPage.h"

#include "host/HostedGauge.h"

namespace merv::host {

HostedPage::HostedPage(ControlLookup lookup, const NumberLocale& locale, std::int32_t language,
                       FocusTracker& focus)
    : m_lookup(std::move(lookup)), m_locale(locale), m_language(language), m_page(*this) {
    m_page.elements().setFocusTracker(&focus);
}

SelectedObject* HostedPage::selectedControl(int index) {
    if (index < 0 || std::size_t(index) >= m_selection.size())
        return nullptr;
    const int id = m_selection[std::size_t(index)];
    HostedGauge* gauge = m_lookup(id);
    if (!gauge)
        return nullptr;
    auto& item = m_items[id];
    if (!item)
        item = std::make_unique<GaugeSelection>(gauge->control(), *gauge);
    return item.get();
}

std::optional<int> HostedPage::firstSelected() const {
    if (m_selection.empty())
        return std::nullopt;
    return m_selection.front();
}

void HostedPage::forget(int id) {
    m_items.erase(id);
}

} // namespace merv::host
