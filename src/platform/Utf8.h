#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// UTF-8 for the whole system: every encoding and decoding of text goes through here.
namespace merv::utf8 {

// What a malformed byte or a code point beyond Unicode decodes to.
inline constexpr char32_t Replacement = 0xFFFD;
inline constexpr char32_t MaxCodePoint = 0x10FFFF;

// Number of code points in a UTF-8 text; a stray continuation byte counts as one.
int length(std::string_view text) noexcept;

// Byte offset of code point index `index`, clamped to the text's end.
std::size_t offsetOf(std::string_view text, int index) noexcept;

// From the byte offset `from`, which starts a code point, `count` code points on (count > 0)
// or back (count < 0), clamped to the text. Costs the distance walked, not the text's length.
std::size_t step(std::string_view text, std::size_t from, int count) noexcept;

// Where a text shown in UTF-16 (as a toolkit's line edit holds it) and the code point indexes
// of its UTF-8 form meet: the UTF-16 offset of code point `index`, and the index of the code
// point at a UTF-16 offset (one inside a surrogate pair counts the whole pair). Both clamp to
// the text's end; code points are counted as length() does.
int utf16Offset(std::string_view text, int index) noexcept;
int indexAtUtf16(std::string_view text, int offset) noexcept;

// Appends the UTF-8 form of a code point; one beyond Unicode appends the replacement.
void append(std::string& out, char32_t c);
std::string encode(char32_t c);

// The code points of a UTF-8 text; each malformed byte decodes to the replacement.
std::u32string decode(std::string_view text);

} // namespace merv::utf8
