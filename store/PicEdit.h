#pragma once
// The save rules of the picture editor, without its window: title, dwell time and effect of
// one picture record, and one dwell time for every picture of the album.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "store/Pub.h"

namespace velmora {

/// Changes to one picture record; fields left empty keep their value.
struct TPicEdit {
    std::optional<std::string> Title;    ///< UTF-8; stored trimmed and cut to 36 bytes
    std::optional<std::int32_t> Dwell;   ///< seconds, at least 1
    std::optional<std::int32_t> Effect;  ///< 0 random, 1 to 105 a row of the effect table
};

/// Reads a dwell time typed as decimal digits (blanks around them allowed): a number from 1 to
/// the largest 32-bit value. Throws InvalidArgument naming the text otherwise.
std::int32_t ParseDwell(std::string_view text);

/// Checks an effect index (0 to 105); throws InvalidArgument otherwise.
std::int32_t CheckEffect(std::int64_t effect);

/// Applies `edit` to picture `index` of the current album and rewrites "PicInfo". Every value
/// is checked before anything changes; a refused value throws InvalidArgument and nothing is
/// written.
void SavePicEdit(TAlbumStore& store, int index, const TPicEdit& edit);

/// Gives every picture of the current album the dwell time `dwell` and rewrites "PicInfo".
void ApplyDwellToAll(TAlbumStore& store, std::int32_t dwell);

}  // namespace velmora
