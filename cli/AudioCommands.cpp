// Subcommands of the audio subsystem: reading ID3v1 tags, measuring play times, importing
// songs into an album, and a terminal player.

#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <csignal>
#include <iostream>
#include <nlohmann/json.hpp>

extern "C" {
#include <libavutil/log.h>
}

#include "audio/BassEngine.h"
#include "audio/ID3v1.h"
#include "audio/KivMp3Play.h"
#include "audio/MusicImport.h"
#include "cli/CliContext.h"
#include "cli/TerminalText.h"
#include "store/Catalogue.h"
#include "store/Pub.h"
#include "store/StoreRoot.h"
#include "store/TextCodec.h"

namespace velmora::cli {

namespace {

// The command reports what went wrong itself; FFmpeg's own warnings about damaged or
// misnamed files would only clutter the terminal.
void QuietDecoders() { av_log_set_level(AV_LOG_FATAL); }

// Tag text as UTF-8 for output: tags hold the system's code page (GB18030/GBK).
std::string TagText(const std::string& raw) { return Gb18030ToUtf8(raw); }

int TagCommand(const std::string& file, bool json) {
    TID3v1 tag;
    if (!tag.LoadFromFile(file)) {
        std::cerr << "velmora-cli: cannot read the last 128 bytes of " << Visible(file) << "\n";
        return ExitFailure;
    }
    nlohmann::ordered_json out = {
        {"Exists", tag.Exists},
        {"Version", tag.Version},
        {"Title", TagText(tag.Title)},
        {"Artist", TagText(tag.Artist)},
        {"Album", TagText(tag.Album)},
        {"Year", TagText(tag.Year)},
        {"Comment", TagText(tag.Comment)},
        {"Track", tag.Track},
        {"Genre", tag.Genre},
    };
    if (json) {
        std::cout << out.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) << "\n";
        return ExitOk;
    }
    for (const auto& [key, value] : out.items()) {
        std::cout << key << ": "
                  << Visible(
                         value.is_string()
                             ? value.get<std::string>()
                             : value.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace))
                  << "\n";
    }
    return ExitOk;
}

// The engine without a sound device: enough to open and measure streams.
TBassEngine& MeasuringEngine() {
    TBassEngine& engine = BassEngine();
    engine.BASS_Init(0, 44100, 0, nullptr);
    return engine;
}

int PlayTimeCommand(const std::string& file) {
    TBassEngine& engine = MeasuringEngine();
    const HSTREAM probe = engine.BASS_StreamCreateFile(false, file, 0, 0, 0);
    if (probe == 0) {
        std::cerr << "velmora-cli: no playable audio in " << Visible(file) << "\n";
        return ExitFailure;
    }
    engine.BASS_StreamFree(probe);
    TKivMp3Play player(engine);
    player.SetFileName(file);
    const float seconds = player.GetPlayLength();
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, seconds).ptr;
    std::cout << std::string(text, end) << "\n";
    return ExitOk;
}

int ImportMusicCommand(const std::string& storeDir, const std::string& albumName,
                       const std::vector<std::string>& files) {
    TAlbumStore store;
    store.RootPath = ResolveStoreRoot(storeDir);
    const std::unique_ptr<TStoreLock> lock = LockStoreForWriting(store.RootPath);
    store.LoadRecords("A");
    const int index = FindAlbum(store, albumName);
    if (index < 0) {
        std::cerr << "velmora-cli: no album named \"" << Visible(albumName) << "\" in "
                  << Visible(store.RootPath) << "\n";
        return ExitFailure;
    }
    store.OpenAlbum(index);
    TMusicImportHooks hooks;
    hooks.OnProgress = [](int number, int count, const std::string& path) {
        std::cerr << "(" << number << "/" << count << ") " << Visible(path) << "\n";
    };
    const TMusicImportResult result = ImportMusic(store, MeasuringEngine(), files, hooks);
    std::cout << "imported " << result.Imported << " of " << files.size() << " songs into "
              << Visible(albumName) << "\n";
    if (result.Skipped.empty()) return ExitOk;
    std::cerr << "velmora-cli: not copied:";
    for (const std::string& path : result.Skipped) std::cerr << " " << Visible(path);
    std::cerr << "\n";
    return ExitFailure;
}

// ---- terminal player ----

