#pragma once
// The output file of a conversion: one program stream with an MPEG video stream and an audio
// stream, encoded and multiplexed as FFmpeg's doc/examples/mux.c does it (one output-stream
// object per stream, the send_frame/receive_packet loop, packets interleaved by timestamp).
// Failures throw (AvError, IoError) where the example exits.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "imaging/Bitmap.h"
#include "production/MclAudioPes.h"
#include "production/MclFFmpeg.h"
#include "production/MclPreset.h"

namespace velmora::mcl {

/// One encoded stream of the output: its encoder, its stream in the file and its next
/// timestamp in the encoder's time base.
struct TOutputStream {
    AVStream* Stream = nullptr;
    TCodecContextPtr Codec;
    TPacketPtr Packet;
    std::int64_t NextPts = 0;
    /// When set, the packets go through it instead of straight to the multiplexer.
    std::unique_ptr<TAudioPesAligner> Aligner;

    /// Sends one frame (nullptr flushes) and writes every packet the encoder returns.
    void Encode(AVFormatContext* context, AVFrame* frame);
};

/// Turns the 24-bit frames handed in into the encoder's YUV 4:2:0 pictures, scaling VCD's
/// 320 x 288 to 352 x 288 (libswscale).
class TFrameConverter {
public:
    explicit TFrameConverter(const TPreset& preset);
    /// A new YUV picture of the preset's encoded size from a bitmap of its input size.
    TFramePtr Convert(const Bitmap& bitmap);

private:
    const TPreset& FPreset;
    TSwsPtr FSws;
};

class TOutput {
public:
    /// Sets up the multiplexer and opens both encoders. encoderThreads is the number of slice
    /// threads of the video encoder.
    TOutput(const TPreset& preset, int encoderThreads);
    TOutput(const TOutput&) = delete;
    TOutput& operator=(const TOutput&) = delete;

    /// Creates the file and writes the stream header. FileCreated() tells afterwards (also
    /// after a throw) whether a file was created, which is then the caller's to remove.
    void Create(const std::string& path);
    bool FileCreated() const noexcept { return FFileCreated; }

    /// Encodes the next video picture (its timestamp is set here).
    void WriteVideo(TFramePtr picture);
    /// Queues interleaved stereo float samples at the preset's rate and encodes every whole
    /// audio frame they complete.
    void WriteAudio(const float* samples, std::size_t sampleFrames);
    /// Encodes the last audio samples (the final frame padded with silence), drains both
    /// encoders, writes the trailer and closes the file.
    void Finish();

    std::int64_t VideoFrames() const noexcept { return FVideo.NextPts; }
    /// Audio samples (per channel) handed to the audio encoder so far.
    std::int64_t AudioSamples() const noexcept { return FAudio.NextPts; }

private:
    void OpenVideo(int encoderThreads);
    void DescribeVideoStream();
    void OpenAudio();
    void EncodeAudioFrame(std::size_t sampleFrames);

    const TPreset& FPreset;
    std::string FPath;
    TOutputPtr FContext;
    TOutputStream FVideo;
    TOutputStream FAudio;
    TFramePtr FAudioFrame;
    std::vector<float> FPendingAudio;  // interleaved stereo not yet encoded
    std::size_t FPendingStart = 0;     // first unread sample frame in FPendingAudio
    bool FFileCreated = false;
};

}  // namespace velmora::mcl
