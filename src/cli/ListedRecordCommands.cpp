#include "cli/ListedRecordCommands.h"

#include "cli/CliContext.h"
#include "cli/CommandArguments.h"

#include <CLI/CLI.hpp>

#include <memory>

namespace starfall::cli {

void addListedNoun(CLI::App& app, CliContext& context, const ListedNoun& noun) {
    auto arguments = std::make_shared<RecordArguments>();
    CLI::App* command = app.add_subcommand(noun.name, noun.description);
    command->require_subcommand(1);
    const auto selected = [&context, arguments, noun] {
        return selectedView(context.listFolders(arguments->image), noun.list, arguments->image,
                            arguments->selector, noun.make);
    };

    // Help, or a word that is neither, gets both.
    const bool both = context.subVerb != "get" && context.subVerb != "set";
    if (both || context.subVerb == "get") {
        CLI::App* get =
            addRecordVerb(*command, "get", std::string("Print ") + noun.record, *arguments);
        addSelector(*get, *arguments, noun.selects);
        get->callback([&context, selected] { context.print(selected()->json()); });
    }
    if (both || context.subVerb == "set") {
        CLI::App* set = addRecordVerb(*command, "set",
                                      std::string("Change fields of ") + noun.record, *arguments);
        addSelector(*set, *arguments, noun.selects);
        addAssignments(*set, *arguments, noun.keys);
        set->callback([&context, arguments, selected, spelling = noun.spelling] {
            setRecord(context, *arguments, selected, spelling);
        });
    }
}

} // namespace starfall::cli
