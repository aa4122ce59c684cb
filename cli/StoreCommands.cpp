// Subcommands of the store subsystem.

#include "cli/CliContext.h"

namespace velmora::cli {

void AddStoreCommands(CLI::App& app, CliContext& context) {
    (void)app;
    (void)context;
}

}  // namespace velmora::cli
