// Subcommands of the production subsystem.

#include "cli/CliContext.h"

namespace velmora::cli {

void AddProductionCommands(CLI::App& app, CliContext& context) {
    (void)app;
    (void)context;
}

}  // namespace velmora::cli
