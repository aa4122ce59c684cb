#pragma once
// Where the album store lives: the folder of the program file when it is writable (a portable
// copy), otherwise the user's data folder; the command line's --store names another one.

#include <string>

namespace velmora {

/// Folder of the running program file (from /proc/self/exe), ending with "/".
std::string ProgramFolder();

/// $XDG_DATA_HOME/velmora/, or ~/.local/share/velmora/ when XDG_DATA_HOME is unset, empty or
/// not absolute. Not created.
std::string UserStoreFolder();

/// True when `programFolder` (ending with "/") belongs to an installed copy: the program's data
/// stands in "../share/velmora/" beside it, as `cmake --install` and the package lay it out.
bool IsInstalledProgram(const std::string& programFolder);

/// The default store root for a program in `programFolder`, ending with "/": that folder for a
/// portable copy that may write there, otherwise (an installed copy, even when run by a user
/// who could write into the system's program folder, or a read-only folder) UserStoreFolder(),
/// created when missing (IoError when it cannot be).
std::string DefaultStoreRootFor(const std::string& programFolder);

/// DefaultStoreRootFor(ProgramFolder()).
std::string DefaultStoreRoot();

/// The store root for `storeDir` (as given to --store; made absolute, "/" appended), or the
/// default root when `storeDir` is empty.
std::string ResolveStoreRoot(const std::string& storeDir);

}  // namespace velmora
