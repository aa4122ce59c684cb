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
// The multiplexer gives a packet whose first frame carries a decoding time apart from its
// presentation time a 5-byte longer header, so that packet holds 5 bytes less and every
// packet after it moves. An aligner holds a few frames back and marks some of them to be
// decoded one clock tick (1/90000 s) before they are presented, chosen so that no frame
// header is split. Frames stay whole and in their own packets, so every packet's timestamp,
// frame count and first frame pointer stay exact. The layout model mirrors the multiplexer.

#include <cstdint>
#include <deque>
#include <functional>
#include <vector>

#include "production/MclFFmpeg.h"

namespace velmora::mcl {

/// How the multiplexer cuts one audio stream into PES payloads.
struct TPesGeometry {
    int Payload = 0;         ///< bytes of a packet whose timestamp is a presentation time only
    int DtsBytes = 0;        ///< bytes less when the timestamp also holds a decoding time
    int TimestampBytes = 0;  ///< bytes of a presentation time
    int FirstLess = 0;       ///< the stream's first packet carries this much less
    int HeaderBytes = 0;     ///< a frame needs this many bytes to be recognised
};

/// The DVD multiplexer's AC-3 packets for a pack size (2048 on DVD).
TPesGeometry DvdAc3Geometry(int packSize) noexcept;

/// A frame handed to the multiplexer: its size and whether it is marked early.
struct TPesFrame {
    int Size = 0;
    bool Early = false;
};

/// Follows the multiplexer's cutting over the frames handed to it so far.
class TPesLayout {
public:
    explicit TPesLayout(const TPesGeometry& geometry) : FGeometry(geometry) {}

    /// Whether the packets that the committed frames and `frames` after them determine are all
    /// free of split frame headers. atEnd: nothing follows, the last packet ends with the data.
    bool Sound(const std::vector<TPesFrame>& frames, bool atEnd) const;
    /// Takes a frame as handed to the multiplexer.
    void Commit(const TPesFrame& frame);

private:
    struct TPlaced {
        std::int64_t Start;
        TPesFrame Frame;
        std::int64_t End() const { return Start + Frame.Size; }
    };
    struct TCursor {
        std::int64_t Packet = 0;  // where the next packet starts
        bool First = true;
        std::size_t Frame = 0;  // index of the frame holding byte Packet
    };
    // Cuts the packets the frames determine from cursor on. When check is set, stops at the
    // first unsound packet and returns false; otherwise cuts them all.
    bool Cut(const std::vector<TPlaced>& frames, TCursor& cursor, bool atEnd, bool check) const;

    TPesGeometry FGeometry;
    std::vector<TPlaced> FFrames;  // committed, from the one holding the cursor on
    TCursor FCursor;
};

/// Holds an AC-3 stream's packets back and writes them through write, marking some early.
class TAudioPesAligner {
public:
    using TWrite = std::function<void(AVPacket*)>;
    TAudioPesAligner(const TPesGeometry& geometry, TWrite write);

    /// Takes over one encoded frame (its timestamps in the stream's 90 kHz time base).
    void Add(AVPacket* frame);
    /// Writes every frame still held.
    void Finish();

private:
    // Whether the first held frame must be marked for the held frames to be cut soundly.
    bool ChooseEarly(bool atEnd) const;
    void WriteFirst(bool early);

    TPesLayout FLayout;
    TWrite FWrite;
    std::deque<TPacketPtr> FHeld;
};

}  // namespace velmora::mcl
