#include "cli/CliContext.h"
#include "cli/Commands.h"

#include "image/CoreError.h"
#include "image/ImageSave.h"
#include "image/Messages.h"

#include <CLI/CLI.hpp>

#include <iostream>

using namespace starfall;

int main(int argc, char** argv) {
    CLI::App app{"Reads and writes the records of a Starfall disc image, printing JSON."};
    app.name("starfall-cli");
    app.require_subcommand(1);
    setRecoveryNoticeSink([](const Message& message) { std::cerr << message.text << '\n'; });
    cli::CliContext context;
    context.out = &std::cout;
    app.add_option("--dir", context.dir,
                   "Folder holding charlist.ini, unitlist.ini and weapon.ini "
                   "(default: the folder of this program)");
    cli::addListCommands(app, context);
    cli::addPilotCommands(app, context);
    cli::addSkillCommands(app, context);
    cli::addDemoCommand(app, context);
    cli::addExportCommand(app, context);
    cli::addImportCommand(app, context);
    cli::addDiffCommand(app, context);
    cli::addUnitCommands(app, context);
    cli::addWeaponCommands(app, context);
    cli::addUpgradeCommands(app, context);
    cli::addSectorCommands(app, context);
    cli::addPatchCommands(app, context);

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& help) {
        return app.exit(help);
    } catch (const CLI::ParseError& error) {
        app.exit(error);
        return 2;
    } catch (const cli::UsageError& error) {
        std::cerr << "starfall-cli: " << error.what() << '\n';
        return 2;
    } catch (const CoreError& error) {
        std::cerr << messageFor(error).text << '\n';
        return 1;
    } catch (const std::exception& error) {
        // A read, JSON or library fault: one line and a failure status, never an abort.
        std::cerr << "starfall-cli: " << error.what() << '\n';
        return 1;
    }
    return context.exitStatus;
}
