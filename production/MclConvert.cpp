// MclConvert: drives one conversion. The caller's thread asks the video source for frames,
// lets the video function draw on them, decodes the songs in step with the video and queues
// both for the encoding thread; the callbacks all run on the caller's thread.

#include <algorithm>
#include <filesystem>
#include <memory>
#include <thread>

#include "production/Mcl.h"
#include "production/MclHandle.h"
#include "production/MclLog.h"
#include "production/MclSongs.h"
#include "production/MclWorker.h"

namespace velmora {

namespace {

constexpr int FramesPerSecond = 25;
// Frames waiting for the encoder at most: about 5 MB at DVD size.
constexpr std::size_t QueueCapacity = 4;

bool IsFileSystemError(int averror) noexcept {
    switch (AVUNERROR(averror)) {
        case ENOSPC:
        case EIO:
        case EFBIG:
        case EDQUOT:
        case EROFS:
        case EACCES:
        case EPERM:
        case ENOENT:
        case ENOTDIR:
            return true;
        default:
            return false;
    }
}

// An exception that left one of the caller's callbacks.
class TCallbackFailure : public Error {
public:
    using Error::Error;
};

// Runs a callback; whatever it throws becomes a TCallbackFailure with the same text.
template <class F>
void CallBack(F&& call) {
    try {
        call();
    } catch (const std::exception& e) {
        throw TCallbackFailure(e.what());
    } catch (...) {
        throw TCallbackFailure("a callback failed");
    }
}

// The video encoder's slice threads: one more than the cores, FFmpeg's own automatic choice,
// so that a slice never waits for a whole core to come free.
int EncoderThreads() noexcept {
    return int(std::clamp(std::thread::hardware_concurrency(), 1u, 8u)) + 1;
}

class TConversion {
public:
    explicit TConversion(TMcl& h) : FH(h) {}
    TMclResult Run();

private:
    bool CheckSetup();
    void OpenOutput();
    void RunFrames();
    bool NextFrame(int index);
    void FinishFile();
    void Fail(int code, const std::string& message);
    void FailFrom(std::exception_ptr failure);
    void Progress(int stage, int position);
    std::vector<float> AudioUpTo(std::int64_t frames, bool last);
    bool NextSong(int index, std::string& path);

