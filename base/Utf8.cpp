#include "base/Utf8.h"

#include <cstdint>

namespace velmora {

std::size_t Utf8SequenceLength(std::string_view text) noexcept {
    if (text.empty()) return 0;
    const auto b0 = static_cast<std::uint8_t>(text[0]);
    if (b0 < 0x80) return 1;
    std::size_t length = 0;
    std::uint8_t low = 0x80, high = 0xBF;  // range of the second byte
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        length = 2;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        length = 3;
        if (b0 == 0xE0) low = 0xA0;   // no overlong forms
        if (b0 == 0xED) high = 0x9F;  // no surrogates
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        length = 4;
        if (b0 == 0xF0) low = 0x90;
        if (b0 == 0xF4) high = 0x8F;  // nothing above U+10FFFF
    } else {
        return 0;
    }
    if (text.size() < length) return 0;
    for (std::size_t i = 1; i < length; ++i) {
        const auto b = static_cast<std::uint8_t>(text[i]);
        const std::uint8_t lo = i == 1 ? low : 0x80;
        const std::uint8_t hi = i == 1 ? high : 0xBF;
        if (b < lo || b > hi) return 0;
    }
    return length;
}

bool IsValidUtf8(std::string_view utf8) noexcept {
    while (!utf8.empty()) {
        const std::size_t n = Utf8SequenceLength(utf8);
        if (n == 0) return false;
        utf8.remove_prefix(n);
    }
    return true;
}

std::vector<char32_t> DecodeUtf8(std::string_view text) {
    static constexpr std::uint8_t LeadBits[] = {0, 0x7f, 0x1f, 0x0f, 0x07};
    std::vector<char32_t> out;
    while (!text.empty()) {
        const std::size_t n = Utf8SequenceLength(text);
        if (n == 0) {
            out.push_back(U'\uFFFD');
            text.remove_prefix(1);
            continue;
        }
        char32_t c = static_cast<std::uint8_t>(text[0]) & LeadBits[n];
        for (std::size_t i = 1; i < n; ++i)
            c = c << 6 | (static_cast<std::uint8_t>(text[i]) & 0x3f);
        out.push_back(c);
        text.remove_prefix(n);
    }
    return out;
}

}  // namespace velmora
