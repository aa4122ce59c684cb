#pragma once
// ShortString<N>: the text field of the stored records. One length byte L (0..N) followed by
// N bytes, of which the first L are text in the GB18030 code page (GBK-compatible). The
// record keeps the raw bytes, so files round-trip byte for byte; Text() and SetText() convert
// to and from UTF-8 at the boundary, and SetText() cuts at the last whole character that fits.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "store/TextCodec.h"

namespace velmora {

template <int N>
class ShortString {
public:
    static constexpr int Capacity = N;
    static constexpr int ByteSize = N + 1;

    /// The text as UTF-8.
    std::string Text() const;
    /// Stores UTF-8 text, converted to GB18030 and cut to N bytes without splitting a character.
    void SetText(std::string_view utf8);
    /// The stored GB18030 bytes (the first L bytes).
    std::string_view Bytes() const noexcept {
        return {reinterpret_cast<const char*>(FBytes.data()), FLength};
    }
    /// Stores raw GB18030 bytes, cut to N bytes without splitting a character.
    void SetBytes(std::string_view gb18030);
    int Length() const noexcept { return FLength; }
    bool IsEmpty() const noexcept { return FLength == 0; }

    /// Reads the N + 1 bytes of a record field. A length byte above N is taken as N.
    void Decode(const std::uint8_t* in) noexcept;
    /// Writes the N + 1 bytes of a record field; bytes after the text are zero.
    void Encode(std::uint8_t* out) const noexcept;

    bool operator==(const ShortString&) const = default;

private:
    std::uint8_t FLength = 0;
    std::array<std::uint8_t, N> FBytes{};
};

template <int N>
std::string ShortString<N>::Text() const {
    return Gb18030ToUtf8(Bytes());
}

template <int N>
void ShortString<N>::SetText(std::string_view utf8) {
    SetBytes(Utf8ToGb18030(utf8));
}

template <int N>
void ShortString<N>::SetBytes(std::string_view gb18030) {
    static_assert(N > 0 && N <= 255, "a short string holds at most 255 bytes");
    const std::size_t length = Gb18030CutLength(gb18030, N);
    FBytes.fill(0);
    for (std::size_t i = 0; i < length; ++i) FBytes[i] = static_cast<std::uint8_t>(gb18030[i]);
    FLength = static_cast<std::uint8_t>(length);
}

template <int N>
void ShortString<N>::Decode(const std::uint8_t* in) noexcept {
    // Bytes after the length carry no meaning; they are dropped so that equal texts compare
    // equal and are written back as zeros.
    FLength = in[0] > N ? std::uint8_t{N} : in[0];
    FBytes.fill(0);
    for (int i = 0; i < FLength; ++i) FBytes[i] = in[1 + i];
}

template <int N>
void ShortString<N>::Encode(std::uint8_t* out) const noexcept {
    out[0] = FLength;
    for (int i = 0; i < N; ++i) out[1 + i] = i < FLength ? FBytes[i] : std::uint8_t{0};
}

}  // namespace velmora
