#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Reading the words and numbers of a host command line.
namespace merv::host {

std::string_view trim(std::string_view text);
// The first word and the rest, both trimmed.
std::pair<std::string_view, std::string_view> splitWord(std::string_view text);
std::vector<std::string_view> words(std::string_view text);
// The lines of a text whose lines end in LF, CR or CR LF, without their ends; a last line
// without an end counts, an end at the very end starts no further line.
std::vector<std::string_view> lines(std::string_view text);
// A decimal integer within [low, high]; empty for anything else.
std::optional<std::int64_t> parseInteger(std::string_view text, std::int64_t low,
                                         std::int64_t high);
// A colour as a decimal or 0x-hexadecimal number: the 32-bit pattern, signed or unsigned.
std::optional<std::uint32_t> parseColor(std::string_view text);
std::optional<bool> parseBoolean(std::string_view text);
// A text given as a JSON string literal.
std::optional<std::string> parseJsonString(std::string_view text);
// A word of the input for a message, in single quotes: control characters (a NUL byte, an
// escape) and backslashes are written as \u00XX and \\, so the message is whole and shows
// every byte.
std::string quotedInput(std::string_view text);
// What a command with the wrong arguments answers.
[[noreturn]] void wrongArguments(std::string_view form);

} // namespace merv::host
