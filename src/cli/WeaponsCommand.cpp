#include "cli/CliContext.h"
#include "cli/CommandArguments.h"
#include "cli/RecordViews.h"

#include "core/lists/NameListReader.h"

#include <CLI/CLI.hpp>

#include <memory>

namespace starfall::cli {

void addWeaponsCommand(CLI::App& app, CliContext& context) {
    auto arguments = std::make_shared<RecordArguments>();
    CLI::App* weapons = addRecordVerb(app, "weapons", "Print a unit's weapon list", *arguments);
    addSelector(*weapons, *arguments, "unit");
    weapons->callback([&context, arguments] {
        const ListFolders folders = context.listFolders(arguments->image);
        const NameList list = loadNameList(folders, ListKind::Units);
        context.print(weaponListJson(arguments->image, list, selectEntry(list, arguments->selector),
                                     folders));
    });
}

} // namespace starfall::cli
