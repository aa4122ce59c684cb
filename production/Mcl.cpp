// The setting-up calls of the media conversion layer: handles, callbacks, presets, sources,
// the song list and the time helpers. The conversion itself is in MclConvert.cpp.

#include "production/Mcl.h"

#include <atomic>
#include <cmath>
#include <cstdio>

#include "base/Errors.h"
#include "production/MclHandle.h"
#include "production/MclSongs.h"

namespace velmora {

namespace {

std::atomic<bool> Mpeg2Enabled{false};

}  // namespace

void TMclDeleter::operator()(TMcl* h) const noexcept { delete h; }
void TMclListDeleter::operator()(TMclList* list) const noexcept { delete list; }

std::vector<std::string> TMclResult::Notices() const {
    std::vector<std::string> lines;
    for (const std::string& song : SkippedSongs) {
        lines.push_back("song skipped, it cannot be decoded: " + song);
    }
    if (BufferWarnings > 0) {
        lines.push_back(std::to_string(BufferWarnings) +
                        " frame(s) too detailed for the stream's buffer; they may stutter on "
                        "strict players");
    }
    return lines;
}

MclHandle MclCreate() { return MclHandle(new TMcl); }

void MclFree(MclHandle& h) noexcept { h.reset(); }

void MclAssignVideoSource(TMcl& h, TMclVideoSource callback) {
    h.VideoSource = std::move(callback);
}
void MclAssignVideoFunc(TMcl& h, TMclVideoFunc callback) { h.VideoFunc = std::move(callback); }
void MclAssignAudioSource(TMcl& h, TMclAudioSource callback) {
    h.AudioSource = std::move(callback);
}
void MclAssignAudioFunc(TMcl& h, TMclAudioFunc callback) { h.AudioFunc = std::move(callback); }
void MclAssignProgress(TMcl& h, TMclProgress callback) { h.Progress = std::move(callback); }
void MclAssignError(TMcl& h, TMclError callback) { h.ErrorHandler = std::move(callback); }

void MclVideoSetFileName(TMcl& h, const std::string& path) { h.VideoFileName = path; }
void MclAudioSetFileName(TMcl& h, const std::string& path) { h.AudioFileName = path; }

void MclEnableMPEG2() noexcept { Mpeg2Enabled = true; }

void MclSetFormatPreset(TMcl& h, int preset, int flags) {
    const mcl::TPreset* found = mcl::FindPreset(preset);
    if (found == nullptr || flags != 0) {
        throw InvalidArgument("unknown output preset " + std::to_string(preset) + " (flags " +
                              std::to_string(flags) + ")");
    }
    if (found->VideoCodec == AV_CODEC_ID_MPEG2VIDEO && !Mpeg2Enabled) {
        throw InvalidArgument(std::string("the ") + found->Name +
                              " preset needs MPEG-2, which MclEnableMPEG2 enables");
    }
    h.Preset = found;
}

void MclVideoSetKeepDuration(TMcl& h, int keep) { h.KeepDuration = keep != 0; }

void MclAbort(TMcl& h) noexcept { h.AbortRequested = true; }

double MclGetElapsedTime(const TMcl& h) noexcept {
    const double final = h.FinalSeconds.load();
    if (final >= 0) return final;
    if (!h.Started) return 0.0;
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - h.StartTime).count();
}

double MclGetRemainingTime(const TMcl& h, int totalFrames, std::int64_t /*totalSamples*/) noexcept {
    const int done = h.FramesDone.load();
    if (done <= 0 || totalFrames <= done) return 0.0;
    return MclGetElapsedTime(h) * double(totalFrames - done) / double(done);
}

std::string MclMakeTimeStr(double time) {
    long long seconds = std::isfinite(time) && time > 0 ? std::llround(std::floor(time)) : 0;
    char text[32];
    std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld", seconds / 3600, seconds / 60 % 60,
                  seconds % 60);
    return text;
}

void MclSourceSetDIB(TMclSource& source, const Bitmap& bitmap) {
    if (source.Kind != TMclSource::TKind::Video || source.Frame == nullptr) {
        throw InvalidArgument("MclSourceSetDIB is for the video source");
    }
    if (bitmap.Width() != source.Preset->InputWidth ||
        bitmap.Height() != source.Preset->InputHeight) {
        throw InvalidArgument("frame of " + std::to_string(bitmap.Width()) + " x " +
                              std::to_string(bitmap.Height()) + " pixels; the " +
                              source.Preset->Name + " preset takes " +
                              std::to_string(source.Preset->InputWidth) + " x " +
                              std::to_string(source.Preset->InputHeight));
    }
    *source.Frame = bitmap;
    source.HasFrame = true;
}

void MclSourceSetFile(TMclSource& source, const std::string& name) {
    if (source.Kind != TMclSource::TKind::Audio) {
        throw InvalidArgument("MclSourceSetFile is for the audio source");
    }
    source.File = name;
    source.HasFile = true;
}

void MclSourceFinished(TMclSource& source) noexcept { source.Finished = true; }

MclListHandle MclListCreate() { return MclListHandle(new TMclList); }

void MclListAdd(TMclList& list, const std::string& path, int bitsPerSample, int sampleRate,
                int flags) {
    if (bitsPerSample != 16 || sampleRate < 0 || flags != 0) {
        throw InvalidArgument("MclListAdd takes 16 bits per sample, a rate >= 0 and flags 0");
    }
    list.Entries.push_back({path, mcl::ProbeSongSamples(path, sampleRate)});
}

std::int64_t MclListGetSampleCount(const TMclList& list) {
    std::int64_t total = 0;
    for (const TMclList::TEntry& entry : list.Entries) total += entry.Samples;
    return total;
}

bool MclListGetName(const TMclList& list, int index, std::string& name) {
    if (index < 0 || std::size_t(index) >= list.Entries.size()) return false;
    name = list.Entries[std::size_t(index)].Path;
    return true;
}

void MclSourceSetListEntry(TMclSource& source, const TMclList& list, int index) {
    std::string name;
    if (MclListGetName(list, index, name)) {
        MclSourceSetFile(source, name);
    } else {
        MclSourceFinished(source);
    }
}

void MclListFree(MclListHandle& list) noexcept { list.reset(); }

}  // namespace velmora
