#include "cli/FieldAssignments.h"

#include "cli/CliContext.h"
#include "cli/CommandArguments.h"
#include "cli/SectorCodesReport.h"
#include "core/io/ImageAccess.h"

#include <memory>
#include <optional>
#include <regex>
#include <set>

namespace starfall::cli {

namespace {

KeyValue splitPair(const std::string& argument) {
    const auto equals = argument.find('=');
    if (equals == std::string::npos || equals == 0)
        throw UsageError("expected KEY=VALUE, got '" + argument + "'");
    return {argument.substr(0, equals), argument.substr(equals + 1)};
}

// Whether `text` spells what `get` prints for a key that is printed but not
// stored (a name, a position, a locked slot): given back unchanged, it is no
// change and no fault.
bool printedUnchanged(const RecordView& view, const std::string& key, std::string_view text) {
    const nlohmann::json* printed = nullptr;
    if (view.fixed().contains(key))
        printed = &view.fixed()[key];
    else if (view.shown().contains(key))
        printed = &view.shown()[key];
    if (printed == nullptr)
        return false;
    if (printed->is_string())
        return printed->get<std::string>() == text;
    if (text.starts_with('#'))
        text.remove_prefix(1);
    return printed->dump() == text;
}

} // namespace

// The pattern is compiled when a key first meets it: every run builds every
// verb's spellings, and compiling them all was a third of the program's
// start-up.
Spelling renamedKeys(const char* pattern, const char* replacement) {
    auto expression = std::make_shared<std::optional<std::regex>>();
    return [pattern, expression, replacement](const KeyValue& pair) {
        if (!expression->has_value())
            expression->emplace(pattern);
        if (!std::regex_match(pair.first, **expression))
            return std::vector{pair};
        return std::vector{
            KeyValue{std::regex_replace(pair.first, **expression, replacement), pair.second}};
    };
}

void requireField(const RecordView& view, std::string_view key) {
    if (view.hasKey(key))
        return;
    if (const auto reason = view.lacks(key))
        throw UsageError(*reason);
    if (view.fixed().contains(key) || view.shown().contains(key))
        throw UsageError("key '" + std::string(key) +
                         "' is not stored in the record and cannot be set");
    throw UsageError("unknown key '" + std::string(key) + "'");
}

namespace {

std::string plainText(const nlohmann::json& value) {
    return value.is_string() ? value.get<std::string>() : value.dump();
}

} // namespace

std::vector<FieldChange> applyAssignments(RecordView& view,
                                          const std::vector<std::string>& arguments,
                                          ValueRule rule, const Spelling& spelling) {
    std::vector<std::pair<std::string, nlohmann::json>> values;
    std::set<std::string> named;
    for (const std::string& argument : arguments) {
        const KeyValue given = splitPair(argument);
        for (const auto& [key, text] : spelling ? spelling(given) : std::vector{given}) {
            if (!named.insert(key).second)
                throw UsageError("the field '" + key + "' is given twice");
            if (!view.hasKey(key) && printedUnchanged(view, key, text))
                continue;
            requireField(view, key);
            values.emplace_back(key, view.argument(key, text, rule));
        }
    }
    if (named.empty())
        throw UsageError("nothing to set: give KEY=VALUE pairs");
    // Checked whole before anything changes.
    std::vector<FieldChange> changed;
    for (const auto& [key, value] : values) {
        const nlohmann::json was = view.value(key);
        if (value == was)
            continue;
        view.assign(key, value, rule, key);
        changed.push_back({key, plainText(was), plainText(value)});
    }
    return changed;
}

void setRecord(const CliContext& context, const RecordArguments& arguments,
               const std::function<std::unique_ptr<RecordView>()>& load, const Spelling& spelling) {
    const ImageReadScope scope(arguments.image);
    const auto view = load();
    std::vector<FieldChange> fields =
        applyAssignments(*view, arguments.assignments, arguments.rule(), spelling);
    const SaveReport report =
        writeBytes(arguments.image, view->savePlan(), view->label(), FramingRule::Refuse,
                   codeRule(arguments.keepCodes), {HistoryAction::Save, 0, std::move(fields)});
    nlohmann::json out = load()->json();
    reportSectorCodes(context, arguments.image, report, out);
    context.print(out);
}

} // namespace starfall::cli
