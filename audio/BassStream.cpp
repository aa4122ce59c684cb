#include "audio/BassStream.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>

#include "audio/BassApi.h"

namespace velmora {

namespace {

// Segments kept for the file-position map: several seconds of decoded sound, far more than
// the output holds between decoding and hearing.
constexpr std::size_t MaxSegments = 1024;

// Demuxers a song may come in: MP3 above all, and the plain audio files players accept.
constexpr const char* AllowedFormats = "mp3,wav,ogg,flac";

int OpenError(int averror) {
    return averror == AVERROR(ENOENT) || averror == AVERROR(EACCES) || averror == AVERROR(EISDIR)
               ? BASS_ERROR_FILEOPEN
               : BASS_ERROR_FORMAT;
}

}  // namespace

std::unique_ptr<TBassStream> TBassStream::Open(const std::string& path, int outRate, int& error) {
    std::unique_ptr<TBassStream> s(new TBassStream);
    s->FOutRate = outRate > 0 ? outRate : 44100;
    // Only a regular file is opened: a FIFO or device would block the reader forever.
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
        error = BASS_ERROR_FILEOPEN;
        return nullptr;
    }
    AVFormatContext* format = nullptr;
    // The file is untrusted: only local files (no playlist may reach out to the network or
    // other files) and only plain audio containers. The "file:" prefix keeps a colon in the
    // path from being read as a protocol name.
    AVDictionary* options = nullptr;
    av_dict_set(&options, "protocol_whitelist", "file", 0);
    av_dict_set(&options, "format_whitelist", AllowedFormats, 0);
    int ret = avformat_open_input(&format, ("file:" + path).c_str(), nullptr, &options);
    av_dict_free(&options);
    if (ret < 0) {
        error = OpenError(ret);
        return nullptr;
    }
    s->FFormat.reset(format);
    error = BASS_ERROR_FORMAT;
    if (avformat_find_stream_info(format, nullptr) < 0) return nullptr;
    const AVCodec* decoder = nullptr;
    ret = av_find_best_stream(format, AVMEDIA_TYPE_AUDIO, -1, -1, &decoder, 0);
    if (ret < 0 || !decoder) return nullptr;
    s->FStreamIndex = ret;
    AVStream* stream = format->streams[ret];
    s->FCodec.reset(avcodec_alloc_context3(decoder));
    if (!s->FCodec || avcodec_parameters_to_context(s->FCodec.get(), stream->codecpar) < 0 ||
        avcodec_open2(s->FCodec.get(), decoder, nullptr) < 0) {
        return nullptr;
    }
    s->FRate = s->FCodec->sample_rate;
    if (s->FRate <= 0) return nullptr;
    double seconds = 0;
    if (stream->duration != AV_NOPTS_VALUE && stream->duration > 0) {
        seconds = double(stream->duration) * av_q2d(stream->time_base);
    } else if (format->duration != AV_NOPTS_VALUE && format->duration > 0) {
        seconds = double(format->duration) / AV_TIME_BASE;
    }
    s->FLengthFrames = std::uint64_t(std::llround(seconds * s->FRate));
    const std::int64_t size = format->pb ? avio_size(format->pb) : -1;
    s->FFileSize = size > 0 ? std::uint64_t(size) : 0;
    s->FPacket.reset(av_packet_alloc());
    s->FFrame.reset(av_frame_alloc());
    if (!s->FPacket || !s->FFrame) return nullptr;
    error = BASS_OK;
    return s;
}

int TBassStream::Read(std::int16_t* out, int frames) {
    if (frames <= 0) return 0;
    while (FifoFrames() < std::size_t(frames) && !FDecoderDone) DecodeMore();
    const int n = int(std::min<std::size_t>(std::size_t(frames), FifoFrames()));
    if (n == 0) return 0;
    std::memcpy(out, FFifo.data() + FFifoRead, std::size_t(n) * 2 * sizeof(std::int16_t));
    FFifoRead += std::size_t(n) * 2;
    if (FFifoRead == FFifo.size()) {
        FFifo.clear();
        FFifoRead = 0;
    } else if (FFifoRead > 65536) {
        FFifo.erase(FFifo.begin(), FFifo.begin() + std::ptrdiff_t(FFifoRead));
        FFifoRead = 0;
    }
    return n;
}

