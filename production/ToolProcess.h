#pragma once
// Running an external tool (dvdauthor, vcdimager, genisoimage) as a child process: found on
// PATH, started with an argument list (no shell, so no file name is ever interpreted), its
// standard output and error captured together.

#include <string>
#include <utility>
#include <vector>

namespace velmora {

/// How a tool run ended.
struct TToolResult {
    bool Started = false;  ///< false: the program could not be started
    int ExitCode = -1;     ///< the exit status when it exited normally; -1 after a crash
    std::string Output;    ///< standard output and standard error, interleaved
    bool Ok() const noexcept { return Started && ExitCode == 0; }
};

/// The full path of program found on PATH, or "" when it is not there.
std::string FindTool(const std::string& program);

/// Runs the program at programPath with the arguments in workingDir ("" = the current
/// folder), with extra environment variables set for it alone, and waits for its end.
TToolResult RunTool(const std::string& programPath, const std::vector<std::string>& arguments,
                    const std::string& workingDir = {},
                    const std::vector<std::pair<std::string, std::string>>& environment = {});

/// The last lines of a tool's output (at most maxLines), for a failure message.
std::string LastLines(const std::string& output, int maxLines = 4);

}  // namespace velmora
