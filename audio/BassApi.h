#pragma once
// The calls of the audio library that the player makes, as an interface. The engine over
// FFmpeg and SDL (BassEngine.h) implements it; tests put an engine of their own behind it to
// drive the player with a clock they control.
//
// Streams decode to 16-bit stereo at the file's own sample rate: a byte count or a byte
// position of a stream counts 4 bytes per sample frame of that rate. File positions count
// bytes of the file itself.

#include <array>
#include <cstdint>
#include <string>

namespace velmora {

/// A stream handle; 0 is no stream.
using HSTREAM = std::uint32_t;

/// BASS_ChannelGetData length code: the FFT of 1024 samples, 512 magnitudes.
inline constexpr std::uint32_t BASS_DATA_FFT1024 = 0x80000001u;
/// BASS_StreamGetFilePosition modes.
inline constexpr std::uint32_t BASS_FILEPOS_CURRENT = 0;  ///< byte of the file heard now
inline constexpr std::uint32_t BASS_FILEPOS_END = 2;      ///< length of the file

/// Error codes of BASS_ErrorGetCode.
enum TBassError : int {
    BASS_OK = 0,
    BASS_ERROR_FILEOPEN = 2,   ///< the file cannot be opened
    BASS_ERROR_DRIVER = 3,     ///< no output device, not even the silent one
    BASS_ERROR_HANDLE = 5,     ///< not a stream handle
    BASS_ERROR_FORMAT = 6,     ///< no decodable audio in the file
    BASS_ERROR_POSITION = 7,   ///< position beyond the stream's end
    BASS_ERROR_INIT = 8,       ///< BASS_Init has not succeeded
    BASS_ERROR_ALREADY = 14,   ///< already initialised, or not paused when resuming
    BASS_ERROR_NOTAVAIL = 37,  ///< a request this library does not offer
};

/// 513 floats; a 1024-sample FFT fills the first 512 with magnitudes.
using TFFTData = std::array<float, 513>;

/// The audio library as the player sees it. Every call returns the library's failure value
/// instead of throwing: 0 / false, with the reason in BASS_ErrorGetCode. A stream that could
/// not be opened has handle 0, length 0 and file end 0.
class TBassApi {
public:
    virtual ~TBassApi() = default;

    /// Opens the output device (-1 the default one) at `freq` Hz. Flags and window are
    /// accepted and not needed. False when already initialised.
    virtual bool BASS_Init(int device, std::uint32_t freq, std::uint32_t flags, void* win) = 0;
    /// Starts the output.
    virtual bool BASS_Start() = 0;
    /// Opens a file stream. Only `mem` false, offset 0 and length 0 (whole file) are offered.
    virtual HSTREAM BASS_StreamCreateFile(bool mem, const std::string& file, std::uint32_t offset,
                                          std::uint32_t length, std::uint32_t flags) = 0;
    /// Releases a stream; its handle becomes invalid.
    virtual bool BASS_StreamFree(HSTREAM handle) = 0;
    /// Decoded length in bytes, taken from the file's headers without decoding it.
    virtual std::uint64_t BASS_StreamGetLength(HSTREAM handle) = 0;
    /// A byte count of the stream in seconds.
    virtual float BASS_ChannelBytes2Seconds(HSTREAM handle, std::uint64_t bytes) = 0;
    /// Mode 0: byte of the file that is being heard now (the file's length once the last
    /// sound has been heard); mode 2: length of the file. 0 on failure.
    virtual std::uint32_t BASS_StreamGetFilePosition(HSTREAM handle, std::uint32_t mode) = 0;
    /// Starts playback at the stream's position; `flush` restarts it from the beginning.
    virtual bool BASS_StreamPlay(HSTREAM handle, bool flush, std::uint32_t flags) = 0;
    /// Continues a paused stream.
    virtual bool BASS_ChannelResume(HSTREAM handle) = 0;
    virtual bool BASS_ChannelPause(HSTREAM handle) = 0;
    virtual bool BASS_ChannelStop(HSTREAM handle) = 0;
    /// Moves to a position in decoded bytes (at most the length).
    virtual bool BASS_ChannelSetPosition(HSTREAM handle, std::uint64_t pos) = 0;
    /// Only BASS_DATA_FFT1024: fills 512 floats of `buffer` with the magnitudes of the
    /// Hann-windowed FFT of the 1024 samples being heard (a full-scale sine at a bin centre
    /// gives 0.5) and returns 2048; 0xFFFFFFFF on failure.
    virtual std::uint32_t BASS_ChannelGetData(HSTREAM handle, void* buffer,
                                              std::uint32_t length) = 0;
    /// The reason of the last failure of a call on this library, BASS_OK after a success.
    virtual int BASS_ErrorGetCode() = 0;
};

}  // namespace velmora
