#pragma once
// Owning types for the FFmpeg handles of the media conversion layer, and the translation of
// FFmpeg's error codes into exceptions.

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

namespace velmora::mcl {

struct TCodecContextDeleter {
    void operator()(AVCodecContext* p) const noexcept { avcodec_free_context(&p); }
};
struct TFrameDeleter {
    void operator()(AVFrame* p) const noexcept { av_frame_free(&p); }
};
struct TPacketDeleter {
    void operator()(AVPacket* p) const noexcept { av_packet_free(&p); }
};
struct TSwsDeleter {
    void operator()(SwsContext* p) const noexcept { sws_freeContext(p); }
};
struct TSwrDeleter {
    void operator()(SwrContext* p) const noexcept { swr_free(&p); }
};
/// An input file opened with avformat_open_input.
struct TInputDeleter {
    void operator()(AVFormatContext* p) const noexcept { avformat_close_input(&p); }
};
/// An output context: closes its file (if open) and frees the context. Writing the trailer is
/// the owner's business; this only releases.
struct TOutputDeleter {
    void operator()(AVFormatContext* p) const noexcept {
        if (p->pb != nullptr && !(p->oformat->flags & AVFMT_NOFILE)) avio_closep(&p->pb);
        avformat_free_context(p);
    }
};

using TCodecContextPtr = std::unique_ptr<AVCodecContext, TCodecContextDeleter>;
using TFramePtr = std::unique_ptr<AVFrame, TFrameDeleter>;
using TPacketPtr = std::unique_ptr<AVPacket, TPacketDeleter>;
using TSwsPtr = std::unique_ptr<SwsContext, TSwsDeleter>;
using TSwrPtr = std::unique_ptr<SwrContext, TSwrDeleter>;
using TInputPtr = std::unique_ptr<AVFormatContext, TInputDeleter>;
using TOutputPtr = std::unique_ptr<AVFormatContext, TOutputDeleter>;

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
