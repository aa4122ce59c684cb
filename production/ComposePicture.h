#pragma once
// Frame composition: an album picture fitted onto a frame-sized image over a background colour
// or a randomly chosen background picture. The picture is drawn on a canvas of three times the
// frame size and reduced by 3 x 3 box averaging, which smooths the scaled edges.

#include <cstdint>
#include <list>
#include <string>
#include <utility>
#include <vector>

#include "imaging/Bitmap.h"
#include "imaging/Geometry.h"

namespace velmora {

/// How the space around a picture is filled.
struct TBackgroundFill {
    /// false: the fill colour (the default); true: a background picture chosen at random.
    bool UsePictures = false;
    /// The fill colour as 0xRRGGBB; black until the user chooses one.
    std::uint32_t Colour = 0x000000;
    /// Full paths of the checked background pictures. With none, the fill colour is used.
    std::vector<std::string> Pictures;
    /// The blurred fill (BlurFill.h): the picture itself, blurred, around the picture; takes
    /// the place of the background pictures. A picture that cannot be decoded gets the colour.
    bool Blur = false;
};

/// True for a 16:9 frame (the HD presets, 1280 x 720 and 1920 x 1080), whose pixels are
/// square; every other frame is a disc preset's, shown at 4:3 with pixels of that shape.
bool SquarePixelFrame(int frameWidth, int frameHeight) noexcept;

/// Decodes a picture for a frame of frameWidth x frameHeight: a JPEG much larger than the
/// frame is decoded at a reduced DCT scale that still covers twice the frame size. Empty
/// when the file is missing or cannot be decoded. Safe to call from any thread.
Bitmap DecodeForFrame(const std::string& path, int frameWidth, int frameHeight);

/// Composes pictures at one frame size. Keeps the canvas and the decoded background pictures
/// between compositions of a run, and records every file that could not be decoded.
class TFrameComposer {
public:
    TFrameComposer(int frameWidth, int frameHeight, TBackgroundFill fill);

    /// Decodes the picture file at path and composes it into dest (resized to the frame size)
    /// over a background chosen now. A file that cannot be decoded gives the background alone
    /// and is recorded.
    void ComposePicture(const std::string& path, Bitmap& dest);
    /// Composes an already decoded picture (from DecodeForFrame) over a background chosen now;
    /// an empty picture gives the background alone and records path as undecodable.
    void Compose(const Bitmap& picture, const std::string& path, Bitmap& dest);

    /// Draws the background choice of one composition: in picture mode the random generator is
    /// reseeded and one of the background pictures is taken uniformly; -1 means the fill
    /// colour. Touches nothing but the generator, so a run can draw it on its own thread while
    /// an earlier composition is still being made on a worker.
    int ChooseBackground() const;
    /// ComposePicture over a background already chosen by ChooseBackground. An empty path
    /// stands for a file that cannot be named (recorded as failed under `name`). One
    /// composition at a time per composer, on any thread.
    void ComposeFile(const std::string& path, const std::string& name, int background,
                     Bitmap& dest);
    /// Compose over a background already chosen by ChooseBackground.
    void ComposeWith(const Bitmap& picture, const std::string& name, int background, Bitmap& dest);

    /// The pictures that could not be decoded, each once, in the order they were met.
    const std::vector<std::string>& Failures() const noexcept { return FFailures; }
    /// The background pictures that could not be decoded (the fill colour took their place).
    const std::vector<std::string>& BackgroundFailures() const noexcept {
        return FBackgroundFailures;
    }

    int FrameWidth() const noexcept { return FFrameWidth; }
    int FrameHeight() const noexcept { return FFrameHeight; }

private:
    void DrawBackground(int background);
    void DrawBlurredFill(const Bitmap& picture, const TRect& keep);
    const Bitmap* BackgroundCanvas(const std::string& path);
    static void RecordFailure(std::vector<std::string>& failures, const std::string& path);

    int FFrameWidth;
    int FFrameHeight;
    TBackgroundFill FFill;
    Bitmap FCanvas;
    Bitmap FBlurred;  // the blurred fill at frame size
    /// Background pictures already stretched to the canvas, most recently used first.
    std::list<std::pair<std::string, Bitmap>> FBackgrounds;
    std::vector<std::string> FFailures;
    std::vector<std::string> FBackgroundFailures;
};

}  // namespace velmora
