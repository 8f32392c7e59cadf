#pragma once

#include <mervgauge/platform/Container.h>
#include <mervgauge/platform/Element.h>

#include <string>
#include <unordered_map>
#include <vector>

namespace merv {

// A tab control: a row of captioned tabs over one area, showing the elements placed on one tab
// at a time. It is the container of those elements; each stands on one tab, and an element on
// a tab that is not shown is not shown itself, so focus order and hit testing pass it by.
class TabControl : public Element, public Container {
public:
    TabControl(ElementTree& tree, std::string name);

    int tabCount() const noexcept { return int(m_captions.size()); }
    // At least one tab. Children on tabs that no longer exist are never shown; a shown tab
    // beyond the new count gives way to the last one.
    void setTabCount(int count);

    // Errors: InvalidPropertyArrayIndex for an index outside 0 to tabCount() - 1.
    const std::string& tabCaption(int tab) const;
    void setTabCaption(int tab, std::string caption);

    // The tab shown. A put shows that tab, as a click on it does; the keyboard focus leaves an
    // element that is hidden with its tab. Errors: InvalidPropertyValue when out of range.
    int tab() const noexcept { return m_tab; }
    void setTab(int tab);

    // Moves a child of this control onto a tab. A child added without this stands on the tab
    // that was shown when it was added.
    void setChildTab(Element& child, int tab);
    // The child's tab; -1 for an element that does not stand in this control.
    int childTab(const Element& child) const noexcept;

    void add(Element& child) override;
    bool showsChild(const Element& child) const noexcept override;

private:
    std::vector<std::string> m_captions;
    int m_tab = 0;
    std::unordered_map<const Element*, int> m_childTabs;
};

} // namespace merv
