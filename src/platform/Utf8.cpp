#include <mervgauge/platform/Utf8.h>

namespace merv::utf8 {

namespace {
bool isContinuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}
// Whether a code point starts at byte i: counting follows length() above.
bool startsCodePoint(std::string_view text, std::size_t i) {
    return i == 0 || !isContinuation(static_cast<unsigned char>(text[i]));
}
// UTF-16 units of the code point that starts with this byte: a pair beyond the basic plane.
int utf16Units(char lead) {
    return (static_cast<unsigned char>(lead) >> 3) == 30 ? 2 : 1;
}
} // namespace

int length(std::string_view text) noexcept {
    int count = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (startsCodePoint(text, i))
            ++count;
    }
    return count;
}

std::size_t offsetOf(std::string_view text, int index) noexcept {
    return index <= 0 ? 0 : step(text, 0, index);
}

std::size_t step(std::string_view text, std::size_t from, int count) noexcept {
    std::size_t i = from < text.size() ? from : text.size();
    for (; count > 0 && i < text.size(); --count) {
        ++i;
        while (i < text.size() && !startsCodePoint(text, i))
            ++i;
    }
    for (; count < 0 && i > 0; ++count) {
        --i;
        while (i > 0 && !startsCodePoint(text, i))
            --i;
    }
    return i;
}

int utf16Offset(std::string_view text, int index) noexcept {
    int units = 0;
    for (std::size_t i = 0; index > 0 && i < text.size(); i = step(text, i, 1), --index)
        units += utf16Units(text[i]);
    return units;
}

int indexAtUtf16(std::string_view text, int offset) noexcept {
    int index = 0;
    int units = 0;
    for (std::size_t i = 0; units < offset && i < text.size(); i = step(text, i, 1), ++index)
        units += utf16Units(text[i]);
    return index;
}

void append(std::string& out, char32_t c) {
    if (c > MaxCodePoint)
        c = Replacement;
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

std::string encode(char32_t c) {
    std::string out;
    append(out, c);
    return out;
}

std::u32string decode(std::string_view text) {
    std::u32string out;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const int length = lead < 0x80         ? 1
                           : (lead >> 5) == 6  ? 2
                           : (lead >> 4) == 14 ? 3
                           : (lead >> 3) == 30 ? 4
                                               : 0;
        char32_t c = length == 1   ? lead
                     : length == 2 ? lead & 0x1F
                     : length == 3 ? lead & 0x0F
                                   : lead & 0x07;
        bool valid = length > 0 && i + std::size_t(length) <= text.size();
        for (int k = 1; valid && k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + std::size_t(k)]);
            valid = (next & 0xC0) == 0x80;
            c = (c << 6) | (next & 0x3F);
        }
        out.push_back(valid && c <= MaxCodePoint ? c : Replacement);
        i += valid ? std::size_t(length) : 1;
    }
    return out;
}

} // namespace merv::utf8
