#include "production/MclHdPreset.h"

#include <iterator>

namespace velmora::mcl {

namespace {

// Why these values:
// - High profile, level 4.0: every phone, television and browser of the last decade decodes
//   it, and level 4.0 covers 1920 x 1080 at 25 frames per second with up to 25 Mbit/s.
// - CRF 20: visually clean photographs; slide shows are mostly still frames, which cost
//   almost nothing after their first, so the files stay small (about 1 to 3 Mbit/s).
// - Peak 10 Mbit/s in a 20 Mbit buffer: a detailed picture entering with a busy transition
//   cannot exceed what the level (and a USB stick played on a television) allows.
// - "veryfast": about three times the speed of "medium" for a few per cent more bits on
//   this content; "stillimage" tunes the psychovisual settings for photographs.
// - A key frame at least every 5 seconds (125 frames): seeking stays quick, and x264 adds
//   one at every picture that enters by a cut.
constexpr TH264Settings Settings{.Speed = "veryfast",
                                 .Tune = "stillimage",
                                 .Crf = 20,
                                 .Profile = "high",
                                 .Level = "4.0",
                                 .MaxRate = 10000000,
                                 .BufferSize = 20000000,
                                 .Gop = 125,
                                 .AudioBitRate = 192000};

// Input size = encoded size, square pixels, AAC-LC 48 kHz stereo. The MPEG-only fields
// (scan offsets, quantiser scale, packet size, mux rate, preload) stay zero.
constexpr TPreset HdPreset(const char* name, int width, int height) {
    return TPreset{.Name = name,
                   .Muxer = "mp4",
                   .InputWidth = width,
                   .InputHeight = height,
                   .Width = width,
                   .Height = height,
                   .VideoCodec = AV_CODEC_ID_H264,
                   .VideoBitRate = 0,
                   .MaxRate = Settings.MaxRate,
                   .MinRate = 0,
                   .BufferSize = Settings.BufferSize,
                   .Gop = Settings.Gop,
                   .ScanOffset = false,
                   .NonLinearQuant = false,
                   .SampleAspect = {1, 1},
                   .AudioCodec = AV_CODEC_ID_AAC,
                   .SampleRate = 48000,
                   .AudioBitRate = Settings.AudioBitRate,
                   .PacketSize = 0,
                   .MuxRate = 0,
                   .PreloadMicros = 0};
}

constexpr TPreset Presets[] = {HdPreset("MP4 720p", 1280, 720), HdPreset("MP4 1080p", 1920, 1080)};

}  // namespace

const TH264Settings& H264Settings() noexcept { return Settings; }

const TPreset* FindHdPreset(int number) noexcept {
    const int index = number - PresetMp4_720p;
    if (index < 0 || index >= int(std::size(Presets))) return nullptr;
    return &Presets[index];
}

void ConfigureH264(AVCodecContext* c, AVDictionary** options) {
    c->gop_size = Settings.Gop;
    c->rc_max_rate = Settings.MaxRate;
    c->rc_buffer_size = Settings.BufferSize;
    // x264 picks its own thread count and runs whole frames in parallel, as ffmpeg's command
    // line lets it.
    c->thread_count = 0;
    c->thread_type = FF_THREAD_FRAME;
    c->color_primaries = AVCOL_PRI_BT709;
    c->color_trc = AVCOL_TRC_BT709;
    c->colorspace = AVCOL_SPC_BT709;
    c->color_range = AVCOL_RANGE_MPEG;
    av_dict_set(options, "preset", Settings.Speed, 0);
    av_dict_set(options, "tune", Settings.Tune, 0);
    av_dict_set_int(options, "crf", Settings.Crf, 0);
    av_dict_set(options, "profile", Settings.Profile, 0);
    av_dict_set(options, "level", Settings.Level, 0);
}

void SetMp4MuxerOptions(AVDictionary** options) {
    av_dict_set(options, "movflags", "+faststart", 0);
}

}  // namespace velmora::mcl
