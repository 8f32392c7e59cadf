#pragma once

#include <mervgauge/platform/ColorDialog.h>
#include <mervgauge/platform/Element.h>

#include <string>

namespace merv {

// The colour dialog element of a form: it hands its options, its colour and ShowColor to the
// host's chooser, which keeps the state. Forms lay it out invisible: it shows only as the
// chooser it opens.
class CommonDialog : public Element, public ColorDialog {
public:
    CommonDialog(ElementTree& tree, std::string name);

    // The host's chooser; the form attaches it before any handler can open the dialog.
    void attach(ColorDialog& dialog) noexcept { m_dialog = &dialog; }

    void setFlags(std::int32_t flags) override;
    std::uint32_t Color() const override;
    void setColor(std::uint32_t color) override;
    void ShowColor() override;

private:
    ColorDialog& dialog() const;

    ColorDialog* m_dialog = nullptr;
};

} // namespace merv
