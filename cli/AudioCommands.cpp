// Subcommands of the audio subsystem.

#include "cli/CliContext.h"

namespace velmora::cli {

void AddAudioCommands(CLI::App& app, CliContext& context) {
    (void)app;
    (void)context;
}

}  // namespace velmora::cli
