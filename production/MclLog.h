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

    /// Frames the encoders' rate control could not fit into the buffer ("rc buffer underflow")
    /// so far.
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

/// True for the encoders' message that a frame did not fit the stream's buffer.
bool IsBufferWarning(const std::string& line) noexcept;

}  // namespace velmora::mcl
