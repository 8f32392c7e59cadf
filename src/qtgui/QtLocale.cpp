#include "QtLocale.h"

#include <mervgauge/locale/SystemLocale.h>

#include <stdexcept>

namespace merv::qt {

namespace {
constexpr std::int32_t UsEnglish = 1033;
} // namespace

NumberLocale numberLocaleOf(const QLocale& locale) {
    return NumberLocale{locale.decimalPoint().toStdString(), locale.groupSeparator().toStdString()};
}

std::int32_t lcidOf(const QLocale& locale) {
    try {
        return locale::lcidFor(locale.name().toStdString());
    } catch (const std::runtime_error&) {
        return UsEnglish;
    }
}

} // namespace merv::qt
