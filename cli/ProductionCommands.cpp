// Subcommands of the production subsystem: `make` renders an album into an MPEG file with a
// progress bar on stderr and Ctrl-C to stop; `compose` writes one composed frame.

#include <QImage>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <iostream>
#include <optional>

#include "base/Errors.h"
#include "cli/CliContext.h"
#include "cli/TerminalText.h"
#include "effects/EffectRandom.h"
#include "production/ComposePicture.h"
#include "production/DiscImage.h"
#include "production/ProductionRun.h"
#include "store/Catalogue.h"
#include "store/Pub.h"
#include "store/StoreRoot.h"

namespace velmora::cli {

namespace {

/// The signal that stopped the run; its exit status is 128 + the signal (130 for Ctrl-C, 143
/// for SIGTERM), after its report.
std::atomic<int> StopSignal{SIGINT};

std::atomic<bool> StopRequested{false};

// The first Ctrl-C or SIGTERM asks the run to stop with a playable file; a second one ends
// the program at once, as the signal normally does.
extern "C" void OnInterrupt(int signal) {
    if (!StopRequested.load()) StopSignal.store(signal);
    if (StopRequested.exchange(true)) {
        std::signal(signal, SIG_DFL);
        std::raise(signal);
    }
}

/// Installs the Ctrl-C and SIGTERM handler for its lifetime; the run polls the flag in its progress
/// calls.
class TInterruptGuard {
public:
    TInterruptGuard() {
        StopRequested.store(false);
        struct sigaction action {};
        action.sa_handler = OnInterrupt;
        sigemptyset(&action.sa_mask);
        sigaction(SIGINT, &action, &FPrevious);
        sigaction(SIGTERM, &action, &FPreviousTerm);
    }
    ~TInterruptGuard() {
        sigaction(SIGINT, &FPrevious, nullptr);
        sigaction(SIGTERM, &FPreviousTerm, nullptr);
    }
    TInterruptGuard(const TInterruptGuard&) = delete;
    TInterruptGuard& operator=(const TInterruptGuard&) = delete;

private:
    struct sigaction FPrevious {};
    struct sigaction FPreviousTerm {};
};

TOutputType ParsePreset(const std::string& name) {
    const std::optional<TOutputType> type = ParseOutputType(name);
    if (!type) {
        throw UsageError("--preset must be vcd, svcd, dvd, mp4-720p or mp4-1080p, not \"" + name +
                         "\"");
    }
    return *type;
}

std::uint32_t ParseColour(const std::string& text) {
    std::string hex = text;
    if (!hex.empty() && hex[0] == '#') hex.erase(0, 1);
    if (hex.size() != 6 || hex.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) {
        throw UsageError("--background-color must be RRGGBB in hexadecimal, not \"" + text + "\"");
    }
    return std::uint32_t(std::stoul(hex, nullptr, 16));
}

/// Opens the store and makes the album of that name current.
void OpenStoreAlbum(TAlbumStore& store, const CliContext& context, const std::string& album) {
    store.RootPath = ResolveStoreRoot(context.StoreDir);
    store.LoadRecords("A");
    const int index = FindAlbum(store, album);
    if (index < 0) {
        throw InvalidArgument("No album named \"" + album + "\" in the store " + store.RootPath);
    }
    store.OpenAlbum(index);
}

/// The background pictures named on the command line, or every listed one when none is named.
std::vector<std::string> BackgroundPaths(const TAlbumStore& store,
                                         const std::vector<std::string>& given) {
    const std::vector<std::string> listed = ListBackPictures(store.RootPath);
    std::vector<std::string> paths;
    std::vector<std::string> names;
    for (const std::string& name : given) {
        if (!name.empty()) names.push_back(name);
    }
    const std::string folder = BackPicFolder(store.RootPath);
    if (names.empty()) {
        for (const std::string& name : listed) paths.push_back(folder + name);
        if (paths.empty()) throw InvalidArgument("No background pictures in " + folder);
        return paths;
    }
    for (const std::string& name : names) {
        if (std::find(listed.begin(), listed.end(), name) == listed.end()) {
            throw UsageError("No background picture \"" + name + "\" in " + folder);
        }
        paths.push_back(folder + name);
    }
    return paths;
}

/// The progress bar: percent, frames, frames per second and the time left, redrawn at most
/// ten times a second on stderr.
class TProgressBar {
public:
    void Show(const TProgressInfo& info) {
        if (info.Stage != 3) return;
        const auto now = std::chrono::steady_clock::now();
        if (FShown && now - FLast < std::chrono::milliseconds(100) &&
            info.Position < info.TotalFrames + 2) {
            return;
        }
        FLast = now;
        FShown = true;
        // The file holds the planned frames and two more (the opening frame and the repeat
        // at the end); the bar counts all of them.
        const std::int64_t total = info.TotalFrames + 2;
        const double fps = info.ElapsedSeconds > 0 ? info.Position / info.ElapsedSeconds : 0;
        const int percent = int(std::min<std::int64_t>(info.Position * 100 / total, 100));
        const int filled = percent * 30 / 100;
        std::fprintf(stderr, "\r[%-30s] %3d%%  frame %lld/%lld  %6.1f fps  %s ",
                     std::string(std::size_t(filled), '#').c_str(), percent,
                     static_cast<long long>(info.Position), static_cast<long long>(total), fps,
                     info.Texts.Time.c_str());
        std::fflush(stderr);
    }
    void End() {
        if (FShown) std::fputs("\n", stderr);
    }

private:
    bool FShown = false;
    std::chrono::steady_clock::time_point FLast;
};

struct TMakeOptions {
    std::string Album;
    std::string Preset;
    std::string Out;
    bool Sync = false;
    bool Fade = false;
    std::string Colour;
    std::vector<std::string> BackgroundNames;
    bool BackgroundPictures = false;
    bool BackgroundBlur = false;
    bool Disc = false;
    std::optional<std::uint32_t> Seed;
};

int Make(const CliContext& context, const TMakeOptions& options) {
    TProductionSettings settings;
    settings.OutputType = ParsePreset(options.Preset);
    if (options.Disc && !HasDiscImage(settings.OutputType)) {
        throw UsageError("--disc makes images of VCD, SVCD and DVD files, not of " +
                         std::string(OutputPreset(settings.OutputType).Caption));
    }
    if (!options.Colour.empty()) settings.Background.Colour = ParseColour(options.Colour);
    TAlbumStore store;
    OpenStoreAlbum(store, context, options.Album);
    if (options.BackgroundPictures) {
        settings.Background.UsePictures = true;
        settings.Background.Pictures = BackgroundPaths(store, options.BackgroundNames);
    }
    settings.Background.Blur = options.BackgroundBlur;
    settings.OutputPath = options.Out.empty()
                              ? ProposeOutputName(DefaultOutputFolder(), settings.OutputType)
                              : options.Out;
    settings.Sync = options.Sync;
    settings.Fade = options.Fade;
    settings.DiscImage = options.Disc;

    std::optional<TScopedSeed> seed;
    if (options.Seed) seed.emplace(*options.Seed);
    TProgressBar bar;
    TProductionHooks hooks;
    hooks.OnProgress = [&bar](const TProgressInfo& info) { bar.Show(info); };
    hooks.ShouldStop = [] { return StopRequested.load(); };
    TInterruptGuard guard;
    const TProductionReport report = RunProduction(store, settings, hooks);
    bar.End();

    for (const std::string& notice : report.Notices) std::cerr << Visible(notice) << "\n";
    if (!report.Success) {
        std::cerr << Visible(report.Text);
        if (!report.FailureDetail.empty()) {
            std::cerr << " (" << Visible(report.FailureDetail) << ")";
        }
        std::cerr << "\n";
        return ExitFailure;
    }
    std::cout << Visible(report.Text) << "\n" << Visible(report.OutputPath) << "\n";
    for (const std::string& made : report.DiscFiles) std::cout << Visible(made) << "\n";
    if (!report.DiscFailure.empty()) {
        std::cerr << Visible(report.DiscFailure) << "\n";
        if (!report.Stopped) return ExitFailure;
    }
    if (report.Stopped) {
        std::cerr << "Stopped after " << report.FramesWritten << " of " << report.TotalFrames + 2
                  << " frames; the file is playable.\n";
        return 128 + StopSignal.load();
    }
    return ExitOk;
}

struct TComposeOptions {
    std::string File;
    std::string Preset;
    std::string Out;
    std::string Colour;
    std::string BackgroundPicture;
    bool BackgroundBlur = false;
};

int Compose(const TComposeOptions& options) {
    const TOutputPreset& preset = OutputPreset(ParsePreset(options.Preset));
    TBackgroundFill fill;
    if (!options.Colour.empty()) fill.Colour = ParseColour(options.Colour);
    if (!options.BackgroundPicture.empty()) {
        fill.UsePictures = true;
        fill.Pictures = {options.BackgroundPicture};
    }
    fill.Blur = options.BackgroundBlur;
    TFrameComposer composer(preset.FrameWidth, preset.FrameHeight, fill);
    Bitmap frame;
    composer.ComposePicture(options.File, frame);
    if (!composer.Failures().empty()) {
        throw InvalidFile("Cannot decode the picture", composer.Failures().front());
    }
    for (const std::string& path : composer.BackgroundFailures()) {
        std::cerr << "Could not decode the background picture " << Visible(path)
                  << "; the fill colour took its place.\n";
    }
    frame.WritePictureFile(options.Out);
    std::cout << Visible(options.Out) << "\n";
    return ExitOk;
}

}  // namespace

void AddProductionCommands(CLI::App& app, CliContext& context) {
    auto make = std::make_shared<TMakeOptions>();
    CLI::App* makeCmd =
        app.add_subcommand("make", "Render an album into a VCD, SVCD, DVD or HD MP4 file");
    makeCmd->add_option("album", make->Album, "Name of the album")->required();
    makeCmd->add_option("--preset", make->Preset, "vcd, svcd, dvd, mp4-720p or mp4-1080p")
        ->required();
    makeCmd->add_option("--out", make->Out,
                        "Output file (default: the home folder, first free "
                        "VCD-n.mpg, SVCD-n.mpg, DVD-n.mpg, MP4-720p-n.mp4 or MP4-1080p-n.mp4)");
    makeCmd->add_flag("--sync", make->Sync, "Spread the pictures evenly over the music");
    makeCmd->add_flag("--fade", make->Fade, "Soften each picture progressively while it stands");
    CLI::Option* colour = makeCmd->add_option("--background-color", make->Colour,
                                              "Fill colour around the pictures, RRGGBB");
    CLI::Option* pictures =
        makeCmd
            ->add_option("--background-pictures", make->BackgroundNames,
                         "Fill with background pictures of the BackPic folder chosen at "
                         "random (the named ones, or all)")
            ->expected(0, -1);
    colour->excludes(pictures);
    CLI::Option* blur = makeCmd->add_flag(
        "--background-blur", make->BackgroundBlur,
        "Fill with the picture itself, scaled to cover the frame, blurred and darkened (the "
        "colour serves pictures that cannot be decoded)");
    blur->excludes(pictures);
    makeCmd->add_flag("--disc", make->Disc,
                      "Also make a disc image: a DVD folder with chapters and an ISO image "
                      "(DVD), or a .bin/.cue image (VCD, SVCD)");
    makeCmd->add_option("--seed", make->Seed, "Seed that reproduces every random choice");
    makeCmd->callback([&context, make, pictures] {
        make->BackgroundPictures = pictures->count() > 0;
        context.Action = [&context, make] { return Make(context, *make); };
    });

    auto compose = std::make_shared<TComposeOptions>();
    CLI::App* composeCmd =
        app.add_subcommand("compose", "Compose one picture into a frame of a preset");
    composeCmd->add_option("file", compose->File, "Picture file")->required();
    composeCmd->add_option("--preset", compose->Preset, "vcd, svcd, dvd, mp4-720p or mp4-1080p")
        ->required();
    composeCmd->add_option("--out", compose->Out, "Output picture (.bmp, .png, .jpg)")->required();
    CLI::Option* composeColour =
        composeCmd->add_option("--background-color", compose->Colour, "Fill colour, RRGGBB");
    CLI::Option* composePicture = composeCmd->add_option(
        "--background-picture", compose->BackgroundPicture, "Background picture file");
    composeColour->excludes(composePicture);
    composeCmd
        ->add_flag("--background-blur", compose->BackgroundBlur,
                   "Fill with the picture itself, blurred and darkened")
        ->excludes(composePicture);
    composeCmd->callback(
        [&context, compose] { context.Action = [compose] { return Compose(*compose); }; });
}

}  // namespace velmora::cli
