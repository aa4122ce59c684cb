#include "tests/TestSupport.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>
#include <thread>

#include "store/Pub.h"

namespace velmora::test {

namespace fs = std::filesystem;

TempDir::TempDir() {
    static std::atomic<int> counter{0};
    std::random_device device;
    const fs::path base = fs::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        fs::path candidate =
            base / ("velmora-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++) +
                    "-" + std::to_string(device() % 100000));
        if (fs::create_directory(candidate)) {
            FPath = candidate;
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder");
}

FullDisk::FullDisk(bool fill) {
    FMounted = ::mount("tmpfs", FDir.Path().c_str(), "tmpfs", 0, "size=256k") == 0;
    if (FMounted && fill) Fill();
}

void FullDisk::Fill() {
    if (!FMounted) return;
    // Fill every block: the filler grows until the file system refuses.
    const int fd = ::open((FDir.Path() / ".filler").c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    const std::vector<char> block(4096, 'x');
    while (fd >= 0 && ::write(fd, block.data(), block.size()) > 0) {
    }
    while (fd >= 0 && ::write(fd, block.data(), 1) > 0) {
    }
    if (fd >= 0) ::close(fd);
}

FullDisk::~FullDisk() {
    if (FMounted) ::umount2(FDir.Path().c_str(), MNT_DETACH);
}

std::vector<std::string> FullDisk::Entries() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(FDir.Path())) {
        const std::string name = entry.path().filename().string();
        if (name != ".filler") names.push_back(name);
    }
    return names;
}

TempDir::~TempDir() {
    std::error_code ignored;
    // Folders made read-only by a test must become writable again before removal.
    for (auto it = fs::recursive_directory_iterator(FPath, ignored);
         it != fs::recursive_directory_iterator(); it.increment(ignored)) {
        if (it->is_directory(ignored) && !it->is_symlink(ignored)) {
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
        }
    }
    fs::permissions(FPath, fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(FPath, ignored);
}

std::vector<std::uint8_t> ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot open " + path.string());
    return std::vector<std::uint8_t>((std::istreambuf_iterator<char>(in)),
                                     std::istreambuf_iterator<char>());
}

void WriteBytes(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

void WriteText(const fs::path& path, const std::string& text) {
    WriteBytes(path, std::vector<std::uint8_t>(text.begin(), text.end()));
}

std::vector<std::uint8_t> FromHex(const std::string& hex) {
    std::vector<std::uint8_t> bytes;
    int high = -1;
    for (char c : hex) {
        int v;
        if (c >= '0' && c <= '9')
            v = c - '0';
        else if (c >= 'a' && c <= 'f')
            v = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            v = c - 'A' + 10;
        else
            continue;
        if (high < 0) {
            high = v;
        } else {
            bytes.push_back(std::uint8_t(high << 4 | v));
            high = -1;
        }
    }
    if (high >= 0) throw std::invalid_argument("odd number of hex digits");
    return bytes;
}

fs::path SourcePath(const std::string& relative) { return fs::path(VELMORA_SOURCE_DIR) / relative; }

namespace {

std::string DrainFd(int fd) {
    std::string text;
    char buffer[4096];
    ssize_t n;
    while ((n = ::read(fd, buffer, sizeof buffer)) > 0) text.append(buffer, std::size_t(n));
    return text;
}

int Spawn(const std::vector<std::string>& argv, const std::string& stdinText, std::string* out,
          std::string* err) {
    int inPipe[2], outPipe[2], errPipe[2];
    if (::pipe(inPipe) != 0 || ::pipe(outPipe) != 0 || ::pipe(errPipe) != 0) {
        throw std::runtime_error("pipe failed");
    }
    const pid_t pid = ::fork();
    if (pid < 0) throw std::runtime_error("fork failed");
    if (pid == 0) {
        ::dup2(inPipe[0], 0);
        ::dup2(outPipe[1], 1);
        ::dup2(errPipe[1], 2);
        for (int fd : {inPipe[0], inPipe[1], outPipe[0], outPipe[1], errPipe[0], errPipe[1]}) {
            ::close(fd);
        }
        std::vector<char*> args;
        for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        ::execvp(args[0], args.data());
        _exit(127);
    }
    ::close(inPipe[0]);
    ::close(outPipe[1]);
    ::close(errPipe[1]);
    std::thread writer([&] {
        const char* p = stdinText.data();
        std::size_t left = stdinText.size();
        while (left > 0) {
            ssize_t n = ::write(inPipe[1], p, left);
            if (n <= 0) break;
            p += n;
            left -= std::size_t(n);
        }
        ::close(inPipe[1]);
    });
    std::string errText;
    std::thread errReader([&] { errText = DrainFd(errPipe[0]); });
    std::string outText = DrainFd(outPipe[0]);
    writer.join();
    errReader.join();
    ::close(outPipe[0]);
    ::close(errPipe[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (out) *out = outText;
    if (err) *err = errText;
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    return 128 + WTERMSIG(status);
}

}  // namespace

CliResult RunCli(const std::vector<std::string>& args, const std::string& stdinText) {
    std::vector<std::string> argv{VELMORA_CLI_PATH};
    argv.insert(argv.end(), args.begin(), args.end());
    CliResult result;
    result.ExitCode = Spawn(argv, stdinText, &result.Out, &result.Err);
    return result;
}

int RunProgram(const std::vector<std::string>& argv, std::string* out, std::string* err) {
    return Spawn(argv, "", out, err);
}

void MakeJpeg(const std::string& path, int width, int height, const std::string& pattern,
              int quality) {
    std::string err;
    const std::string size = std::to_string(width) + "x" + std::to_string(height);
    ASSERT_EQ(
        RunProgram({"convert", "-size", size, pattern, "-quality", std::to_string(quality), path},
                   nullptr, &err),
        0)
        << err;
}

void MakeMp3(const std::string& path, int seconds, int kbps) {
    std::string err;
    ASSERT_EQ(
        RunProgram({"ffmpeg", "-v", "error", "-y", "-f", "lavfi", "-i",
                    "sine=frequency=440:duration=" + std::to_string(seconds), "-ac", "2", "-ar",
                    "44100", "-c:a", "libmp3lame", "-b:a", std::to_string(kbps) + "k", path},
                   nullptr, &err),
        0)
        << err;
}

std::vector<std::string> StoredAlbumNames(const std::string& root) {
    TAlbumStore reread;
    reread.RootPath = root;
    reread.LoadRecords("A");
    std::vector<std::string> names;
    for (int i = 0; i < reread.AlbumCount; ++i) names.push_back(reread.Albums[i].Name.Text());
    return names;
}

}  // namespace velmora::test
