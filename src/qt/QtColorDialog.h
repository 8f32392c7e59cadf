#pragma once

#include <mervgauge/platform/ColorDialog.h>

#include <cstdint>

class QWidget;

namespace merv::qt {

// The colour chooser of the platform as a QColorDialog, modal over its owner. A system colour
// (high bit set) opens on the colour the owner's palette gives it and, when the user cancels,
// stays exactly the value it was.
class QtColorDialog : public ColorDialog {
public:
    explicit QtColorDialog(QWidget& owner) : m_owner(owner) {}

    void setFlags(std::int32_t flags) override { m_flags = flags; }
    std::uint32_t Color() const override { return m_color; }
    void setColor(std::uint32_t color) override { m_color = color; }
    void ShowColor() override;

private:
    QWidget& m_owner;
    std::int32_t m_flags = 0;
    std::uint32_t m_color = 0;
};

} // namespace merv::qt
