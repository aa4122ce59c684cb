#pragma once
// File operations of the album store: whole-file reads, removal of a folder tree that never
// leaves it, and the check that a name from a file is one path component. Whole-file writes
// go through base/AtomicFile.h.

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/AtomicFile.h"
#include "base/UniqueFd.h"

namespace velmora {

/// True when `name` can be joined to a folder as exactly one entry of it: not empty, not "."
/// or "..", and free of "/" and NUL.
bool IsSafeComponent(std::string_view name) noexcept;

/// The whole content of a file, or nothing when the file does not exist.
/// Throws IoError when the file exists but cannot be read, InvalidFile when it is a link or
/// no regular file (a FIFO is never waited on).
std::optional<std::vector<std::uint8_t>> ReadFileIfExists(const std::string& path);

/// ReadFileIfExists for the entry `name` of the open folder `dirFd`; `shownPath` for messages.
std::optional<std::vector<std::uint8_t>> ReadFileIfExistsAt(int dirFd, const std::string& name,
                                                            const std::string& shownPath);

/// Opens a folder of the store (an album folder, "/" at the end or not) for use through its
/// descriptor. Its last component is never followed as a link. Returns an empty descriptor
/// when the folder does not exist; throws InvalidFile when it is a link or no folder,
/// IoError when it cannot be opened.
TUniqueFd OpenStoreFolder(const std::string& folderPath);

/// A path that reaches the open folder `folderFd` itself, ending with "/" (through
/// /proc/self/fd), for writers that take a path: names joined to it are resolved inside that
/// folder even when its own path has since been replaced by a link.
std::string PathThroughDescriptor(int folderFd);

/// Removes the entry `name` of the open folder `dirFd` with everything below it. Symbolic
/// links are removed as links; nothing outside the tree is touched. Returns false when
/// anything could not be removed.
bool RemoveTreeAt(int dirFd, const std::string& name);

}  // namespace velmora
