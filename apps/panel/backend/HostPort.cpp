#include "panel/HostPort.h"

#include <charconv>

namespace merv::panel {

std::string readHostPort(std::string_view text, HostPort& out) {
    constexpr int LastPort = 65535;
    std::string_view port;
    if (text.starts_with('[')) {
        const auto close = text.find(']');
        if (close == std::string_view::npos)
            return "the host's \"[\" is not closed";
        out.host = std::string(text.substr(1, close - 1));
        if (text.substr(close + 1).starts_with(':'))
            port = text.substr(close + 2);
        else if (close + 1 != text.size())
            return "something other than \":PORT\" follows the host";
    } else {
        const auto colon = text.find(':');
        if (colon != text.rfind(':'))
            return "an IPv6 host goes in brackets";
        out.host = std::string(text.substr(0, colon));
        if (colon != std::string_view::npos)
            port = text.substr(colon + 1);
    }
    if (out.host.empty())
        return "no host";
    if (port.empty())
        return "no port";
    const auto [end, error] = std::from_chars(port.data(), port.data() + port.size(), out.port);
    if (error != std::errc() || end != port.data() + port.size() || out.port < 1 ||
        out.port > LastPort)
        return "the port \"" + std::string(port) + "\" is not a number 1 to 65535";
    return {};
}

std::string hostPortText(const HostPort& where) {
    const bool ipv6 = where.host.find(':') != std::string::npos;
    return (ipv6 ? "[" + where.host + "]" : where.host) + ":" + std::to_string(where.port);
}

} // namespace merv::panel
