#pragma once

#include <mervgauge/platform/NumberLocale.h>
#include <mervgauge/platform/SystemColors.h>

#include <cstdint>
#include <optional>
#include <string_view>

namespace merv {

// What a host container offers the control it sites. The control calls it on the host's one
// user-interface thread; handlers the host runs from here may call back into the control.
class ContainerSite {
public:
    virtual ~ContainerSite() = default;

    // Ambient properties. UserMode is empty while the control is not attached to the host.
    virtual std::optional<bool> ambientUserMode() const = 0;
    virtual std::uint32_t ambientBackColor() const = 0;
    virtual std::int32_t ambientLocaleID() const = 0;

    // The container now holds unsaved changes of this property.
    virtual void propertyChanged(std::string_view name) = 0;

    // A status flag (AlarmHighStatus, AlarmLowStatus, WarningHighStatus, WarningLowStatus)
    // changed, told when the value update that changed it ends; hosts that show the flags
    // follow them from here instead of reading all four after every call.
    virtual void statusChanged(std::string_view /*name*/, bool /*status*/) {}

    // Raises a control event (DISPID and name) to the host's handler, synchronously.
    virtual void raiseEvent(int dispid, std::string_view name) = 0;

    // The user's locale for number conversions.
    virtual const NumberLocale& numberLocale() const = 0;

    // The LCID of the language that resource-string lookups select for the process.
    virtual std::int32_t resourceLanguage() const = 0;

    // The real colour (0x00BBGGRR) of the host's system colour with this index; hosts with a
    // colour scheme of their own answer from it.
    virtual std::uint32_t systemColor(std::uint32_t index) const {
        return defaultSystemColor(index);
    }

    // The real colour a colour value stands for, system colours resolved by this host.
    std::uint32_t realColor(std::uint32_t color) const {
        return merv::realColor(color, [this](std::uint32_t index) { return systemColor(index); });
    }
};

} // namespace merv
