#include "production/MclOutput.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>

#include "production/MclHdPreset.h"

extern "C" {
#include <libavutil/opt.h>
}

namespace velmora::mcl {

namespace {

constexpr int Channels = 2;
constexpr AVRational FrameRate{25, 1};

const AVCodec* FindEncoder(AVCodecID id) {
    const AVCodec* codec = avcodec_find_encoder(id);
    if (codec == nullptr) {
        throw Error(std::string("FFmpeg has no encoder for ") + avcodec_get_name(id));
    }
    return codec;
}

TCodecContextPtr MakeCodecContext(const AVCodec* codec) {
    TCodecContextPtr context(avcodec_alloc_context3(codec));
    if (!context) throw std::bad_alloc();
    return context;
}

AVStream* AddStream(AVFormatContext* context) {
    AVStream* stream = avformat_new_stream(context, nullptr);
    if (stream == nullptr) throw std::bad_alloc();
    stream->id = int(context->nb_streams) - 1;
    return stream;
}

// The encoder's sample format: MP2 takes interleaved 16-bit, AC-3 planar float.
AVSampleFormat ChooseSampleFormat(const AVCodec* codec) {
    for (const AVSampleFormat* f = codec->sample_fmts; f && *f != AV_SAMPLE_FMT_NONE; ++f) {
        if (*f == AV_SAMPLE_FMT_FLTP || *f == AV_SAMPLE_FMT_S16 || *f == AV_SAMPLE_FMT_FLT) {
            return *f;
        }
    }
    throw Error(std::string("no usable sample format for ") + codec->name);
}

// The encoder's buffer model (bit rates, VBV size) goes to the stream, where the multiplexer
// takes the buffer bounds of the system header from it.
void CopyCodedSideData(const AVCodecContext* codec, AVStream* stream) {
    for (int i = 0; i < codec->nb_coded_side_data; ++i) {
        const AVPacketSideData& source = codec->coded_side_data[i];
        std::uint8_t* data = av_stream_new_side_data(stream, source.type, source.size);
        if (data == nullptr) throw std::bad_alloc();
        std::memcpy(data, source.data, source.size);
    }
}

}  // namespace

void TOutputStream::Encode(AVFormatContext* context, AVFrame* frame) {
    AvCheck(avcodec_send_frame(Codec.get(), frame), "cannot encode");
    for (;;) {
        int ret = avcodec_receive_packet(Codec.get(), Packet.get());
        if (ret == AVERROR(EAGAIN) || ret == AVERROR_EOF) return;
        AvCheck(ret, "encoder failed");
        if (Packet->duration == 0 && Codec->codec_id == AV_CODEC_ID_H264) {
            // MP4 ends the video's edit list after the last frame's duration; x264's packets
            // come without one, which would cut the last frame.
            Packet->duration = 1;
        }
        av_packet_rescale_ts(Packet.get(), Codec->time_base, Stream->time_base);
        Packet->stream_index = Stream->index;
        if (Aligner) {
            Aligner->Add(Packet.get());
            continue;
        }
        // The muxer takes over the packet's data and leaves Packet blank.
        AvCheck(av_interleaved_write_frame(context, Packet.get()), "cannot write the file");
    }
}

TFrameConverter::TFrameConverter(const TPreset& preset) : FPreset(preset) {
    FSws.reset(sws_getContext(preset.InputWidth, preset.InputHeight, AV_PIX_FMT_BGR24, preset.Width,
                              preset.Height, AV_PIX_FMT_YUV420P, SWS_BICUBIC, nullptr, nullptr,
                              nullptr));
    if (!FSws) throw Error("cannot set up the picture conversion");
    if (IsHdPreset(preset)) {
        // HD video is described as BT.709 (ConfigureH264), so its YUV is made with those
        // coefficients, limited range.
        const int* bt709 = sws_getCoefficients(SWS_CS_ITU709);
        sws_setColorspaceDetails(FSws.get(), bt709, 1, bt709, 0, 0, 1 << 16, 1 << 16);
    }
}

TFramePtr TFrameConverter::Convert(const Bitmap& bitmap) {
    TFramePtr picture = MakeFrame();
    picture->format = AV_PIX_FMT_YUV420P;
    picture->width = FPreset.Width;
    picture->height = FPreset.Height;
    AvCheck(av_frame_get_buffer(picture.get(), 0), "cannot allocate a picture");
    const std::uint8_t* source[1] = {bitmap.Bits()};
    const int sourceStride[1] = {bitmap.Stride()};
    sws_scale(FSws.get(), source, sourceStride, 0, bitmap.Height(), picture->data,
              picture->linesize);
    return picture;
}

TOutput::TOutput(const TPreset& preset, int encoderThreads) : FPreset(preset) {
    AVFormatContext* raw = nullptr;
    AvCheck(avformat_alloc_output_context2(&raw, nullptr, preset.Muxer, nullptr),
            "cannot set up the multiplexer");
    FContext.reset(raw);
    FContext->packet_size = unsigned(preset.PacketSize);
    FContext->max_delay = AV_TIME_BASE * 7 / 10;
    OpenVideo(encoderThreads);
    OpenAudio();
}

void TOutput::Create(const std::string& path) {
    FPath = path;
    int ret = avio_open(&FContext->pb, path.c_str(), AVIO_FLAG_WRITE);
    if (ret < 0) throw IoError("cannot create the output file", path, AVUNERROR(ret));
    FFileCreated = true;
    AVDictionary* options = nullptr;
    if (FPreset.MuxRate > 0) av_dict_set_int(&options, "muxrate", FPreset.MuxRate, 0);
    if (IsHdPreset(FPreset)) {
        // Moving the index to the front makes the muxer reopen the file by its name.
        av_freep(&FContext->url);
        FContext->url = av_strdup(path.c_str());
        if (FContext->url == nullptr) throw std::bad_alloc();
        SetMp4MuxerOptions(&options);
    } else {
        av_dict_set_int(&options, "preload", FPreset.PreloadMicros, 0);
    }
    ret = avformat_write_header(FContext.get(), &options);
    av_dict_free(&options);
    AvCheck(ret, "cannot write the file header");
}

void TOutput::OpenVideo(int encoderThreads) {
    const AVCodec* codec = FindEncoder(FPreset.VideoCodec);
    FVideo.Stream = AddStream(FContext.get());
    FVideo.Codec = MakeCodecContext(codec);
    FVideo.Packet = MakePacket();
    AVCodecContext* c = FVideo.Codec.get();
    c->width = FPreset.Width;
    c->height = FPreset.Height;
    c->pix_fmt = AV_PIX_FMT_YUV420P;
    c->time_base = av_inv_q(FrameRate);
    c->framerate = FrameRate;
    c->sample_aspect_ratio = FPreset.SampleAspect;
    if (FContext->oformat->flags & AVFMT_GLOBALHEADER) c->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    if (IsHdPreset(FPreset)) {
        AVDictionary* options = nullptr;
        ConfigureH264(c, &options);
        const int ret = avcodec_open2(c, codec, &options);
        av_dict_free(&options);
        AvCheck(ret, "cannot open the video encoder");
        DescribeVideoStream();
        return;
    }
    c->gop_size = FPreset.Gop;
    c->max_b_frames = 0;
    c->bit_rate = FPreset.VideoBitRate;
    c->rc_max_rate = FPreset.MaxRate;
    c->rc_min_rate = FPreset.MinRate;
    c->rc_buffer_size = FPreset.BufferSize;
    c->thread_count = std::max(1, encoderThreads);
    c->thread_type = FF_THREAD_SLICE;
    if (FPreset.ScanOffset) av_opt_set_int(c->priv_data, "scan_offset", 1, 0);
    if (FPreset.NonLinearQuant) {
        // MPEG-2's non-linear quantiser scale reaches 96 instead of 62 (FFmpeg allows it up
        // to index 28): the room the rate control needs to keep very detailed frames within
        // the buffer.
        // The finest step stays 4, as on the linear scale's default floor (2 x 2): finer steps
        // only spend bits on invisible detail and slow the encoder.
        av_opt_set_int(c->priv_data, "non_linear_quant", 1, 0);
        c->qmin = 4;
        c->qmax = 28;
    }
    AvCheck(avcodec_open2(c, codec, nullptr), "cannot open the video encoder");
    DescribeVideoStream();
}

void TOutput::DescribeVideoStream() {
    const AVCodecContext* c = FVideo.Codec.get();
    AvCheck(avcodec_parameters_from_context(FVideo.Stream->codecpar, c),
            "cannot describe the video stream");
    FVideo.Stream->time_base = c->time_base;
    FVideo.Stream->sample_aspect_ratio = c->sample_aspect_ratio;
    CopyCodedSideData(c, FVideo.Stream);
}

void TOutput::OpenAudio() {
    const AVCodec* codec = FindEncoder(FPreset.AudioCodec);
    FAudio.Stream = AddStream(FContext.get());
    FAudio.Codec = MakeCodecContext(codec);
    FAudio.Packet = MakePacket();
    AVCodecContext* c = FAudio.Codec.get();
    c->sample_fmt = ChooseSampleFormat(codec);
    c->sample_rate = FPreset.SampleRate;
    c->bit_rate = FPreset.AudioBitRate;
    av_channel_layout_default(&c->ch_layout, Channels);
    c->time_base = AVRational{1, FPreset.SampleRate};
    if (FContext->oformat->flags & AVFMT_GLOBALHEADER) c->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    AvCheck(avcodec_open2(c, codec, nullptr), "cannot open the audio encoder");
    AvCheck(avcodec_parameters_from_context(FAudio.Stream->codecpar, c),
            "cannot describe the audio stream");
    FAudio.Stream->time_base = c->time_base;
    if (c->codec_id == AV_CODEC_ID_AC3 && std::strcmp(FPreset.Muxer, "dvd") == 0) {
        AVFormatContext* context = FContext.get();
        FAudio.Aligner = std::make_unique<TAudioPesAligner>(
            DvdAc3Geometry(FPreset.PacketSize), [context](AVPacket* packet) {
                AvCheck(av_interleaved_write_frame(context, packet), "cannot write the file");
            });
    }

    FAudioFrame = MakeFrame();
    FAudioFrame->format = c->sample_fmt;
    FAudioFrame->sample_rate = c->sample_rate;
    FAudioFrame->nb_samples = c->frame_size;
    AvCheck(av_channel_layout_copy(&FAudioFrame->ch_layout, &c->ch_layout), "audio layout");
    AvCheck(av_frame_get_buffer(FAudioFrame.get(), 0), "cannot allocate audio");
}

void TOutput::WriteVideo(TFramePtr picture) {
    picture->pts = FVideo.NextPts++;
    FVideo.Encode(FContext.get(), picture.get());
}

void TOutput::WriteAudio(const float* samples, std::size_t sampleFrames) {
    FPendingAudio.insert(FPendingAudio.end(), samples, samples + sampleFrames * Channels);
    const std::size_t frameSize = std::size_t(FAudio.Codec->frame_size);
    while (FPendingAudio.size() / Channels - FPendingStart >= frameSize) {
        EncodeAudioFrame(frameSize);
    }
    // Drop what has been encoded once it is a large share of the buffer.
    if (FPendingStart > 16 * frameSize) {
        FPendingAudio.erase(FPendingAudio.begin(),
                            FPendingAudio.begin() + std::ptrdiff_t(FPendingStart * Channels));
        FPendingStart = 0;
    }
}

// Encodes the next frame of the encoder's size from FPendingAudio; sampleFrames (up to the
// frame size) are real samples, the rest silence.
void TOutput::EncodeAudioFrame(std::size_t sampleFrames) {
    AVFrame* frame = FAudioFrame.get();
    // The encoder may still hold the previous buffer: get a fresh one when it is shared.
    AvCheck(av_frame_make_writable(frame), "cannot allocate audio");
    const float* in = FPendingAudio.data() + FPendingStart * Channels;
    const int size = frame->nb_samples;
    for (int i = 0; i < size; ++i) {
        for (int ch = 0; ch < Channels; ++ch) {
            float v = std::size_t(i) < sampleFrames ? in[i * Channels + ch] : 0.0f;
            v = std::clamp(v, -1.0f, 1.0f);
            switch (frame->format) {
                case AV_SAMPLE_FMT_S16:
                    reinterpret_cast<std::int16_t*>(frame->data[0])[i * Channels + ch] =
                        std::int16_t(std::lrint(v * 32767.0f));
                    break;
                case AV_SAMPLE_FMT_FLT:
                    reinterpret_cast<float*>(frame->data[0])[i * Channels + ch] = v;
                    break;
                default:  // planar float
                    reinterpret_cast<float*>(frame->data[ch])[i] = v;
                    break;
            }
        }
    }
    FPendingStart += sampleFrames;
    frame->pts = FAudio.NextPts;
    FAudio.NextPts += size;
    FAudio.Encode(FContext.get(), frame);
}

void TOutput::Finish() {
    const std::size_t left = FPendingAudio.size() / Channels - FPendingStart;
    if (left > 0) EncodeAudioFrame(left);
    FVideo.Encode(FContext.get(), nullptr);
    FAudio.Encode(FContext.get(), nullptr);
    if (FAudio.Aligner) FAudio.Aligner->Finish();
    AvCheck(av_write_trailer(FContext.get()), "cannot finish the file");
    int ret = avio_closep(&FContext->pb);
    if (ret < 0) throw IoError("cannot close the output file", FPath, AVUNERROR(ret));
}

}  // namespace velmora::mcl
