#pragma once
// What the command line's subcommands share: the global options and the action that the
// chosen subcommand leaves behind to run after parsing.

#include <CLI/CLI.hpp>
#include <functional>
#include <string>

namespace velmora::cli {

/// Exit status of a command: 0 success, 1 failure, 2 usage error.
enum ExitCode { ExitOk = 0, ExitFailure = 1, ExitUsage = 2 };

struct CliContext {
    /// --store DIR; empty means the default store root.
    std::string StoreDir;
    /// Set by the chosen subcommand's callback; returns the exit status.
    std::function<int()> Action;
};

/// Thrown by a command for a usage error found after parsing (exit status 2).
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Each subsystem adds its subcommands here.
void AddStoreCommands(CLI::App& app, CliContext& context);
void AddEffectCommands(CLI::App& app, CliContext& context);
void AddImagingCommands(CLI::App& app, CliContext& context);
void AddAudioCommands(CLI::App& app, CliContext& context);
void AddProductionCommands(CLI::App& app, CliContext& context);

}  // namespace velmora::cli
