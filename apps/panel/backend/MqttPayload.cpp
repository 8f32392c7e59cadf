#include "panel/MqttPayload.h"

#include "panel/NumberText.h"

#include <nlohmann/json.hpp>

#include <cmath>

namespace merv::panel {

namespace {

constexpr std::string_view Whitespace = " \t\r\n";

std::string_view trimmed(std::string_view text) {
    const auto begin = text.find_first_not_of(Whitespace);
    if (begin == std::string_view::npos)
        return {};
    return text.substr(begin, text.find_last_not_of(Whitespace) - begin + 1);
}

// Milliseconds since 1970 as a JSON number: whole, not negative, within a 64-bit count.
std::optional<std::int64_t> readTime(const nlohmann::json& json) {
    if (json.is_number_unsigned())
        return json.get<std::uint64_t>() <= std::uint64_t(INT64_MAX)
                   ? std::optional<std::int64_t>(std::int64_t(json.get<std::uint64_t>()))
                   : std::nullopt;
    if (json.is_number_integer())
        return json.get<std::int64_t>() >= 0 ? std::optional(json.get<std::int64_t>())
                                             : std::nullopt;
    if (json.is_number_float()) {
        const double ms = json.get<double>();
        // 2^62 ms is far beyond any clock and still exact as an int64.
        if (std::isfinite(ms) && ms >= 0 && ms < 0x1p62 && ms == std::floor(ms))
            return std::int64_t(ms);
    }
    return std::nullopt;
}

std::optional<nlohmann::json> parsedObject(std::string_view payload) {
    auto json = nlohmann::json::parse(payload, nullptr, false);
    if (json.is_discarded() || !json.is_object())
        return std::nullopt;
    return json;
}

// The string member key of object, or nothing when it is missing, empty or no string.
std::optional<std::string> textMember(const nlohmann::json& object, const char* key) {
    const auto found = object.find(key);
    if (found == object.end() || !found->is_string() || found->get<std::string>().empty())
        return std::nullopt;
    return found->get<std::string>();
}

} // namespace

MqttValue readValuePayload(std::string_view payload) {
    MqttValue out;
    if (payload.size() > MaxPayloadBytes) {
        out.error = "payload of " + std::to_string(payload.size()) + " bytes is too large";
        return out;
    }
    const auto text = trimmed(payload);
    if (text.empty()) {
        out.error = "empty payload";
        return out;
    }
    if (text.front() != '{') {
        if (const auto number = readNumber(text))
            out.value = *number;
        else
            out.error = "payload is neither a finite C-locale number nor a JSON object";
        return out;
    }
    const auto json = parsedObject(text);
    if (!json) {
        out.error = "payload is not a JSON object";
        return out;
    }
    const auto value = json->find("value");
    if (value == json->end() || !value->is_number() || !std::isfinite(value->get<double>())) {
        out.error = "payload has no finite number \"value\"";
        return out;
    }
    out.value = value->get<double>();
    if (const auto ts = json->find("ts"); ts != json->end()) {
        out.timeMs = readTime(*ts);
        if (!out.timeMs)
            out.error = "payload's \"ts\" is not a time in whole milliseconds since 1970";
    }
    return out;
}

std::string writeAcknowledgement(const SharedAcknowledgement& message) {
    const AlarmTransition& a = message.acknowledgement;
    nlohmann::json json{{"station", a.station},   {"tag", a.tag},
                        {"variable", a.variable}, {"kind", nameOf(a.kind)},
                        {"time", a.timeMs},       {"transition", nameOf(Transition::Acknowledged)}};
    if (!a.operatorName.empty())
        json["operator"] = a.operatorName;
    if (message.raisedMs > 0)
        json["raised"] = message.raisedMs;
    if (!message.instance.empty()) {
        json["instance"] = message.instance;
        json["seq"] = message.sequence;
    }
    return json.dump();
}

MqttAcknowledgement readAcknowledgement(std::string_view payload) {
    MqttAcknowledgement out;
    if (payload.size() > MaxPayloadBytes) {
        out.error = "acknowledgement of " + std::to_string(payload.size()) + " bytes is too large";
        out.oversized = true;
        return out;
    }
    const auto json = parsedObject(payload);
    if (!json) {
        out.error = "acknowledgement is not a JSON object";
        return out;
    }
    const auto station = textMember(*json, "station");
    const auto variable = textMember(*json, "variable");
    const auto kind = textMember(*json, "kind");
    const auto transition = textMember(*json, "transition");
    // The members a station of an earlier version does not send: absent, or of their type.
    const auto optionalText = [&](const char* key, bool& ok) {
        const auto found = json->find(key);
        ok = ok && (found == json->end() || found->is_string());
        return found == json->end() || !found->is_string() ? std::string()
                                                           : found->get<std::string>();
    };
    bool typesOk = true;
    const std::string tag = optionalText("tag", typesOk);
    const std::string operatorName = optionalText("operator", typesOk);
    const std::string instance = optionalText("instance", typesOk);
    const auto time = json->contains("time") ? readTime(json->at("time")) : std::nullopt;
    const auto raised = json->contains("raised") ? readTime(json->at("raised")) : std::nullopt;
    const auto seq = json->find("seq");
    const bool seqOk = seq == json->end() || seq->is_number_unsigned();
    if (!station || !variable || !kind || !time)
        out.error = "acknowledgement needs the texts \"station\", \"variable\", \"kind\" and "
                    "the time in milliseconds \"time\"";
    else if (!typesOk)
        out.error = "acknowledgement's \"tag\", \"operator\" or \"instance\" is not a text";
    else if (json->contains("raised") && !raised)
        out.error = "acknowledgement's \"raised\" is not a time in milliseconds";
    else if (!seqOk || (!instance.empty() && seq == json->end()))
        out.error = "acknowledgement's \"seq\" is not a count, or is missing beside its "
                    "\"instance\"";
    else if (transition != nameOf(Transition::Acknowledged))
        out.error = "acknowledgement's \"transition\" is not \"acknowledged\"";
    else if (const auto known = alarmKindNamed(*kind); !known)
        out.error = "acknowledgement's \"kind\" \"" + *kind + "\" is not an alarm kind";
    else
        out.message = {
            {*time, *station, *variable, *known, Transition::Acknowledged, 0, tag, operatorName},
            raised.value_or(0),
            instance,
            // A count without its instance names no sender's run.
            instance.empty() || seq == json->end() ? 0 : seq->get<std::uint64_t>()};
    return out;
}

std::string writePresence(const StationPresence& presence) {
    return nlohmann::json{{"instance", presence.instance}, {"session", presence.session},
                          {"started", presence.startedMs}, {"host", presence.host},
                          {"pid", presence.pid},           {"online", presence.online}}
        .dump();
}

MqttPresence readPresence(std::string_view payload) {
    MqttPresence out;
    if (payload.size() > MaxPayloadBytes) {
        out.error = "station presence of " + std::to_string(payload.size()) + " bytes is too large";
        return out;
    }
    const auto json = parsedObject(payload);
    const auto member = [&json](const char* key) {
        return json && json->contains(key) ? &json->at(key) : nullptr;
    };
    const auto instance = json ? textMember(*json, "instance") : std::nullopt;
    const auto started = member("started") ? readTime(*member("started")) : std::nullopt;
    const nlohmann::json* online = member("online");
    if (!instance || !started || !online || !online->is_boolean()) {
        out.error = "station presence needs the text \"instance\", the time \"started\" and "
                    "the truth value \"online\"";
        return out;
    }
    out.presence.instance = *instance;
    out.presence.startedMs = *started;
    out.presence.online = online->get<bool>();
    out.presence.session = textMember(*json, "session").value_or("");
    out.presence.host = textMember(*json, "host").value_or("");
    if (const auto* pid = member("pid"); pid && pid->is_number_integer())
        out.presence.pid = pid->get<std::int64_t>();
    return out;
}

PresenceVerdict judgePresence(const StationPresence& ours, const StationPresence& seen,
                              bool afterOwn) {
    if (seen.instance == ours.instance)
        return PresenceVerdict::Ours;
    if (!seen.online || (!afterOwn && seen.session == ours.session))
        return PresenceVerdict::Gone;
    return PresenceVerdict::Clash;
}

std::string topicLevel(std::string_view text) {
    static constexpr char Hex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        if (c == '+' || c == '#' || c == '%' || c == '\0') {
            out += '%';
            out += Hex[(unsigned char)c >> 4];
            out += Hex[(unsigned char)c & 0xf];
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace merv::panel
