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
// {"station": S, "operator": O, "tag": T, "variable": V, "kind": K, "raised": MS, "time": MS,
//  "instance": I, "seq": N, "transition": "acknowledged"}.
// The tag (the gauge's identity) names the alarm; the variable is its caption, which stations
// that send no tag name it by. "raised" is when the sender raised the alarm, "time" when its
// operator acknowledged it; the instance (the sending panel's run, as in its presence) and its
// sequence number, counting from 1, tell a message delivered twice from a second one.
struct SharedAcknowledgement {
    AlarmTransition acknowledgement; // its operatorName is the sender's operator
    std::int64_t raisedMs = 0;       // 0 from a station that does not send it
    std::string instance;            // empty from a station that does not send it
    std::uint64_t sequence = 0;

    bool operator==(const SharedAcknowledgement&) const = default;
};
std::string writeAcknowledgement(const SharedAcknowledgement& message);
// Error is empty when the message was read; the transition then is "acknowledged". A message
// without a tag, from a station that sends none, reads with an empty one; without an operator,
// instance, raise time or sequence number, with those empty or 0. A kind that is not one of the
// gauge's events is an error: it would match no alarm of this station.
struct MqttAcknowledgement {
    SharedAcknowledgement message;
    std::string error;
    bool oversized = false; // refused unread for its size
};
MqttAcknowledgement readAcknowledgement(std::string_view payload);

// What a running panel keeps on the broker under its station's name, retained, so that a second
// panel under the same name is noticed: {"instance": I, "session": C, "started": MS, "host": H,
// "pid": P, "online": B}. The broker replaces it with the offline form when the panel's link
// dies, but not when another panel takes the session over.
struct StationPresence {
    std::string instance; // drawn at random for each run
    std::string session;  // the panel's client id, which names its session on the broker
    std::int64_t startedMs = 0;
    std::string host;
    std::int64_t pid = 0;
    bool online = true;

    bool operator==(const StationPresence&) const = default;
};
std::string writePresence(const StationPresence& presence);
struct MqttPresence {
    StationPresence presence;
    std::string error;
};
MqttPresence readPresence(std::string_view payload);

// What a presence found under this station's name means for it: its own; a clash with another
// panel online; or nothing, or the end of a clash, when the other is gone. afterOwn: this panel
// has seen its own presence come back from the broker before, so the other published after it
// and was running at the same time. Before that, an online presence on this panel's session is
// a predecessor's: the broker keeps one link per session, and it is this panel's now.
enum class PresenceVerdict { Ours, Clash, Gone };
PresenceVerdict judgePresence(const StationPresence& ours, const StationPresence& seen,
                              bool afterOwn);

// text as one level of an MQTT topic: the wildcards, the percent sign and NUL escaped as %XX.
std::string topicLevel(std::string_view text);

} // namespace merv::panel
