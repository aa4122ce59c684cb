#pragma once
// The one reader of songs: demuxing and decoding an MP3 (or one of the few other plain audio
// files a song may be) with FFmpeg, conversion to interleaved stereo at the wanted rate with
// libswresample, seeking, and the map from decoded sample frames back to the bytes of the
// file they came from. The player (16-bit samples), the play-time measurement and the video's
// soundtrack (float samples) all read songs through it, so they accept the same files and
// hear them alike: a mono song sounds at full level on both sides.
// Not thread-safe: the engine's channel (AudioChannel.h) calls it under its decode lock.

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "base/FfmpegHandles.h"

namespace velmora {

/// Demuxers a song may come in, for every reader: MP3 above all, and the plain audio files
/// players accept.
inline constexpr const char* SongFormats = "mp3,wav,ogg,flac";

class TBassStream {
public:
    /// The samples Read delivers: 16-bit integers or floats in [-1, 1], stereo interleaved.
    enum class TSampleFormat { S16, Float };

    /// Opens `path` for decoding to `outRate` Hz. Returns null and sets `error` to a
    /// BASS_ERROR code when the file cannot be opened or holds no decodable audio.
    static std::unique_ptr<TBassStream> Open(const std::string& path, int outRate, int& error,
                                             TSampleFormat format = TSampleFormat::S16);

    /// Sample rate of the file; stream byte counts use it (4 bytes a frame).
    int Rate() const noexcept { return FRate; }
    /// Decoded length in frames at Rate(), from the container's duration (Xing header or bit
    /// rate), without decoding the file.
    std::uint64_t LengthFrames() const noexcept { return FLengthFrames; }
    /// The same length counted at `rate` Hz (the file's own rate when 0), rounded down.
    std::uint64_t LengthFramesAt(int rate) const noexcept;
    /// Size of the file in bytes.
    std::uint64_t FileSize() const noexcept { return FFileSize; }

    /// Delivers up to `frames` stereo frames at the output rate; fewer only at the end.
    /// For a stream opened with TSampleFormat::S16.
    int Read(std::int16_t* out, int frames);
    /// The same for a stream opened with TSampleFormat::Float.
    int Read(float* out, int frames);
    /// True when the decoder is finished and every converted frame has been read.
    bool Exhausted() const noexcept { return FDecoderDone && FifoFrames() == 0; }

    /// Moves to a frame at Rate(); reading continues there. False when the file cannot seek.
    bool Seek(std::uint64_t nativeFrame);
    /// Frame at Rate() of the first frame that Read delivers after the last seek (or 0).
    std::uint64_t OutputBase() const noexcept { return FOutputBase; }

    /// Byte of the file that holds the sound of frame `nativeFrame` (interpolated within a
    /// packet); the file's size once the frame lies past the last decoded one.
    std::uint64_t FilePosAt(std::uint64_t nativeFrame) const noexcept;

private:
    struct TSegment {
        std::uint64_t Start = 0;   // first frame at Rate()
        std::uint64_t Frames = 0;  // frames at Rate()
        std::int64_t FilePos = 0;  // byte of the packet in the file
        std::int64_t PacketSize = 0;
    };

    TBassStream() = default;
    int ReadFrames(void* out, int frames);
    void DecodeMore();
    void ReceiveFrames();
    void HandleFrame(AVFrame& frame);
    bool EnsureResampler(const AVFrame& frame);
    void Convert(const AVFrame& frame, int skip);
    void FlushResampler();
    std::size_t FifoFrames() const noexcept { return (FFifo.size() - FFifoRead) / FFrameBytes; }

    TFormatContextPtr FFormat;
    TCodecContextPtr FCodec;
    TSwrPtr FSwr;
    TPacketPtr FPacket;
    TFramePtr FFrame;
    int FStreamIndex = -1;
    int FRate = 0;
    int FOutRate = 44100;
    TSampleFormat FFormatOut = TSampleFormat::S16;
    std::size_t FFrameBytes = 4;  // one stereo frame of the output format
    std::uint64_t FLengthFrames = 0;
    std::int64_t FDuration = 0;  // the container's duration in FDurationBase units
    AVRational FDurationBase{1, 1};
    std::uint64_t FFileSize = 0;
    // The resampler's input format, to rebuild it when a file changes format midway.
    int FSwrFormat = -1;
    int FSwrRate = 0;
    int FSwrChannels = 0;

    bool FInputDone = false;
    bool FDecoderDone = false;
    bool FSyncToPts = false;       // after a seek: take the frame counter from the next pts
    std::uint64_t FSkipUntil = 0;  // drop decoded frames before this one (seek target)
    std::uint64_t FNextFrame = 0;  // frame at Rate() of the next decoded frame
    std::uint64_t FOutputBase = 0;
    bool FOutputBaseSet = true;
    std::int64_t FPacketPos = -1;
    std::int64_t FPacketSize = 0;
    std::int64_t FLastFilePos = 0;

    std::vector<std::uint8_t> FFifo;  // interleaved stereo frames at the output rate
    std::size_t FFifoRead = 0;        // bytes
    std::vector<std::uint8_t> FConvertBuffer;
    std::vector<const std::uint8_t*> FPlanes;  // input planes of one conversion
    std::deque<TSegment> FSegments;
};

}  // namespace velmora