void TBassStream::DecodeMore() {
    if (!FInputDone) {
        const int ret = av_read_frame(FFormat.get(), FPacket.get());
        if (ret < 0) {
            // End of file or a read error: either way the input is over; drain the decoder.
            FInputDone = true;
            avcodec_send_packet(FCodec.get(), nullptr);
        } else if (FPacket->stream_index != FStreamIndex) {
            av_packet_unref(FPacket.get());
            return;
        } else {
            FPacketPos = FPacket->pos;
            FPacketSize = FPacket->size;
            // A damaged packet is refused by the decoder; the next one goes on.
            avcodec_send_packet(FCodec.get(), FPacket.get());
            av_packet_unref(FPacket.get());
        }
    }
    ReceiveFrames();
}

void TBassStream::ReceiveFrames() {
    for (;;) {
        const int ret = avcodec_receive_frame(FCodec.get(), FFrame.get());
        if (ret == AVERROR(EAGAIN)) return;
        if (ret == AVERROR_EOF || (ret < 0 && FInputDone)) {
            FlushResampler();
            FDecoderDone = true;
            return;
        }
        if (ret < 0) return;  // a frame the decoder could not make; go on with the next packet
        HandleFrame(*FFrame);
        av_frame_unref(FFrame.get());
    }
}

void TBassStream::HandleFrame(AVFrame& frame) {
    if (frame.nb_samples <= 0 || frame.sample_rate <= 0) return;
    const AVStream* stream = FFormat->streams[FStreamIndex];
    if (FSyncToPts) {
        FSyncToPts = false;
        const std::int64_t pts = frame.best_effort_timestamp;
        if (pts != AV_NOPTS_VALUE) {
            const std::int64_t start =
                stream->start_time != AV_NOPTS_VALUE ? stream->start_time : 0;
            const std::int64_t f =
                av_rescale_q(pts - start, stream->time_base, AVRational{1, FRate});
            FNextFrame = std::uint64_t(std::max<std::int64_t>(0, f));
        } else {
            FNextFrame = FSkipUntil;
        }
    }
    // Frames are counted at the file's first rate, even if a damaged file changes rate.
    const std::uint64_t count =
        frame.sample_rate == FRate
            ? std::uint64_t(frame.nb_samples)
            : std::uint64_t(av_rescale(frame.nb_samples, FRate, frame.sample_rate));
    const std::uint64_t start = FNextFrame;
    FNextFrame += count;
    if (FPacketPos >= 0) {
        FSegments.push_back({start, count, FPacketPos, FPacketSize});
        FLastFilePos = FPacketPos + FPacketSize;
        if (FSegments.size() > MaxSegments) FSegments.pop_front();
    }
    if (FNextFrame <= FSkipUntil) return;  // wholly before the seek target
    std::uint64_t skip = 0;
    if (start < FSkipUntil) {
        skip = FSkipUntil - start;
        if (frame.sample_rate != FRate)
            skip = std::uint64_t(av_rescale(std::int64_t(skip), frame.sample_rate, FRate));
    }
    if (!FOutputBaseSet) {
        FOutputBase = std::max(start, FSkipUntil);
        FOutputBaseSet = true;
    }
    FSkipUntil = 0;
    if (EnsureResampler(frame))
        Convert(frame, int(std::min<std::uint64_t>(skip, frame.nb_samples)));
}

bool TBassStream::EnsureResampler(const AVFrame& frame) {
    if (FSwr && frame.format == FSwrFormat && frame.sample_rate == FSwrRate &&
        frame.ch_layout.nb_channels == FSwrChannels) {
        return true;
    }
    FSwr.reset();
    AVChannelLayout stereo = AV_CHANNEL_LAYOUT_STEREO;
    AVChannelLayout in{};
    if (av_channel_layout_check(&frame.ch_layout) && frame.ch_layout.nb_channels > 0) {
        av_channel_layout_copy(&in, &frame.ch_layout);
    } else {
        av_channel_layout_default(&in, std::max(1, frame.ch_layout.nb_channels));
    }
    SwrContext* swr = nullptr;
    int ret = swr_alloc_set_opts2(&swr, &stereo, AV_SAMPLE_FMT_S16, FOutRate, &in,
                                  AVSampleFormat(frame.format), frame.sample_rate, 0, nullptr);
    FSwr.reset(swr);
    if (ret >= 0 && in.nb_channels == 1) {
        // A mono file plays at full level on both sides, not 3 dB lower.
        const double matrix[2] = {1.0, 1.0};
        ret = swr_set_matrix(swr, matrix, 1);
    }
    av_channel_layout_uninit(&in);
    if (ret < 0 || swr_init(swr) < 0) {
        FSwr.reset();
        return false;
    }
    FSwrFormat = frame.format;
    FSwrRate = frame.sample_rate;
    FSwrChannels = frame.ch_layout.nb_channels;
    return true;
}

