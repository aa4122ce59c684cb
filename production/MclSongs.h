#pragma once
// The soundtrack of a conversion: songs decoded one after another by the audio layer's song
// reader (audio/BassStream.h, the same one the player uses), as interleaved stereo float at
// the output's rate, cut with a short fade at the video's end or padded with silence to it.
// A song that cannot be decoded is skipped and remembered.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "audio/BassStream.h"

namespace velmora::mcl {

/// The length of a song in samples at `rate` (0 = the song's own rate); 0 when the file
/// cannot be read.
std::int64_t ProbeSongSamples(const std::string& path, int rate) noexcept;

class TSoundtrack {
public:
    /// Asks for song number index; returns false when there are no more songs.
    using TNextSong = std::function<bool(int index, std::string& path)>;

    /// Seconds kept back before the video's end is known, and faded out when a song is cut.
    static constexpr double FadeSeconds = 1.0;

    TSoundtrack(int rate, bool padWithSilence, TNextSong nextSong);

    /// Decodes up to sample position upTo and returns the interleaved samples from the last
    /// position handed out to upTo minus the fade length, which stays back.
    std::vector<float> Release(std::int64_t upTo);
    /// The samples from the last position handed out to end, the end of the video: songs
    /// going on beyond it are faded out over its last FadeSeconds; a soundtrack shorter than
    /// the video is padded with silence (or ends early without padding).
    std::vector<float> Finish(std::int64_t end);

    /// Songs skipped because they could not be decoded, each "path: reason".
    const std::vector<std::string>& Skipped() const noexcept { return FSkipped; }

private:
    void Fill(std::int64_t upTo);
    bool OpenNextSong();
    std::vector<float> Take(std::int64_t upTo);

    int FRate;
    bool FPad;
    TNextSong FNextSong;
    std::int64_t FHoldBack;
    std::unique_ptr<TBassStream> FReader;
    std::string FReaderPath;
    std::int64_t FReaderFrames = 0;  // frames the open song has given
    int FNextIndex = 0;
    bool FSongsDone = false;
    std::vector<float> FBuffer;     // interleaved stereo from FBufferStart on
    std::int64_t FBufferStart = 0;  // sample position of FBuffer[0]
    std::int64_t FSongEnd = 0;      // position after the last sample that came from a song
    std::vector<std::string> FSkipped;
};

}  // namespace velmora::mcl
