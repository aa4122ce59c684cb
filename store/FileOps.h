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

namespace velmora {

/// True when `name` can be joined to a folder as exactly one entry of it: not empty, not "."
/// or "..", and free of "/" and NUL.
bool IsSafeComponent(std::string_view name) noexcept;

/// The whole content of a file, or nothing when the file does not exist.
/// Throws IoError when the file exists but cannot be read.
std::optional<std::vector<std::uint8_t>> ReadFileIfExists(const std::string& path);

/// Removes the entry `name` of the open folder `dirFd` with everything below it. Symbolic
/// links are removed as links; nothing outside the tree is touched. Returns false when
/// anything could not be removed.
bool RemoveTreeAt(int dirFd, const std::string& name);

}  // namespace velmora