// The terminal's settings before raw mode; restored at exit and by the signal handler.
struct termios SavedTerminal;
volatile sig_atomic_t TerminalRaw = 0;

void RestoreTerminal() noexcept {
    if (TerminalRaw) {
        ::tcsetattr(STDIN_FILENO, TCSANOW, &SavedTerminal);
        TerminalRaw = 0;
    }
}

extern "C" void RestoreTerminalAndDie(int signal) {
    RestoreTerminal();  // tcsetattr is async-signal-safe
    std::signal(signal, SIG_DFL);
    ::raise(signal);
}

// Raw keys (no echo, no line buffering) for the life of the object; signals keep working.
class TRawTerminal {
public:
    TRawTerminal() {
        if (!::isatty(STDIN_FILENO) || ::tcgetattr(STDIN_FILENO, &SavedTerminal) != 0) return;
        struct termios raw = SavedTerminal;
        raw.c_lflag &= ~tcflag_t(ICANON | ECHO);
        raw.c_cc[VMIN] = 0;
        raw.c_cc[VTIME] = 0;
        for (int s : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) std::signal(s, RestoreTerminalAndDie);
        if (::tcsetattr(STDIN_FILENO, TCSANOW, &raw) == 0) TerminalRaw = 1;
    }
    ~TRawTerminal() { RestoreTerminal(); }
    TRawTerminal(const TRawTerminal&) = delete;
    TRawTerminal& operator=(const TRawTerminal&) = delete;
    bool Active() const noexcept { return TerminalRaw != 0; }
};

enum class TKey { None, Pause, Left, Right, Quit };

// Reads the keys that are waiting, at most one escape sequence at a time.
TKey ReadKey() {
    char buffer[8];
    const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
    if (n <= 0) return TKey::None;
    if (buffer[0] == ' ') return TKey::Pause;
    if (buffer[0] == 'q' || buffer[0] == 'Q') return TKey::Quit;
    if (n >= 3 && buffer[0] == '\x1b' && buffer[1] == '[') {
        if (buffer[2] == 'C') return TKey::Right;
        if (buffer[2] == 'D') return TKey::Left;
    }
    return TKey::None;
}

constexpr int SpectrumBands = 40;

// The bars of the player's spectrum as one line of block characters.
std::string SpectrumLine(const TKivMp3Play& player) {
    static const char* const levels[] = {" ", "▁", "▂", "▃", "▄", "▅", "▆", "▇", "█"};
    const Bitmap& surface = player.Surface();
    std::string line;
    for (int band = 0; band < SpectrumBands; ++band) {
        const int x = band * (player.LineWidth + 1);
        int height = 0;
        if (player.FrameShown() && x < surface.Width()) {
            while (height < surface.Height() &&
                   surface.RgbAt(x, surface.Height() - 1 - height) == player.Pen) {
                ++height;
            }
        }
        line += levels[std::min(8, (height * 8 + 99) / 100)];
    }
    return line;
}

struct TPlayStatus {
    std::int32_t Max = 0;
    std::int32_t Pos = 0;
    std::string Time = "00:00";
};

void ShowStatus(const TKivMp3Play& player, const TPlayStatus& status) {
    const char* state =
        player.Timer().Enabled ? "playing" : (player.Opened() ? "paused " : "stopped");
    std::cout << "\r" << status.Time << " / " << TKivMp3Play::MinSecText(player.Seconds()) << " ["
              << SpectrumLine(player) << "] " << state << std::flush;
}

void HandleKey(TKivMp3Play& player, TKey key, const TPlayStatus& status, bool& quit) {
    switch (key) {
        case TKey::Pause:
            if (player.Timer().Enabled) {
                player.Pause();
            } else {
                player.Play();
            }
            break;
        case TKey::Left:
        case TKey::Right: {
            if (player.Seconds() <= 0 || status.Max <= 0) break;
            const std::int64_t step = std::int64_t(5) * status.Max / player.Seconds();
            const std::int64_t target = std::clamp<std::int64_t>(
                status.Pos + (key == TKey::Right ? step : -step), 0, status.Max);
            player.SeekTo(std::int32_t(target));
            break;
        }
        case TKey::Quit:
            quit = true;
            break;
        case TKey::None:
            break;
    }
}

