#pragma once

#include <mervgauge/platform/Variant.h>

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace merv {

// The host's property bag: one value per key.
class PropertyBag {
public:
    virtual ~PropertyBag() = default;
    // The stored value, or the default when the key is absent.
    virtual Variant readProperty(std::string_view key, const Variant& defaultValue) = 0;
    // Stores the value; a value equal to its default may be left out.
    virtual void writeProperty(std::string_view key, const Variant& value,
                               const Variant& defaultValue) = 0;
};

// A bag held in memory, keys in the order they were first written. A written value that
// equals its default (numerically equal counts) is left out, and drops an earlier entry.
class MemoryPropertyBag : public PropertyBag {
public:
    explicit MemoryPropertyBag(NumberLocale locale = NumberLocale::english())
        : m_locale(std::move(locale)) {}

    Variant readProperty(std::string_view key, const Variant& defaultValue) override;
    void writeProperty(std::string_view key, const Variant& value,
                       const Variant& defaultValue) override;

    void set(std::string key, Variant value);
    const std::vector<std::pair<std::string, Variant>>& entries() const noexcept {
        return m_entries;
    }

private:
    NumberLocale m_locale;
    std::vector<std::pair<std::string, Variant>> m_entries;
};

} // namespace merv
