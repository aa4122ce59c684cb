#pragma once
// The encoding thread of a conversion: takes frames and audio blocks from a bounded queue and
// writes them into the output file, so that the caller draws the next frame while the
// previous ones are encoded (the video encoder adds its own slice threads).

#include <condition_variable>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "imaging/Bitmap.h"
#include "production/MclOutput.h"

namespace velmora::mcl {

/// One frame with the audio that goes with it.
struct TJob {
    /// The frame as the video function left it, when Picture is empty; shared with the
    /// caller's thread, which keeps it to recognise a repeated frame. Read-only once queued.
    std::shared_ptr<const Bitmap> Frame;
    TFramePtr Picture;         ///< the frame already converted by the caller's thread
    std::vector<float> Audio;  ///< interleaved stereo at the preset's rate
    bool Repeat = false;       ///< the frame equals the previous one (no pixels sent)
    bool Final = false;        ///< no frame; finish the file after this audio
};

class TEncoderThread {
public:
    /// Starts the thread; it owns the output from now on. capacity bounds the queued jobs.
    TEncoderThread(std::unique_ptr<TOutput> output, const TPreset& preset, std::size_t capacity);
    /// Stops the thread (a file not finished is left as it is, for the caller to remove).
    ~TEncoderThread();
    TEncoderThread(const TEncoderThread&) = delete;
    TEncoderThread& operator=(const TEncoderThread&) = delete;

    /// Queues a job, waiting while the queue is full. False when the thread has failed (the
    /// job is dropped; Failure() says why).
    bool Push(TJob job);
    /// Queues the last audio, waits until the file is finished and closed. False on failure.
    bool Finish(std::vector<float> audio);
    /// Jobs waiting in the queue.
    std::size_t Pending() const;
    std::size_t Capacity() const noexcept { return FCapacity; }
    /// The exception that stopped the thread, or nullptr.
    std::exception_ptr Failure() const;

private:
    void Run() noexcept;
    void Process(TJob& job);

    std::unique_ptr<TOutput> FOutput;
    TFrameConverter FConverter;
    TFramePtr FLastPicture;  // the previous picture, shared again for a repeated frame
    std::size_t FCapacity;
    mutable std::mutex FMutex;
    std::condition_variable FChanged;
    std::deque<TJob> FQueue;
    bool FStop = false;
    bool FDone = false;  // the thread has left its loop (finished, failed or stopped)
    std::exception_ptr FFailure;
    std::thread FThread;
};

}  // namespace velmora::mcl
