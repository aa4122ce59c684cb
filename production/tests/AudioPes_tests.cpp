// The audio of the rendered program streams read back by FFmpeg's demuxer and decoders: every
// audio packet has its own, increasing timestamp and nothing is reported while decoding; and
// the DVD audio aligner hands every frame over once, in order.

#include <gtest/gtest.h>

#include <cstdarg>
#include <mutex>
#include <string>
#include <vector>

#include "production/MclAudioPes.h"
#include "production/tests/MclTestTools.h"
#include "tests/TestSupport.h"

namespace velmora::test {
namespace {

// FFmpeg's warnings and errors while a TLogRecorder lives.
std::mutex LogMutex;
std::vector<std::string>* LogLines = nullptr;

void RecordLog(void* avcl, int level, const char* format, va_list args) {
    if (level > AV_LOG_WARNING) return;
    char line[1024];
    int prefix = 1;
    av_log_format_line(avcl, level, format, args, line, sizeof line, &prefix);
    std::lock_guard lock(LogMutex);
    if (LogLines != nullptr) LogLines->push_back(line);
}

class TLogRecorder {
public:
    TLogRecorder() {
        std::lock_guard lock(LogMutex);
        LogLines = &Lines;
        av_log_set_callback(RecordLog);
    }
    ~TLogRecorder() {
        av_log_set_callback(av_log_default_callback);
        std::lock_guard lock(LogMutex);
        LogLines = nullptr;
    }
    std::vector<std::string> Lines;
};

struct TAudioReadBack {
    int Packets = 0;
    int DecodedFrames = 0;
    std::vector<std::string> Faults;  // timestamps out of order, decoder failures, log lines
};

// Demuxes the whole file and decodes its audio stream, noting every fault.
TAudioReadBack ReadAudioBack(const std::string& path) {
    TAudioReadBack back;
    AVFormatContext* raw = nullptr;
    TFormatContextPtr input;
    {
        // Probing remarks that the DVD navigation packets (filled in by the authoring tool)
        // carry no timestamps: not about the audio.
        TLogRecorder probing;
        if (avformat_open_input(&raw, path.c_str(), nullptr, nullptr) < 0) {
            back.Faults.push_back("cannot open");
            return back;
        }
        input.reset(raw);
        if (avformat_find_stream_info(input.get(), nullptr) < 0) back.Faults.push_back("no info");
    }
    const int audio = av_find_best_stream(input.get(), AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    if (audio < 0) {
        back.Faults.push_back("no audio stream");
        return back;
    }
    const AVCodecParameters* parameters = input->streams[audio]->codecpar;
    TCodecContextPtr decoder(avcodec_alloc_context3(avcodec_find_decoder(parameters->codec_id)));
    avcodec_parameters_to_context(decoder.get(), parameters);
    if (avcodec_open2(decoder.get(), nullptr, nullptr) < 0) back.Faults.push_back("no decoder");
    TPacketPtr packet(av_packet_alloc());
    TFramePtr frame(av_frame_alloc());
    TLogRecorder log;
    std::int64_t lastDts = AV_NOPTS_VALUE;
    while (av_read_frame(input.get(), packet.get()) >= 0) {
        if (packet->stream_index == audio) {
            ++back.Packets;
            if (packet->dts == AV_NOPTS_VALUE ||
                (lastDts != AV_NOPTS_VALUE && packet->dts <= lastDts)) {
                back.Faults.push_back("audio packet " + std::to_string(back.Packets) + " dts " +
                                      std::to_string(packet->dts) + " after " +
                                      std::to_string(lastDts));
            }
            lastDts = packet->dts;
            if (avcodec_send_packet(decoder.get(), packet.get()) < 0) {
                back.Faults.push_back("packet " + std::to_string(back.Packets) + " not decoded");
            }
            while (avcodec_receive_frame(decoder.get(), frame.get()) >= 0) ++back.DecodedFrames;
        }
        av_packet_unref(packet.get());
    }
    back.Faults.insert(back.Faults.end(), log.Lines.begin(), log.Lines.end());
    return back;
}

struct TSoundCase {
    const char* Name;
    int Preset;
    double SongSeconds;
};

class AudioReadBackTest : public ::testing::TestWithParam<TSoundCase> {};

// 10.4 s of video: a DVD's AC-3 frames first met a packet end with a split header at 7.8 s.
TEST_P(AudioReadBackTest, EveryAudioPacketHasItsOwnIncreasingTimestamp) {
    TempDir dir;
    const std::string song = (dir / "song.mp3").string();
    MakeSineMp3(song, GetParam().SongSeconds, 440);
    const std::string out = (dir / "out.mpg").string();
    const TRun run =
        RunConversion(out, {.Preset = GetParam().Preset, .Frames = 260, .Songs = {song}});
    ASSERT_TRUE(run.Result.Ok) << run.Result.Message;
    const TAudioReadBack back = ReadAudioBack(out);
    EXPECT_GT(back.Packets, 300);
    EXPECT_EQ(back.DecodedFrames, back.Packets);
    EXPECT_EQ(back.Faults, std::vector<std::string>{});
}

const TSoundCase SoundCases[] = {
    {"DvdSongLongerThanTheVideo", 2, 14.0},
    {"DvdSongShorterThanTheVideo", 2, 3.0},
    {"VcdSongLongerThanTheVideo", 0, 14.0},
    {"SvcdSongShorterThanTheVideo", 1, 3.0},
};
INSTANTIATE_TEST_SUITE_P(Cases, AudioReadBackTest, ::testing::ValuesIn(SoundCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(AudioPesAligner, HandsEveryFrameOverOnceInOrderAndMarksFew) {
    struct TWritten {
        std::int64_t Pts, Dts;
        int Size;
        std::uint8_t First;
    };
    std::vector<TWritten> written;
    mcl::TAudioPesAligner aligner(mcl::DvdAc3Geometry(2048), [&](AVPacket* p) {
        written.push_back({p->pts, p->dts, p->size, p->data[0]});
        av_packet_unref(p);
    });
    constexpr int Frames = 2003;
    TPacketPtr packet(av_packet_alloc());
    for (int i = 0; i < Frames; ++i) {
        ASSERT_EQ(av_new_packet(packet.get(), 1792), 0);
        packet->data[0] = std::uint8_t(i);
        packet->pts = packet->dts = std::int64_t(i) * 2880;
        aligner.Add(packet.get());
    }
    aligner.Finish();
    ASSERT_EQ(written.size(), std::size_t(Frames));
    int marked = 0;
    for (int i = 0; i < Frames; ++i) {
        const TWritten& w = written[std::size_t(i)];
        EXPECT_EQ(w.Pts, std::int64_t(i) * 2880);
        EXPECT_EQ(w.First, std::uint8_t(i));
        EXPECT_EQ(w.Size, 1792);
        EXPECT_TRUE(w.Dts == w.Pts || w.Dts == w.Pts - 1) << i;
        if (w.Dts != w.Pts) ++marked;
    }
    // Each 2015-byte packet's phase against the frames walks through every value in 64 s;
    // only the packets that would cut a header are shortened.
    EXPECT_GT(marked, 0);
    EXPECT_LT(marked, Frames / 50);

    // The frames as written leave no header split, where the same frames unmarked do.
    mcl::TPesLayout aligned(mcl::DvdAc3Geometry(2048));
    std::vector<mcl::TPesFrame> unmarked;
    int unsound = 0;
    for (std::size_t i = 0; i < written.size(); ++i) {
        const mcl::TPesFrame frame{written[i].Size, written[i].Dts != written[i].Pts};
        if (!aligned.Sound({frame}, i + 1 == written.size())) ++unsound;
        aligned.Commit(frame);
        unmarked.push_back({frame.Size, false});
    }
    EXPECT_EQ(unsound, 0);
    EXPECT_FALSE(mcl::TPesLayout(mcl::DvdAc3Geometry(2048)).Sound(unmarked, true));
}

}  // namespace
}  // namespace velmora::test
