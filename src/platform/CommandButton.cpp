#include <mervgauge/platform/CommandButton.h>

#include <mervgauge/platform/ElementTree.h>

namespace merv {

void CommandButton::setCaption(std::string caption) {
    if (caption == m_caption)
        return;
    m_caption = std::move(caption);
    notify(ElementChange::Caption);
}

} // namespace merv
