#pragma once

// The arguments the record verbs share, set up once: the image, which record,
// and the KEY=VALUE pairs of `set` with --as-typed and --keep-codes.

#include "cli/FieldValues.h"

#include <string>
#include <vector>

namespace CLI {
class App;
}

namespace starfall::cli {

struct RecordArguments {
    std::string image;
    std::string selector; // #N or a list name
    int number = 0;       // a weapon number
    std::vector<std::string> assignments;
    bool asTyped = false;
    bool keepCodes = false;

    [[nodiscard]] ValueRule rule() const {
        return asTyped ? ValueRule::AsTyped : ValueRule::Checked;
    }
};

// `noun verb IMAGE`: the subcommand, with its IMAGE argument.
CLI::App* addRecordVerb(CLI::App& noun, const std::string& verb, const std::string& description,
                        RecordArguments& arguments);
// SEL: "#N (index from 0) or the exact <what> name".
void addSelector(CLI::App& verb, RecordArguments& arguments, const std::string& what);
// N: a weapon number, 0-2047.
void addWeaponNumber(CLI::App& verb, RecordArguments& arguments);
// KEY=VALUE..., --as-typed and --keep-codes.
void addAssignments(CLI::App& verb, RecordArguments& arguments, const std::string& keys);

} // namespace starfall::cli
