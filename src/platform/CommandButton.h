#pragma once

#include <mervgauge/platform/Element.h>

#include <string>

namespace merv {

class CommandButton : public Element {
public:
    CommandButton(ElementTree& tree, std::string name)
        : Element(tree, std::move(name), ElementKind::CommandButton) {}

    const std::string& caption() const noexcept { return m_caption; }
    void setCaption(std::string caption);

private:
    std::string m_caption;
};

} // namespace merv
