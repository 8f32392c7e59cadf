#include <mervgauge/platform/TabControl.h>

#include <mervgauge/platform/ElementTree.h>
#include <mervgauge/platform/RuntimeError.h>

namespace merv {

TabControl::TabControl(ElementTree& tree, std::string name)
    : Element(tree, std::move(name), ElementKind::TabControl),
      Container(static_cast<Element&>(*this)), m_captions(1) {}

void TabControl::setTabCount(int count) {
    if (count < 1)
        throw RuntimeError(ErrorNumber::InvalidPropertyValue);
    if (count == tabCount())
        return;
    m_captions.resize(std::size_t(count));
    notify(ElementChange::Caption);
    if (m_tab >= count)
        setTab(count - 1);
}

const std::string& TabControl::tabCaption(int tab) const {
    if (tab < 0 || tab >= tabCount())
        throw RuntimeError(ErrorNumber::InvalidPropertyArrayIndex);
    return m_captions[std::size_t(tab)];
}

void TabControl::setTabCaption(int tab, std::string caption) {
    if (tab < 0 || tab >= tabCount())
        throw RuntimeError(ErrorNumber::InvalidPropertyArrayIndex);
    std::string& current = m_captions[std::size_t(tab)];
    if (current == caption)
        return;
    current = std::move(caption);
    notify(ElementChange::Caption);
}

void TabControl::setTab(int tab) {
    if (tab < 0 || tab >= tabCount())
        throw RuntimeError(ErrorNumber::InvalidPropertyValue);
    if (tab == m_tab)
        return;
    m_tab = tab;
    notify(ElementChange::Tab);
    // Typing must not reach a field the user can no longer see.
    FocusTracker& focus = tree().focus();
    Element* focused = focus.focused();
    if (!focused || focused->shown())
        return;
    for (const Element* e = focused; e->container(); e = &e->container()->element()) {
        if (e->container() == this) {
            focus.forget(focused);
            focused->tree().notify({focused, ElementChange::Focus, {}});
            return;
        }
    }
}

void TabControl::setChildTab(Element& child, int tab) {
    auto it = m_childTabs.find(&child);
    if (it == m_childTabs.end())
        throw RuntimeError(ErrorNumber::InvalidPropertyValue,
                           "'" + child.name() + "' does not stand in '" + name() + "'");
    if (tab < 0 || tab >= tabCount())
        throw RuntimeError(ErrorNumber::InvalidPropertyValue);
    if (it->second == tab)
        return;
    it->second = tab;
    tree().notify({&child, ElementChange::Visible, {}});
}

int TabControl::childTab(const Element& child) const noexcept {
    auto it = m_childTabs.find(&child);
    return it == m_childTabs.end() ? -1 : it->second;
}

void TabControl::add(Element& child) {
    Container::add(child);
    m_childTabs[&child] = m_tab;
}

bool TabControl::showsChild(const Element& child) const noexcept {
    return childTab(child) == m_tab;
}

} // namespace merv
