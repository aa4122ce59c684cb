#include "production/DiscImage.h"

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <random>
#include <system_error>

#include "production/Timeline.h"
#include "production/ToolProcess.h"

namespace velmora {

namespace fs = std::filesystem;

namespace {

const char* const KeptText = "; the MPEG file is kept.";

/// A failure whose message ends with the note that the MPEG file is kept.
TDiscImageResult Failure(const std::string& why) {
    TDiscImageResult result;
    result.Message = why + KeptText;
    return result;
}

/// The tool's path, or "" with the failure set when it is not installed.
std::string NeedTool(const std::string& program, const std::string& package,
                     TDiscImageResult& failure) {
    const std::string path = FindTool(program);
    if (path.empty()) {
        failure = Failure(program + " is not installed (Debian package " + package +
                          "), so no disc image was made");
    }
    return path;
}

/// Runs a tool; on failure fills `failure` with its name, status and last lines of output.
bool Run(const std::string& path, const std::string& name, const std::vector<std::string>& args,
         const std::string& workingDir, TDiscImageResult& failure,
         const std::vector<std::pair<std::string, std::string>>& environment = {}) {
    const TToolResult run = RunTool(path, args, workingDir, environment);
    if (run.Ok()) return true;
    std::string why =
        name + (run.Started ? " failed (exit status " + std::to_string(run.ExitCode) + ")"
                            : " could not be started");
    const std::string tail = LastLines(run.Output);
    if (!tail.empty()) why += ":\n" + tail + "\n";
    failure = Failure(why);
    return false;
}

/// A new empty folder beside `target`, named after it, removed with its content unless kept.
class TScratchFolder {
public:
    explicit TScratchFolder(const fs::path& target) {
        std::random_device random;
        for (int attempt = 0; attempt < 100; ++attempt) {
            char suffix[16];
            std::snprintf(suffix, sizeof suffix, ".%08x", unsigned(random()));
            fs::path candidate =
                target.parent_path() / ("." + target.filename().string() + suffix + ".tmp");
            std::error_code ec;
            if (fs::create_directory(candidate, ec)) {
                FPath = std::move(candidate);
                return;
            }
        }
    }
    ~TScratchFolder() {
        std::error_code ignored;
        if (!FPath.empty()) fs::remove_all(FPath, ignored);
    }
    TScratchFolder(const TScratchFolder&) = delete;
    TScratchFolder& operator=(const TScratchFolder&) = delete;

