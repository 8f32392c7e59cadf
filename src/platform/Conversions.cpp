#include <mervgauge/platform/Conversions.h>

#include <mervgauge/platform/RuntimeError.h>

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <iterator>
#include <limits>

namespace merv::convert {
namespace {

// Significant digits of the single and double text forms.
constexpr int SingleDigits = 7;
constexpr int DoubleDigits = 15;

// Significant digits the parser keeps; beyond them a sticky digit stands for the rest. A
// double needs at most 767 significant digits to be rounded correctly.
constexpr int MaxParsedDigits = 800;

// Decimal exponents beyond which a parsed value is surely infinite or surely zero as a double
// (the double range is about 4.9e-324 to 1.8e308).
constexpr std::int64_t OverflowPointPosition = 310;
constexpr std::int64_t UnderflowPointPosition = -330;

// Short numbers take an exact shortcut: up to 15 digits are exact in a double, and so are
// the powers of ten up to 10^22, so one multiplication or division rounds correctly.
constexpr int ExactMantissaDigits = 15;
constexpr int ExactPowerOfTen = 22;
static_assert(FLT_EVAL_METHOD == 0, "the exact shortcut needs each operation rounded to double");
constexpr double PowersOfTen[ExactPowerOfTen + 1] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                                     1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                                     1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// Explicit exponents saturate here; anything this large is out of range or zero anyway.
constexpr std::int64_t ExponentLimit = 1'000'000'000;

// Digits after the first that can show any double exactly (the longest exact expansion has
// 767 significant digits).
constexpr int MaxExactPrecision = 766;

// The smallest magnitude that rounds from double to single infinity: FLT_MAX plus half its
// last place, where the tie goes to the (even) infinity.
constexpr double SingleOverflowThreshold = 0x1.ffffffp127;

// The pattern of the format function: integer digits, then optional decimals.
constexpr std::string_view FormatIntegerPattern = "###0";
constexpr std::size_t MaxFormatDecimals = 5;

enum class ParseStatus { Ok, NotNumber, OutOfRange };

// A parsed number before its conversion to binary: value = digits x 10^exponent.
struct DecimalNumber {
    bool negative = false;
    int digitCount = 0; // significant digits, the first one non-zero
    char digits[MaxParsedDigits + 1];
    std::int64_t exponent = 0;
    std::uint64_t leadingValue = 0; // the first ExactMantissaDigits digits as a number

