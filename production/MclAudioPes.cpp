#include "production/MclAudioPes.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace velmora::mcl {

namespace {

// Frames held back before the first of them is handed over: enough to see a split header
// coming several packets ahead and to join the frames that avoid it (about 0.25 s of AC-3).
constexpr std::size_t HeldFrames = 8;
// Most frames joined into one unit.
constexpr std::size_t MaxJoined = 3;

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
    g.PayloadNoPts = g.Payload + 5;
    g.FirstLess = 3;
    g.HeaderBytes = 7;
    return g;
}

std::int64_t TPesLayout::TUnit::End() const {
    std::int64_t end = Start;
    for (int size : Frames) end += size;
    return end;
}

bool TPesLayout::Cut(const std::vector<TUnit>& units, TCursor& cursor, bool atEnd,
                     std::vector<std::int64_t>* starts) const {
    if (units.empty()) return true;
    const std::int64_t dataEnd = units.back().End();
    for (;;) {
        while (cursor.Unit < units.size() && units[cursor.Unit].End() <= cursor.Packet) {
            ++cursor.Unit;
        }
        if (cursor.Unit == units.size()) return true;
        const TUnit& holder = units[cursor.Unit];
        const std::int64_t trailer =
            holder.Start == cursor.Packet ? 0 : holder.End() - cursor.Packet;
        const int less = cursor.First ? FGeometry.FirstLess : 0;
        const std::int64_t withPts = FGeometry.Payload - less;
        std::int64_t packetEnd = 0;
        if (trailer >= withPts) {
            // Nothing but the rest of the holder fits: no timestamp, and the packet ends with
            // the holder when that rest is short enough.
            packetEnd =
                cursor.Packet + std::min<std::int64_t>(trailer, FGeometry.PayloadNoPts - less);
        } else {
            packetEnd = cursor.Packet + withPts;
            if (packetEnd > dataEnd) {
                if (!atEnd) return true;  // not determined yet
                packetEnd = dataEnd;
            }
            // The timestamp is the next unit's (the last unit's rest goes without one): no
            // frame of the holder may start before it.
            const bool nextUnitFollows = cursor.Unit + 1 < units.size();
            std::int64_t frameStart = holder.Start;
            for (int size : holder.Frames) {
                if (trailer > 0 && nextUnitFollows && frameStart >= cursor.Packet) return false;
                frameStart += size;
            }
        }
        // No frame may start in the packet's last bytes and run on into the next packet.
        for (std::size_t u = cursor.Unit; u < units.size() && units[u].Start < packetEnd; ++u) {
            std::int64_t frameStart = units[u].Start;
            for (int size : units[u].Frames) {
                const std::int64_t inPacket = packetEnd - frameStart;
                if (inPacket > 0 && inPacket < FGeometry.HeaderBytes && inPacket < size) {
                    return false;
                }
                frameStart += size;
            }
        }
        if (starts != nullptr) starts->push_back(cursor.Packet);
        cursor.Packet = packetEnd;
        cursor.First = false;
    }
}

bool TPesLayout::Sound(const std::vector<TPesUnit>& units, bool atEnd) const {
    std::vector<TUnit> all = FUnits;
    std::int64_t start = all.empty() ? FCursor.Packet : all.back().End();
    for (const TPesUnit& frames : units) {
        all.push_back({start, frames});
        start = all.back().End();
    }
    TCursor cursor = FCursor;
    return Cut(all, cursor, atEnd, nullptr);
}

void TPesLayout::Commit(const TPesUnit& unit) {
    const std::int64_t start = FUnits.empty() ? FCursor.Packet : FUnits.back().End();
    FUnits.push_back({start, unit});
    Cut(FUnits, FCursor, false, &FStarts);
    // Units wholly before the cursor are no longer looked at.
    FUnits.erase(FUnits.begin(), FUnits.begin() + std::ptrdiff_t(FCursor.Unit));
    FCursor.Unit = 0;
}

TAudioPesGrouper::TAudioPesGrouper(const TPesGeometry& geometry, TWrite write)
    : FLayout(geometry), FWrite(std::move(write)) {}

void TAudioPesGrouper::Add(AVPacket* frame) {
    TPacketPtr held = MakePacket();
    av_packet_move_ref(held.get(), frame);
    FHeld.push_back(std::move(held));
    if (FHeld.size() >= HeldFrames) WriteUnit(ChooseUnit(false));
}

void TAudioPesGrouper::Finish() {
    while (!FHeld.empty()) WriteUnit(ChooseUnit(true));
}

std::size_t TAudioPesGrouper::ChooseUnit(bool atEnd) const {
    // The first way of joining the held frames (single frames preferred, earliest first)
    // whose packets are all sound; a single frame when there is none.
    std::vector<TPesUnit> units;
    const std::function<bool(std::size_t)> search = [&](std::size_t next) {
        if (!FLayout.Sound(units, false)) return false;
        if (next == FHeld.size()) return FLayout.Sound(units, atEnd);
        for (std::size_t n = 1; n <= MaxJoined && next + n <= FHeld.size(); ++n) {
            TPesUnit unit;
            for (std::size_t i = next; i < next + n; ++i) unit.push_back(FHeld[i]->size);
            units.push_back(std::move(unit));
            if (search(next + n)) return true;
            units.pop_back();
        }
        return false;
    };
    if (search(0) && !units.empty()) return units.front().size();
    return 1;
}

void TAudioPesGrouper::WriteUnit(std::size_t count) {
    TPesUnit sizes;
    for (std::size_t i = 0; i < count; ++i) sizes.push_back(FHeld[i]->size);
    if (count == 1) {
        FWrite(FHeld.front().get());
    } else {
        TPacketPtr joined = MakePacket();
        int total = 0;
        for (int size : sizes) total += size;
        AvCheck(av_new_packet(joined.get(), total), "cannot allocate audio");
        AvCheck(av_packet_copy_props(joined.get(), FHeld.front().get()), "cannot allocate audio");
        std::uint8_t* out = joined->data;
        joined->duration = 0;
        for (std::size_t i = 0; i < count; ++i) {
            std::memcpy(out, FHeld[i]->data, std::size_t(FHeld[i]->size));
            out += FHeld[i]->size;
            joined->duration += FHeld[i]->duration;
        }
        joined->stream_index = FHeld.front()->stream_index;
        FWrite(joined.get());
    }
    FLayout.Commit(sizes);
    FHeld.erase(FHeld.begin(), FHeld.begin() + std::ptrdiff_t(count));
}

}  // namespace velmora::mcl
