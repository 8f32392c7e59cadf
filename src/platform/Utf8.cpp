#include "platform/Utf8.h"

namespace merv::utf8 {

namespace {
bool isContinuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}
} // namespace

int length(std::string_view text) noexcept {
    int count = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!isContinuation(static_cast<unsigned char>(text[i])) || i == 0)
            ++count;
    }
    return count;
}

std::size_t offsetOf(std::string_view text, int index) noexcept {
    if (index <= 0)
        return 0;
    int seen = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (i == 0 || !isContinuation(static_cast<unsigned char>(text[i]))) {
            if (seen == index)
                return i;
            ++seen;
        }
    }
    return text.size();
}

} // namespace merv::utf8
