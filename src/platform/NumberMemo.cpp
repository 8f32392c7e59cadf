#include <mervgauge/platform/NumberMemo.h>

#include <mervgauge/platform/Conversions.h>
#include <mervgauge/platform/RuntimeError.h>

namespace merv {

void NumberMemo::refresh(std::string_view text, std::uint64_t generation,
                         const NumberLocale& locale) {
    if (holds(generation, locale))
        return;
    m_generation = 0;
    m_error = m_singleError = 0;
    try {
        m_value = convert::textToDouble(text, locale);
    } catch (const RuntimeError& e) {
        m_error = e.number();
    }
    if (m_error == 0) {
        try {
            m_single = convert::toSingle(m_value);
        } catch (const RuntimeError& e) {
            m_singleError = e.number();
        }
    }
    m_decimalSeparator = locale.decimalSeparator;
    m_groupSeparator = locale.groupSeparator;
    m_generation = generation;
}

double NumberMemo::convertDouble(std::string_view text, std::uint64_t generation,
                                 const NumberLocale& locale) {
    refresh(text, generation, locale);
    if (m_error != 0)
        throw RuntimeError(m_error);
    return m_value;
}

float NumberMemo::convertSingle(std::string_view text, std::uint64_t generation,
                                const NumberLocale& locale) {
    refresh(text, generation, locale);
    if (m_error != 0)
        throw RuntimeError(m_error);
    if (m_singleError != 0)
        throw RuntimeError(m_singleError);
    return m_single;
}

} // namespace merv