void TBassStream::Convert(const AVFrame& frame, int skip) {
    const AVSampleFormat format = AVSampleFormat(frame.format);
    const int bytes = av_get_bytes_per_sample(format);
    const bool planar = av_sample_fmt_is_planar(format);
    const int channels = frame.ch_layout.nb_channels;
    FPlanes.assign(std::size_t(planar ? channels : 1), nullptr);
    for (std::size_t p = 0; p < FPlanes.size(); ++p) {
        FPlanes[p] = frame.extended_data[p] + std::size_t(skip) * bytes * (planar ? 1 : channels);
    }
    const std::uint8_t** in = FPlanes.data();
    const int inCount = frame.nb_samples - skip;
    const int outMax = swr_get_out_samples(FSwr.get(), inCount);
    if (outMax <= 0) return;
    FConvertBuffer.resize(std::size_t(outMax) * 2);
    std::uint8_t* out[1] = {reinterpret_cast<std::uint8_t*>(FConvertBuffer.data())};
    const int n = swr_convert(FSwr.get(), out, outMax, in, inCount);
    if (n > 0) FFifo.insert(FFifo.end(), FConvertBuffer.begin(), FConvertBuffer.begin() + 2 * n);
}

void TBassStream::FlushResampler() {
    if (!FSwr) return;
    const int outMax = swr_get_out_samples(FSwr.get(), 0);
    if (outMax <= 0) return;
    FConvertBuffer.resize(std::size_t(outMax) * 2);
    std::uint8_t* out[1] = {reinterpret_cast<std::uint8_t*>(FConvertBuffer.data())};
    const int n = swr_convert(FSwr.get(), out, outMax, nullptr, 0);
    if (n > 0) FFifo.insert(FFifo.end(), FConvertBuffer.begin(), FConvertBuffer.begin() + 2 * n);
}

bool TBassStream::Seek(std::uint64_t nativeFrame) {
    const AVStream* stream = FFormat->streams[FStreamIndex];
    const std::int64_t start = stream->start_time != AV_NOPTS_VALUE ? stream->start_time : 0;
    const std::int64_t ts =
        start + av_rescale_q(std::int64_t(nativeFrame), AVRational{1, FRate}, stream->time_base);
    if (av_seek_frame(FFormat.get(), FStreamIndex, ts, AVSEEK_FLAG_BACKWARD) < 0 &&
        avformat_seek_file(FFormat.get(), FStreamIndex, INT64_MIN, ts, INT64_MAX, 0) < 0) {
        return false;
    }
    avcodec_flush_buffers(FCodec.get());
    FSwr.reset();
    FFifo.clear();
    FFifoRead = 0;
    FSegments.clear();
    FInputDone = false;
    FDecoderDone = false;
    FSyncToPts = true;
    FSkipUntil = nativeFrame;
    FNextFrame = nativeFrame;
    FOutputBase = nativeFrame;
    FOutputBaseSet = false;
    FPacketPos = -1;
    // Decode up to the target now, so that the file position of the new place is known
    // before the device asks for its first samples.
    while (!FOutputBaseSet && !FDecoderDone) DecodeMore();
    return true;
}

std::uint64_t TBassStream::FilePosAt(std::uint64_t nativeFrame) const noexcept {
    if (FSegments.empty()) return FDecoderDone ? FFileSize : std::uint64_t(FLastFilePos);
    const TSegment& last = FSegments.back();
    if (nativeFrame >= last.Start + last.Frames) {
        return FDecoderDone ? FFileSize : std::uint64_t(last.FilePos + last.PacketSize);
    }
    if (nativeFrame <= FSegments.front().Start) return std::uint64_t(FSegments.front().FilePos);
    // The segment that holds the frame: the last one starting at or before it.
    auto it = std::upper_bound(FSegments.begin(), FSegments.end(), nativeFrame,
                               [](std::uint64_t f, const TSegment& s) { return f < s.Start; });
    const TSegment& s = *std::prev(it);
    const std::uint64_t within = std::min(nativeFrame - s.Start, s.Frames);
    const std::uint64_t offset =
        s.Frames ? within * std::uint64_t(std::max<std::int64_t>(0, s.PacketSize)) / s.Frames : 0;
    return std::uint64_t(s.FilePos) + offset;
}

}  // namespace velmora
