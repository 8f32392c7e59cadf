#include <mervgauge/control/GaugeProperties.h>

#include <mervgauge/control/GaugePropertyList.h>
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

// How the table's get and put carry each kind of value: the variant a get answers and the
// setter's argument a put converts to, as a host converts (texts with the user's locale).
template <PropertyType>
struct Carried;
template <>
struct Carried<T::Text> {
    static Variant of(std::string value) { return Variant::text(std::move(value)); }
    static std::string from(const Variant& v, const L& l) { return v.toText(l); }
};
template <>
struct Carried<T::Integer> {
    static Variant of(std::int16_t value) { return Variant::integer(value); }
    static std::int16_t from(const Variant& v, const L& l) { return v.toInteger(l); }
};
template <>
struct Carried<T::Boolean> {
    static Variant of(bool value) { return Variant::boolean(value); }
    // The status flags are read-only: their setters refuse any value, so none is converted.
    static bool from(const Variant&, const L&) { return true; }
};
template <>
struct Carried<T::Single> {
    static Variant of(float value) { return Variant::single(value); }
    static float from(const Variant& v, const L& l) { return v.toSingle(l); }
};
template <>
struct Carried<T::Color> {
    static Variant of(std::uint32_t value) { return Variant::color(value); }
    static std::uint32_t from(const Variant& v, const L& l) { return v.toColor(l); }
};

std::vector<PropertyInfo> makeTable() {
#define MERV_PROPERTY_ROW(Kind, Name, help, browsable, storeOrder, bagDefault, qtColor,            \
                          setQtColor)                                                              \
    {#Name,                                                                                        \
     0,                                                                                            \
     T::Kind,                                                                                      \
     help,                                                                                         \
     browsable,                                                                                    \
     storeOrder,                                                                                   \
     bagDefault,                                                                                   \
     [](G& g) { return Carried<T::Kind>::of(g.Name()); },                                          \
     [](G& g, const Variant& v, const L& l) { g.set##Name(Carried<T::Kind>::from(v, l)); }},
    std::vector<PropertyInfo> rows{MERV_GAUGE_PROPERTIES(MERV_PROPERTY_ROW)};
#undef MERV_PROPERTY_ROW
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
