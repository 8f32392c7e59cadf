#include "host/JsonValues.h"

#include "host/UsageError.h"

#include <string>

namespace merv::host {

namespace {

// The token the library names between quotes in its message, else the whole message.
std::string quotedToken(const std::string& message) {
    const auto first = message.find('\'');
    const auto last = message.rfind('\'');
    if (first == message.npos || last <= first)
        return message;
    return message.substr(first + 1, last - first - 1);
}

} // namespace

Json parseJson(std::string_view text) {
    // The member of the outermost object being read, to name it when its value is refused.
    std::string member;
    const auto track = [&member](int depth, Json::parse_event_t event, Json& parsed) {
        if (event == Json::parse_event_t::key && depth == 1)
            member = parsed.get<std::string>();
        return true;
    };
    try {
        return Json::parse(text, track);
    } catch (const Json::out_of_range& e) {
        // The one range error of parsing: a number beyond the largest double.
        throw UsageError((member.empty() ? "" : member + ": ") + "the number " +
                         quotedToken(e.what()) + " is too large");
    } catch (const Json::parse_error& e) {
        throw UsageError("bad JSON: " + describeParseError(e));
    }
}

std::string dumpLine(const Json& value) {
    return value.dump(-1, ' ', false, Json::error_handler_t::replace);
}

} // namespace merv::host
