#pragma once

#include <mervgauge/platform/ElementTree.h>
#include <mervgauge/platform/PropertyPageSite.h>
#include <mervgauge/propertypage/PageLayout.h>

#include <string>
#include <string_view>

namespace merv {

// The gauge's design-time property page: three tabs that edit sixteen properties of the first
// object of the host's selection, known only by their names. The page's whole state is the
// texts of its fields and the colours of its swatches; the changed flag lives with the host.
// All calls arrive on the host's one user-interface thread.
class PropertyPage1 {
public:
    // The title the host shows for the page.
    static constexpr std::string_view Caption = "PropertyPage";

    explicit PropertyPage1(PropertyPageSite& site);
    PropertyPage1(const PropertyPage1&) = delete;
    PropertyPage1& operator=(const PropertyPage1&) = delete;

    // The host gave the page its selection: loads the first object's properties into the
    // fields and swatches, the captions in the process's language, and shows tab 0. The
    // first failing property get ends the load; the error reaches the host.
    void SelectionChanged();
    // The host asks for the page's values: writes all sixteen properties on the first object.
    // The first failing put ends it; what was written stays written.
    void ApplyChanges();

    // The page's elements, for hosts and views. A user shows a tab with SSTab1.setTab.
    ElementTree& elements() noexcept { return m_tree; }
    const ElementTree& elements() const noexcept { return m_tree; }
    const PageElements& ui() const noexcept { return m_ui; }

private:
    enum class Sign { MayStandAlone, NeedsDigits };
    void validateNumber(TextField& field, Sign sign);
    void chooseColor(PictureBox& swatch);
    void loadCaptions();

    PropertyPageSite& m_site;
    ElementTree m_tree;
    PageElements m_ui;
};

} // namespace merv
