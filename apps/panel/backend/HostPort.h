#pragma once

#include <string>
#include <string_view>

// The HOST:PORT part of a source address, shared by the network sources: HOST is a name or an
// address, an IPv6 one in brackets ("[::1]:1883"), PORT a number from 1 to 65535.
namespace merv::panel {

struct HostPort {
    std::string host;
    int port = 0;
};

// Reads "HOST:PORT"; the result names what is wrong, or is empty when the text is good.
std::string readHostPort(std::string_view text, HostPort& out);
// The text readHostPort reads back: "HOST:PORT", an IPv6 host in brackets.
std::string hostPortText(const HostPort& where);

} // namespace merv::panel
