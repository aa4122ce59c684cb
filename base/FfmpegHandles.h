#pragma once
// Owning pointers for the FFmpeg handles of the audio engine and the media conversion layer.
// Each deleter is stateless, so the pointers stay the size of a raw pointer.

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/tx.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#include <memory>

namespace velmora {

struct TFormatContextCloser {
    void operator()(AVFormatContext* p) const noexcept { avformat_close_input(&p); }
};
struct TCodecContextFreer {
    void operator()(AVCodecContext* p) const noexcept { avcodec_free_context(&p); }
};
struct TFrameFreer {
    void operator()(AVFrame* p) const noexcept { av_frame_free(&p); }
};
struct TPacketFreer {
    void operator()(AVPacket* p) const noexcept { av_packet_free(&p); }
};
struct TSwrFreer {
    void operator()(SwrContext* p) const noexcept { swr_free(&p); }
};
struct TSwsFreer {
    void operator()(SwsContext* p) const noexcept { sws_freeContext(p); }
};
/// Closes an output context's file (if open) and frees the context. Writing the trailer is
/// the owner's business; this only releases.
struct TOutputCloser {
    void operator()(AVFormatContext* p) const noexcept {
        if (p->pb != nullptr && !(p->oformat->flags & AVFMT_NOFILE)) avio_closep(&p->pb);
        avformat_free_context(p);
    }
};
struct TTxFreer {
    void operator()(AVTXContext* p) const noexcept { av_tx_uninit(&p); }
};

/// An opened input file (avformat_open_input / avformat_close_input).
using TFormatContextPtr = std::unique_ptr<AVFormatContext, TFormatContextCloser>;
/// A decoder context.
using TCodecContextPtr = std::unique_ptr<AVCodecContext, TCodecContextFreer>;
using TFramePtr = std::unique_ptr<AVFrame, TFrameFreer>;
using TPacketPtr = std::unique_ptr<AVPacket, TPacketFreer>;
/// A resampler context.
using TSwrPtr = std::unique_ptr<SwrContext, TSwrFreer>;
/// A scaler context.
using TSwsPtr = std::unique_ptr<SwsContext, TSwsFreer>;
/// An output file being written (avformat_alloc_output_context2 / avio_open).
using TOutputPtr = std::unique_ptr<AVFormatContext, TOutputCloser>;
/// A transform context of av_tx.
using TTxPtr = std::unique_ptr<AVTXContext, TTxFreer>;

}  // namespace velmora
