#include <mervgauge/platform/PropertyBag.h>

#include <algorithm>

namespace merv {
namespace {

using Entries = std::vector<std::pair<std::string, Variant>>;

Entries::iterator findKey(Entries& entries, std::string_view key) {
    return std::find_if(entries.begin(), entries.end(),
                        [key](const auto& entry) { return entry.first == key; });
}

} // namespace

Variant MemoryPropertyBag::readProperty(std::string_view key, const Variant& defaultValue) {
    const auto found = findKey(m_entries, key);
    return found != m_entries.end() ? found->second : defaultValue;
}

void MemoryPropertyBag::writeProperty(std::string_view key, const Variant& value,
                                      const Variant& defaultValue) {
    // A value equal to its default is not kept: reading gives the default back anyway.
    if (value.equals(defaultValue, m_locale)) {
        const auto found = findKey(m_entries, key);
        if (found != m_entries.end())
            m_entries.erase(found);
        return;
    }
    set(std::string(key), value);
}

void MemoryPropertyBag::set(std::string key, Variant value) {
    const auto found = findKey(m_entries, key);
    if (found != m_entries.end())
        found->second = std::move(value);
    else
        m_entries.emplace_back(std::move(key), std::move(value));
}

} // namespace merv
