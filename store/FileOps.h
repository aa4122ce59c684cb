#pragma once
// File operations of the album store: whole-file reads, atomic whole-file writes, removal of a
// folder tree that never leaves it, and the check that a name from a file is one path component.

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

/// True when `name` can be joined to a folder as exactly one entry of it: not empty, not "."
/// or "..", and free of "/" and NUL.
bool IsSafeComponent(std::string_view name) noexcept;

/// The whole content of a file, or nothing when the file does not exist.
/// Throws IoError when the file exists but cannot be read.
std::optional<std::vector<std::uint8_t>> ReadFileIfExists(const std::string& path);

/// The writer behind WriteFileAtomic, with the signature of write(2).
using TWriteFn = std::function<ssize_t(int fd, const void* data, std::size_t size)>;

/// Replaces the file `path` with `bytes`: writes a temporary file in the same folder, flushes
/// it to the disk and renames it over `path`. On any failure the previous file stays whole,
/// the temporary file is removed and IoError is thrown. `writer` replaces write(2) in tests.
void WriteFileAtomic(const std::string& path, std::span<const std::uint8_t> bytes,
                     const TWriteFn& writer = {});

/// Removes the entry `name` of the open folder `dirFd` with everything below it. Symbolic
/// links are removed as links; nothing outside the tree is touched. Returns false when
/// anything could not be removed.
bool RemoveTreeAt(int dirFd, const std::string& name);

}  // namespace velmora
