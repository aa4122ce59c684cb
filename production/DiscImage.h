#pragma once
// Disc images of a finished production: after a DVD render a DVD-Video folder (VIDEO_TS, one
// title with a chapter at the start of every picture) made by dvdauthor and an ISO image of
// it; after a VCD or SVCD render a .bin/.cue image made by vcdimager. The tools run as child
// processes with argument lists (no shell) and their output is captured for the message of a
// failure. Nothing here touches the MPEG file: a failure leaves it as it was.
//
// The ISO image is made by genisoimage with -dvd-video: hardware DVD players read the UDF file
// system of a disc, which genisoimage writes beside ISO 9660; xorriso writes no UDF.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "production/ProductionSettings.h"

namespace velmora {

/// What making a disc image did.
struct TDiscImageResult {
    bool Ok = false;
    /// Why it failed (a missing tool names its Debian package; a failing tool's last lines of
    /// output are quoted). Always says that the MPEG file is kept.
    std::string Message;
    /// The files and folders made, in the order they were made.
    std::vector<std::string> Made;
};

/// The frame on which each picture's slot begins in the rendered file: the file opens with
/// one frame before the first slot, and every slot lasts its still frames + 51.
std::vector<std::int64_t> PictureStartFrames(std::span<const std::int64_t> stillFrames);

/// Chapter times in seconds for dvdauthor: the first at 0 (the opening frame belongs to the
/// first picture), then the start of every later picture.
std::vector<double> ChapterSeconds(std::span<const std::int64_t> stillFrames);

/// Whether an output type has a disc image (VCD, SVCD, DVD).
bool HasDiscImage(TOutputType type) noexcept;

/// For an MPEG file "dir/NAME.mpg": the DVD folder "dir/NAME" (holding VIDEO_TS and AUDIO_TS)
/// and the ISO image "dir/NAME.iso".
std::string DvdFolderPath(const std::string& mpegPath);
std::string DvdIsoPath(const std::string& mpegPath);
/// For an MPEG file "dir/NAME.mpg": "dir/NAME.bin" and "dir/NAME.cue".
std::string VcdBinPath(const std::string& mpegPath);
std::string VcdCuePath(const std::string& mpegPath);

/// Authors the DVD file into its DVD folder with chapters at the given seconds and makes its
/// ISO image. A previous DVD folder of the same name (holding only VIDEO_TS and AUDIO_TS) and
/// a previous image are replaced once the new ones are complete; anything else of that name
/// is left alone and the call fails.
TDiscImageResult MakeDvdImage(const std::string& mpegPath, std::span<const double> chapters);

/// Makes the .bin/.cue image of a VCD (svcd = false) or SVCD file; the .cue names the .bin by
/// its file name, so the two can be moved together.
TDiscImageResult MakeVcdImage(const std::string& mpegPath, bool svcd);

/// The image that suits the output type (DVD, VCD or SVCD), chapters from the still frames.
TDiscImageResult MakeDiscImage(const std::string& mpegPath, TOutputType type,
                               std::span<const std::int64_t> stillFrames);

}  // namespace velmora
