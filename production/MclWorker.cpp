#include "production/MclWorker.h"

namespace velmora::mcl {

TEncoderThread::TEncoderThread(std::unique_ptr<TOutput> output, const TPreset& preset,
                               std::size_t capacity)
    : FOutput(std::move(output)),
      FConverter(preset),
      FCapacity(std::max<std::size_t>(1, capacity)) {
    FThread = std::thread([this] { Run(); });
}

TEncoderThread::~TEncoderThread() {
    {
        std::lock_guard lock(FMutex);
        FStop = true;
    }
    FChanged.notify_all();
    FThread.join();
}

bool TEncoderThread::Push(TJob job) {
    std::unique_lock lock(FMutex);
    FChanged.wait(lock, [this] { return FDone || FQueue.size() < FCapacity; });
    if (FDone) return false;
    FQueue.push_back(std::move(job));
    lock.unlock();
    FChanged.notify_all();
    return true;
}

bool TEncoderThread::Finish(std::vector<float> audio) {
    TJob last;
    last.Audio = std::move(audio);
    last.Final = true;
    if (!Push(std::move(last))) return false;
    std::unique_lock lock(FMutex);
    FChanged.wait(lock, [this] { return FDone; });
    return !FFailure;
}

std::size_t TEncoderThread::Pending() const {
    std::lock_guard lock(FMutex);
    return FQueue.size();
}

std::exception_ptr TEncoderThread::Failure() const {
    std::lock_guard lock(FMutex);
    return FFailure;
}

void TEncoderThread::Process(TJob& job) {
    if (!job.Final) {
        TFramePtr picture;
        if (job.Repeat && FLastPicture) {
            // A still: the encoder reads its pictures only, so the same pixels serve again.
            picture.reset(av_frame_clone(FLastPicture.get()));
        } else {
            picture = job.Picture ? std::move(job.Picture) : FConverter.Convert(*job.Frame);
        }
        if (!picture) throw std::bad_alloc();
        FLastPicture.reset(av_frame_clone(picture.get()));
        if (!FLastPicture) throw std::bad_alloc();
        FOutput->WriteVideo(std::move(picture));
    }
    if (!job.Audio.empty()) FOutput->WriteAudio(job.Audio.data(), job.Audio.size() / 2);
    if (job.Final) FOutput->Finish();
}

void TEncoderThread::Run() noexcept {
    for (;;) {
        TJob job;
        {
            std::unique_lock lock(FMutex);
            FChanged.wait(lock, [this] { return FStop || !FQueue.empty(); });
            if (FStop) break;
            job = std::move(FQueue.front());
            FQueue.pop_front();
        }
        FChanged.notify_all();
        try {
            Process(job);
        } catch (...) {
            std::lock_guard lock(FMutex);
            FFailure = std::current_exception();
            break;
        }
        if (job.Final) break;
    }
    {
        std::lock_guard lock(FMutex);
        FDone = true;
        FQueue.clear();
    }
    FChanged.notify_all();
}

}  // namespace velmora::mcl
