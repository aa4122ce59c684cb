#include "production/MclPreset.h"

#include <iterator>

namespace velmora::mcl {

namespace {

// Values of the standards as ffmpeg's "-target pal-vcd|pal-svcd|pal-dvd" sets them, except
// where noted. The MPEG-2 presets use the non-linear quantiser scale: with ffmpeg's linear
// scale the SVCD rate control runs out of room on very detailed frames ("rc buffer
// underflow"). Every stream shows a 4:3 picture: the sample aspect is 4/3 divided by the
// picture's width/height.
constexpr TPreset Presets[] = {
    // VCD: constant 1150 kbit/s, a 40 KiB buffer, 2324-byte Mode 2 Form 2 sectors at 75 per
    // second (2352 x 75 x 8 = 1411200 bit/s); the first data pack starts at SCR 36000 +
    // 3 x 1200, hence the 0.44 s preload.
    {"VCD",    "vcd",           320,     288,    352,  288,     AV_CODEC_ID_MPEG1VIDEO,
     1150000,  1150000,         1150000, 327680, 15,   false,   false,
     {12, 11}, AV_CODEC_ID_MP2, 44100,   224000, 2324, 1411200, 440000},
    // SVCD: the standard allows 2.6 Mbit/s for the whole stream, audio and packing
    // included, and the packs declare that rate. Video may peak at 2.3 Mbit/s: with the
    // 224 kbit/s audio and about 1.5 % of pack and packet headers the total stays within
    // 2.6 Mbit/s in every second. A 224 KiB buffer.
    {"SVCD",  "svcd",          480,   576,     480,  576,     AV_CODEC_ID_MPEG2VIDEO,
     2040000, 2300000,         0,     1835008, 15,   true,    true,
     {8, 5},  AV_CODEC_ID_MP2, 44100, 224000,  2324, 2600000, 500000},
    // DVD: variable rate up to 9 Mbit/s video, 2048-byte packs, 10.08 Mbit/s program stream.
    // AC-3 (the audio every DVD player must decode) at ffmpeg's 448 kbit/s.
    {"DVD",    "dvd",           720,   576,     720,  576,      AV_CODEC_ID_MPEG2VIDEO,
     6000000,  9000000,         0,     1835008, 15,   false,    true,
     {16, 15}, AV_CODEC_ID_AC3, 48000, 448000,  2048, 10080000, 500000},
};

}  // namespace

const TPreset* FindPreset(int number) noexcept {
    if (number < 0 || number >= int(std::size(Presets))) return nullptr;
    return &Presets[number];
}

}  // namespace velmora::mcl
