#include "production/MclSongs.h"

#include <algorithm>
#include <cerrno>

#include "base/RegularFile.h"

namespace velmora::mcl {

namespace {

constexpr int Channels = 2;
// A source that keeps naming songs none of which decodes would never end the soundtrack.
constexpr int MaxSkippedInARow = 1000;

// Songs are MP3 files; the demuxer is fixed so that no other format's parser sees them.
TInputPtr OpenMp3(const std::string& path) {
    RequireRegularFile(path);  // a FIFO or device would block the reader forever
    const AVInputFormat* mp3 = av_find_input_format("mp3");
    AVFormatContext* raw = nullptr;
    int ret = avformat_open_input(&raw, path.c_str(), mp3, nullptr);
    if (ret < 0) throw IoError("cannot open the song", path, AVUNERROR(ret));
    TInputPtr input(raw);
    ret = avformat_find_stream_info(input.get(), nullptr);
    if (ret < 0) throw InvalidFile("cannot read the song: " + AvErrorText(ret), path);
    return input;
}

}  // namespace

TSongReader::TSongReader(const std::string& path, int rate) : FPath(path), FRate(rate) {
    FInput = OpenMp3(path);
    const AVCodec* codec = nullptr;
    FStream = av_find_best_stream(FInput.get(), AVMEDIA_TYPE_AUDIO, -1, -1, &codec, 0);
    if (FStream < 0 || codec == nullptr) throw InvalidFile("no MP3 audio in the song", path);
    FDecoder.reset(avcodec_alloc_context3(codec));
    if (!FDecoder) throw std::bad_alloc();
    AvCheck(avcodec_parameters_to_context(FDecoder.get(), FInput->streams[FStream]->codecpar),
            "cannot set up the MP3 decoder");
    AvCheck(avcodec_open2(FDecoder.get(), codec, nullptr), "cannot open the MP3 decoder");
    FPacket = MakePacket();
    FFrame = MakeFrame();
}

void TSongReader::SetUpResampler(const AVFrame* frame) {
    AVChannelLayout in{};
    if (frame->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC || frame->ch_layout.nb_channels <= 0) {
        av_channel_layout_default(&in, std::max(1, frame->ch_layout.nb_channels));
    } else {
        AvCheck(av_channel_layout_copy(&in, &frame->ch_layout), "song channel layout");
    }
    AVChannelLayout out{};
    av_channel_layout_default(&out, Channels);
    SwrContext* raw = nullptr;
    int ret = swr_alloc_set_opts2(&raw, &out, AV_SAMPLE_FMT_FLT, FRate, &in,
                                  AVSampleFormat(frame->format), frame->sample_rate, 0, nullptr);
    av_channel_layout_uninit(&in);
    FSwr.reset(raw);
    AvCheck(ret, "cannot set up the resampler");
    AvCheck(swr_init(FSwr.get()), "cannot set up the resampler");
    FSwrRate = frame->sample_rate;
    FSwrFormat = frame->format;
    FSwrChannels = frame->ch_layout.nb_channels;
}

// Converts one decoded frame (nullptr drains the resampler) and appends it to out.
void TSongReader::Resample(const AVFrame* frame, std::vector<float>& out) {
    if (frame != nullptr &&
        (!FSwr || frame->sample_rate != FSwrRate || frame->format != FSwrFormat ||
         frame->ch_layout.nb_channels != FSwrChannels)) {
        SetUpResampler(frame);
    }
    if (!FSwr) return;
    const int inSamples = frame ? frame->nb_samples : 0;
    const int room = swr_get_out_samples(FSwr.get(), inSamples);
    if (room <= 0) return;
    const std::size_t oldSize = out.size();
    out.resize(oldSize + std::size_t(room) * Channels);
    std::uint8_t* dest[1] = {reinterpret_cast<std::uint8_t*>(out.data() + oldSize)};
    int got = swr_convert(FSwr.get(), dest, room,
                          frame ? const_cast<const std::uint8_t**>(frame->extended_data) : nullptr,
                          inSamples);
    got = std::max(got, 0);
    out.resize(oldSize + std::size_t(got) * Channels);
    FProduced += got;
}

bool TSongReader::Read(std::vector<float>& out) {
    while (!FEnded) {
        int ret = avcodec_receive_frame(FDecoder.get(), FFrame.get());
        if (ret >= 0) {
            Resample(FFrame.get(), out);
            av_frame_unref(FFrame.get());
            return true;
        }
        if (ret == AVERROR_EOF || FDraining) {
            Resample(nullptr, out);
            FEnded = true;
            break;
        }
        // The decoder wants more data, or a damaged frame was dropped: feed the next packet.
        ret = av_read_frame(FInput.get(), FPacket.get());
        if (ret < 0) {
            // End of file or a read error: the song ends with what was decoded.
            FDraining = true;
            avcodec_send_packet(FDecoder.get(), nullptr);
            continue;
        }
        if (FPacket->stream_index == FStream) {
            // A damaged frame is skipped, as players do; the decoder resynchronises.
            avcodec_send_packet(FDecoder.get(), FPacket.get());
        }
        av_packet_unref(FPacket.get());
    }
    return false;
}

std::int64_t ProbeSongSamples(const std::string& path, int rate) noexcept {
    try {
        TInputPtr input = OpenMp3(path);
        int index = av_find_best_stream(input.get(), AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
        if (index < 0) return 0;
        const AVStream* stream = input->streams[index];
        const int songRate = stream->codecpar->sample_rate;
        const int countRate = rate > 0 ? rate : songRate;
        if (countRate <= 0) return 0;
        if (stream->duration != AV_NOPTS_VALUE && stream->duration > 0) {
            return av_rescale_q(stream->duration, stream->time_base, AVRational{1, countRate});
        }
        if (input->duration > 0) return av_rescale(input->duration, countRate, AV_TIME_BASE);
    } catch (const std::exception&) {
    }
    return 0;
}

TSoundtrack::TSoundtrack(int rate, bool padWithSilence, TNextSong nextSong)
    : FRate(rate),
      FPad(padWithSilence),
      FNextSong(std::move(nextSong)),
      FHoldBack(std::int64_t(FadeSeconds * rate)) {}

bool TSoundtrack::OpenNextSong() {
    std::string path;
    if (!FNextSong(FNextIndex, path)) {
        FSongsDone = true;
        return false;
    }
    ++FNextIndex;
    try {
        FReader = std::make_unique<TSongReader>(path, FRate);
        FReaderPath = path;
        return true;
    } catch (const std::exception& e) {
        FSkipped.push_back(path + ": " + e.what());
        return false;
    }
}

void TSoundtrack::Fill(std::int64_t upTo) {
    int skippedInARow = 0;
    while (FBufferStart + std::int64_t(FBuffer.size() / Channels) < upTo) {
        if (FSongsDone) {
            if (!FPad) return;
            FBuffer.resize(std::size_t(upTo - FBufferStart) * Channels, 0.0f);
            return;
        }
        if (!FReader) {
            if (!OpenNextSong() && !FSongsDone && ++skippedInARow >= MaxSkippedInARow) {
                FSongsDone = true;
            }
            continue;
        }
        if (FReader->Read(FBuffer)) {
            FSongEnd = FBufferStart + std::int64_t(FBuffer.size() / Channels);
            skippedInARow = 0;
            continue;
        }
        FSongEnd = FBufferStart + std::int64_t(FBuffer.size() / Channels);
        if (FReader->Produced() == 0) {
            FSkipped.push_back(FReaderPath + ": no audio could be decoded");
            if (++skippedInARow >= MaxSkippedInARow) FSongsDone = true;
        }
        FReader.reset();
    }
}

std::vector<float> TSoundtrack::Take(std::int64_t upTo) {
    const std::int64_t available = FBufferStart + std::int64_t(FBuffer.size() / Channels);
    upTo = std::min(upTo, available);
    if (upTo <= FBufferStart) return {};
    const auto count = std::ptrdiff_t((upTo - FBufferStart) * Channels);
    std::vector<float> block(FBuffer.begin(), FBuffer.begin() + count);
    FBuffer.erase(FBuffer.begin(), FBuffer.begin() + count);
    FBufferStart = upTo;
    return block;
}

std::vector<float> TSoundtrack::Release(std::int64_t upTo) {
    Fill(upTo);
    return Take(upTo - FHoldBack);
}

std::vector<float> TSoundtrack::Finish(std::int64_t end) {
    Fill(end + 1);
    if (FSongEnd > end) {
        // A song goes on past the video: fade it out over the last FadeSeconds.
        const std::int64_t fadeStart = std::max(FBufferStart, end - FHoldBack);
        for (std::int64_t pos = fadeStart; pos < end; ++pos) {
            const float gain = float(end - pos) / float(FHoldBack);
            float* sample = FBuffer.data() + std::size_t(pos - FBufferStart) * Channels;
            for (int ch = 0; ch < Channels; ++ch) sample[ch] *= gain;
        }
    }
    return Take(end);
}

}  // namespace velmora::mcl
