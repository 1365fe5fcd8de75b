#include "cli/CliContext.h"
#include "core/demo/DemoBuilder.h"

#include <CLI/CLI.hpp>

#include <memory>

namespace starfall::cli {

void addMakeDemoCommand(CLI::App& app, CliContext& context) {
    auto directory = std::make_shared<std::string>();
    auto force = std::make_shared<bool>(false);
    CLI::App* command = app.add_subcommand(
        "make-demo", "Write a demo image with its list files and weapon.ini into DIR");
    command->add_option("DIR", *directory, "An existing folder")
        ->required()
        ->check(CLI::ExistingDirectory);
    command->add_flag("--force", *force, "Replace demo files that already exist");
    command->callback([&context, directory, force] {
        demo::writeDemo(*directory, *force ? demo::Overwrite::Replace : demo::Overwrite::Refuse);
        const auto files = demo::demoFiles(*directory);
        context.print({{"image", printablePath(files[0])},
                       {"lists", {printablePath(files[1]), printablePath(files[2])}},
                       {"weapon_names", printablePath(files[3])}});
    });
}

} // namespace starfall::cli
