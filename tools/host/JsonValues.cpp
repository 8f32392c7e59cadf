#include "host/JsonValues.h"

#include "host/UsageError.h"

namespace merv::host {

Json parseJson(std::string_view text) {
    try {
        return Json::parse(text);
    } catch (const Json::parse_error& e) {
        throw UsageError("bad JSON: " + describeParseError(e));
    }
}

std::string dumpLine(const Json& value) {
    return value.dump(-1, ' ', false, Json::error_handler_t::replace);
}

} // namespace merv::host
