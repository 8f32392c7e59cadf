#pragma once

#include <mervgauge/platform/Element.h>

#include <cstdint>
#include <string>

namespace merv {

enum class Alignment { Left, Right, Center };

class Label : public Element {
public:
    Label(ElementTree& tree, std::string name)
        : Element(tree, std::move(name), ElementKind::Label) {}

    const std::string& caption() const noexcept { return m_caption; }
    // Changes whenever the caption does; never 0.
    std::uint64_t captionGeneration() const noexcept { return m_generation; }
    void setCaption(std::string caption);

    std::uint32_t foreColor() const noexcept { return m_foreColor; }
    void setForeColor(std::uint32_t color);

    Alignment alignment() const noexcept { return m_alignment; }
    void setAlignment(Alignment alignment);

private:
    std::string m_caption;
    std::uint64_t m_generation = 1;
    std::uint32_t m_foreColor = 0x80000012u; // the host's button-text colour
    Alignment m_alignment = Alignment::Left;
};

} // namespace merv
