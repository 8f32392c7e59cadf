#pragma once

#include <mervgauge/platform/PropertyBag.h>
#include <mervgauge/platform/Variant.h>

#include <nlohmann/json.hpp>

#include <string>
#include <string_view>

// The JSON form of the control's values and property bags, shared by every host that stores
// gauges: one object, keys in the order they were written, values by their type.
namespace merv {

using BagJson = nlohmann::ordered_json;

// A single as the shortest decimal that reads back to the same single; integral values below
// 2^24 as integers. Infinity and NaN, which JSON cannot hold, become null.
BagJson singleToJson(float value);
// A double the same way, with integers below 2^53.
BagJson doubleToJson(double value);

// Texts as strings, numbers as numbers (colours unsigned), booleans as true/false, empty as null.
BagJson variantToJson(const Variant& value);

// Strings to texts, true/false to booleans, integers to the narrowest of 16-bit, 32-bit and
// double that holds them, other numbers to doubles, null to empty. Arrays and objects throw
// BagError (with no file or key).
Variant variantFromJson(const BagJson& value);

// The bag's entries as one object, in the bag's order.
BagJson bagToJson(const MemoryPropertyBag& bag);
// A bag from one object. The whole object is checked before the bag is built: the first value
// that is no bag value throws BagError naming its key; a JSON value that is no object throws
// one without a key.
MemoryPropertyBag bagFromJson(const BagJson& object, NumberLocale locale = NumberLocale::english());

// Parses one JSON text; a syntax error throws BagError saying where and what was expected:
// "truncated JSON: ..." when the text ends before the value does, "not JSON: ..." otherwise. A
// number beyond a double's range throws BagError keyed by the JSON pointer to it
// ("/gauges/0/bag/Value").
BagJson parseBagJson(std::string_view text);

// The parser's message for a syntax error, without the library's own exception id.
std::string describeParseError(const BagJson::parse_error& error);

} // namespace merv
