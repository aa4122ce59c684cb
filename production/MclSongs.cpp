#include "production/MclSongs.h"

#include <algorithm>

#include "audio/BassApi.h"

namespace velmora::mcl {

namespace {

constexpr int Channels = 2;
// A source that keeps naming songs none of which decodes would never end the soundtrack.
constexpr int MaxSkippedInARow = 1000;
// Frames decoded per step while filling.
constexpr int ReadFrames = 4608;

}  // namespace

std::int64_t ProbeSongSamples(const std::string& path, int rate) noexcept {
    try {
        int error = 0;
        const auto song = TBassStream::Open(path, rate > 0 ? rate : 44100, error);
        return song ? std::int64_t(song->LengthFramesAt(rate)) : 0;
    } catch (const std::exception&) {
        return 0;
    }
}

TSoundtrack::TSoundtrack(int rate, bool padWithSilence, TNextSong nextSong)
    : FRate(rate),
      FPad(padWithSilence),
      FNextSong(std::move(nextSong)),
      FHoldBack(std::int64_t(FadeSeconds * rate)) {}

bool TSoundtrack::OpenNextSong() {
    std::string path;
    if (!FNextSong(FNextIndex, path)) {
        FSongsDone = true;
        return false;
    }
    ++FNextIndex;
    int error = BASS_OK;
    FReader = TBassStream::Open(path, FRate, error, TBassStream::TSampleFormat::Float);
    if (!FReader) {
        FSkipped.push_back(path + (error == BASS_ERROR_FILEOPEN
                                       ? ": cannot open the song"
                                       : ": no decodable audio in the song"));
        return false;
    }
    FReaderPath = path;
    FReaderFrames = 0;
    return true;
}

void TSoundtrack::Fill(std::int64_t upTo) {
    int skippedInARow = 0;
    while (FBufferStart + std::int64_t(FBuffer.size() / Channels) < upTo) {
        if (FSongsDone) {
            if (!FPad) return;
            FBuffer.resize(std::size_t(upTo - FBufferStart) * Channels, 0.0f);
            return;
        }
        if (!FReader) {
            if (!OpenNextSong() && !FSongsDone && ++skippedInARow >= MaxSkippedInARow) {
                FSongsDone = true;
            }
            continue;
        }
        const std::size_t old = FBuffer.size();
        FBuffer.resize(old + std::size_t(ReadFrames) * Channels);
        const int got = FReader->Read(FBuffer.data() + old, ReadFrames);
        FBuffer.resize(old + std::size_t(got) * Channels);
        FReaderFrames += got;
        FSongEnd = FBufferStart + std::int64_t(FBuffer.size() / Channels);
        if (got > 0) {
            skippedInARow = 0;
            continue;
        }
        if (FReaderFrames == 0) {
            FSkipped.push_back(FReaderPath + ": no audio could be decoded");
            if (++skippedInARow >= MaxSkippedInARow) FSongsDone = true;
        }
        FReader.reset();
    }
}

std::vector<float> TSoundtrack::Take(std::int64_t upTo) {
    const std::int64_t available = FBufferStart + std::int64_t(FBuffer.size() / Channels);
    upTo = std::min(upTo, available);
    if (upTo <= FBufferStart) return {};
    const auto count = std::ptrdiff_t((upTo - FBufferStart) * Channels);
    std::vector<float> block(FBuffer.begin(), FBuffer.begin() + count);
    FBuffer.erase(FBuffer.begin(), FBuffer.begin() + count);
    FBufferStart = upTo;
    return block;
}

std::vector<float> TSoundtrack::Release(std::int64_t upTo) {
    Fill(upTo);
    return Take(upTo - FHoldBack);
}

std::vector<float> TSoundtrack::Finish(std::int64_t end) {
    Fill(end + 1);
    if (FSongEnd > end) {
        // A song goes on past the video: fade it out over the last FadeSeconds.
        const std::int64_t fadeStart = std::max(FBufferStart, end - FHoldBack);
        for (std::int64_t pos = fadeStart; pos < end; ++pos) {
            const float gain = float(end - pos) / float(FHoldBack);
            float* sample = FBuffer.data() + std::size_t(pos - FBufferStart) * Channels;
            for (int ch = 0; ch < Channels; ++ch) sample[ch] *= gain;
        }
    }
    return Take(end);
}

}  // namespace velmora::mcl
