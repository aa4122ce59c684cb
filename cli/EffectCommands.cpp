// Subcommands of the effects subsystem.

#include "cli/CliContext.h"

namespace velmora::cli {

void AddEffectCommands(CLI::App& app, CliContext& context) {
    (void)app;
    (void)context;
}

}  // namespace velmora::cli
