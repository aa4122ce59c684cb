// velmora-cli: the command line client of the Velmora core. Every command prints a readable
// result on stdout, errors as one line on stderr, and exits 0 on success, 1 on failure and 2
// on a usage error.

#include <QCoreApplication>
#include <cstdlib>
#include <iostream>
#include <string>

#include "cli/CliContext.h"
#include "cli/TerminalText.h"

int main(int argc, char** argv) {
    using namespace velmora::cli;
    // Qt's image plugins need an application object; nothing here needs a display.
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QCoreApplication qtApp(argc, argv);

    CLI::App app{"Velmora: albums of pictures and songs made into slide-show videos"};
    app.require_subcommand(1);
    app.set_version_flag("--version", std::string("velmora-cli ") + VELMORA_VERSION,
                         "Print the program's version and exit");
    CliContext context;
    app.add_option("--store", context.StoreDir, "Folder of the album store");
    AddStoreCommands(app, context);
    AddEffectCommands(app, context);
    AddImagingCommands(app, context);
    AddAudioCommands(app, context);
    AddProductionCommands(app, context);

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForAllHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForVersion& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        std::cerr << "velmora-cli: " << Visible(e.what()) << "\n";
        return ExitUsage;
    }
    if (!context.Action) {
        std::cerr << "velmora-cli: no command given\n";
        return ExitUsage;
    }
    try {
        return context.Action();
    } catch (const UsageError& e) {
        std::cerr << "velmora-cli: " << Visible(e.what()) << "\n";
        return ExitUsage;
    } catch (const std::exception& e) {
        std::cerr << "velmora-cli: " << Visible(e.what()) << "\n";
        return ExitFailure;
    }
}
