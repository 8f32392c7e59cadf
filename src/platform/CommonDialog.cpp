#include <mervgauge/platform/CommonDialog.h>

#include <cassert>

namespace merv {

CommonDialog::CommonDialog(ElementTree& tree, std::string name)
    : Element(tree, std::move(name), ElementKind::CommonDialog) {}

ColorDialog& CommonDialog::dialog() const {
    assert(m_dialog && "the form attaches the host's chooser when it builds the dialog");
    return *m_dialog;
}

void CommonDialog::setFlags(std::int32_t flags) {
    dialog().setFlags(flags);
}

std::uint32_t CommonDialog::Color() const {
    return dialog().Color();
}

void CommonDialog::setColor(std::uint32_t color) {
    dialog().setColor(color);
}

void CommonDialog::ShowColor() {
    dialog().ShowColor();
}

} // namespace merv
