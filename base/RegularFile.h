#pragma once
// Opening files that Velmora reads: only regular files are read, so a FIFO or a device named
// like a picture, a song or a record file never blocks the program, and a folder named like a
// picture is refused with a clear message instead of being read as a file of huge size.

#include <string>

#include "base/UniqueFd.h"

namespace velmora {

/// Throws InvalidFile when `path` exists but is not a regular file (links are followed: a
/// file the user chose may be a link). A missing file passes; its reader reports it.
void RequireRegularFile(const std::string& path);

/// Opens `name` inside the open folder `dirFd` (AT_FDCWD for a path) for reading without
/// waiting on a FIFO, and checks that it is a regular file. `noFollow` refuses a link.
/// Returns -1 (in a TUniqueFd) with errno set when the file cannot be opened; throws
/// InvalidFile naming `shownPath` when it is no regular file or, with `noFollow`, a link.
TUniqueFd OpenRegularFileAt(int dirFd, const std::string& name, bool noFollow,
                            const std::string& shownPath);

}  // namespace velmora
