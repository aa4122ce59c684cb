// Record files and their GB18030 text as hostile input: every record of every kind is decoded
// from the bytes, its text converted and re-stored; converted text must always be valid UTF-8
// and re-stored text must stay within its capacity.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "store/Pub.h"
#include "store/TextCodec.h"

namespace {

template <int N>
void Check(const velmora::ShortString<N>& text) {
    const std::string utf8 = text.Text();
    if (!velmora::IsValidUtf8(utf8)) std::abort();
    velmora::ShortString<N> again;
    again.SetText(utf8);
    if (again.Length() > N) std::abort();
    if (!velmora::IsValidUtf8(again.Text())) std::abort();
}

template <typename TRec, typename Fn>
void EachRecord(const std::uint8_t* data, std::size_t size, Fn check) {
    for (std::size_t at = 0; at + TRec::Size <= size; at += TRec::Size) {
        TRec rec;
        rec.Decode(data + at);
        check(rec);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace velmora;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (!IsValidUtf8(Gb18030ToUtf8(bytes))) std::abort();
    if (Gb18030CutLength(bytes, 90) > 90) std::abort();
    (void)Utf8ToGb18030(bytes);
    EachRecord<TAlbumRec>(data, size, [](const TAlbumRec& r) { Check(r.Name); });
    EachRecord<TPicInfo>(data, size, [](const TPicInfo& r) {
        Check(r.Title);
        Check(r.Remark);
        Check(r.StoredName);
    });
    EachRecord<TMusicInfo>(data, size, [](const TMusicInfo& r) {
        Check(r.StoredName);
        Check(r.SongName);
        Check(r.Singer);
        Check(r.Remark);
    });
    return 0;
}
