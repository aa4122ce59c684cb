#pragma once
// Text of the command line's plain output: whatever comes from files, records or arguments is
// passed through Visible before it reaches the terminal. The --json output stays exact.

#include <string>

namespace velmora::cli {

/// Text for the terminal: control characters (C0, DEL and C1) shown as visible escapes
/// ("\x1b", "\u009b"), so that names, paths and tags cannot move the cursor or change the
/// terminal.
std::string Visible(const std::string& text);

}  // namespace velmora::cli
