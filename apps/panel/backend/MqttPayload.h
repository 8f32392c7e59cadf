#pragma once

#include "panel/AlarmHistory.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The messages the MQTT source reads and writes, apart from the network.
namespace merv::panel {

// A larger payload is refused unread: no plant value needs it.
constexpr std::size_t MaxPayloadBytes = 65536;

// A value message: a C-locale number as text, or a JSON object {"value": N} with an optional
// "ts", the time it was measured in milliseconds since 1970. Error is empty when it was read.
struct MqttValue {
    double value = 0;
    std::optional<std::int64_t> timeMs;
    std::string error;
};
MqttValue readValuePayload(std::string_view payload);

// An acknowledgement shared between stations, as JSON:
// {"station": S, "tag": T, "variable": V, "kind": K, "time": MS, "transition": "acknowledged"}.
// The tag (the gauge's identity) names the alarm; the variable is its caption, which stations
// that send no tag name it by.
std::string writeAcknowledgement(const AlarmTransition& acknowledgement);
// Error is empty when the message was read; the transition then is "acknowledged". A message
// without a tag, from a station that sends none, reads with an empty one. A kind that is not
// one of the gauge's events is an error: it would match no alarm of this station.
struct MqttAcknowledgement {
    AlarmTransition acknowledgement;
    std::string error;
};
MqttAcknowledgement readAcknowledgement(std::string_view payload);

} // namespace merv::panel
