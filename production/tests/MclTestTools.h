#pragma once
// Helpers of the media conversion layer's tests: songs made by ffmpeg's command line, runs of
// MclConvert with recorded callbacks, ffprobe's view of the output and the decoded frames.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "imaging/Bitmap.h"
#include "production/Mcl.h"

namespace velmora::test {

/// Makes a stereo MP3 of a sine tone with ffmpeg's command line (44.1 kHz, 128 kbit/s).
void MakeSineMp3(const std::filesystem::path& path, double seconds, int frequency);

/// Draws the number n into a frame: 8 blocks in the top band, white for a set bit (bit 7
/// first), black otherwise, with a textured gradient below the band.
void DrawFrameNumber(Bitmap& frame, int n);
/// Reads the number back from a decoded grey frame of the given size.
int ReadFrameNumber(const std::vector<std::uint8_t>& grey, int width, int height);

/// What a test run of MclConvert saw.
struct TRun {
    TMclResult Result;
    std::vector<std::string> Events;  ///< "V<i>" video request, "P<stage>:<pos>", "E<code>"
    int ErrorCalls = 0;
};

struct TRunOptions {
    int Preset = 0;
    int Frames = 50;
    std::vector<std::string> Songs{};
    int AbortAfter = -1;  ///< calls MclAbort in the progress call after this many frames
    std::function<void(Bitmap&, int)> Draw{};  ///< draws frame i (default: its number)
    bool KeepDuration = true;
    /// Replaces the run's video function when set.
    std::function<void(TMcl&, Bitmap&, int)> VideoFunc{};
    /// Replaces the run's video source when set.
    std::function<void(TMclSource&, int)> VideoSource{};
    std::function<void(TMcl&, std::span<float>, int)> AudioFunc{};
    std::function<void(TMcl&, int stage, int position)> OnProgress{};
};

/// Runs a whole conversion into path the way the production run sets it up.
TRun RunConversion(const std::string& path, const TRunOptions& options);

/// One stream as ffprobe sees it.
struct TProbedStream {
    std::string Type;  ///< "video" or "audio"
    std::string Codec;
    int Width = 0, Height = 0;
    std::string FrameRate, DisplayAspect;
    int SampleRate = 0, Channels = 0;
    long BitRate = 0;
    long Frames = 0;  ///< frames counted by decoding
    double Duration = 0;
};
struct TProbe {
    std::string Format;
    std::vector<TProbedStream> Streams;
    std::string Errors;  ///< what ffprobe wrote to stderr
    const TProbedStream* Find(const std::string& type) const;
};
TProbe Probe(const std::string& path);

/// Every frame of the file's video decoded to 8-bit grey at its coded size.
std::vector<std::vector<std::uint8_t>> DecodeGrey(const std::string& path, int width, int height);

/// The file's audio decoded by ffmpeg's command line: mono 16-bit at 48 kHz.
std::vector<std::int16_t> DecodeAudio(const std::string& path);
/// Zero crossings per second of the samples [from, to) seconds (twice the frequency of a tone).
double ToneFrequency(const std::vector<std::int16_t>& samples, double from, double to);
/// Root mean square of the samples [from, to) seconds, 0..32767.
double Loudness(const std::vector<std::int16_t>& samples, double from, double to);

/// Seconds of audio in the file, counted by decoding it with ffmpeg's command line.
double DecodedAudioSeconds(const std::string& path);

}  // namespace velmora::test
