#include "host/JsonValues.h"

#include "host/UsageError.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <system_error>
#include <utility>

namespace merv::host {

namespace {

constexpr float SingleIntegerLimit = 16777216.0f;         // 2^24
constexpr double DoubleIntegerLimit = 9007199254740992.0; // 2^53

bool isNegativeZero(double value) {
    return value == 0.0 && std::signbit(value);
}

} // namespace

Json singleToJson(float value) {
    if (!std::isfinite(value))
        return nullptr;
    if (value == std::trunc(value) && std::fabs(value) < SingleIntegerLimit &&
        !isNegativeZero(value))
        return static_cast<std::int64_t>(value);
    // The shortest text of the single, read back as the double nearest to it: that double's
    // own shortest text is the same digits, so the writer prints them unchanged.
    char buffer[32];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, value);
    double widened = 0;
    std::from_chars(buffer, written.ptr, widened);
    return widened;
}

Json doubleToJson(double value) {
    if (!std::isfinite(value))
        return nullptr;
    if (value == std::trunc(value) && std::fabs(value) < DoubleIntegerLimit &&
        !isNegativeZero(value))
        return static_cast<std::int64_t>(value);
    return value;
}

Json variantToJson(const Variant& value) {
    switch (value.type()) {
    case Variant::Type::Empty:
        return nullptr;
    case Variant::Type::Text:
        return value.asText();
    case Variant::Type::Integer:
        return value.asInteger();
    case Variant::Type::Long:
        return value.asLong();
    case Variant::Type::Single:
        return singleToJson(value.asSingle());
    case Variant::Type::Double:
        return doubleToJson(value.asDouble());
    case Variant::Type::Boolean:
        return value.asBoolean();
    case Variant::Type::Color:
        return value.asColor();
    }
    throw UsageError("a value of an unknown type");
}

namespace {

template <typename N>
Variant integerVariant(N number) {
    if (std::in_range<std::int16_t>(number))
        return Variant::integer(static_cast<std::int16_t>(number));
    if (std::in_range<std::int32_t>(number))
        return Variant::longValue(static_cast<std::int32_t>(number));
    return Variant::doubleValue(static_cast<double>(number));
}

} // namespace

Variant variantFromJson(const Json& value) {
    switch (value.type()) {
    case Json::value_t::null:
        return Variant();
    case Json::value_t::string:
        return Variant::text(value.get<std::string>());
    case Json::value_t::boolean:
        return Variant::boolean(value.get<bool>());
    case Json::value_t::number_integer:
        return integerVariant(value.get<std::int64_t>());
    case Json::value_t::number_unsigned:
        return integerVariant(value.get<std::uint64_t>());
    case Json::value_t::number_float:
        return Variant::doubleValue(value.get<double>());
    default:
        throw UsageError("expected a string, number, true, false or null, not " +
                         std::string(value.type_name()));
    }
}

Json parseJson(std::string_view text) {
    try {
        return Json::parse(text);
    } catch (const Json::parse_error& e) {
        // The library's message starts with its own exception id, which says nothing to users.
        std::string message = e.what();
        if (const auto end = message.find("] "); message.starts_with("[") && end != message.npos)
            message.erase(0, end + 2);
        throw UsageError("bad JSON: " + message);
    }
}

std::string dumpLine(const Json& value) {
    return value.dump(-1, ' ', false, Json::error_handler_t::replace);
}

} // namespace merv::host
