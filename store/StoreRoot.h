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

/// The default store root, ending with "/": the program folder when it is writable, otherwise
/// UserStoreFolder(), created when missing (IoError when it cannot be).
std::string DefaultStoreRoot();

/// The store root for `storeDir` (as given to --store; made absolute, "/" appended), or the
/// default root when `storeDir` is empty.
std::string ResolveStoreRoot(const std::string& storeDir);

}  // namespace velmora
