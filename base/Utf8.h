#pragma once
// The one UTF-8 codec of the core: well-formed sequences (no overlong forms, no surrogates,
// nothing above U+10FFFF), decoding to code points with U+FFFD for each invalid byte. The
// text code page conversion (store/) and the font code (imaging/) both use it.

#include <cstddef>
#include <string_view>
#include <vector>

namespace velmora {

/// Length of the UTF-8 sequence at the start of `text` when it is well-formed, else 0 (also
/// for empty text).
std::size_t Utf8SequenceLength(std::string_view text) noexcept;

/// True when `utf8` is well-formed UTF-8.
bool IsValidUtf8(std::string_view utf8) noexcept;

/// The code points of UTF-8 text; each byte that starts no well-formed sequence becomes
/// U+FFFD.
std::vector<char32_t> DecodeUtf8(std::string_view text);

}  // namespace velmora
