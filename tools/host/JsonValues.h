#pragma once

#include "platform/Variant.h"

#include <nlohmann/json.hpp>

#include <string>

// The mapping between the control's variants and the JSON values of the scripting host.
namespace merv::host {

using Json = nlohmann::ordered_json;

// A single as the shortest decimal that reads back to the same single; integral values below
// 2^24 as integers. Infinity and NaN, which JSON cannot hold, become null.
Json singleToJson(float value);
// A double the same way, with integers below 2^53.
Json doubleToJson(double value);

// Texts as strings, numbers as numbers (colours unsigned), booleans as true/false, empty as null.
Json variantToJson(const Variant& value);

// Strings to texts, true/false to booleans, integers to the narrowest of 16-bit, 32-bit and
// double that holds them, other numbers to doubles, null to empty. Arrays and objects throw
// UsageError.
Variant variantFromJson(const Json& value);

// Parses one JSON text; a syntax error throws UsageError saying where and what was expected.
Json parseJson(std::string_view text);

// One line of output, without the newline. Invalid UTF-8 in a text is replaced, never thrown.
std::string dumpLine(const Json& value);

} // namespace merv::host
