// Checks the number conversions against each other and against the C library's correctly
// rounded strtod. Input: one control byte (locale in bits 0-1, pattern in bits 2-4), then a
// text; the text's first bytes also serve as the bits of a float and of a double.
#include "ErrorOf.h"

#include <mervgauge/platform/Conversions.h>
#include <mervgauge/platform/RuntimeError.h>

#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

namespace {

using namespace merv;
using namespace merv::convert;
using merv::test::errorOf;

const NumberLocale Locales[] = {
    {".", ","},
    {",", "."},
    {",", "\xE2\x80\xAF"}, // narrow no-break space
    {".", "\xE2\x80\x99"}, // right single quotation mark
};

// Index 6 is the empty pattern and 7 an unknown one; both leave the text alone.
const char* const Patterns[] = {"###0",      "###0.0",     "###0.00", "###0.000",
                                "###0.0000", "###0.00000", "",        "#,##0.00"};
constexpr int KnownPatterns = 6;

// Significant digits of the single and double texts.
constexpr int SingleDigits = 7;
constexpr int DoubleDigits = 15;

// Relative error bounds of 7- and 15-digit rounding plus one double rounding.
constexpr double SingleTextTolerance = 5.0000001e-7;
constexpr double DoubleTextTolerance = 5.2e-15;

// The largest double whose 15-digit text is surely in range: the text of a larger one may round
// up past the largest double and then no longer reads back.
constexpr double LargestReadableDoubleText = 1.79769313486231e308;

void require(bool condition, const char* what, std::string_view text) {
    if (condition)
        return;
    std::fprintf(stderr, "check failed: %s [%.*s]\n", what, int(text.size()), text.data());
    std::abort();
}

// The text as the C library reads it: separators replaced, blanks and groups dropped.
double referenceParse(std::string_view text, const NumberLocale& locale) {
    std::string plain;
    for (std::size_t i = 0; i < text.size();) {
        if (text.compare(i, locale.decimalSeparator.size(), locale.decimalSeparator) == 0) {
            plain += '.';
            i += locale.decimalSeparator.size();
        } else if (text.compare(i, locale.groupSeparator.size(), locale.groupSeparator) == 0) {
            i += locale.groupSeparator.size();
        } else {
            const char c = text[i++];
            if (c != ' ' && c != '\t')
                plain += (c == 'D' || c == 'd') ? 'e' : c;
        }
    }
    return std::strtod(plain.c_str(), nullptr);
}

void checkParse(std::string_view text, const NumberLocale& locale) {
    double value = 0;
    const int error = errorOf([&] { value = textToDouble(text, locale); });
    require(error == 0 || error == ErrorNumber::TypeMismatch || error == ErrorNumber::Overflow,
            "error number", text);
    require(isNumeric(text, locale) == (error == 0), "isNumeric agrees", text);
    const auto optional = tryTextToDouble(text, locale);
    require(optional.has_value() == (error == 0), "tryTextToDouble agrees", text);

    float single = 0;
    const int singleError = errorOf([&] { single = textToSingle(text, locale); });
    if (error != 0) {
        require(singleError == error, "single fails like double", text);
        return;
    }
    require(std::isfinite(value) && *optional == value, "finite value", text);
    const double reference = referenceParse(text, locale);
    require(reference == value, "matches strtod", text);
    if (std::fabs(value) >= 0x1.ffffffp127)
        require(singleError == ErrorNumber::Overflow, "single overflow", text);
    else
        require(singleError == 0 && single == static_cast<float>(value), "single rounding", text);
}

void checkFormat(std::string_view text, int patternIndex, const NumberLocale& locale) {
    const std::string out = format(text, Patterns[patternIndex], locale);
    const auto value = tryTextToDouble(text, locale);
    if (patternIndex >= KnownPatterns || !value) {
        require(out == text, "unformatted text unchanged", text);
        return;
    }
    const std::size_t decimals = patternIndex;
    const std::size_t separator = out.find(locale.decimalSeparator);
    require(decimals == 0 ? separator == std::string::npos
                          : separator != std::string::npos &&
                                out.size() - separator - locale.decimalSeparator.size() == decimals,
            "decimal count", text);
    require(out.find(locale.groupSeparator) == std::string::npos, "no grouping", text);
    const auto formatted = tryTextToDouble(out, locale);
    require(formatted.has_value(), "formatted text is numeric", text);
    const double halfUnit = 0.5 * std::pow(10.0, -double(decimals));
    require(std::fabs(*formatted - *value) <= halfUnit * 1.000001 + std::fabs(*value) * 4e-16,
            "formatted value within half a unit", text);
    // A minus only for a negative number, which keeps it even when it rounds to zero.
    require(out[0] == '-' ? std::signbit(*value) : !(*value < 0), "sign", text);
}

// The significant digits of a text, without sign, separator, exponent or outer zeros.
std::string significantDigits(std::string_view text) {
    std::string digits;
    for (char c : text.substr(0, text.find('E')))
        if (c >= '0' && c <= '9')
            digits += c;
    digits.erase(0, std::min(digits.find_first_not_of('0'), digits.size()));
    digits.erase(digits.find_last_not_of('0') + 1);
    return digits;
}

// The value's exact expansion rounded to `precision` digits, ties away from zero.
template <typename Real>
std::string referenceDigits(Real value, int precision) {
    char exact[1100];
    const auto printed = std::to_chars(exact, exact + sizeof exact, std::fabs(value),
                                       std::chars_format::scientific, 1000);
    require(printed.ec == std::errc(), "exact expansion", "");
    std::string digits(1, exact[0]);
    digits.append(exact + 2, std::size_t(precision - 1));
    if (exact[precision + 1] >= '5') {
        std::size_t at = digits.size();
        while (at > 0 && digits[at - 1] == '9')
            digits[--at] = '0';
        if (at == 0)
            digits.insert(0, "1");
        else
            ++digits[at - 1];
    }
    return significantDigits(digits);
}

template <typename Real, typename ToText, typename FromText>
void checkRoundTrip(Real value, int precision, double tolerance, ToText toText, FromText fromText,
                    const NumberLocale& locale) {
    if (!std::isfinite(value))
        return;
    const std::string text = toText(value, locale);
    require(!text.empty() && text[0] != ' ', "no leading blank", text);
    require(text.find(locale.groupSeparator) == std::string::npos, "no grouping", text);
    if (value != 0)
        require(significantDigits(text) == referenceDigits(value, precision),
                "digits rounded half away from zero", text);
    if (std::fabs(double(value)) > LargestReadableDoubleText) {
        require(errorOf([&] { fromText(text, locale); }) != ErrorNumber::TypeMismatch,
                "a number even past the range", text);
        return;
    }
    const auto parsed = tryTextToDouble(text, locale);
    require(parsed.has_value(), "text parses back", text);
    require(std::fabs(*parsed - double(value)) <=
                tolerance * std::fabs(double(value)) + std::numeric_limits<double>::denorm_min(),
            "text close to the value", text);
    // A value read from such a text reads back exactly from its own text.
    Real first = 0;
    require(errorOf([&] { first = fromText(text, locale); }) == 0, "text reads back", text);
    const std::string again = toText(first, locale);
    require(fromText(again, locale) == first, "round trip", again);
}

template <typename Integer, typename Convert>
void checkInteger(double value, Convert convert) {
    Integer result = 0;
    const int error = errorOf([&] { result = convert(value); });
    const double expected = std::nearbyint(value); // the default mode rounds halves to even
    const bool inRange = std::isfinite(value) &&
                         expected >= double(std::numeric_limits<Integer>::min()) &&
                         expected <= double(std::numeric_limits<Integer>::max());
    if (inRange)
        require(error == 0 && double(result) == expected, "integer rounding", "");
    else
        require(error == ErrorNumber::Overflow, "integer overflow", "");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const NumberLocale& locale = Locales[data[0] & 3];
    const int patternIndex = (data[0] >> 2) & 7;
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);

    checkParse(text, locale);
    checkFormat(text, patternIndex, locale);
    if (const auto value = tryTextToDouble(text, locale)) {
        checkInteger<std::int16_t>(*value, toInteger);
        checkInteger<std::int32_t>(*value, toLong);
        checkRoundTrip(*value, DoubleDigits, DoubleTextTolerance, doubleToText, textToDouble,
                       locale);
        if (std::fabs(*value) <= FLT_MAX)
            checkRoundTrip(float(*value), SingleDigits, SingleTextTolerance, singleToText,
                           textToSingle, locale);
    }
    if (text.size() >= sizeof(double)) {
        float single;
        double real;
        std::memcpy(&single, text.data(), sizeof single);
        std::memcpy(&real, text.data(), sizeof real);
        checkRoundTrip(single, SingleDigits, SingleTextTolerance, singleToText, textToSingle,
                       locale);
        checkRoundTrip(real, DoubleDigits, DoubleTextTolerance, doubleToText, textToDouble, locale);
        checkInteger<std::int16_t>(real, toInteger);
        checkInteger<std::int32_t>(real, toLong);
    }
    return 0;
}
