#pragma once
// The audio packets of a DVD program stream, cut so that every AC-3 frame's sync information
// lies whole inside one PES packet.
//
// FFmpeg's DVD multiplexer fills every audio PES packet to the brim (2015 bytes after a
// 2048-byte pack's headers), so the 1792-byte AC-3 frames run across packet ends at every
// phase; about every 8 seconds a frame starts in the last 1 to 6 bytes of a packet. The file
// is still correct, but a reader that finds frames by their 7-byte sync information (FFmpeg's
// own demuxer does) only sees such a frame in the next packet, gives it that packet's
// timestamp, and two frames then share one timestamp.
//
// The multiplexer cuts a packet exactly where a unit handed to it ends when the packet would
// hold nothing but the rest of that unit, and then carries no timestamp (5 bytes more
// payload). So a grouper holds a few frames back and hands some of them over joined into one
// unit, chosen so that no frame header is split and every packet's timestamp still belongs to
// the first frame that starts in it. The layout model below mirrors the multiplexer's cutting.

#include <cstdint>
#include <deque>
#include <functional>
#include <vector>

#include "production/MclFFmpeg.h"

namespace velmora::mcl {

/// How the multiplexer cuts one audio stream into PES payloads.
struct TPesGeometry {
    int Payload = 0;       ///< bytes of a packet that carries a timestamp
    int PayloadNoPts = 0;  ///< bytes of a packet without one
    int FirstLess = 0;     ///< the stream's first packet carries this much less
    int HeaderBytes = 0;   ///< a frame needs this many bytes to be recognised
};

/// The DVD multiplexer's AC-3 packets for a pack size (2048 on DVD).
TPesGeometry DvdAc3Geometry(int packSize) noexcept;

/// One unit handed to the multiplexer: the sizes of the frames joined in it.
using TPesUnit = std::vector<int>;

/// Follows the multiplexer's cutting over the units handed to it so far.
class TPesLayout {
public:
    explicit TPesLayout(const TPesGeometry& geometry) : FGeometry(geometry) {}

    /// Whether the packets that the committed units and `units` after them determine are all
    /// sound: no frame header split and every timestamp on the first frame starting in its
    /// packet. atEnd: nothing follows, the last packet ends with the data.
    bool Sound(const std::vector<TPesUnit>& units, bool atEnd) const;
    /// Takes a unit as handed to the multiplexer.
    void Commit(const TPesUnit& unit);
    /// Packet starts (stream byte positions) of the packets determined so far.
    const std::vector<std::int64_t>& PacketStarts() const noexcept { return FStarts; }

private:
    struct TUnit {
        std::int64_t Start;
        std::vector<int> Frames;
        std::int64_t End() const;
    };
    struct TCursor {
        std::int64_t Packet = 0;  // where the next packet starts
        bool First = true;
        std::size_t Unit = 0;  // index of the unit holding byte Packet
    };
    // Cuts the packets the units determine from cursor on; false at the first unsound one.
    // Every determined packet start goes to starts when it is not null.
    bool Cut(const std::vector<TUnit>& units, TCursor& cursor, bool atEnd,
             std::vector<std::int64_t>* starts) const;

    TPesGeometry FGeometry;
    std::vector<TUnit> FUnits;  // committed, from the one holding the cursor on
    TCursor FCursor;
    std::vector<std::int64_t> FStarts;
};

/// Holds an AC-3 stream's packets back and writes them, joined where needed, through write.
class TAudioPesGrouper {
public:
    using TWrite = std::function<void(AVPacket*)>;
    TAudioPesGrouper(const TPesGeometry& geometry, TWrite write);

    /// Takes over one encoded frame (its timestamps in the stream's time base).
    void Add(AVPacket* frame);
    /// Writes every frame still held.
    void Finish();

private:
    // Writes the first `count` held frames as one unit.
    void WriteUnit(std::size_t count);
    // The size of the next unit that leaves a sound layout for the held frames.
    std::size_t ChooseUnit(bool atEnd) const;

    TPesLayout FLayout;
    TWrite FWrite;
    std::deque<TPacketPtr> FHeld;
};

}  // namespace velmora::mcl
