#include "store/TextCodec.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <memory>
#include <type_traits>

#include "base/Errors.h"

namespace velmora {

namespace {

struct IconvCloser {
    void operator()(void* handle) const noexcept { ::iconv_close(static_cast<iconv_t>(handle)); }
};

/// An open conversion descriptor; closed with the object.
class IconvHandle {
public:
    IconvHandle(const char* to, const char* from) {
        iconv_t cd = ::iconv_open(to, from);
        if (cd == reinterpret_cast<iconv_t>(-1)) {
            throw Error(std::string("text conversion ") + from + " -> " + to + " is not available");
        }
        FHandle.reset(cd);
    }
    iconv_t Get() const noexcept { return static_cast<iconv_t>(FHandle.get()); }

private:
    std::unique_ptr<std::remove_pointer_t<iconv_t>, IconvCloser> FHandle;
};

constexpr std::string_view Utf8Replacement = "\xEF\xBF\xBD";
constexpr std::string_view GbReplacement = "\x84\x31\xA4\x37";

/// Runs one conversion over `in`. Input the converter rejects is skipped by
/// `skip(rest)` bytes and replaced by `replacement`.
template <typename SkipFn>
std::string Convert(const IconvHandle& handle, std::string_view in, std::string_view replacement,
                    SkipFn skip) {
    ::iconv(handle.Get(), nullptr, nullptr, nullptr, nullptr);  // initial shift state
    std::string out;
    out.resize(in.size() * 4 + 8);
    char* inPtr = const_cast<char*>(in.data());
    std::size_t inLeft = in.size();
    std::size_t used = 0;
    while (inLeft > 0) {
        char* outPtr = out.data() + used;
        std::size_t outLeft = out.size() - used;
        const std::size_t result = ::iconv(handle.Get(), &inPtr, &inLeft, &outPtr, &outLeft);
        used = out.size() - outLeft;
        if (result != static_cast<std::size_t>(-1)) break;
        if (errno == E2BIG) {
            out.resize(out.size() * 2);
            continue;
        }
        // EILSEQ (not a character) or EINVAL (a sequence cut off at the end).
        const std::size_t n = std::min(inLeft, std::max<std::size_t>(1, skip({inPtr, inLeft})));
        inPtr += n;
        inLeft -= n;
        if (out.size() - used < replacement.size()) out.resize(out.size() * 2 + 8);
        out.replace(used, replacement.size(), replacement);
        used += replacement.size();
    }
    out.resize(used);
    return out;
}

/// ASCII text is the same in both encodings and needs no converter.
bool IsAscii(std::string_view text) noexcept {
    for (char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    }
    return true;
}

}  // namespace

std::string Gb18030ToUtf8(std::string_view gb18030) {
    if (IsAscii(gb18030)) return std::string(gb18030);
    thread_local const IconvHandle handle("UTF-8", "GB18030");
    return Convert(handle, gb18030, Utf8Replacement,
                   [](std::string_view rest) { return Gb18030CharLength(rest); });
}

std::string Utf8ToGb18030(std::string_view utf8) {
    if (IsAscii(utf8)) return std::string(utf8);
    thread_local const IconvHandle handle("GB18030", "UTF-8");
    return Convert(handle, utf8, GbReplacement, [](std::string_view rest) {
        const std::size_t n = Utf8SequenceLength(rest);
        return n == 0 ? std::size_t{1} : n;
    });
}

std::size_t Gb18030CharLength(std::string_view gb) noexcept {
    if (gb.empty()) return 0;
    const auto b0 = static_cast<std::uint8_t>(gb[0]);
    if (b0 < 0x81 || b0 == 0xFF || gb.size() < 2) return 1;
    const auto b1 = static_cast<std::uint8_t>(gb[1]);
    if ((b1 >= 0x40 && b1 <= 0x7E) || (b1 >= 0x80 && b1 <= 0xFE)) return 2;
    if (b1 >= 0x30 && b1 <= 0x39 && gb.size() >= 4) {
        const auto b2 = static_cast<std::uint8_t>(gb[2]);
        const auto b3 = static_cast<std::uint8_t>(gb[3]);
        if (b2 >= 0x81 && b2 <= 0xFE && b3 >= 0x30 && b3 <= 0x39) return 4;
    }
    return 1;
}

std::size_t Gb18030CutLength(std::string_view gb, std::size_t capacity) noexcept {
    std::size_t pos = 0;
    while (pos < gb.size()) {
        const std::size_t n = Gb18030CharLength(gb.substr(pos));
        if (pos + n > capacity) break;
        pos += n;
    }
    return pos;
}

std::string_view TrimBlanks(std::string_view text) noexcept {
    auto isBlank = [](char c) { return static_cast<std::uint8_t>(c) <= 0x20; };
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

}  // namespace velmora
