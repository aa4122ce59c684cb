#pragma once
// The media conversion layer: encodes frames and songs into one standard VCD, SVCD or DVD MPEG
// file. The caller creates a conversion handle, assigns its callbacks, names the songs and the
// output file, chooses a preset and calls MclConvert; MclConvert then asks the video source for
// frames and the audio source for songs, on the caller's thread, until the video source declares
// itself finished. Encoding runs on worker threads inside the layer, which the caller never sees.
//
// Typical run:
//     MclHandle h = MclCreate();
//     MclAssignVideoSource(*h, ...); ... MclAssignError(*h, ...);
//     MclListHandle list = MclListCreate();
//     MclListAdd(*list, "/album/1.mp3", 16, 0, 0);
//     MclVideoSetFileName(*h, out); MclAudioSetFileName(*h, out);
//     MclEnableMPEG2(); MclSetFormatPreset(*h, 2, 0);
//     MclVideoSetKeepDuration(*h, -1);
//     TMclResult result = MclConvert(*h);
//     MclListFree(list); MclFree(h);

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "imaging/Bitmap.h"

namespace velmora {

class TMcl;
class TMclList;
class TMclSource;

/// Deleters of the layer's opaque objects (the types stay private to the layer).
struct TMclDeleter {
    void operator()(TMcl* h) const noexcept;
};
struct TMclListDeleter {
    void operator()(TMclList* list) const noexcept;
};

/// A conversion handle, owned by the caller.
using MclHandle = std::unique_ptr<TMcl, TMclDeleter>;
/// A song list, owned by the caller.
using MclListHandle = std::unique_ptr<TMclList, TMclListDeleter>;

/// Output presets of MclSetFormatPreset.
enum TMclPreset : int {
    MclPresetVcd = 0,
    MclPresetSvcd = 1,
    MclPresetDvd = 2,
    MclPresetMp4_720p = 3,   ///< H.264 and AAC in MP4, 1280 x 720
    MclPresetMp4_1080p = 4,  ///< H.264 and AAC in MP4, 1920 x 1080
};

/// Stages reported to the progress callback.
enum TMclStage : int {
    MclStageDone = 0,       ///< conversion ended (normally, aborted or failed); position = frames
    MclStagePrepare = 1,    ///< reserved for preparation steps before the first frame
    MclStageFinishing = 2,  ///< after the last frame: flushing encoders, writing the trailer
    MclStageEncoding = 3,   ///< one call after each frame; position = frames done
};

/// Video source: asked once per frame. It hands the frame to MclSourceSetDIB and, with the last
/// frame, calls MclSourceFinished. frameIndex counts the requests from 0. A request answered
/// with no frame encodes the previous frame again (a black frame before the first); finishing
/// without a frame makes the previous frame the last.
using TMclVideoSource = std::function<void(TMclSource& source, int frameIndex)>;
/// Video function: called for every frame after the source handed it over and before it is
/// encoded; may draw into the image (the layer's own copy of the frame).
using TMclVideoFunc = std::function<void(TMcl& h, Bitmap& image, int frameIndex)>;
/// Audio source: asked for song number index (0, 1, 2, ...). It names the file with
/// MclSourceSetFile or ends the songs with MclSourceFinished.
using TMclAudioSource = std::function<void(TMclSource& source, int index)>;
/// Audio function: called with every block of decoded, resampled audio before it is encoded
/// (interleaved stereo float samples, may be changed in place), on the caller's thread.
using TMclAudioFunc = std::function<void(TMcl& h, std::span<float> samples, int channels)>;
/// Progress: stage (TMclStage), position (frames done for stages 3 and 0), reserved (always 0).
using TMclProgress = std::function<void(TMcl& h, int stage, int position, int reserved)>;
/// Error: a failure that stops the conversion. code is a TMclErrorCode, message its text. The
/// callback may store an answer into result (2 = stop); the conversion stops whatever the
/// answer, since no failure it reports can be continued past.
using TMclError = std::function<void(int code, const std::string& message, int& result)>;

/// Codes passed to the error callback.
enum TMclErrorCode : int {
    MclErrorSetup = 1,    ///< missing preset, file name or callback
    MclErrorOutput = 2,   ///< the output file cannot be created or written (folder, disk full)
    MclErrorEncoder = 3,  ///< an encoder or the multiplexer failed
    MclErrorSource = 4,   ///< a callback threw or handed over an unusable frame
};

/// What MclConvert did. A failure is never reported as success: Ok is false and Message says
/// why whenever no complete, playable file was written (the partial file is then removed).
struct TMclResult {
    bool Ok = false;
    bool Aborted = false;                   ///< MclAbort ended the run early (file still playable)
    std::string Message;                    ///< failure text; empty on success
    int Frames = 0;                         ///< video frames written
    double Seconds = 0;                     ///< elapsed wall time
    std::vector<std::string> SkippedSongs;  ///< songs that could not be decoded (skipped)
    int BufferWarnings = 0;  ///< frames where a constant-rate stream could not hold its buffer
    /// One line per notice worth showing after the run (skipped songs, buffer warnings).
    std::vector<std::string> Notices() const;
};

// ---- conversion handle ---------------------------------------------------------------------

/// A new conversion handle with no callbacks, no file and no preset.
MclHandle MclCreate();
/// Frees the handle (resets it). Must not be called from inside MclConvert's callbacks.
void MclFree(MclHandle& h) noexcept;

void MclAssignVideoSource(TMcl& h, TMclVideoSource callback);
void MclAssignVideoFunc(TMcl& h, TMclVideoFunc callback);
void MclAssignAudioSource(TMcl& h, TMclAudioSource callback);
void MclAssignAudioFunc(TMcl& h, TMclAudioFunc callback);
void MclAssignProgress(TMcl& h, TMclProgress callback);
void MclAssignError(TMcl& h, TMclError callback);

/// The output file of the video; the audio goes into the same file (one program stream), so
/// both names must be equal.
void MclVideoSetFileName(TMcl& h, const std::string& path);
void MclAudioSetFileName(TMcl& h, const std::string& path);

/// Allows the MPEG-2 presets (SVCD, DVD) in this process. MclSetFormatPreset refuses them
/// with InvalidArgument until this has been called once.
void MclEnableMPEG2() noexcept;
/// Chooses the output preset (TMclPreset: 0 VCD, 1 SVCD, 2 DVD, 3 MP4 720p, 4 MP4 1080p).
/// flags must be 0. Throws
/// InvalidArgument for an unknown preset or an MPEG-2 preset without MclEnableMPEG2.
void MclSetFormatPreset(TMcl& h, int preset, int flags);
/// keep != 0 (the run passes -1): the file lasts exactly as long as the video; the songs are
/// cut with a short fade at the video's end or padded with silence to it. keep = 0: the
/// songs are still cut at the video's end but not padded when they end before it.
void MclVideoSetKeepDuration(TMcl& h, int keep);

/// Runs the conversion on the calling thread and returns at its end. The callbacks run on this
/// thread. Never throws for failures of the conversion itself: they go to the error callback
/// and into the result.
TMclResult MclConvert(TMcl& h);
/// Ends a running conversion soon after (from a callback, typically progress): the frames
/// encoded so far are written out as a complete, playable file.
void MclAbort(TMcl& h) noexcept;

/// Seconds since MclConvert started (the whole run's time once it has ended).
double MclGetElapsedTime(const TMcl& h) noexcept;
/// Estimated seconds left: the elapsed time scaled by the frames still to do against the
/// frames done. totalSamples (the songs' samples) is accepted for the caller's convenience;
/// audio is encoded alongside the frames and adds nothing of its own.
double MclGetRemainingTime(const TMcl& h, int totalFrames, std::int64_t totalSamples) noexcept;
/// A time in seconds as "hh:mm:ss" (negative times as "00:00:00", hours beyond 99 kept).
std::string MclMakeTimeStr(double time);

// ---- sources (only inside the source callbacks) --------------------------------------------

/// Hands over one 24-bit frame of the preset's input size (VCD 320 x 288, SVCD 480 x 576,
/// DVD 720 x 576). The pixels are copied during the call. Throws InvalidArgument for a frame
/// of another size.
void MclSourceSetDIB(TMclSource& source, const Bitmap& bitmap);
/// Names the song file asked for by the audio source callback.
void MclSourceSetFile(TMclSource& source, const std::string& name);
/// Video: the frame handed over in this call (or before it) is the last. Audio: no more songs.
void MclSourceFinished(TMclSource& source) noexcept;

// ---- song list -----------------------------------------------------------------------------

MclListHandle MclListCreate();
/// Appends a song. bitsPerSample must be 16 (the layer's sample depth); sampleRate is the rate
/// at which MclListGetSampleCount counts this song (0 = the song's own rate); flags must be 0.
/// A file that cannot be read is still listed (0 samples) and skipped by the conversion.
/// Throws InvalidArgument for other values.
void MclListAdd(TMclList& list, const std::string& path, int bitsPerSample, int sampleRate,
                int flags);
/// The listed songs' total length in samples (per channel), each at the rate it was added with.
std::int64_t MclListGetSampleCount(const TMclList& list);
/// The path of entry index into name; false (name untouched) when there is no such entry.
bool MclListGetName(const TMclList& list, int index, std::string& name);
/// The audio source callback's usual answer: song `index` of the list when it has one
/// (MclSourceSetFile), otherwise no more songs (MclSourceFinished).
void MclSourceSetListEntry(TMclSource& source, const TMclList& list, int index);
void MclListFree(MclListHandle& list) noexcept;

}  // namespace velmora
