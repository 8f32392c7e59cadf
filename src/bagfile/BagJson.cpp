#include <mervgauge/bagfile/BagJson.h>

#include <mervgauge/bagfile/BagError.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

namespace merv {

namespace {

constexpr float SingleIntegerLimit = 16777216.0f;         // 2^24
constexpr double DoubleIntegerLimit = 9007199254740992.0; // 2^53

bool isNegativeZero(double value) {
    return value == 0.0 && std::signbit(value);
}

template <typename N>
Variant integerVariant(N number) {
    if (std::in_range<std::int16_t>(number))
        return Variant::integer(static_cast<std::int16_t>(number));
    if (std::in_range<std::int32_t>(number))
        return Variant::longValue(static_cast<std::int32_t>(number));
    return Variant::doubleValue(static_cast<double>(number));
}

// Follows a parse to the value it fails at and names that value's place as a JSON pointer.
class NumberLocator : public nlohmann::json_sax<BagJson> {
public:
    bool null() override { return counted(); }
    bool boolean(bool) override { return counted(); }
    bool number_integer(number_integer_t) override { return counted(); }
    bool number_unsigned(number_unsigned_t) override { return counted(); }
    bool number_float(number_float_t, const string_t&) override { return counted(); }
    bool string(string_t&) override { return counted(); }
    bool binary(binary_t&) override { return counted(); }
    bool start_object(std::size_t) override { return opened(false); }
    bool key(string_t& name) override {
        m_levels.back().key = name;
        return true;
    }
    bool end_object() override { return closed(); }
    bool start_array(std::size_t) override { return opened(true); }
    bool end_array() override { return closed(); }
    bool parse_error(std::size_t, const std::string& last,
                     const nlohmann::detail::exception&) override {
        token = last;
        counted(); // the value the parser refused
        return false;
    }

    // "/gauges/0/bag/Value": member names with "~" and "/" escaped, list places from 0.
    std::string pointer() const {
        std::string out;
        for (const Level& level : m_levels) {
            out += '/';
            if (level.array) {
                out += std::to_string(level.values - 1);
                continue;
            }
            for (char c : level.key)
                out += c == '~' ? "~0" : c == '/' ? "~1" : std::string(1, c);
        }
        return out;
    }
    std::string token;

private:
    struct Level {
        bool array = false;
        std::size_t values = 0; // of a list, those begun so far
        std::string key;        // of an object, the member being read
    };
    bool counted() {
        if (!m_levels.empty() && m_levels.back().array)
            ++m_levels.back().values;
        return true;
    }
    bool opened(bool array) {
        counted();
        m_levels.push_back({array, 0, {}});
        return true;
    }
    bool closed() {
        m_levels.pop_back();
        return true;
    }
    std::vector<Level> m_levels;
};

} // namespace

BagJson singleToJson(float value) {
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

BagJson doubleToJson(double value) {
    if (!std::isfinite(value))
        return nullptr;
    if (value == std::trunc(value) && std::fabs(value) < DoubleIntegerLimit &&
        !isNegativeZero(value))
        return static_cast<std::int64_t>(value);
    return value;
}

BagJson variantToJson(const Variant& value) {
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
    throw BagError({}, {}, "a value of an unknown type");
}

Variant variantFromJson(const BagJson& value) {
    switch (value.type()) {
    case BagJson::value_t::null:
        return Variant();
    case BagJson::value_t::string:
        return Variant::text(value.get<std::string>());
    case BagJson::value_t::boolean:
        return Variant::boolean(value.get<bool>());
    case BagJson::value_t::number_integer:
        return integerVariant(value.get<std::int64_t>());
    case BagJson::value_t::number_unsigned:
        return integerVariant(value.get<std::uint64_t>());
    case BagJson::value_t::number_float:
        return Variant::doubleValue(value.get<double>());
    default:
        throw BagError({}, {},
                       "expected a string, number, true, false or null, not " +
                           std::string(value.type_name()));
    }
}

BagJson bagToJson(const MemoryPropertyBag& bag) {
    BagJson object = BagJson::object();
    for (const auto& [key, value] : bag.entries())
        object[key] = variantToJson(value);
    return object;
}

MemoryPropertyBag bagFromJson(const BagJson& object, NumberLocale locale) {
    if (!object.is_object())
        throw BagError({}, {}, "expected a JSON object, not " + std::string(object.type_name()));
    MemoryPropertyBag bag(std::move(locale));
    for (const auto& [key, value] : object.items()) {
        try {
            bag.set(key, variantFromJson(value));
        } catch (const BagError& error) {
            throw BagError({}, key, error.problem());
        }
    }
    return bag;
}

std::string describeParseError(const BagJson::parse_error& error) {
    std::string message = error.what();
    if (const auto end = message.find("] "); message.starts_with("[") && end != message.npos)
        message.erase(0, end + 2);
    return message;
}

BagJson parseBagJson(std::string_view text) {
    try {
        return BagJson::parse(text);
    } catch (const BagJson::out_of_range&) {
        // The parser stops at a number beyond a double's range without saying where it stood.
        NumberLocator locator;
        BagJson::sax_parse(text, &locator);
        throw BagError({}, locator.pointer(), "the number " + locator.token + " is out of range");
    } catch (const BagJson::parse_error& error) {
        // The parser names the end of the input as what it met when the text stopped in the
        // middle of a value.
        const std::string message = describeParseError(error);
        const bool truncated = message.find("unexpected end of input") != std::string::npos;
        throw BagError({}, {}, (truncated ? "truncated JSON: " : "not JSON: ") + message);
    }
}

} // namespace merv
