#include "cli/VerbTable.h"

#include <algorithm>
#include <iterator>

namespace starfall::cli {

namespace {

using Registration = void (*)(CLI::App&, CliContext&);

struct Verb {
    std::string_view name;
    Registration add;
};

} // namespace

// VERB(name, add): the verb `name`, whose parser `add` adds. The line is the
// only declaration `add` needs, so a new verb is its file plus one line here.
// The table stays outside the unnamed namespace: a function declared inside
// it would be a different one from the command file's.
#define VERB(name, add)                                                                            \
    Verb {                                                                                         \
        name, [](CLI::App& app, CliContext& context) {                                             \
            void add(CLI::App&, CliContext&);                                                      \
            add(app, context);                                                                     \
        }                                                                                          \
    }

// In the order help lists them; one line a verb.
// clang-format off
constexpr Verb kVerbs[] = {
    VERB("units", addUnitsCommand),
    VERB("pilots", addPilotsCommand),
    VERB("pilot", addPilotCommand),
    VERB("skills", addSkillsCommand),
    VERB("unit", addUnitCommand),
    VERB("weapons", addWeaponsCommand),
    VERB("weapon", addWeaponCommand),
    VERB("upgrade", addUpgradeCommand),
    VERB("export", addExportCommand),
    VERB("import", addImportCommand),
    VERB("diff", addDiffCommand),
    VERB("keys", addKeysCommand),
    VERB("sectors", addSectorsCommand),
    VERB("patch", addPatchCommand),
    VERB("history", addHistoryCommand),
    VERB("make-demo", addMakeDemoCommand),
};
// clang-format on

#undef VERB

void addVerbs(CLI::App& app, CliContext& context, std::string_view verb) {
    const auto* named = std::find_if(std::begin(kVerbs), std::end(kVerbs),
                                     [verb](const Verb& v) { return v.name == verb; });
    if (named != std::end(kVerbs)) {
        named->add(app, context);
        return;
    }
    for (const Verb& v : kVerbs)
        v.add(app, context);
}

std::vector<std::string_view> verbNames() {
    std::vector<std::string_view> names;
    for (const Verb& v : kVerbs)
        names.push_back(v.name);
    return names;
}

} // namespace starfall::cli