int PlayInTerminal(const std::string& file) {
    TBassEngine& engine = BassEngine();
    if (!engine.BASS_Init(-1, 44100, 32, nullptr) &&
        engine.BASS_ErrorGetCode() != BASS_ERROR_ALREADY) {
        std::cerr << "velmora-cli: no audio output, not even SDL's silent driver\n";
        return ExitFailure;
    }
    const HSTREAM probe = engine.BASS_StreamCreateFile(false, file, 0, 0, 0);
    if (probe == 0) {
        std::cerr << "velmora-cli: no playable audio in " << Visible(file) << "\n";
        return ExitFailure;
    }
    engine.BASS_StreamFree(probe);

    // Bars one pixel wide, 100 pixels high: one band per character.
    TKivMp3Play player(engine, SpectrumBands * 2, 100);
    player.Pen = 0x00FF00;
    player.LineWidth = 1;
    player.LineFallOff = 8;
    TPlayStatus status;
    player.OnProgress = [&status](const void*, std::int32_t max, std::int32_t pos,
                                  const std::string& time) {
        status = {max, pos, time};
    };
    player.SetFileName(file);

    TRawTerminal terminal;
    const bool interactive = terminal.Active();
    const bool showing = ::isatty(STDOUT_FILENO);
    using Clock = std::chrono::steady_clock;
    const auto interval = std::chrono::milliseconds(player.Timer().Interval);
    auto nextTick = Clock::now() + interval;
    bool quit = false;
    player.Play();
    while (!quit && player.Opened()) {
        const auto wait =
            std::chrono::duration_cast<std::chrono::milliseconds>(nextTick - Clock::now());
        struct pollfd in = {STDIN_FILENO, POLLIN, 0};
        const int ready = ::poll(interactive ? &in : nullptr, interactive ? 1 : 0,
                                 int(std::max<std::int64_t>(0, wait.count())));
        if (ready > 0) HandleKey(player, ReadKey(), status, quit);
        if (Clock::now() < nextTick) continue;
        nextTick += interval;
        if (player.Timer().Enabled) player.TimerTick();
        if (showing) ShowStatus(player, status);
    }
    if (player.Opened()) player.Stop();
    if (showing) std::cout << "\n";
    std::cout << "played " << Visible(file) << "\n";
    return ExitOk;
}

}  // namespace

void AddAudioCommands(CLI::App& app, CliContext& context) {
    auto* tag = app.add_subcommand("tag", "Show the ID3v1 tag of an MP3 file");
    auto tagFile = std::make_shared<std::string>();
    auto tagJson = std::make_shared<bool>(false);
    tag->add_option("FILE", *tagFile, "MP3 file")->required();
    tag->add_flag("--json", *tagJson, "Print one JSON object");
    tag->callback([&context, tagFile, tagJson] {
        context.Action = [tagFile, tagJson] { return TagCommand(*tagFile, *tagJson); };
    });

    auto* playtime = app.add_subcommand("playtime", "Print the play time of a file in seconds");
    auto timeFile = std::make_shared<std::string>();
    playtime->add_option("FILE", *timeFile, "MP3 file")->required();
    playtime->callback([&context, timeFile] {
        context.Action = [timeFile] {
            QuietDecoders();
            return PlayTimeCommand(*timeFile);
        };
    });

    auto* importMusic = app.add_subcommand(
        "import-music", "Copy MP3 files into an album and add their song records");
    auto importAlbum = std::make_shared<std::string>();
    auto importFiles = std::make_shared<std::vector<std::string>>();
    importMusic->add_option("ALBUM", *importAlbum, "Album name")->required();
    importMusic->add_option("FILE", *importFiles, "MP3 files, imported in this order")->required();
    importMusic->callback([&context, importAlbum, importFiles] {
        context.Action = [&context, importAlbum, importFiles] {
            QuietDecoders();
            return ImportMusicCommand(context.StoreDir, *importAlbum, *importFiles);
        };
    });

    auto* play = app.add_subcommand(
        "play", "Play a file in the terminal: space pauses, arrows seek 5 s, q quits");
    auto playFile = std::make_shared<std::string>();
    play->add_option("FILE", *playFile, "MP3 file")->required();
    play->callback([&context, playFile] {
        context.Action = [playFile] {
            QuietDecoders();
            return PlayInTerminal(*playFile);
        };
    });
}

}  // namespace velmora::cli
