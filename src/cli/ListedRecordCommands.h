#pragma once

// `NOUN get IMAGE SEL` and `NOUN set IMAGE SEL KEY=VALUE...` for the records
// the list files name (units, pilots, skill tables): set up once, told apart
// by their texts, their list, their view and the older key spellings.

#include "cli/FieldAssignments.h"
#include "cli/RecordViews.h"

namespace CLI {
class App;
}

namespace starfall::cli {

struct CliContext;

struct ListedNoun {
    const char* name;        // "unit"
    const char* description; // of the noun
    const char* record;      // "a unit record", as the verbs' texts name it
    const char* selects;     // what SEL names: "unit" or "pilot"
    const char* keys;        // the KEY=VALUE help
    ListKind list;
    ListedView make;
    Spelling spelling;
};

void addListedNoun(CLI::App& app, CliContext& context, const ListedNoun& noun);

} // namespace starfall::cli
