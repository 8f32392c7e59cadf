#pragma once

#include <mervgauge/platform/NumberLocale.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace merv {

// Remembers the number that one text converted to, so a text read again and again (a stored
// value, a threshold snapshot, a scale end) is parsed once. The caller names the text's
// generation, which changes whenever the text does; converting through the memo gives exactly
// what the plain conversions give, failures included.
class NumberMemo {
public:
    double toDouble(std::string_view text, std::uint64_t generation, const NumberLocale& locale) {
        if (holds(generation, locale) && m_error == 0)
            return m_value;
        return convertDouble(text, generation, locale);
    }
    float toSingle(std::string_view text, std::uint64_t generation, const NumberLocale& locale) {
        if (holds(generation, locale) && m_error == 0 && m_singleError == 0)
            return m_single;
        return convertSingle(text, generation, locale);
    }

private:
    // Separators are a few bytes long: a plain loop beats a library call on this hot path.
    static bool same(std::string_view a, std::string_view b) noexcept {
        if (a.size() != b.size())
            return false;
        for (std::size_t i = 0; i < a.size(); ++i) {
            if (a[i] != b[i])
                return false;
        }
        return true;
    }
    bool holds(std::uint64_t generation, const NumberLocale& locale) const noexcept {
        return generation == m_generation && generation != 0 &&
               same(locale.decimalSeparator, m_decimalSeparator) &&
               same(locale.groupSeparator, m_groupSeparator);
    }
    void refresh(std::string_view text, std::uint64_t generation, const NumberLocale& locale);
    double convertDouble(std::string_view text, std::uint64_t generation,
                         const NumberLocale& locale);
    float convertSingle(std::string_view text, std::uint64_t generation,
                        const NumberLocale& locale);

    std::uint64_t m_generation = 0; // 0: nothing remembered
    std::string m_decimalSeparator, m_groupSeparator;
    double m_value = 0;
    float m_single = 0;
    int m_error = 0;       // the error converting the text failed with, 0 when it converted
    int m_singleError = 0; // the error rounding the number to single failed with
};

} // namespace merv
