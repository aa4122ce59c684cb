#include "store/StoreRoot.h"

#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "base/Errors.h"

namespace velmora {

namespace fs = std::filesystem;

namespace {

std::string WithSlash(std::string folder) {
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder;
}

std::string HomeFolder() {
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/') return home;
    if (const passwd* entry = ::getpwuid(::getuid()); entry != nullptr && entry->pw_dir) {
        return entry->pw_dir;
    }
    throw Error("cannot find the home folder for the album store");
}

}  // namespace

std::string ProgramFolder() {
    std::error_code error;
    const fs::path program = fs::read_symlink("/proc/self/exe", error);
    if (error) throw IoError("cannot find the program file", "/proc/self/exe", error.value());
    return WithSlash(program.parent_path().string());
}

std::string UserStoreFolder() {
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    // Relative values are invalid for XDG_DATA_HOME and are ignored.
    if (dataHome != nullptr && dataHome[0] == '/') return WithSlash(dataHome) + "velmora/";
    return WithSlash(HomeFolder()) + ".local/share/velmora/";
}

bool IsInstalledProgram(const std::string& programFolder) {
    std::error_code error;
    return fs::is_directory(WithSlash(programFolder) + "../share/velmora", error);
}

std::string DefaultStoreRootFor(const std::string& programFolder) {
    const std::string program = WithSlash(programFolder);
    if (!IsInstalledProgram(program) && ::access(program.c_str(), W_OK) == 0) return program;
    const std::string user = UserStoreFolder();
    std::error_code error;
    fs::create_directories(user, error);
    if (error) throw IoError("cannot create the album store", user, error.value());
    return user;
}

std::string DefaultStoreRoot() { return DefaultStoreRootFor(ProgramFolder()); }

std::string ResolveStoreRoot(const std::string& storeDir) {
    if (storeDir.empty()) return DefaultStoreRoot();
    std::error_code error;
    const fs::path absolute = fs::absolute(storeDir, error);
    if (error) throw IoError("cannot resolve the store folder", storeDir, error.value());
    return WithSlash(absolute.lexically_normal().string());
}

}  // namespace velmora
