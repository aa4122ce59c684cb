#pragma once
// Scoped capture of FFmpeg's log: while a TLogCapture lives, FFmpeg's messages go through the
// layer, which counts the rate-control buffer warnings of the encoders and the multiplexer and
// keeps the last error text; no message reaches stderr. FFmpeg's default callback is back when
// the last capture ends.

#include <atomic>
#include <mutex>
#include <string>

namespace velmora::mcl {

class TLogCapture {
public:
    TLogCapture();
    ~TLogCapture();
    TLogCapture(const TLogCapture&) = delete;
    TLogCapture& operator=(const TLogCapture&) = delete;

    /// Buffer warnings seen so far ("rc buffer underflow", "buffer underflow", "vbv buffer
    /// overflow" and the like).
    int BufferWarnings() const noexcept { return FBufferWarnings.load(); }
    /// The last message at error level, without its line break; empty when none.
    std::string LastError() const;

    /// Sorts one formatted message into the counters (used by the shared callback).
    void Take(int level, const std::string& line);

private:
    std::atomic<int> FBufferWarnings{0};
    mutable std::mutex FMutex;
    std::string FLastError;
};

/// True for FFmpeg messages that say a stream could not hold its buffer model.
bool IsBufferWarning(const std::string& line) noexcept;

}  // namespace velmora::mcl
