// Subcommands of the imaging subsystem.

#include "cli/CliContext.h"

namespace velmora::cli {

void AddImagingCommands(CLI::App& app, CliContext& context) {
    (void)app;
    (void)context;
}

}  // namespace velmora::cli
