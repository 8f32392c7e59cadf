#pragma once

#include <mervgauge/platform/NumberLocale.h>
#include <mervgauge/platform/Variant.h>

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace merv {

class MERV_Gauge;

enum class PropertyType { Text, Integer, Boolean, Single, Color };

// One row of the gauge's property table: everything that lists properties (dispatch by name
// and DISPID, storing and restoring, hosts and pages) reads it from here.
struct PropertyInfo {
    std::string_view name;
    std::int32_t dispid; // from the row's place in the table
    // The control's type of the property; the Qt widget's property types follow the same kind
    // in control/GaugePropertyList.h.
    PropertyType type;
    std::string_view helpString; // empty where the property has none
    bool browsable;
    int storeOrder;     // position in the property bag, 1 to 17; 0 when not stored
    Variant bagDefault; // the default handed to the bag, when stored
    // Property get and put through the control's public getter and setter. put converts the
    // value to the setter's type as a host does (texts with the user's locale).
    Variant (*get)(MERV_Gauge&);
    void (*put)(MERV_Gauge&, const Variant&, const NumberLocale&);
};

// The 21 properties in DISPID order.
std::span<const PropertyInfo> gaugeProperties();
// The 17 stored properties in the order they are restored and stored.
const std::vector<const PropertyInfo*>& persistedProperties();

// By name (as dispatch does, ignoring letter case) or by DISPID; null when there is none.
const PropertyInfo* findProperty(std::string_view name);
const PropertyInfo* findProperty(std::int32_t dispid);

// What a property browser or form designer shows of a property: its help string (empty where
// it has none) and whether it is listed at all (the read-only status flags are not).
struct PropertyDescription {
    std::string_view helpString;
    bool browsable;
};
// By name, ignoring letter case; empty when there is none.
std::optional<PropertyDescription> describeProperty(std::string_view name);

} // namespace merv
