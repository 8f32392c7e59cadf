#include <mervgauge/control/GaugeProperties.h>

#include <mervgauge/control/MERV_Gauge.h>

#include <algorithm>
#include <array>
#include <cctype>

namespace merv {

namespace {

using T = PropertyType;
using G = MERV_Gauge;
using L = NumberLocale;

// The DISPIDs of the property interface start here and follow the table's row order.
constexpr std::int32_t FirstDispid = 0x68030000;

std::vector<PropertyInfo> makeTable() {
    const Variant none;
    auto i16 = [](std::int16_t v) { return Variant::integer(v); };
    auto i32 = [](std::int32_t v) { return Variant::longValue(v); };
    // clang-format off
    std::vector<PropertyInfo> rows{
        {"VariableName", 0, T::Text, "Variable name", true, 6, Variant::text("Var"),
         [](G& g) { return Variant::text(g.VariableName()); },
         [](G& g, const Variant& v, const L& l) { g.setVariableName(v.toText(l)); }},
        {"EngUnit", 0, T::Text, "Engineering unit", true, 5, Variant::text("EU"),
         [](G& g) { return Variant::text(g.EngUnit()); },
         [](G& g, const Variant& v, const L& l) { g.setEngUnit(v.toText(l)); }},
        {"Precision", 0, T::Integer, "Display precision (0-5)", true, 4, i16(0),
         [](G& g) { return Variant::integer(g.Precision()); },
         [](G& g, const Variant& v, const L& l) { g.setPrecision(v.toInteger(l)); }},
        {"AlarmHighStatus", 0, T::Boolean, "", false, 0, none,
         [](G& g) { return Variant::boolean(g.AlarmHighStatus()); },
         [](G& g, const Variant&, const L&) { g.setAlarmHighStatus(true); }},
        {"AlarmLowStatus", 0, T::Boolean, "", false, 0, none,
         [](G& g) { return Variant::boolean(g.AlarmLowStatus()); },
         [](G& g, const Variant&, const L&) { g.setAlarmLowStatus(true); }},
        {"WarningHighStatus", 0, T::Boolean, "", false, 0, none,
         [](G& g) { return Variant::boolean(g.WarningHighStatus()); },
         [](G& g, const Variant&, const L&) { g.setWarningHighStatus(true); }},
        {"WarningLowStatus", 0, T::Boolean, "", false, 0, none,
         [](G& g) { return Variant::boolean(g.WarningLowStatus()); },
         [](G& g, const Variant&, const L&) { g.setWarningLowStatus(true); }},
        {"AlarmHighVal", 0, T::Single, "Value of alarm high", true, 10, i16(80),
         [](G& g) { return Variant::single(g.AlarmHighVal()); },
         [](G& g, const Variant& v, const L& l) { g.setAlarmHighVal(v.toSingle(l)); }},
        {"AlarmLowVal", 0, T::Single, "Value of alarm low", true, 9, i16(20),
         [](G& g) { return Variant::single(g.AlarmLowVal()); },
         [](G& g, const Variant& v, const L& l) { g.setAlarmLowVal(v.toSingle(l)); }},
        {"WarningHighVal", 0, T::Single, "Value of warning high", true, 8, i16(65),
         [](G& g) { return Variant::single(g.WarningHighVal()); },
         [](G& g, const Variant& v, const L& l) { g.setWarningHighVal(v.toSingle(l)); }},
        {"WarningLowVal", 0, T::Single, "Value of warning low", true, 7, i16(35),
         [](G& g) { return Variant::single(g.WarningLowVal()); },
         [](G& g, const Variant& v, const L& l) { g.setWarningLowVal(v.toSingle(l)); }},
        {"Value", 0, T::Single, "Value to be displayed", true, 3, i16(0),
         [](G& g) { return Variant::single(g.Value()); },
         [](G& g, const Variant& v, const L& l) { g.setValue(v.toSingle(l)); }},
        {"MinValue", 0, T::Single, "Minimum display value", true, 2, i16(0),
         [](G& g) { return Variant::single(g.MinValue()); },
         [](G& g, const Variant& v, const L& l) { g.setMinValue(v.toSingle(l)); }},
        {"MaxValue", 0, T::Single, "", true, 1, i16(100),
         [](G& g) { return Variant::single(g.MaxValue()); },
         [](G& g, const Variant& v, const L& l) { g.setMaxValue(v.toSingle(l)); }},
        {"BackColorText", 0, T::Color, "", true, 17, i32(16777215),
         [](G& g) { return Variant::color(g.BackColorText()); },
         [](G& g, const Variant& v, const L& l) { g.setBackColorText(v.toColor(l)); }},
        {"BackColorGraphic", 0, T::Color, "", true, 16, i32(12632256),
         [](G& g) { return Variant::color(g.BackColorGraphic()); },
         [](G& g, const Variant& v, const L& l) { g.setBackColorGraphic(v.toColor(l)); }},
        {"TextColor", 0, T::Color, "", true, 15, i32(0),
         [](G& g) { return Variant::color(g.TextColor()); },
         [](G& g, const Variant& v, const L& l) { g.setTextColor(v.toColor(l)); }},
        {"BordersColor", 0, T::Color, "", true, 14, i32(0),
         [](G& g) { return Variant::color(g.BordersColor()); },
         [](G& g, const Variant& v, const L& l) { g.setBordersColor(v.toColor(l)); }},
        {"NormalColor", 0, T::Color, "", true, 13, i32(65280),
         [](G& g) { return Variant::color(g.NormalColor()); },
         [](G& g, const Variant& v, const L& l) { g.setNormalColor(v.toColor(l)); }},
        {"WarningColor", 0, T::Color, "", true, 12, i32(65535),
         [](G& g) { return Variant::color(g.WarningColor()); },
         [](G& g, const Variant& v, const L& l) { g.setWarningColor(v.toColor(l)); }},
        {"AlarmColor", 0, T::Color, "", true, 11, i32(255),
         [](G& g) { return Variant::color(g.AlarmColor()); },
         [](G& g, const Variant& v, const L& l) { g.setAlarmColor(v.toColor(l)); }},
    };
    // clang-format on
    for (std::size_t i = 0; i < rows.size(); ++i)
        rows[i].dispid = FirstDispid + static_cast<std::int32_t>(i);
    return rows;
}

const std::vector<PropertyInfo>& table() {
    static const std::vector<PropertyInfo> properties = makeTable();
    return properties;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

} // namespace

std::span<const PropertyInfo> gaugeProperties() {
    return table();
}

const std::vector<const PropertyInfo*>& persistedProperties() {
    static const std::vector<const PropertyInfo*> stored = [] {
        std::vector<const PropertyInfo*> rows;
        for (const PropertyInfo& p : table()) {
            if (p.storeOrder > 0)
                rows.push_back(&p);
        }
        std::sort(rows.begin(), rows.end(), [](const PropertyInfo* a, const PropertyInfo* b) {
            return a->storeOrder < b->storeOrder;
        });
        return rows;
    }();
    return stored;
}

const PropertyInfo* findProperty(std::string_view name) {
    for (const PropertyInfo& p : table()) {
        if (equalsIgnoringCase(p.name, name))
            return &p;
    }
    return nullptr;
}

const PropertyInfo* findProperty(std::int32_t dispid) {
    for (const PropertyInfo& p : table()) {
        if (p.dispid == dispid)
            return &p;
    }
    return nullptr;
}

std::optional<PropertyDescription> describeProperty(std::string_view name) {
    if (const PropertyInfo* p = findProperty(name))
        return PropertyDescription{p->helpString, p->browsable};
    return std::nullopt;
}

} // namespace merv
