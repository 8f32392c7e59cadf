#pragma once

#include <mervgauge/platform/NumberLocale.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The platform's locale-aware number conversions. Every failure is a RuntimeError:
// TypeMismatch (13) for a text that is not a number, Overflow (6) for one out of range.
namespace merv::convert {

// Single to text: 7 significant digits, ties away from zero; fixed form while the decimal
// exponent is below 7 and the digits fit in 7 decimals, else exponent form "1.234568E+07".
std::string singleToText(float value, const NumberLocale& locale);

// Double to text: the same rules with 15 significant digits.
std::string doubleToText(double value, const NumberLocale& locale);

// Text to number. Accepts blanks around the number, a leading sign, a leading or trailing
// decimal separator, group separators in the integer part and an exponent.
double textToDouble(std::string_view text, const NumberLocale& locale);
float textToSingle(std::string_view text, const NumberLocale& locale);

// True exactly when textToDouble would succeed.
bool isNumeric(std::string_view text, const NumberLocale& locale);

// textToDouble without the error: empty for a text that is not a number or out of range.
std::optional<double> tryTextToDouble(std::string_view text, const NumberLocale& locale);
// textToSingle without the error: empty for a text that is not a number or beyond the single range.
std::optional<float> tryTextToSingle(std::string_view text, const NumberLocale& locale);

// Nearest whole number, halves to even, whatever the floating-point rounding mode.
double roundHalfEven(double value);

// Number to 16- or 32-bit integer: nearest, halves to even; Overflow when out of range,
// and for NaN or infinity.
std::int16_t toInteger(double value);
std::int32_t toLong(double value);

// Number to single: Overflow when the rounded result is beyond the single range or NaN.
float toSingle(double value);

// Format with a pattern "###0", "###0.0" ... "###0.00000": the text is read as a decimal
// number and rounded half away from zero on its own digits. A text that is not a number, or
// an empty pattern, returns the text unchanged.
std::string format(std::string_view text, std::string_view pattern, const NumberLocale& locale);

} // namespace merv::convert
