#include "production/ComposePicture.h"

#include <algorithm>
#include <cstring>
#include <numeric>

#include "effects/EffectRandom.h"
#include "imaging/Fitting.h"
#include "imaging/LoadPicture.h"
#include "production/BlurFill.h"
#include "production/FramePixels.h"

namespace velmora {

namespace {

/// Background pictures kept stretched at canvas size (a DVD canvas is about 11 MB).
constexpr std::size_t MaxCachedBackgrounds = 4;

}  // namespace

bool SquarePixelFrame(int frameWidth, int frameHeight) noexcept {
    return frameWidth > 0 && std::int64_t(frameWidth) * 9 == std::int64_t(frameHeight) * 16;
}

Bitmap DecodeForFrame(const std::string& path, int frameWidth, int frameHeight) {
    // Twice the frame size keeps at least two source pixels under every output pixel after the
    // 3 x 3 reduction, and lets a 12-megapixel photo decode at half scale, the fast path of the
    // JPEG decoder (a 4000 x 3000 photo decodes in about 60 % of the full time).
    return LoadPictureToBitmap(path, MessageSink(), 2 * frameWidth, 2 * frameHeight);
}

TFrameComposer::TFrameComposer(int frameWidth, int frameHeight, TBackgroundFill fill)
    : FFrameWidth(frameWidth),
      FFrameHeight(frameHeight),
      FFill(std::move(fill)),
      FCanvas(3 * frameWidth, 3 * frameHeight) {}

void TFrameComposer::ComposePicture(const std::string& path, Bitmap& dest) {
    ComposeFile(path, path, ChooseBackground(), dest);
}

void TFrameComposer::Compose(const Bitmap& picture, const std::string& path, Bitmap& dest) {
    ComposeWith(picture, path, ChooseBackground(), dest);
}

int TFrameComposer::ChooseBackground() const {
    if (FFill.Blur || !FFill.UsePictures || FFill.Pictures.empty()) return -1;
    Randomize();
    return int(RandomBelow(std::uint32_t(FFill.Pictures.size())));
}

void TFrameComposer::ComposeFile(const std::string& path, const std::string& name, int background,
                                 Bitmap& dest) {
    const Bitmap picture =
        path.empty() ? Bitmap() : DecodeForFrame(path, FFrameWidth, FFrameHeight);
    ComposeWith(picture, name, background, dest);
}

void TFrameComposer::ComposeWith(const Bitmap& picture, const std::string& name, int background,
                                 Bitmap& dest) {
    TRect to;
    if (!picture.Empty()) {
        // A disc preset's frame is shown at 4:3, so its pixels are wider than tall (DVD
        // 720 x 576 by 16:15, SVCD 480 x 576 by 8:5, VCD 320 x 288 by 6:5); the picture is
        // fitted as displayed: its width counts in frame pixels, narrowed by that ratio. A
        // 16:9 frame (the HD presets) has square pixels.
        std::int64_t wide = 4 * std::int64_t(FFrameHeight);
        std::int64_t square = 3 * std::int64_t(FFrameWidth);
        if (SquarePixelFrame(FFrameWidth, FFrameHeight)) wide = square = 1;
        const std::int64_t common = std::gcd(wide, square);
        to = FitPicture(FCanvas.Width(), FCanvas.Height(), int(picture.Width() * (square / common)),
                        int(picture.Height() * (wide / common)));
    }
    if (FFill.Blur && !picture.Empty()) {
        DrawBlurredFill(picture, to);
    } else {
        DrawBackground(background);
    }
    if (picture.Empty()) {
        RecordFailure(FFailures, name);
    } else {
        StretchBitmap(picture, FCanvas, to);
    }
    if (dest.Width() != FFrameWidth || dest.Height() != FFrameHeight) {
        dest.SetSize(FFrameWidth, FFrameHeight);
    }
    ReduceBy3(FCanvas, dest);
}

void TFrameComposer::DrawBlurredFill(const Bitmap& picture, const TRect& keep) {
    // Made at frame size and repeated 3 x 3 on the canvas, so the reduction gives it back
    // unchanged; the canvas under the picture is left for the picture.
    MakeBlurredFill(picture, FFrameWidth, FFrameHeight, FBlurred);
    ExpandBy3Around(FBlurred, FCanvas, keep);
}

void TFrameComposer::DrawBackground(int background) {
    if (background >= 0 && std::size_t(background) < FFill.Pictures.size()) {
        if (const Bitmap* canvas = BackgroundCanvas(FFill.Pictures[std::size_t(background)])) {
            std::memcpy(FCanvas.Bits(), canvas->Bits(), FCanvas.ByteCount());
            return;
        }
    }
    FCanvas.FillRgb(FFill.Colour);
}

const Bitmap* TFrameComposer::BackgroundCanvas(const std::string& path) {
    auto found = std::find_if(FBackgrounds.begin(), FBackgrounds.end(),
                              [&](const auto& entry) { return entry.first == path; });
    if (found != FBackgrounds.end()) {
        FBackgrounds.splice(FBackgrounds.begin(), FBackgrounds, found);
    } else {
        // Decoded once, stretched over the whole canvas without keeping its aspect. A file
        // that cannot be decoded is remembered as an empty entry and falls back to the colour.
        Bitmap stretched;
        const Bitmap decoded = DecodeForFrame(path, FFrameWidth, FFrameHeight);
        if (decoded.Empty()) {
            RecordFailure(FBackgroundFailures, path);
        } else {
            stretched.SetSize(FCanvas.Width(), FCanvas.Height());
            StretchBitmap(decoded, stretched, {0, 0, FCanvas.Width(), FCanvas.Height()});
        }
        FBackgrounds.emplace_front(path, std::move(stretched));
        if (FBackgrounds.size() > MaxCachedBackgrounds) FBackgrounds.pop_back();
    }
    const Bitmap& canvas = FBackgrounds.front().second;
    return canvas.Empty() ? nullptr : &canvas;
}

void TFrameComposer::RecordFailure(std::vector<std::string>& failures, const std::string& path) {
    if (std::find(failures.begin(), failures.end(), path) == failures.end()) {
        failures.push_back(path);
    }
}

}  // namespace velmora
