#pragma once
// Text conversion between the GB18030 bytes of the record files and the UTF-8 text of the rest
// of the program, plus the trimming rule that album names and titles share.

#include <cstddef>
#include <string>
#include <string_view>

#include "base/Utf8.h"  // IsValidUtf8, for the callers of the code page conversion

namespace velmora {

/// Converts GB18030 bytes to UTF-8. Bytes that do not form a character (damaged records,
/// a sequence cut off at the end) each become U+FFFD; the conversion never fails.
std::string Gb18030ToUtf8(std::string_view gb18030);

/// Converts UTF-8 text to GB18030. GB18030 encodes every Unicode character; bytes that are not
/// valid UTF-8 each become U+FFFD (GB18030 84 31 A4 37). The conversion never fails.
std::string Utf8ToGb18030(std::string_view utf8);

/// Length in bytes of the GB18030 character that starts `gb18030` (1, 2 or 4). A byte that
/// does not start a well-formed character counts as a character of its own (length 1).
std::size_t Gb18030CharLength(std::string_view gb18030) noexcept;

/// The longest prefix of `gb18030` of at most `capacity` bytes that ends on a character
/// boundary.
std::size_t Gb18030CutLength(std::string_view gb18030, std::size_t capacity) noexcept;

/// Removes leading and trailing blanks and control characters (every byte up to 0x20), as the
/// album dialog and the picture editor trim their input.
std::string_view TrimBlanks(std::string_view text) noexcept;

}  // namespace velmora
