#pragma once

// The KEY=VALUE pairs of a `set` command applied to a record: the old
// spellings mapped to the keys `get` prints, every pair checked before any
// is applied, a field named twice refused, a value equal to the stored one
// left alone. A value printed but not stored (a name, a position, a locked
// slot) may be given back unchanged; any other value for it is refused.

#include "cli/RecordView.h"
#include "core/io/SaveHistory.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace starfall::cli {

using KeyValue = std::pair<std::string, std::string>;

// Maps one pair as given to the pairs of the keys `get` prints (a record's
// older spellings, a whole upgrade row to its stages).
using Spelling = std::function<std::vector<KeyValue>(const KeyValue&)>;

// An older spelling of numbered keys: `from`, a number N from 1 (no leading
// zero; at most `most`, or any when 0), then one of `endings` (none: nothing
// follows N), spelled today `to`, N and the same ending.
struct NumberedKeyRename {
    std::string_view from;
    std::string_view to;
    int most = 0;
    std::vector<std::string_view> endings;
};

// A spelling that renames the keys `rename` matches and passes the rest on.
[[nodiscard]] Spelling renamedKeys(NumberedKeyRename rename);
// The key as `rename` spells it today, or none when it does not match.
[[nodiscard]] std::optional<std::string> renamedKey(const NumberedKeyRename& rename,
                                                    std::string_view key);

// Throws UsageError, with nothing applied, for a malformed pair, an unknown,
// fixed or missing key, a field named twice, or a value the field refuses.
// Returns the fields whose values change, for the history of saves.
std::vector<FieldChange> applyAssignments(RecordView& view,
                                          const std::vector<std::string>& arguments,
                                          ValueRule rule, const Spelling& spelling = {});

// Throws UsageError unless `key` is a field of the view: says whether the key
// is printed but not stored, lacking in this record, or unknown.
void requireField(const RecordView& view, std::string_view key);

struct CliContext;
struct RecordArguments;

// `set`: loads the record, applies the pairs, saves the changed fields through
// the core's save and prints the record as read back, with what the save did
// to the sectors' codes.
void setRecord(const CliContext& context, const RecordArguments& arguments,
               const std::function<std::unique_ptr<RecordView>()>& load,
               const Spelling& spelling = {});

} // namespace starfall::cli
