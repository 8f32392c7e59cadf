#pragma once

#include <mervgauge/control/GaugePropertyList.h>
#include <mervgauge/platform/ElementTree.h>

#include <QVariant>

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace merv {
struct GaugeElements;
}

namespace merv::qt {

// Each gauge property's place in the property list, which is its place in the property table.
enum class GaugeProperty {
#define MERV_PROPERTY_INDEX(Kind, Name, ...) Name,
    MERV_GAUGE_PROPERTIES(MERV_PROPERTY_INDEX)
#undef MERV_PROPERTY_INDEX
};
inline constexpr std::size_t GaugePropertyCount = 0
#define MERV_PROPERTY_COUNT(...) +1
    MERV_GAUGE_PROPERTIES(MERV_PROPERTY_COUNT)
#undef MERV_PROPERTY_COUNT
    ;

// What a Qt view last told of each property and which may have changed since, so that a
// change signal fires once per real change, after the call that made it: the control's notices
// mark properties, and the view tells those whose value now differs.
class PropertyNotices {
public:
    // The values the view starts from, as valueOf(property) gives them.
    template <typename ValueOf>
    void prime(ValueOf&& valueOf) {
        for (std::size_t i = 0; i < GaugePropertyCount; ++i)
            m_told[i] = valueOf(GaugeProperty(i));
    }

    void mayHaveChanged(GaugeProperty property) { m_changed[std::size_t(property)] = true; }
    // A property the control names (a property change or a status flag); other names are
    // not the gauge's properties and mark nothing.
    void mayHaveChanged(std::string_view name);
    // The threshold fields are the thresholds: the operator edits them in the editor, and a
    // field's text notice marks its threshold.
    void fieldsChanged(const GaugeElements& ui, const std::vector<ElementNotice>& notices);
    // Whether a status flag may have changed.
    bool statusMayHaveChanged() const;

    // Tells each marked property whose value, as valueOf gives it, differs from the one last
    // told (single NaNs are alike), through tell(property, value).
    template <typename ValueOf, typename Tell>
    void tellChanges(ValueOf&& valueOf, Tell&& tell) {
        for (std::size_t i = 0; i < GaugePropertyCount; ++i) {
            if (!std::exchange(m_changed[i], false))
                continue;
            QVariant now = valueOf(GaugeProperty(i));
            if (same(now, m_told[i]))
                continue;
            m_told[i] = now;
            tell(GaugeProperty(i), now);
        }
    }

private:
    static bool same(const QVariant& a, const QVariant& b);

    std::array<QVariant, GaugePropertyCount> m_told;
    std::array<bool, GaugePropertyCount> m_changed{};
    // Each name a property was marked by, and the property it names (none: not the gauge's).
    std::vector<std::pair<std::string, std::optional<GaugeProperty>>> m_names;
};

} // namespace merv::qt
