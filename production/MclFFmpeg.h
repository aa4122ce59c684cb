#pragma once
// The FFmpeg handles of the media conversion layer, and the translation of FFmpeg's error
// codes into exceptions.

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/audio_fifo.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#include "base/Errors.h"
#include "base/FfmpegHandles.h"

namespace velmora::mcl {

/// An input file opened with avformat_open_input.
using TInputPtr = TFormatContextPtr;

/// FFmpeg's text for an AVERROR code.
std::string AvErrorText(int code);

/// A failure inside FFmpeg (encoder, muxer, decoder); carries the AVERROR code.
class AvError : public Error {
public:
    AvError(const std::string& what, int code);
    int Code() const noexcept { return FCode; }

private:
    int FCode;
};

/// Throws AvError "<what>: <FFmpeg's text>" when code is negative; returns code otherwise.
int AvCheck(int code, const char* what);

/// A new frame; throws std::bad_alloc when FFmpeg has no memory.
TFramePtr MakeFrame();
TPacketPtr MakePacket();

}  // namespace velmora::mcl
