#include "production/MclAudioPes.h"

#include <algorithm>

namespace velmora::mcl {

namespace {

// Frames held back before the first of them is handed over: enough to see a split header
// coming several packets ahead and to mark the frames that avoid it (about 0.25 s of AC-3).
constexpr std::size_t HeldFrames = 8;

}  // namespace

TPesGeometry DvdAc3Geometry(int packSize) noexcept {
    // A pack: its 14-byte header, the PES start code and length (6), the MPEG-2 flags and
    // header length (3), the one stuffing byte the multiplexer always writes, a 5-byte
    // timestamp, and the DVD sub-stream header (stream number, frame count, first access unit
    // pointer: 4). The stream's first packet also carries the 3-byte buffer size extension.
    // An AC-3 frame is recognised by its sync word, CRC, rate and size code and its first
    // stream information: 7 bytes.
    TPesGeometry g;
    g.Payload = packSize - 14 - 6 - 3 - 1 - 5 - 4;
    g.DtsBytes = 5;
    g.TimestampBytes = 5;
    g.FirstLess = 3;
    g.HeaderBytes = 7;
    return g;
}

bool TPesLayout::Cut(const std::vector<TPlaced>& frames, TCursor& cursor, bool atEnd,
                     bool check) const {
    if (frames.empty()) return true;
    const std::int64_t dataEnd = frames.back().End();
    for (;;) {
        while (cursor.Frame < frames.size() && frames[cursor.Frame].End() <= cursor.Packet) {
            ++cursor.Frame;
        }
        if (cursor.Frame == frames.size()) return true;
        const TPlaced& holder = frames[cursor.Frame];
        const std::int64_t trailer =
            holder.Start == cursor.Packet ? 0 : holder.End() - cursor.Packet;
        // The packet's timestamp is that of the first frame starting in it.
        const std::size_t stamped = trailer == 0 ? cursor.Frame : cursor.Frame + 1;
        std::int64_t packetEnd = 0;
        if (stamped == frames.size()) {
            if (!atEnd) return true;  // not determined yet
            packetEnd = dataEnd;      // the last rest, without a timestamp
        } else {
            const int less = cursor.First ? FGeometry.FirstLess : 0;
            const int payload =
                FGeometry.Payload - less - (frames[stamped].Frame.Early ? FGeometry.DtsBytes : 0);
            if (trailer >= payload) {
                // Only the rest fits: the packet drops its timestamp and ends with the rest.
                if (check) return false;
                packetEnd = cursor.Packet +
                            std::min<std::int64_t>(
                                trailer, FGeometry.Payload - less + FGeometry.TimestampBytes);
            } else {
                packetEnd = cursor.Packet + payload;
            }
            if (packetEnd > dataEnd) {
                if (!atEnd) return true;
                packetEnd = dataEnd;
            }
        }
        // No frame may start in the packet's last bytes and run on into the next packet.
        for (std::size_t f = cursor.Frame; f < frames.size() && frames[f].Start < packetEnd; ++f) {
            const std::int64_t inPacket = packetEnd - frames[f].Start;
            if (check && inPacket < FGeometry.HeaderBytes && inPacket < frames[f].Frame.Size) {
                return false;
            }
        }
        cursor.Packet = packetEnd;
        cursor.First = false;
    }
}

bool TPesLayout::Sound(const std::vector<TPesFrame>& frames, bool atEnd) const {
    std::vector<TPlaced> all = FFrames;
    std::int64_t start = all.empty() ? FCursor.Packet : all.back().End();
    for (const TPesFrame& frame : frames) {
        all.push_back({start, frame});
        start += frame.Size;
    }
    TCursor cursor = FCursor;
    return Cut(all, cursor, atEnd, true);
}

void TPesLayout::Commit(const TPesFrame& frame) {
    const std::int64_t start = FFrames.empty() ? FCursor.Packet : FFrames.back().End();
    FFrames.push_back({start, frame});
    Cut(FFrames, FCursor, false, false);
    // Frames wholly before the cursor are no longer looked at.
    FFrames.erase(FFrames.begin(), FFrames.begin() + std::ptrdiff_t(FCursor.Frame));
    FCursor.Frame = 0;
}

TAudioPesAligner::TAudioPesAligner(const TPesGeometry& geometry, TWrite write)
    : FLayout(geometry), FWrite(std::move(write)) {}

void TAudioPesAligner::Add(AVPacket* frame) {
    TPacketPtr held = MakePacket();
    av_packet_move_ref(held.get(), frame);
    FHeld.push_back(std::move(held));
    if (FHeld.size() >= HeldFrames) WriteFirst(ChooseEarly(false));
}

void TAudioPesAligner::Finish() {
    while (!FHeld.empty()) WriteFirst(ChooseEarly(true));
}

bool TAudioPesAligner::ChooseEarly(bool atEnd) const {
    // The first marking of the held frames (unmarked preferred, earliest frames first) that
    // cuts them soundly; none when there is no such marking.
    std::vector<TPesFrame> frames;
    const std::function<bool(std::size_t)> search = [&](std::size_t next) {
        if (!FLayout.Sound(frames, false)) return false;
        if (next == FHeld.size()) return FLayout.Sound(frames, atEnd);
        for (const bool early : {false, true}) {
            frames.push_back({FHeld[next]->size, early});
            if (search(next + 1)) return true;
            frames.pop_back();
        }
        return false;
    };
    return search(0) && !frames.empty() && frames.front().Early;
}

void TAudioPesAligner::WriteFirst(bool early) {
    AVPacket* packet = FHeld.front().get();
    const TPesFrame frame{packet->size, early};
    if (early) packet->dts = packet->pts - 1;
    FWrite(packet);
    FLayout.Commit(frame);
    FHeld.pop_front();
}

}  // namespace velmora::mcl
