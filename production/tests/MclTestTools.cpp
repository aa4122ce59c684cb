#include "production/tests/MclTestTools.h"

#include <cmath>
#include <cstring>
#include <nlohmann/json.hpp>
#include <stdexcept>

#include "tests/TestSupport.h"

namespace velmora::test {

void MakeSineMp3(const std::filesystem::path& path, double seconds, int frequency) {
    std::string err;
    const int code = RunProgram({"ffmpeg", "-v", "error", "-y", "-f", "lavfi", "-i",
                                 "sine=frequency=" + std::to_string(frequency) +
                                     ":sample_rate=44100:duration=" + std::to_string(seconds),
                                 "-ac", "2", "-c:a", "libmp3lame", "-b:a", "128k", path.string()},
                                nullptr, &err);
    if (code != 0) throw std::runtime_error("ffmpeg cannot make an MP3: " + err);
}

namespace {
constexpr int Bits = 8;
constexpr int BandHeight = 64;
}  // namespace

void DrawFrameNumber(Bitmap& frame, int n) {
    frame.Fill(128, 128, 128);
    const int blockWidth = frame.Width() / Bits;
    for (int y = 0; y < frame.Height(); ++y) {
        for (int x = 0; x < frame.Width(); ++x) {
            std::uint8_t* p = frame.Pixel(x, y);
            if (y < BandHeight) {
                const int bit = std::min(x / blockWidth, Bits - 1);
                const std::uint8_t v = (n >> (Bits - 1 - bit)) & 1 ? 235 : 16;
                p[0] = p[1] = p[2] = v;
            } else {
                // A gradient with a texture that changes from frame to frame, so that the
                // stream carries real picture data.
                const unsigned hash = (unsigned(x) * 73856093u) ^ (unsigned(y) * 19349663u) ^
                                      (unsigned(n) * 83492791u);
                p[0] = std::uint8_t(x * 255 / frame.Width());
                p[1] = std::uint8_t(hash >> 8);
                p[2] = std::uint8_t(y * 255 / frame.Height());
            }
        }
    }
}

int ReadFrameNumber(const std::vector<std::uint8_t>& grey, int width, int /*height*/) {
    int n = 0;
    for (int bit = 0; bit < Bits; ++bit) {
        const int x = (2 * bit + 1) * width / (2 * Bits);
        const int y = BandHeight / 2;
        n = n << 1 | (grey[std::size_t(y) * width + x] > 128 ? 1 : 0);
    }
    return n;
}

TRun RunConversion(const std::string& path, const TRunOptions& options) {
    TRun run;
    MclHandle h = MclCreate();
    const int widths[] = {320, 480, 720};
    const int heights[] = {288, 576, 576};
    Bitmap frame(widths[options.Preset], heights[options.Preset]);
    MclListHandle list = MclListCreate();
    for (const std::string& song : options.Songs) MclListAdd(*list, song, 16, 0, 0);

    MclAssignVideoSource(*h, [&](TMclSource& source, int index) {
        run.Events.push_back("V" + std::to_string(index));
        if (options.VideoSource) {
            options.VideoSource(source, index);
            return;
        }
        if (options.Draw) {
            options.Draw(frame, index);
        } else {
            DrawFrameNumber(frame, index);
        }
        MclSourceSetDIB(source, frame);
        if (index + 1 >= options.Frames) MclSourceFinished(source);
    });
    MclAssignVideoFunc(*h, [&](TMcl& handle, Bitmap& image, int index) {
        if (options.VideoFunc) options.VideoFunc(handle, image, index);
    });
    MclAssignAudioSource(
        *h, [&](TMclSource& source, int index) { MclSourceSetListEntry(source, *list, index); });
    MclAssignAudioFunc(*h, [&](TMcl& handle, std::span<float> samples, int channels) {
        if (options.AudioFunc) options.AudioFunc(handle, samples, channels);
    });
    MclAssignProgress(*h, [&](TMcl& handle, int stage, int position, int) {
        run.Events.push_back("P" + std::to_string(stage) + ":" + std::to_string(position));
        if (options.OnProgress) options.OnProgress(handle, stage, position);
        if (stage == MclStageEncoding && position == options.AbortAfter) MclAbort(handle);
    });
    MclAssignError(*h, [&](int code, const std::string&, int& result) {
        run.Events.push_back("E" + std::to_string(code));
        ++run.ErrorCalls;
        result = 2;
    });
    MclVideoSetFileName(*h, path);
    MclAudioSetFileName(*h, path);
    if (options.Preset != 0) MclEnableMPEG2();
    MclSetFormatPreset(*h, options.Preset, 0);
    MclVideoSetKeepDuration(*h, options.KeepDuration ? -1 : 0);
    run.Result = MclConvert(*h);
    MclListFree(list);
    MclFree(h);
    return run;
}

const TProbedStream* TProbe::Find(const std::string& type) const {
    for (const TProbedStream& s : Streams) {
        if (s.Type == type) return &s;
    }
    return nullptr;
}

namespace {
long NumberField(const nlohmann::json& j, const char* key) {
    if (!j.contains(key)) return 0;
    if (j[key].is_number()) return j[key].get<long>();
    return std::stol(j[key].get<std::string>());
}
}  // namespace

TProbe Probe(const std::string& path) {
    std::string out;
    TProbe probe;
    const int code =
        RunProgram({"ffprobe", "-v", "error", "-count_frames", "-show_entries",
                    "stream=codec_type,codec_name,width,height,r_frame_rate,display_aspect_ratio,"
                    "sample_rate,channels,bit_rate,nb_read_frames,duration:format=format_name",
                    "-of", "json", path},
                   &out, &probe.Errors);
    if (code != 0) throw std::runtime_error("ffprobe failed: " + probe.Errors);
    const nlohmann::json j = nlohmann::json::parse(out);
    probe.Format = j["format"].value("format_name", "");
    for (const nlohmann::json& s : j["streams"]) {
        TProbedStream stream;
        stream.Type = s.value("codec_type", "");
        stream.Codec = s.value("codec_name", "");
        stream.Width = int(NumberField(s, "width"));
        stream.Height = int(NumberField(s, "height"));
        stream.FrameRate = s.value("r_frame_rate", "");
        stream.DisplayAspect = s.value("display_aspect_ratio", "");
        stream.SampleRate = int(NumberField(s, "sample_rate"));
        stream.Channels = int(NumberField(s, "channels"));
        stream.BitRate = NumberField(s, "bit_rate");
        stream.Frames = NumberField(s, "nb_read_frames");
        if (s.contains("duration")) stream.Duration = std::stod(s["duration"].get<std::string>());
        probe.Streams.push_back(stream);
    }
    return probe;
}

std::vector<std::vector<std::uint8_t>> DecodeGrey(const std::string& path, int width, int height) {
    std::string out, err;
    const int code = RunProgram({"ffmpeg", "-v", "error", "-i", path, "-map", "0:v", "-f",
                                 "rawvideo", "-pix_fmt", "gray", "-"},
                                &out, &err);
    if (code != 0) throw std::runtime_error("ffmpeg cannot decode: " + err);
    const std::size_t size = std::size_t(width) * height;
    std::vector<std::vector<std::uint8_t>> frames;
    for (std::size_t at = 0; at + size <= out.size(); at += size) {
        frames.emplace_back(out.begin() + std::ptrdiff_t(at),
                            out.begin() + std::ptrdiff_t(at + size));
    }
    return frames;
}

std::vector<std::int16_t> DecodeAudio(const std::string& path) {
    std::string out, err;
    const int code = RunProgram({"ffmpeg", "-v", "error", "-i", path, "-map", "0:a", "-f", "s16le",
                                 "-ac", "1", "-ar", "48000", "-"},
                                &out, &err);
    if (code != 0) throw std::runtime_error("ffmpeg cannot decode the audio: " + err);
    std::vector<std::int16_t> samples(out.size() / 2);
    std::memcpy(samples.data(), out.data(), samples.size() * 2);
    return samples;
}

namespace {
std::pair<std::size_t, std::size_t> Window(std::size_t size, double from, double to) {
    const auto first = std::min(size, std::size_t(from * 48000));
    const auto last = std::min(size, std::size_t(to * 48000));
    return {first, std::max(first, last)};
}
}  // namespace

double ToneFrequency(const std::vector<std::int16_t>& samples, double from, double to) {
    const auto [first, last] = Window(samples.size(), from, to);
    int crossings = 0;
    for (std::size_t i = first + 1; i < last; ++i) {
        if ((samples[i - 1] < 0) != (samples[i] < 0)) ++crossings;
    }
    return last > first ? crossings / 2.0 / (double(last - first) / 48000.0) : 0.0;
}

double Loudness(const std::vector<std::int16_t>& samples, double from, double to) {
    const auto [first, last] = Window(samples.size(), from, to);
    double sum = 0;
    for (std::size_t i = first; i < last; ++i) sum += double(samples[i]) * samples[i];
    return last > first ? std::sqrt(sum / double(last - first)) : 0.0;
}

double DecodedAudioSeconds(const std::string& path) {
    std::string out, err;
    const int code = RunProgram({"ffmpeg", "-v", "error", "-i", path, "-map", "0:a", "-f", "s16le",
                                 "-ac", "1", "-ar", "48000", "-"},
                                &out, &err);
    if (code != 0) throw std::runtime_error("ffmpeg cannot decode the audio: " + err);
    return double(out.size()) / 2.0 / 48000.0;
}

}  // namespace velmora::test
