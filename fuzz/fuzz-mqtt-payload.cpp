// Reads fuzzed MQTT payloads as a value, as a shared acknowledgement and as a station's presence.
// Each is read or refused with a reason; what is read is a finite value, and an acknowledgement
// or a presence written again reads back the same. An exception or a crash is a fault.
#include "panel/MqttPayload.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace merv::panel;
    const std::string_view payload(reinterpret_cast<const char*>(data), size);
    const MqttValue value = readValuePayload(payload);
    if (value.error.empty() && !std::isfinite(value.value))
        __builtin_trap();
    if (value.timeMs && *value.timeMs < 0)
        __builtin_trap();
    const MqttAcknowledgement read = readAcknowledgement(payload);
    if (read.error.empty()) {
        const MqttAcknowledgement again = readAcknowledgement(writeAcknowledgement(read.message));
        if (!again.error.empty() || !(again.message == read.message))
            __builtin_trap();
    }
    const MqttPresence presence = readPresence(payload);
    if (presence.error.empty()) {
        const MqttPresence again = readPresence(writePresence(presence.presence));
        if (!again.error.empty() || !(again.presence == presence.presence))
            __builtin_trap();
    }
    return 0;
}
