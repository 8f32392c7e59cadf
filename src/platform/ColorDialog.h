#pragma once

#include <cstdint>

namespace merv {

// Option bits of the colour dialog's Flags.
namespace ColorDialogFlag {
// The chooser opens with the colour given in Color selected.
inline constexpr std::int32_t RgbInit = 1;
} // namespace ColorDialogFlag

// The platform's colour chooser, implemented by each host (a scripted one, a real dialog).
// Colours are the 32-bit colour values of the control, passed through unchanged; a host decides
// how it shows values that are not plain RGB, such as its system colours.
class ColorDialog {
public:
    virtual ~ColorDialog() = default;

    virtual void setFlags(std::int32_t flags) = 0;
    virtual std::uint32_t Color() const = 0;
    virtual void setColor(std::uint32_t color) = 0;

    // Shows the chooser modally and returns when the user closes it. Afterwards Color holds
    // the colour the user chose or, when the user cancelled, the colour it held before;
    // cancelling is no error.
    virtual void ShowColor() = 0;
};

} // namespace merv
