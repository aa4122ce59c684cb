#pragma once
// What the command line's subcommands share: the global options and the action that the
// chosen subcommand leaves behind to run after parsing.

#include <CLI/CLI.hpp>
#include <functional>
#include <memory>
#include <string>

#include "store/StoreLock.h"

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

/// Takes the lock of the store at rootPath for a command that writes, before it reads the
/// records it will change. A second writer waits briefly, then fails with StoreBusy and has
/// changed nothing. A store root that does not exist yet needs no lock (nothing is in it).
std::unique_ptr<TStoreLock> LockStoreForWriting(const std::string& rootPath);

// Each subsystem adds its subcommands here.
void AddStoreCommands(CLI::App& app, CliContext& context);
void AddEffectCommands(CLI::App& app, CliContext& context);
void AddImagingCommands(CLI::App& app, CliContext& context);
void AddAudioCommands(CLI::App& app, CliContext& context);
void AddProductionCommands(CLI::App& app, CliContext& context);

}  // namespace velmora::cli
