#include "cli/FieldAssignments.h"

#include "cli/CliContext.h"
#include "cli/CommandArguments.h"
#include "cli/SectorCodesReport.h"
#include "core/io/ImageAccess.h"

#include <algorithm>
#include <optional>
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

std::optional<std::string> renamedKey(const NumberedKeyRename& rename, std::string_view key) {
    if (!key.starts_with(rename.from))
        return std::nullopt;
    const std::string_view rest = key.substr(rename.from.size());
    const std::size_t digits = rest.find_first_not_of("0123456789");
    const std::string_view number = rest.substr(0, digits);
    const std::string_view ending = rest.substr(number.size());
    if (number.empty() || number.front() == '0')
        return std::nullopt;
    if (rename.most > 0 && (number.size() > 9 || std::stoi(std::string(number)) > rename.most))
        return std::nullopt;
    const bool endsWell = rename.endings.empty()
                              ? ending.empty()
                              : std::ranges::find(rename.endings, ending) != rename.endings.end();
    if (!endsWell)
        return std::nullopt;
    return std::string(rename.to).append(number).append(ending);
}

Spelling renamedKeys(NumberedKeyRename rename) {
    return [rename = std::move(rename)](const KeyValue& pair) {
        if (auto key = renamedKey(rename, pair.first))
            return std::vector{KeyValue{std::move(*key), pair.second}};
        return std::vector{pair};
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
