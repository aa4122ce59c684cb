#pragma once
// The three output presets of the media conversion layer: the parameters of the VCD, SVCD and
// DVD standards (PAL, 25 frames per second) for the encoders and the multiplexer.

#include <cstdint>

extern "C" {
#include <libavcodec/codec_id.h>
#include <libavutil/rational.h>
}

namespace velmora::mcl {

struct TPreset {
    const char* Name;   ///< "VCD", "SVCD", "DVD"
    const char* Muxer;  ///< FFmpeg's muxer that writes the standard's pack layout
    int InputWidth;     ///< size of the frames handed in by the video source
    int InputHeight;
    int Width;  ///< size of the encoded picture
    int Height;
    AVCodecID VideoCodec;
    long VideoBitRate;  ///< average (the constant rate when MinRate = MaxRate)
    long MaxRate;       ///< bit/s the decoder's buffer is filled at
    long MinRate;
    int BufferSize;           ///< the decoder's video buffer in bits (VBV)
    int Gop;                  ///< frames from one I-frame to the next
    bool ScanOffset;          ///< SVCD scan information offsets in the user data
    bool NonLinearQuant;      ///< MPEG-2 non-linear quantiser scale (coarser steps available)
    AVRational SampleAspect;  ///< pixel shape that gives a 4:3 picture
    AVCodecID AudioCodec;
    int SampleRate;
    long AudioBitRate;
    int PacketSize;     ///< pack size of the program stream
    int MuxRate;        ///< bit/s of the program stream; 0 = worked out by the muxer
    int PreloadMicros;  ///< delay of the first timestamps behind the first pack
};

/// The preset for 0 (VCD), 1 (SVCD), 2 (DVD), 3 (MP4 720p) or 4 (MP4 1080p); nullptr for
/// other numbers.
const TPreset* FindPreset(int number) noexcept;

}  // namespace velmora::mcl