    TMcl& FH;
    const mcl::TPreset* FPreset = nullptr;
    TMclResult FResult;
    mcl::TLogCapture FLog;
    std::unique_ptr<mcl::TSoundtrack> FSoundtrack;
    std::unique_ptr<mcl::TEncoderThread> FEncoder;
    std::unique_ptr<mcl::TFrameConverter> FConverter;  // the caller thread's own
    Bitmap FLast;  // the frame handed in most recently (black before the first)
    std::shared_ptr<const Bitmap> FPrevious;  // the frame queued last, as drawn on
    bool FFailed = false;
    bool FFileCreated = false;
};

void TConversion::Fail(int code, const std::string& message) {
    if (FFailed) return;
    FFailed = true;
    FResult.Message = message;
    if (!FH.ErrorHandler) return;
    int answer = 2;
    try {
        FH.ErrorHandler(code, message, answer);
    } catch (...) {
        // The run stops anyway; a throwing error handler changes nothing.
    }
}

void TConversion::FailFrom(std::exception_ptr failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const TCallbackFailure& e) {
        Fail(MclErrorSource, e.what());
    } catch (const IoError& e) {
        Fail(MclErrorOutput, e.what());
    } catch (const mcl::AvError& e) {
        Fail(IsFileSystemError(e.Code()) ? MclErrorOutput : MclErrorEncoder, e.what());
    } catch (const std::exception& e) {
        Fail(MclErrorEncoder, e.what());
    } catch (...) {
        Fail(MclErrorEncoder, "unknown failure");
    }
}

void TConversion::Progress(int stage, int position) {
    if (FH.Progress) CallBack([&] { FH.Progress(FH, stage, position, 0); });
}

bool TConversion::CheckSetup() {
    if (FH.Preset == nullptr) {
        Fail(MclErrorSetup, "no output preset chosen");
    } else if (FH.VideoFileName.empty()) {
        Fail(MclErrorSetup, "no output file named");
    } else if (!FH.AudioFileName.empty() && FH.AudioFileName != FH.VideoFileName) {
        Fail(MclErrorSetup, "audio and video must go into the same file");
    } else if (!FH.VideoSource) {
        Fail(MclErrorSetup, "no video source assigned");
    }
    FPreset = FH.Preset;
    return !FFailed;
}

void TConversion::OpenOutput() {
    auto output = std::make_unique<mcl::TOutput>(*FPreset, EncoderThreads());
    try {
        output->Create(FH.VideoFileName);
    } catch (...) {
        FFileCreated = output->FileCreated();
        throw;
    }
    FFileCreated = true;
    FEncoder = std::make_unique<mcl::TEncoderThread>(std::move(output), *FPreset, QueueCapacity);
    FConverter = std::make_unique<mcl::TFrameConverter>(*FPreset);
    FSoundtrack = std::make_unique<mcl::TSoundtrack>(
        FPreset->SampleRate, FH.KeepDuration,
        [this](int index, std::string& path) { return NextSong(index, path); });
    FLast = Bitmap(FPreset->InputWidth, FPreset->InputHeight);
}

bool TConversion::NextSong(int index, std::string& path) {
    if (!FH.AudioSource) return false;
    TMclSource source(TMclSource::TKind::Audio, FPreset, nullptr);
    CallBack([&] { FH.AudioSource(source, index); });
    if (source.Finished || !source.HasFile) return false;
    path = source.File;
    return true;
}

// The audio that belongs to the first `frames` frames, run through the audio function.
std::vector<float> TConversion::AudioUpTo(std::int64_t frames, bool last) {
    const std::int64_t samples = frames * FPreset->SampleRate / FramesPerSecond;
    std::vector<float> block = last ? FSoundtrack->Finish(samples) : FSoundtrack->Release(samples);
    if (FH.AudioFunc && !block.empty()) {
        CallBack([&] { FH.AudioFunc(FH, std::span<float>(block), 2); });
    }
    return block;
}

// Asks for frame `index`, queues it with its audio; false when the video has ended.
bool TConversion::NextFrame(int index) {
    TMclSource source(TMclSource::TKind::Video, FPreset, &FLast);
    CallBack([&] { FH.VideoSource(source, index); });
    if (source.Finished && !source.HasFrame) return false;

    auto frame = std::make_shared<Bitmap>(FLast);
    if (FH.VideoFunc) CallBack([&] { FH.VideoFunc(FH, *frame, index); });
    if (frame->Width() != FLast.Width() || frame->Height() != FLast.Height()) {
        Fail(MclErrorSource, "the video function changed the frame's size");
        return false;
    }
    mcl::TJob job;
    if (FPrevious && *frame == *FPrevious) {
        // Stills make up most of a slide show: their pixels need no second conversion.
        job.Repeat = true;
    } else if (FEncoder->Pending() * 2 >= FEncoder->Capacity()) {
        // The encoder falls behind: this thread converts the picture to lighten its load.
        job.Picture = FConverter->Convert(*frame);
        FPrevious = std::move(frame);
    } else {
        job.Frame = frame;
        FPrevious = std::move(frame);
    }
    job.Audio = AudioUpTo(FResult.Frames + 1, false);
    if (!FEncoder->Push(std::move(job))) {
        FailFrom(FEncoder->Failure());
        return false;
    }
    FH.FramesDone = ++FResult.Frames;
    Progress(MclStageEncoding, FResult.Frames);
    return !source.Finished;
}

void TConversion::RunFrames() {
    for (int index = 0; !FFailed; ++index) {
        if (FH.AbortRequested) {
            FResult.Aborted = true;
            return;
        }
        if (!NextFrame(index)) return;
    }
}

void TConversion::FinishFile() {
    Progress(MclStageFinishing, FResult.Frames);
    std::vector<float> tail = AudioUpTo(FResult.Frames, true);
    if (!FEncoder->Finish(std::move(tail))) FailFrom(FEncoder->Failure());
}

TMclResult TConversion::Run() {
    if (CheckSetup()) {
        try {
            OpenOutput();
            RunFrames();
            if (!FFailed && FResult.Frames == 0) {
                Fail(MclErrorSource, "the video source handed over no frame");
            }
            if (!FFailed) FinishFile();
        } catch (...) {
            if (FEncoder && FEncoder->Failure()) {
                FailFrom(FEncoder->Failure());
            } else {
                FailFrom(std::current_exception());
            }
        }
    }
    FEncoder.reset();  // stops the thread and closes the file
    if (FFailed && FFileCreated) {
        std::error_code ignored;
        if (std::filesystem::is_regular_file(FH.VideoFileName, ignored)) {
            std::filesystem::remove(FH.VideoFileName, ignored);
        }
    }
    if (FSoundtrack) FResult.SkippedSongs = FSoundtrack->Skipped();
    FResult.BufferWarnings = FLog.BufferWarnings();
    FResult.Ok = !FFailed;
    return FResult;
}

}  // namespace

TMclResult MclConvert(TMcl& h) {
    if (h.Running.exchange(true)) {
        TMclResult busy;
        busy.Message = "a conversion is already running on this handle";
        return busy;
    }
    h.AbortRequested = false;
    h.FramesDone = 0;
    h.FinalSeconds = -1.0;
    h.StartTime = std::chrono::steady_clock::now();
    h.Started = true;
    TMclResult result = TConversion(h).Run();
    result.Seconds = MclGetElapsedTime(h);
    h.FinalSeconds = result.Seconds;
    try {
        if (h.Progress) h.Progress(h, MclStageDone, result.Frames, 0);
    } catch (...) {
        // The conversion has ended; a failing status display cannot change its result.
    }
    h.Running = false;
    return result;
}

}  // namespace velmora