    bool Made() const noexcept { return !FPath.empty(); }
    const fs::path& Path() const noexcept { return FPath; }

private:
    fs::path FPath;
};

/// True when the folder holds nothing but VIDEO_TS and AUDIO_TS: a DVD folder made before.
bool IsDvdFolder(const fs::path& folder) {
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    if (ec) return false;
    for (const fs::directory_entry& entry : it) {
        const std::string name = entry.path().filename().string();
        if (name != "VIDEO_TS" && name != "AUDIO_TS") return false;
    }
    return true;
}

/// An ISO 9660 volume name from the file name: upper case letters, digits and "_", at most 32.
std::string VolumeName(const std::string& stem) {
    std::string name;
    for (unsigned char c : stem) {
        if (name.size() == 32) break;
        name += std::isalnum(c) && c < 0x80 ? char(std::toupper(c)) : '_';
    }
    return name.find_first_not_of('_') == std::string::npos ? "VELMORA" : name;
}

std::string ChapterList(std::span<const double> chapters) {
    std::string list;
    for (double seconds : chapters) {
        char text[32];
        std::snprintf(text, sizeof text, "%.3f", seconds);
        if (!list.empty()) list += ",";
        list += text;
    }
    return list.empty() ? "0" : list;
}

/// The refusal when an image would take the MPEG file's own name.
std::string ClashText(const std::string& mpegPath) {
    return "the disc image would take the name of " + mpegPath +
           " itself; give the output file the extension .mpg";
}

/// Moves from onto to, replacing a file there.
bool MoveInto(const fs::path& from, const fs::path& to, TDiscImageResult& failure) {
    std::error_code ec;
    fs::rename(from, to, ec);
    if (!ec) return true;
    failure = Failure("cannot move " + from.string() + " to " + to.string() + ": " + ec.message());
    return false;
}

/// Folders made by the tools get the usual permissions (the scratch folder was private).
void OpenUp(const fs::path& path) {
    std::error_code ignored;
    fs::permissions(path,
                    fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                        fs::perms::others_read | fs::perms::others_exec,
                    ignored);
}

}  // namespace

std::vector<std::int64_t> PictureStartFrames(std::span<const std::int64_t> stillFrames) {
    std::vector<std::int64_t> starts;
    starts.reserve(stillFrames.size());
    std::int64_t frame = 1;  // frame 0 is the opening frame before the first slot
    for (std::int64_t still : stillFrames) {
        starts.push_back(frame);
        frame += still + SlotExtraFrames;
    }
    return starts;
}

std::vector<double> ChapterSeconds(std::span<const std::int64_t> stillFrames) {
    std::vector<double> seconds;
    for (std::int64_t frame : PictureStartFrames(stillFrames)) {
        seconds.push_back(seconds.empty() ? 0.0 : double(frame) / FramesPerSecond);
    }
    return seconds;
}

bool HasDiscImage(TOutputType type) noexcept {
    return type == TOutputType::VCD || type == TOutputType::SVCD || type == TOutputType::DVD;
}

std::string DvdFolderPath(const std::string& mpegPath) {
    return fs::path(mpegPath).replace_extension().string();
}
std::string DvdIsoPath(const std::string& mpegPath) {
    return fs::path(mpegPath).replace_extension(".iso").string();
}
std::string VcdBinPath(const std::string& mpegPath) {
    return fs::path(mpegPath).replace_extension(".bin").string();
}
std::string VcdCuePath(const std::string& mpegPath) {
    return fs::path(mpegPath).replace_extension(".cue").string();
}

TDiscImageResult MakeDvdImage(const std::string& mpegPath, std::span<const double> chapters) {
    TDiscImageResult failure;
    const std::string dvdauthor = NeedTool("dvdauthor", "dvdauthor", failure);
    if (dvdauthor.empty()) return failure;
    const std::string genisoimage = NeedTool("genisoimage", "genisoimage", failure);
    if (genisoimage.empty()) return failure;

    std::error_code ec;
    const fs::path mpeg = fs::absolute(mpegPath, ec);
    if (ec || !fs::is_regular_file(mpeg, ec)) return Failure("no MPEG file " + mpegPath);
    const fs::path folder = DvdFolderPath(mpeg.string());
    const fs::path iso = DvdIsoPath(mpeg.string());
    if (folder == mpeg || iso == mpeg) return Failure(ClashText(mpegPath));
    if (fs::exists(folder, ec) && !(fs::is_directory(folder, ec) && IsDvdFolder(folder))) {
        return Failure(folder.string() +
                       " exists and is not a DVD folder made before; it is not replaced");
    }
    if (fs::is_directory(iso, ec)) return Failure(iso.string() + " is a folder");

    // Both are made beside their final places and moved there once complete.
    TScratchFolder scratch(folder);
    if (!scratch.Made()) return Failure("cannot create a folder beside " + folder.string());
    const fs::path built = scratch.Path() / "dvd";
    const fs::path builtIso = scratch.Path() / "image.iso";
    // dvdauthor takes its default video standard from VIDEO_FORMAT for the menu structure;
    // the title's own attributes come from the stream (PAL, 4:3).
    const std::vector<std::pair<std::string, std::string>> pal{{"VIDEO_FORMAT", "PAL"}};
    if (!Run(dvdauthor, "dvdauthor",
             {"-o", built.string(), "-t", "-v", "pal+4:3", "-c", ChapterList(chapters), "-f",
              mpeg.string()},
             {}, failure, pal) ||
        !Run(dvdauthor, "dvdauthor", {"-o", built.string(), "-T"}, {}, failure, pal)) {
        return failure;
    }
    if (!Run(genisoimage, "genisoimage",
             {"-dvd-video", "-quiet", "-V", VolumeName(mpeg.stem().string()), "-o",
              builtIso.string(), built.string()},
             {}, failure)) {
        return failure;
    }
    OpenUp(built);
    OpenUp(built / "VIDEO_TS");
    OpenUp(built / "AUDIO_TS");
    if (fs::exists(folder, ec)) fs::remove_all(folder, ec);
    if (ec) return Failure("cannot replace " + folder.string() + ": " + ec.message());
    if (!MoveInto(built, folder, failure) || !MoveInto(builtIso, iso, failure)) return failure;
    TDiscImageResult result;
    result.Ok = true;
    result.Made = {folder.string(), iso.string()};
    return result;
}

TDiscImageResult MakeVcdImage(const std::string& mpegPath, bool svcd) {
    TDiscImageResult failure;
    const std::string vcdimager = NeedTool("vcdimager", "vcdimager", failure);
    if (vcdimager.empty()) return failure;
    std::error_code ec;
    const fs::path mpeg = fs::absolute(mpegPath, ec);
    if (ec || !fs::is_regular_file(mpeg, ec)) return Failure("no MPEG file " + mpegPath);
    const fs::path bin = VcdBinPath(mpeg.string());
    const fs::path cue = VcdCuePath(mpeg.string());
    if (bin == mpeg || cue == mpeg) return Failure(ClashText(mpegPath));

    // vcdimager runs in a scratch folder and is given bare names, so the .cue names the .bin
    // without a folder; both move beside the MPEG file when complete.
    TScratchFolder scratch(bin);
    if (!scratch.Made()) return Failure("cannot create a folder beside " + bin.string());
    const std::string binName = bin.filename().string();
    const std::string cueName = cue.filename().string();
    if (!Run(vcdimager, "vcdimager",
             {"-t", svcd ? "svcd" : "vcd2", "-l", VolumeName(mpeg.stem().string()).substr(0, 16),
              "-c", cueName, "-b", binName, mpeg.string()},
             scratch.Path().string(), failure)) {
        return failure;
    }
    if (!MoveInto(scratch.Path() / binName, bin, failure) ||
        !MoveInto(scratch.Path() / cueName, cue, failure)) {
        return failure;
    }
    TDiscImageResult result;
    result.Ok = true;
    result.Made = {bin.string(), cue.string()};
    return result;
}

TDiscImageResult MakeDiscImage(const std::string& mpegPath, TOutputType type,
                               std::span<const std::int64_t> stillFrames) {
    switch (type) {
        case TOutputType::DVD:
            return MakeDvdImage(mpegPath, ChapterSeconds(stillFrames));
        case TOutputType::VCD:
            return MakeVcdImage(mpegPath, false);
        case TOutputType::SVCD:
            return MakeVcdImage(mpegPath, true);
        default:
            return Failure(std::string(OutputPreset(type).Caption) + " has no disc image");
    }
}

}  // namespace velmora
