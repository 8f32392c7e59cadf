#include "host/CommandArguments.h"

#include "host/JsonValues.h"
#include "host/UsageError.h"

#include <charconv>
#include <limits>

namespace merv::host {

namespace {
constexpr std::string_view Blanks = " \t";
} // namespace

std::string_view trim(std::string_view text) {
    const auto first = text.find_first_not_of(Blanks);
    if (first == text.npos)
        return {};
    return text.substr(first, text.find_last_not_of(Blanks) - first + 1);
}

std::pair<std::string_view, std::string_view> splitWord(std::string_view text) {
    text = trim(text);
    const auto end = text.find_first_of(Blanks);
    if (end == text.npos)
        return {text, {}};
    return {text.substr(0, end), trim(text.substr(end))};
}

std::vector<std::string_view> words(std::string_view text) {
    std::vector<std::string_view> out;
    for (auto [word, rest] = splitWord(text); !word.empty(); std::tie(word, rest) = splitWord(rest))
        out.push_back(word);
    return out;
}

std::vector<std::string_view> lines(std::string_view text) {
    std::vector<std::string_view> out;
    while (!text.empty()) {
        const auto end = text.find_first_of("\r\n");
        out.push_back(text.substr(0, end));
        if (end == text.npos)
            break;
        const bool crlf = text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n';
        text.remove_prefix(end + (crlf ? 2 : 1));
    }
    return out;
}

std::optional<std::int64_t> parseInteger(std::string_view text, std::int64_t low,
                                         std::int64_t high) {
    // from_chars takes no plus sign; a minus after one is no number.
    if (text.starts_with('+') && !text.starts_with("+-"))
        text.remove_prefix(1);
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < low ||
        value > high)
        return std::nullopt;
    return value;
}

std::optional<std::uint32_t> parseColor(std::string_view text) {
    if (text.starts_with("0x") || text.starts_with("0X")) {
        text.remove_prefix(2);
        std::uint32_t value = 0;
        const auto [end, error] =
            std::from_chars(text.data(), text.data() + text.size(), value, 16);
        if (text.empty() || error != std::errc() || end != text.data() + text.size())
            return std::nullopt;
        return value;
    }
    if (const auto value = parseInteger(text, std::numeric_limits<std::int32_t>::min(),
                                        std::numeric_limits<std::uint32_t>::max()))
        return static_cast<std::uint32_t>(*value);
    return std::nullopt;
}

std::optional<bool> parseBoolean(std::string_view text) {
    if (text == "true")
        return true;
    if (text == "false")
        return false;
    return std::nullopt;
}

std::optional<std::string> parseJsonString(std::string_view text) {
    const Json value = Json::parse(text, nullptr, false);
    if (!value.is_string())
        return std::nullopt;
    return value.get<std::string>();
}

std::string quotedInput(std::string_view text) {
    constexpr char Hex[] = "0123456789ABCDEF";
    std::string out = "'";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\\') {
            out += "\\\\";
        } else if (byte < 0x20 || byte == 0x7F) {
            out += "\\u00";
            out += Hex[byte >> 4];
            out += Hex[byte & 0xF];
        } else {
            out += c;
        }
    }
    return out + "'";
}

void wrongArguments(std::string_view form) {
    throw UsageError("usage: " + std::string(form));
}

} // namespace merv::host
