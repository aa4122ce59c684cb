#pragma once
// Helpers shared by every subsystem's tests: temporary folders, file bytes, and running the
// command line client as a real process.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace velmora::test {

/// A fresh folder under the system's temporary folder, removed with its content on destruction.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const noexcept { return FPath; }
    /// Path() + "/" as text, the form the store uses for folders.
    std::string Dir() const { return FPath.string() + "/"; }
    std::filesystem::path operator/(const std::string& name) const { return FPath / name; }

private:
    std::filesystem::path FPath;
};

/// A folder on a file system that is full: a small tmpfs mounted on a TempDir and filled, so
/// every write into it fails with ENOSPC. Mounting needs privileges; Mounted() says whether
/// it worked (tests skip otherwise).
class FullDisk {
public:
    /// Mounts the file system and, unless `fill` is false, fills it at once.
    explicit FullDisk(bool fill = true);
    /// Fills the file system (after a test has put its files there).
    void Fill();
    ~FullDisk();
    FullDisk(const FullDisk&) = delete;
    FullDisk& operator=(const FullDisk&) = delete;

    bool Mounted() const noexcept { return FMounted; }
    const std::filesystem::path& Path() const noexcept { return FDir.Path(); }
    /// The entries in the folder besides the filler file.
    std::vector<std::string> Entries() const;

private:
    TempDir FDir;
    bool FMounted = false;
};

std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& path);
void WriteBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);
void WriteText(const std::filesystem::path& path, const std::string& text);

/// Parses hex text such as "0a 1b ff" (blanks and line breaks ignored) into bytes.
std::vector<std::uint8_t> FromHex(const std::string& hex);

/// Writes a JPEG picture of width x height made by ImageMagick from `pattern` (e.g.
/// "gradient:red-blue", "xc:#336699") at `quality`; a failure fails the test.
void MakeJpeg(const std::string& path, int width, int height, const std::string& pattern,
              int quality = 90);
/// Writes a stereo 44.1 kHz MP3 of a 440 Hz sine tone lasting `seconds`, made by ffmpeg's
/// command line at `kbps` kbit/s; a failure fails the test.
void MakeMp3(const std::string& path, int seconds, int kbps = 64);

/// The album names of the catalogue in the store at `root` (a folder ending in "/"), read back
/// from its record file as a fresh store reads them.
std::vector<std::string> StoredAlbumNames(const std::string& root);

/// A file of the source tree, e.g. SourcePath("imaging/tests/data/grey.tif").
std::filesystem::path SourcePath(const std::string& relative);

struct CliResult {
    int ExitCode = -1;
    std::string Out;
    std::string Err;
};

/// Runs velmora-cli with the given arguments (no shell involved) and collects its output.
CliResult RunCli(const std::vector<std::string>& args, const std::string& stdinText = "");

/// Runs a program found on PATH; returns its exit code, output in `out` when given.
int RunProgram(const std::vector<std::string>& argv, std::string* out = nullptr,
               std::string* err = nullptr);

}  // namespace velmora::test
