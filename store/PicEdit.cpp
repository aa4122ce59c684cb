#include "store/PicEdit.h"

#include <charconv>
#include <limits>

#include "base/Errors.h"
#include "store/TextCodec.h"

namespace velmora {

namespace {

constexpr std::int64_t LastEffect = 105;

void CheckDwell(std::int64_t dwell) {
    if (dwell < 1 || dwell > std::numeric_limits<std::int32_t>::max()) {
        throw InvalidArgument("dwell time " + std::to_string(dwell) +
                              " is not a number of seconds from 1 to 2147483647");
    }
}

}  // namespace

std::int32_t ParseDwell(std::string_view text) {
    const std::string_view digits = TrimBlanks(text);
    std::int64_t value = 0;
    const char* end = digits.data() + digits.size();
    const auto [stop, error] = std::from_chars(digits.data(), end, value);
    const bool allDigits =
        !digits.empty() && digits.find_first_not_of("0123456789") == std::string_view::npos;
    if (!allDigits || error != std::errc() || stop != end ||
        value > std::numeric_limits<std::int32_t>::max() || value < 1) {
        throw InvalidArgument("'" + std::string(text) +
                              "' is not a dwell time (whole seconds from 1 to 2147483647)");
    }
    return static_cast<std::int32_t>(value);
}

std::int32_t CheckEffect(std::int64_t effect) {
    if (effect < 0 || effect > LastEffect) {
        throw InvalidArgument("effect " + std::to_string(effect) +
                              " is not 0 (random) or an effect from 1 to 105");
    }
    return static_cast<std::int32_t>(effect);
}

void SavePicEdit(TAlbumStore& store, int index, const TPicEdit& edit) {
    if (index < 0 || index >= store.PicCount ||
        static_cast<std::size_t>(index) >= store.Pics.size()) {
        throw InvalidArgument("no picture " + std::to_string(index) + " in the album (" +
                              std::to_string(store.PicCount) + " pictures)");
    }
    if (edit.Dwell) CheckDwell(*edit.Dwell);
    if (edit.Effect) CheckEffect(*edit.Effect);
    TPicInfo& pic = store.Pics[index];
    if (edit.Title) pic.Title.SetText(TrimBlanks(*edit.Title));
    if (edit.Dwell) pic.Dwell = *edit.Dwell;
    if (edit.Effect) pic.Effect = *edit.Effect;
    store.SaveRecords("P");
}

void ApplyDwellToAll(TAlbumStore& store, std::int32_t dwell) {
    CheckDwell(dwell);
    const auto count =
        std::min<std::size_t>(store.Pics.size(), std::size_t(std::max(store.PicCount, 0)));
    for (std::size_t i = 0; i < count; ++i) store.Pics[i].Dwell = dwell;
    store.SaveRecords("P");
}

}  // namespace velmora
