#include "cli/CliMain.h"

#include "cli/CliContext.h"
#include "cli/VerbTable.h"

#include "core/io/CoreError.h"
#include "core/Version.h"
#include "core/io/ImageSave.h"
#include "core/text/Messages.h"

#include <CLI/CLI.hpp>

#include <ostream>
#include <utility>
#include <string_view>

namespace starfall::cli {

namespace {

// The verb a command line names: the first word that is no option, past
// "--dir DIR".
// The verb and the word after it (a sub-verb, if the verb has them): the
// first two words that are neither an option nor --dir's folder.
std::pair<std::string_view, std::string_view> verbOf(int argc, const char* const* argv) {
    std::string_view words[2];
    int found = 0;
    for (int i = 1; i < argc && found < 2; ++i) {
        const std::string_view word = argv[i];
        if (word == "--dir" && found == 0) {
            ++i;
            continue;
        }
        if (!word.starts_with('-'))
            words[found++] = word;
    }
    return {words[0], words[1]};
}

} // namespace

void buildCommandLine(CLI::App& app, CliContext& context, std::string_view verb) {
    app.description("Reads and writes the records of a Starfall disc image, printing JSON.");
    app.name("starfall-cli");
    app.require_subcommand(1);
    app.add_option("--dir", context.dir,
                   "Folder holding charlist.ini, unitlist.ini and weapon.ini "
                   "(default: this program's folder, then the image's, then "
                   "$XDG_CONFIG_HOME/starfall)");
    app.set_version_flag("--version", std::string("starfall-cli ") + kVersion);
    addVerbs(app, context, verb);
}

int runCommandLine(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
    CLI::App app;
    setRecoveryNoticeSink([&err](const Message& message) { err << message.text << '\n'; });
    struct SinkReset {
        ~SinkReset() { setRecoveryNoticeSink({}); } // `err` may not outlive this call
    } sinkReset;
    setHistoryRule(HistoryRule::Record); // until a verb's --no-history
    CliContext context;
    context.out = &out;
    context.err = &err;
    const auto [verb, subVerb] = verbOf(argc, argv);
    context.subVerb = subVerb;
    buildCommandLine(app, context, verb);
    // A failure after a save landed must not read as a failed save.
    const std::uint64_t landedBefore = landedSaveCount();
    const auto sayIfLanded = [&] {
        if (landedSaveCount() != landedBefore)
            err << messages::saveLandedBeforeFailure(lastLandedImage()).text << '\n';
    };

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& help) {
        return app.exit(help, out, err);
    } catch (const CLI::CallForVersion& version) {
        return app.exit(version, out, err);
    } catch (const CLI::ParseError& error) {
        app.exit(error, out, err);
        return 2;
    } catch (const UsageError& error) {
        err << "starfall-cli: " << error.what() << '\n';
        return 2;
    } catch (const CoreError& error) {
        err << messageFor(error).text << '\n';
        sayIfLanded();
        return 1;
    } catch (const std::exception& error) {
        // A read, JSON or library fault: one line and a failure status, never an abort.
        err << "starfall-cli: " << error.what() << '\n';
        sayIfLanded();
        return 1;
    }
    return context.exitStatus;
}

} // namespace starfall::cli
