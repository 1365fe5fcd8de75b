#include "cli/CliContext.h"
#include "cli/DecodedNames.h"
#include "cli/ImageRecords.h"
#include "core/io/ImageAccess.h"

#include <CLI/CLI.hpp>

#include <memory>

namespace starfall::cli {

void addExportCommand(CLI::App& app, CliContext& context) {
    auto image = std::make_shared<std::string>();
    CLI::App* command =
        app.add_subcommand("export", "Print every unit, pilot, skill table, weapon and the "
                                     "upgrade table of the image");
    command->add_option("IMAGE", *image, "The image file")->required();
    command->callback([&context, image] {
        const ListFolders directory = context.listFolders(*image);
        // One open and a few reads for every record.
        const ImageReadScope scope(*image, ScopeReads::Blocks);
        const DecodedNames names;
        JsonStream out(*context.out);
        writeImageRecords(*image, directory, out);
        out.finish();
    });
}

} // namespace starfall::cli