    // Decimal exponent of the point in front of the first digit: value = 0.ddd x 10^point.
    std::int64_t pointPosition() const { return digitCount + exponent; }
};

std::string_view decimalSeparatorOf(const NumberLocale& locale) {
    // A locale without a decimal separator would make every text ambiguous.
    return locale.decimalSeparator.empty() ? std::string_view(".")
                                           : std::string_view(locale.decimalSeparator);
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

bool startsWithAt(std::string_view text, std::size_t at, std::string_view part) {
    // Separators are a few bytes: a plain loop beats a call to compare.
    if (part.empty() || text.size() - at < part.size())
        return false;
    for (std::size_t k = 0; k < part.size(); ++k)
        if (text[at + k] != part[k])
            return false;
    return true;
}

class DigitCollector {
public:
    explicit DigitCollector(DecimalNumber& number) : m_number(number) {}

    void add(char digit, bool inFraction) {
        DecimalNumber& n = m_number;
        if (n.digitCount == 0 && digit == '0') {
            // Leading zeros carry no digits; in the fraction they shift the point.
            if (inFraction)
                --n.exponent;
        } else if (n.digitCount < MaxParsedDigits) {
            if (n.digitCount < ExactMantissaDigits)
                n.leadingValue = n.leadingValue * 10 + std::uint64_t(digit - '0');
            n.digits[n.digitCount++] = digit;
            if (inFraction)
                --n.exponent;
        } else {
            if (!inFraction)
                ++n.exponent;
            m_sticky = m_sticky || digit != '0';
        }
    }

    void finish() {
        // One more non-zero digit keeps the value strictly above its truncation.
        if (m_sticky) {
            m_number.digits[m_number.digitCount++] = '1';
            --m_number.exponent;
        }
    }

private:
    DecimalNumber& m_number;
    bool m_sticky = false;
};

// Reads the text as a decimal number. The grammar: blanks, a sign, integer digits with group
// separators between them, a decimal separator with fraction digits, an exponent, blanks.
ParseStatus parseDecimal(std::string_view text, const NumberLocale& locale, DecimalNumber& number) {
    const std::string_view decimal = decimalSeparatorOf(locale);
    const std::string_view group = locale.groupSeparator;
    const std::size_t size = text.size();
    std::size_t i = 0;
    while (i < size && isBlank(text[i]))
        ++i;
    if (i < size && (text[i] == '+' || text[i] == '-'))
        number.negative = text[i++] == '-';

    DigitCollector collector(number);
    bool anyDigit = false;
    while (i < size) {
        if (isDigit(text[i])) {
            collector.add(text[i++], false);
            anyDigit = true;
        } else if (anyDigit && !startsWithAt(text, i, decimal) && startsWithAt(text, i, group) &&
                   i + group.size() < size && isDigit(text[i + group.size()])) {
            // Grouping is taken leniently: anywhere between two integer digits.
            i += group.size();
        } else {
            break;
        }
    }
    if (startsWithAt(text, i, decimal)) {
        i += decimal.size();
        while (i < size && isDigit(text[i])) {
            collector.add(text[i++], true);
            anyDigit = true;
        }
    }
    if (!anyDigit)
        return ParseStatus::NotNumber;
    collector.finish();

    if (i < size && (text[i] == 'E' || text[i] == 'e' || text[i] == 'D' || text[i] == 'd')) {
        ++i;
        bool negativeExponent = false;
        if (i < size && (text[i] == '+' || text[i] == '-'))
            negativeExponent = text[i++] == '-';
        if (i == size || !isDigit(text[i]))
            return ParseStatus::NotNumber;
        std::int64_t exponent = 0;
        while (i < size && isDigit(text[i]))
            exponent = std::min(exponent * 10 + (text[i++] - '0'), ExponentLimit);
        number.exponent += negativeExponent ? -exponent : exponent;
    }
    while (i < size && isBlank(text[i]))
        ++i;
    if (i != size)
        return ParseStatus::NotNumber;

    if (number.digitCount > 0 && number.pointPosition() > OverflowPointPosition)
        return ParseStatus::OutOfRange;
    return ParseStatus::Ok;
}

// The double nearest to a parsed number; OutOfRange when it is beyond the double range.
ParseStatus toBinary(const DecimalNumber& number, double& value) {
    const double zero = number.negative ? -0.0 : 0.0;
    if (number.digitCount == 0 || number.pointPosition() < UnderflowPointPosition) {
        value = zero;
        return ParseStatus::Ok;
    }
    if (number.digitCount <= ExactMantissaDigits && number.exponent >= -ExactPowerOfTen &&
        number.exponent <= ExactPowerOfTen) {
        const double mantissa = double(number.leadingValue);
        const double magnitude = number.exponent < 0 ? mantissa / PowersOfTen[-number.exponent]
                                                     : mantissa * PowersOfTen[number.exponent];
        value = number.negative ? -magnitude : magnitude;
        return ParseStatus::Ok;
    }
    // digits, 'e', sign and the exponent digits.
    char buffer[MaxParsedDigits + 1 + 24];
    char* end = std::copy_n(number.digits, number.digitCount, buffer);
    *end++ = 'e';
    end = std::to_chars(end, std::end(buffer), number.exponent).ptr;
    double magnitude = 0;
    const auto result = std::from_chars(buffer, end, magnitude);
    if (result.ec == std::errc::result_out_of_range) {
        if (number.pointPosition() > 0)
            return ParseStatus::OutOfRange;
        magnitude = 0; // too small for a double: the value underflows to zero
    }
    value = number.negative ? -magnitude : magnitude;
    return ParseStatus::Ok;
}

ParseStatus parseDouble(std::string_view text, const NumberLocale& locale, double& value) {
    DecimalNumber number;
    const ParseStatus status = parseDecimal(text, locale, number);
    return status == ParseStatus::Ok ? toBinary(number, value) : status;
}

[[noreturn]] void throwFor(ParseStatus status) {
    throw RuntimeError(status == ParseStatus::OutOfRange ? ErrorNumber::Overflow
                                                         : ErrorNumber::TypeMismatch);
}

template <typename Integer>
Integer toRoundedInteger(double value) {
    if (!std::isfinite(value))
        throw RuntimeError(ErrorNumber::Overflow);
    const double rounded = roundHalfEven(value);
    if (rounded < double(std::numeric_limits<Integer>::min()) ||
        rounded > double(std::numeric_limits<Integer>::max()))
        throw RuntimeError(ErrorNumber::Overflow);
    return static_cast<Integer>(rounded);
}

// Digits after the first that show a magnitude exactly: a binary fraction 2^-k has k decimals.
template <typename Real>
int exactPrecisionOf(Real magnitude, int decimalExponent) {
    using Limits = std::numeric_limits<Real>;
    int binaryExponent = 0;
    std::frexp(magnitude, &binaryExponent);
    const int lastBit =
        std::max(binaryExponent - Limits::digits, Limits::min_exponent - Limits::digits);
    return std::min(decimalExponent + std::max(0, -lastBit), MaxExactPrecision);
}

// Significant digits of a finite non-zero magnitude, rounded to `precision` digits with ties
// away from zero: returns the decimal exponent of the first digit.
template <typename Real>
int roundedDigits(Real magnitude, int precision, char* digits) {
    // The text "d.ddd...e+XX" to precision + 1 digits is correctly rounded, so it decides
    // the rounding unless its last digit is 5, which may have been rounded up from below.
    char text[MaxExactPrecision + 16];
    auto printed = std::to_chars(std::begin(text), std::end(text), magnitude,
                                 std::chars_format::scientific, precision);
    const auto exponentOf = [&] {
        const char* exponentText = std::find(text, printed.ptr, 'e') + 1;
        if (*exponentText == '+')
            ++exponentText;
        int exponent = 0;
        std::from_chars(exponentText, printed.ptr, exponent);
        return exponent;
    };
    int exponent = exponentOf();
    if (text[precision + 1] == '5') {
        const int exact = exactPrecisionOf(magnitude, exponent);
        if (exact > precision)
            printed = std::to_chars(std::begin(text), std::end(text), magnitude,
                                    std::chars_format::scientific, exact);
    }
    // text[0] is the first digit, text[1] the point, then the further digits.
    digits[0] = text[0];
    std::copy_n(text + 2, precision - 1, digits + 1);

    if (text[precision + 1] >= '5') {
        int at = precision - 1;
        while (at >= 0 && digits[at] == '9')
            digits[at--] = '0';
        if (at >= 0) {
            ++digits[at];
        } else {
            digits[0] = '1'; // 9.99...95 became 10.00...0
            ++exponent;
        }
    }
    return exponent;
}

template <typename Real>
std::string realToText(Real value, int precision, const NumberLocale& locale) {
    if (std::isnan(value))
        return "NaN";
    if (std::isinf(value))
        return value < 0 ? "-Inf" : "Inf";
    if (value == 0)
        return "0"; // negative zero too

    char digits[DoubleDigits];
    const int exponent = roundedDigits(std::fabs(value), precision, digits);
    int count = precision;
    while (count > 1 && digits[count - 1] == '0')
        --count;
    const std::string_view decimal = decimalSeparatorOf(locale);

    std::string text;
    if (value < 0)
        text += '-';
    const int decimals = count - 1 - exponent;
    if (exponent < precision && exponent > -precision && decimals <= precision) {
        if (exponent < 0) {
            text += '0';
            text += decimal;
            text.append(std::size_t(-exponent - 1), '0');
            text.append(digits, std::size_t(count));
        } else {
            const int integerDigits = exponent + 1;
            text.append(digits, std::size_t(std::min(count, integerDigits)));
            if (count < integerDigits)
                text.append(std::size_t(integerDigits - count), '0');
            if (count > integerDigits) {
                text += decimal;
                text.append(digits + integerDigits, std::size_t(count - integerDigits));
            }
        }
    } else {
        text += digits[0];
        if (count > 1) {
            text += decimal;
            text.append(digits + 1, std::size_t(count - 1));
        }
        text += exponent < 0 ? "E-" : "E+";
        const int magnitude = exponent < 0 ? -exponent : exponent;
        if (magnitude < 10)
            text += '0';
        text += std::to_string(magnitude);
    }
    return text;
}

// Decimals of a format pattern "###0" or "###0.0" to "###0.00000"; false for any other.
bool formatDecimals(std::string_view pattern, std::size_t& decimals) {
    if (pattern.substr(0, FormatIntegerPattern.size()) != FormatIntegerPattern)
        return false;
    pattern.remove_prefix(FormatIntegerPattern.size());
    if (pattern.empty()) {
        decimals = 0;
        return true;
    }
    if (pattern[0] != '.' || pattern.size() < 2 || pattern.size() > MaxFormatDecimals + 1 ||
        pattern.find_first_not_of('0', 1) != std::string_view::npos)
        return false;
    decimals = pattern.size() - 1;
    return true;
}

} // namespace

std::string singleToText(float value, const NumberLocale& locale) {
    return realToText(value, SingleDigits, locale);
}

std::string doubleToText(double value, const NumberLocale& locale) {
    return realToText(value, DoubleDigits, locale);
}

double textToDouble(std::string_view text, const NumberLocale& locale) {
    double value = 0;
    const ParseStatus status = parseDouble(text, locale, value);
    if (status != ParseStatus::Ok)
        throwFor(status);
    return value;
}

float textToSingle(std::string_view text, const NumberLocale& locale) {
    return toSingle(textToDouble(text, locale));
}

bool isNumeric(std::string_view text, const NumberLocale& locale) {
    double value = 0;
    return parseDouble(text, locale, value) == ParseStatus::Ok;
}

std::optional<double> tryTextToDouble(std::string_view text, const NumberLocale& locale) {
    double value = 0;
    if (parseDouble(text, locale, value) != ParseStatus::Ok)
        return std::nullopt;
    return value;
}

double roundHalfEven(double value) {
    const double lower = std::floor(value);
    const double fraction = value - lower; // exact for every finite double
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(lower, 2.0) != 0.0))
        return lower + 1.0;
    return lower;
}

