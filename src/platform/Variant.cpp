#include <mervgauge/platform/Variant.h>

#include <mervgauge/platform/Conversions.h>
#include <mervgauge/platform/RuntimeError.h>

#include <cmath>
#include <limits>
#include <optional>

namespace merv {
namespace {

// The range a colour accepts: every signed 32-bit number, and every unsigned one.
constexpr double ColorMinimum = double(std::numeric_limits<std::int32_t>::min());
constexpr double ColorMaximum = double(std::numeric_limits<std::uint32_t>::max());

bool isNumber(Variant::Type type) {
    return type != Variant::Type::Empty && type != Variant::Type::Text;
}

} // namespace

double Variant::toDouble(const NumberLocale& locale) const {
    switch (m_type) {
    case Type::Empty:
        return 0;
    case Type::Text:
        return convert::textToDouble(asText(), locale);
    case Type::Integer:
    case Type::Boolean:
        return asInteger();
    case Type::Long:
        return asLong();
    case Type::Single:
        return asSingle();
    case Type::Double:
        return asDouble();
    case Type::Color:
        return asColor();
    }
    return 0;
}

float Variant::toSingle(const NumberLocale& locale) const {
    // A single passes unchanged; everything else goes through the double.
    if (m_type == Type::Single)
        return asSingle();
    return convert::toSingle(toDouble(locale));
}

std::int16_t Variant::toInteger(const NumberLocale& locale) const {
    if (m_type == Type::Integer || m_type == Type::Boolean)
        return asInteger();
    return convert::toInteger(toDouble(locale));
}

std::int32_t Variant::toLong(const NumberLocale& locale) const {
    if (m_type == Type::Long)
        return asLong();
    return convert::toLong(toDouble(locale));
}

std::uint32_t Variant::toColor(const NumberLocale& locale) const {
    switch (m_type) {
    case Type::Color:
        return asColor();
    case Type::Integer:
    case Type::Boolean:
        return static_cast<std::uint32_t>(std::int32_t(asInteger()));
    case Type::Long:
        return static_cast<std::uint32_t>(asLong());
    default:
        break;
    }
    const double value = toDouble(locale);
    if (!std::isfinite(value))
        throw RuntimeError(ErrorNumber::Overflow);
    const double rounded = convert::roundHalfEven(value);
    if (rounded < ColorMinimum || rounded > ColorMaximum)
        throw RuntimeError(ErrorNumber::Overflow);
    // A negative colour is the two's-complement pattern of the signed number.
    if (rounded < 0)
        return static_cast<std::uint32_t>(static_cast<std::int32_t>(rounded));
    return static_cast<std::uint32_t>(rounded);
}

std::string Variant::toText(const NumberLocale& locale) const {
    switch (m_type) {
    case Type::Empty:
        return {};
    case Type::Text:
        return asText();
    case Type::Integer:
        return std::to_string(asInteger());
    case Type::Long:
        return std::to_string(asLong());
    case Type::Single:
        return convert::singleToText(asSingle(), locale);
    case Type::Double:
        return convert::doubleToText(asDouble(), locale);
    case Type::Boolean:
        return asBoolean() ? "True" : "False";
    case Type::Color:
        return std::to_string(asColor());
    }
    return {};
}

bool Variant::equals(const Variant& other, const NumberLocale& locale) const {
    // An empty variant stands for 0 beside a number and for "" beside a text.
    if (isEmpty() && other.isEmpty())
        return true;
    if (isEmpty() || other.isEmpty()) {
        const Variant& value = isEmpty() ? other : *this;
        return value.isText() ? value.asText().empty() : value.toDouble(locale) == 0;
    }
    if (isText() && other.isText())
        return asText() == other.asText();
    if (isNumber(m_type) && isNumber(other.m_type))
        return toDouble(locale) == other.toDouble(locale);
    // A text beside a number: equal only as numbers, and only when the text is one.
    const Variant& text = isText() ? *this : other;
    const Variant& number = isText() ? other : *this;
    const std::optional<double> parsed = convert::tryTextToDouble(text.asText(), locale);
    return parsed && *parsed == number.toDouble(locale);
}

} // namespace merv
