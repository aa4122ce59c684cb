#pragma once
// The two HD presets of the media conversion layer: H.264 (libx264) and AAC-LC in an MP4 file
// at 1280 x 720 and 1920 x 1080, square pixels, 25 frames per second. The encoder settings
// are chosen for files that every phone, television and browser plays and that stream from
// their first byte.

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/dict.h>
}

#include "production/MclPreset.h"

namespace velmora::mcl {

/// Library preset numbers of the HD presets (after 0 VCD, 1 SVCD, 2 DVD).
constexpr int PresetMp4_720p = 3;
constexpr int PresetMp4_1080p = 4;

/// The settings handed to libx264, the same for both sizes. bench/ hands the same values to
/// ffmpeg's command line as the reference.
struct TH264Settings {
    const char* Speed;    ///< x264's preset
    const char* Tune;     ///< x264's tuning
    int Crf;              ///< constant rate factor (quality)
    const char* Profile;  ///< H.264 profile
    const char* Level;    ///< H.264 level
    long MaxRate;         ///< peak bit/s of the buffer model
    int BufferSize;       ///< bits of the decoder's buffer
    int Gop;              ///< at most this many frames between key frames
    long AudioBitRate;    ///< AAC bit/s
};
const TH264Settings& H264Settings() noexcept;

/// The HD preset for 3 or 4; nullptr for other numbers.
const TPreset* FindHdPreset(int number) noexcept;

/// True for a preset encoded as H.264 in MP4.
inline bool IsHdPreset(const TPreset& preset) noexcept {
    return preset.VideoCodec == AV_CODEC_ID_H264;
}

/// Sets up an opened-to-be libx264 context: rate control, profile, level, GOP, threads and
/// the BT.709 colour description of HD video; encoder options go into options.
void ConfigureH264(AVCodecContext* c, AVDictionary** options);

/// The multiplexer's options of the HD presets: the index (moov) before the media data.
void SetMp4MuxerOptions(AVDictionary** options);

}  // namespace velmora::mcl