std::int16_t toInteger(double value) {
    return toRoundedInteger<std::int16_t>(value);
}

std::int32_t toLong(double value) {
    return toRoundedInteger<std::int32_t>(value);
}

namespace {
bool fitsSingle(double value) {
    return std::isfinite(value) && std::fabs(value) < SingleOverflowThreshold;
}
} // namespace

float toSingle(double value) {
    if (!fitsSingle(value))
        throw RuntimeError(ErrorNumber::Overflow);
    return static_cast<float>(value);
}

std::optional<float> tryTextToSingle(std::string_view text, const NumberLocale& locale) {
    const std::optional<double> value = tryTextToDouble(text, locale);
    if (!value || !fitsSingle(*value))
        return std::nullopt;
    return static_cast<float>(*value);
}

std::string format(std::string_view text, std::string_view pattern, const NumberLocale& locale) {
    std::size_t decimals = 0;
    DecimalNumber number;
    double value = 0;
    if (!formatDecimals(pattern, decimals) ||
        parseDecimal(text, locale, number) != ParseStatus::Ok ||
        toBinary(number, value) != ParseStatus::Ok)
        return std::string(text);

    // Keep the digits down to the last decimal, rounding half away from zero on the next one.
    // The parse bounds the point position, so the kept digits stay few.
    std::int64_t point = number.digitCount == 0 ? 0 : number.pointPosition();
    const std::int64_t kept = number.digitCount == 0 ? 0 : point + std::int64_t(decimals);
    std::string digits;
    if (kept >= 0) {
        digits.assign(number.digits, std::size_t(std::min<std::int64_t>(kept, number.digitCount)));
        digits.resize(std::size_t(kept), '0');
        if (kept < number.digitCount && number.digits[kept] >= '5') {
            std::size_t at = digits.size();
            while (at > 0 && digits[at - 1] == '9')
                digits[--at] = '0';
            if (at > 0) {
                ++digits[at - 1];
            } else {
                digits.insert(digits.begin(), '1');
                ++point;
            }
        }
    }
    // Now the value is 0.digits x 10^point, with exactly `decimals` digits after the point.
    const std::size_t integerDigits = point > 0 ? std::size_t(point) : 0;
    std::string fraction = digits.substr(std::min(integerDigits, digits.size()));
    fraction.insert(0, decimals - fraction.size(), '0');

    std::string result;
    // A negative number keeps its minus even when it rounds to zero.
    if (number.negative && number.digitCount > 0)
        result += '-';
    result += integerDigits > 0 ? digits.substr(0, integerDigits) : std::string("0");
    if (decimals > 0) {
        result += decimalSeparatorOf(locale);
        result += fraction;
    }
    return result;
}

} // namespace merv::convert
