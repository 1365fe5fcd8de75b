#include "cli/CliContext.h"
#include "cli/Commands.h"
#include "cli/demo/DemoBuilder.h"

#include "lists/ListFiles.h"

#include <CLI/CLI.hpp>

#include <memory>

namespace starfall::cli {

void addDemoCommand(CLI::App& app, CliContext& context) {
    auto directory = std::make_shared<std::string>();
    CLI::App* command = app.add_subcommand(
        "make-demo", "Write a demo image with its list files and weapon.ini into DIR");
    command->add_option("DIR", *directory, "An existing folder")
        ->required()
        ->check(CLI::ExistingDirectory);
    command->callback([&context, directory] {
        demo::writeDemo(*directory);
        const std::string dir = directory->back() == '/' ? *directory : *directory + "/";
        context.print({{"image", dir + demo::kDemoImageName},
                       {"lists",
                        {dir + std::string(listFileName(ListKind::Pilots)),
                         dir + std::string(listFileName(ListKind::Units))}},
                       {"weapon_names", dir + std::string(kWeaponNamesFile)}});
    });
}

} // namespace starfall::cli
