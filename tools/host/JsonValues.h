#pragma once

#include <mervgauge/bagfile/BagJson.h>

#include <string>

// The JSON lines of the scripting host; values and bags use the shared JSON form of BagJson.h.
namespace merv::host {

using Json = BagJson;

// Parses one JSON text; a syntax error throws UsageError saying where and what was expected.
Json parseJson(std::string_view text);

// One line of output, without the newline. Invalid UTF-8 in a text is replaced, never thrown.
std::string dumpLine(const Json& value);

} // namespace merv::host
