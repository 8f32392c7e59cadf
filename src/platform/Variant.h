#pragma once

#include <mervgauge/platform/NumberLocale.h>

#include <cstdint>
#include <string>
#include <variant>

namespace merv {

// The small automation variant that crosses the dispatch seam and the property bag.
class Variant {
public:
    enum class Type { Empty, Text, Integer, Long, Single, Double, Boolean, Color };

    Variant() = default;
    static Variant text(std::string v) { return Variant(Type::Text, std::move(v)); }
    static Variant integer(std::int16_t v) { return Variant(Type::Integer, v); }
    static Variant longValue(std::int32_t v) { return Variant(Type::Long, v); }
    static Variant single(float v) { return Variant(Type::Single, v); }
    static Variant doubleValue(double v) { return Variant(Type::Double, v); }
    // Booleans travel as 16 bits: true is -1, false is 0.
    static Variant boolean(bool v) { return Variant(Type::Boolean, std::int16_t(v ? -1 : 0)); }
    static Variant color(std::uint32_t v) { return Variant(Type::Color, v); }

    Type type() const noexcept { return m_type; }
    bool isEmpty() const noexcept { return m_type == Type::Empty; }
    bool isText() const noexcept { return m_type == Type::Text; }

    // The stored value, without conversion; the caller checks type() first.
    const std::string& asText() const { return std::get<std::string>(m_value); }
    std::int16_t asInteger() const { return std::get<std::int16_t>(m_value); }
    std::int32_t asLong() const { return std::get<std::int32_t>(m_value); }
    float asSingle() const { return std::get<float>(m_value); }
    double asDouble() const { return std::get<double>(m_value); }
    bool asBoolean() const { return std::get<std::int16_t>(m_value) != 0; }
    std::uint32_t asColor() const { return std::get<std::uint32_t>(m_value); }

    // Conversions a host applies when it passes a value to a typed parameter. Texts go through
    // the locale-aware parse; every failure is a RuntimeError (13 or 6).
    double toDouble(const NumberLocale& locale) const;
    float toSingle(const NumberLocale& locale) const;
    std::int16_t toInteger(const NumberLocale& locale) const;
    std::int32_t toLong(const NumberLocale& locale) const;
    // A colour accepts the whole 32-bit pattern, as a signed or an unsigned number.
    std::uint32_t toColor(const NumberLocale& locale) const;
    std::string toText(const NumberLocale& locale) const;

    // Numeric equality where both sides are numbers, text equality where both are texts.
    bool equals(const Variant& other, const NumberLocale& locale) const;

private:
    using Storage = std::variant<std::monostate, std::string, std::int16_t, std::int32_t, float,
                                 double, std::uint32_t>;
    template <typename T>
    Variant(Type type, T value) : m_type(type), m_value(std::move(value)) {}

    Type m_type = Type::Empty;
    Storage m_value;
};

} // namespace merv
