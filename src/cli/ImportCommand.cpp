#include "cli/CliContext.h"
#include "cli/CommandArguments.h"
#include "cli/ImageRecords.h"
#include "cli/ImportDocument.h"
#include "cli/RecordChanges.h"
#include "cli/RecordViews.h"
#include "cli/SectorCodesReport.h"

#include "core/io/CoreError.h"
#include "core/io/FileHandle.h"
#include "core/io/ImageAccess.h"
#include "core/lists/NameListReader.h"
#include "core/text/RecordNames.h"
#include "core/weapon/WeaponRecord.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <iostream>
#include <iterator>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <unordered_map>
#include <vector>
#include <sys/stat.h>

namespace starfall::cli {

namespace {

using nlohmann::json;

struct ImportArguments {
    std::string image;
    std::string file = "-";
    bool dryRun = false;
    bool asTyped = false;
    bool keepCodes = false;
};

// A record the document changes, with what it read as before.
struct Target {
    std::string section;
    std::unique_ptr<RecordView> asRead;
    std::unique_ptr<RecordView> edited;
};

[[noreturn]] void refuse(const std::string& path, const std::string& why) {
    throw UsageError(path + ": " + why);
}

json readDocument(const std::string& file) {
    std::string text;
    if (file == "-") {
        text.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
        if (std::cin.bad())
            throw CoreError(Failure::InputOpenForLoad, file);
    } else {
        const auto content = readRegularFile(file);
        if (!content)
            throw CoreError(Failure::InputOpenForLoad, file);
        text = *content;
    }
    return parseImportDocument(text);
}

// The entries of one list by their names as JSON carries them, built once so
// that naming N records costs N look-ups rather than N passes over the list.
class ListNames {
public:
    explicit ListNames(const NameList& list) : m_size(list.entries.size()) {
        for (std::size_t i = 0; i < list.entries.size(); ++i)
            m_rows[nameJson(list.entries[i].name).get<std::string>()].push_back(i);
    }

    // The entry an import entry names by "index" or by a name that is unique
    // in the list; both must agree when both are given.
    [[nodiscard]] std::size_t namedIndex(const json& entry, const std::string& path) const {
        std::optional<std::size_t> byIndex;
        if (entry.contains("index")) {
            if (!entry["index"].is_number_unsigned() || entry["index"].get<std::size_t>() >= m_size)
                refuse(path + ".index", "no list entry " + entry["index"].dump());
            byIndex = entry["index"].get<std::size_t>();
        }
        if (!entry.contains("name")) {
            if (!byIndex)
                refuse(path, "name the record by \"name\" or \"index\"");
            return *byIndex;
        }
        const std::vector<std::size_t>& matches = rowsNamed(entry["name"]);
        if (matches.empty())
            refuse(path + ".name", "no list entry named " + entry["name"].dump());
        if (byIndex) {
            if (std::find(matches.begin(), matches.end(), *byIndex) == matches.end())
                refuse(path, "\"name\" and \"index\" name different records");
            return *byIndex;
        }
        if (matches.size() > 1)
            refuse(path + ".name", "the name is not unique in its list: give \"index\"");
        return matches.front();
    }

private:
    [[nodiscard]] const std::vector<std::size_t>& rowsNamed(const json& name) const {
        static const std::vector<std::size_t> kNone;
        if (!name.is_string())
            return kNone;
        const auto found = m_rows.find(name.get_ref<const std::string&>());
        return found == m_rows.end() ? kNone : found->second;
    }

    std::size_t m_size;
    std::unordered_map<std::string, std::vector<std::size_t>> m_rows;
};

// An empty list or object sets nothing. Taken silently it would hide a value
// left out by mistake, so it passes only where the record as printed holds
// the same empty value (a skill table without slots).
void refuseEmpty(const json& value, const json* asRead, const std::string& path) {
    if (!value.is_structured())
        return;
    if (value.empty()) {
        if (asRead == nullptr || *asRead != value)
            refuse(path, "an empty list or object is no value");
        return;
    }
    if (value.is_object()) {
        for (const auto& [key, item] : value.items()) {
            const bool known = asRead && asRead->is_object() && asRead->contains(key);
            refuseEmpty(item, known ? &(*asRead)[key] : nullptr, path + "." + key);
        }
        return;
    }
    for (std::size_t i = 0; i < value.size(); ++i) {
        const bool known = asRead && asRead->is_array() && i < asRead->size();
        refuseEmpty(value[i], known ? &(*asRead)[i] : nullptr, path + "." + std::to_string(i + 1));
    }
}

// Puts every value of `entry` into the record, checking each against the
// record as read; names and nulls are no values.
void applyEntry(RecordView& record, const json& entry, const std::string& path, ValueRule rule) {
    const json asRead = record.json();
    refuseEmpty(entry, &asRead, path);
    std::vector<std::pair<std::string, json>> leaves;
    flattenJson(entry, "", leaves);
    for (const auto& [key, value] : leaves) {
        const std::string where = path + "." + key;
        if (key == "name" || key == "index" || key == "number" || value.is_null() ||
            record.shown().contains(key))
            continue;
        if (record.hasKey(key)) {
            if (value != record.value(key))
                record.assign(key, value, rule, where);
        } else if (const auto reason = record.lacks(key)) {
            refuse(where, *reason);
        } else if (record.fixed().contains(key)) {
            if (record.fixed()[key] != value)
                refuse(where, "the image's record has " + record.fixed()[key].dump());
        } else {
            refuse(where, "unknown key");
        }
    }
}

class Importer {
public:
    Importer(const std::string& image, ListFolders directory, ValueRule rule)
        : m_image(image), m_directory(std::move(directory)), m_rule(rule) {}

    void read(const json& document) {
        if (!document.is_object())
            refuse("$", "an import file holds an object like `export` prints");
        for (const auto& [section, value] : document.items()) {
            if (section == "upgrade")
                add("$.upgrade", section, "upgrade", value, [&] { return upgradeView(m_image); });
            else if (section == "weapons")
                readWeapons(value);
            else if (section == "units" || section == "pilots" || section == "skills")
                readListed(section, value);
            else
                refuse("$." + section, "unknown section");
        }
    }

    [[nodiscard]] const std::vector<Target>& targets() const { return m_targets; }

private:
    void readListed(const std::string& section, const json& entries) {
        const NameList list =
            loadNameList(m_directory, section == "units" ? ListKind::Units : ListKind::Pilots);
        const ListNames names(list);
        forEntry(section, entries, [&](const json& entry, const std::string& path) {
            const std::size_t index = names.namedIndex(entry, path);
            add(path, section, std::to_string(index), entry, [&] {
                if (section == "units")
                    return unitView(m_image, list, index);
                return section == "pilots" ? pilotView(m_image, list, index)
                                           : skillTableView(m_image, list, index);
            });
        });
    }

    void readWeapons(const json& entries) {
        forEntry("weapons", entries, [&](const json& entry, const std::string& path) {
            const json& number = entry.contains("number") ? entry["number"] : json();
            if (!number.is_number_unsigned() || number.get<int>() >= kWeaponNumberLimit)
                refuse(path + ".number", "name the weapon by its number, 0 to 2047");
            add(path, "weapons", number.dump(), entry,
                [&] { return weaponView(m_image, number.get<int>()); });
        });
    }

    template <typename Each>
    void forEntry(const std::string& section, const json& entries, Each each) {
        if (!entries.is_array())
            refuse("$." + section, "a list of records");
        for (std::size_t i = 0; i < entries.size(); ++i) {
            const std::string path = "$." + section + "[" + std::to_string(i) + "]";
            if (!entries[i].is_object())
                refuse(path, "a record is an object");
            each(entries[i], path);
        }
    }

    template <typename Load>
    void add(const std::string& path, const std::string& section, const std::string& id,
             const json& entry, Load load) {
        if (!m_seen.emplace(section, id).second)
            refuse(path, "the record is given twice");
        Target target{section, load(), nullptr};
        target.edited = target.asRead->withBytes({});
        applyEntry(*target.edited, entry, path, m_rule);
        m_targets.push_back(std::move(target));
    }

    std::string m_image;
    ListFolders m_directory;
    ValueRule m_rule;
    std::set<std::pair<std::string, std::string>> m_seen;
    std::vector<Target> m_targets;
};

std::int64_t imageSize(const std::string& image) {
    struct stat info {};
    return ::stat(image.c_str(), &info) == 0 ? info.st_size : 0;
}

void importDocument(CliContext& context, const ImportArguments& arguments) {
    const json document = readDocument(arguments.file);
    const ImageReadScope scope(arguments.image);
    Importer importer(arguments.image, context.listFolders(arguments.image),
                      arguments.asTyped ? ValueRule::AsTyped : ValueRule::Checked);
    importer.read(document);

    const std::int64_t size = imageSize(arguments.image);
    std::vector<ByteWrite> plan;
    json records = json::array();
    for (const Target& target : importer.targets()) {
        const auto writes = target.edited->savePlan();
        if (writes.empty())
            continue;
        for (const ByteWrite& write : writes) {
            if (write.position >= size)
                throw CoreError(Failure::PastImageEnd, arguments.image, write.position,
                                target.edited->label());
        }
        json entry = target.asRead->fixed();
        entry.erase("position");
        entry["section"] = target.section;
        entry["changes"] = fieldChanges(*target.asRead, *target.edited->afterSave());
        entry["bytes"] = writes.size();
        records.push_back(std::move(entry));
        plan.insert(plan.end(), writes.begin(), writes.end());
    }
    SaveReport report;
    if (!arguments.dryRun && !plan.empty())
        report = writeBytes(arguments.image, plan, messages::importLabel(), FramingRule::Refuse,
                            codeRule(arguments.keepCodes));
    json out = {{"image", arguments.image},
                {"dry_run", arguments.dryRun},
                {"records", std::move(records)},
                {"bytes_written", arguments.dryRun ? 0 : plan.size()}};
    reportSectorCodes(context, arguments.image, report, out);
    context.print(out);
}

} // namespace

void addImportCommand(CLI::App& app, CliContext& context) {
    auto arguments = std::make_shared<ImportArguments>();
    CLI::App* command = app.add_subcommand(
        "import",
        "Apply a JSON document shaped as `export` prints it, or any part of it, in one save");
    command->add_option("IMAGE", arguments->image, "The image file")->required();
    command->add_option("FILE", arguments->file,
                        "The JSON document (default, or -: standard input)");
    command->add_flag("--dry-run", arguments->dryRun, "Print what would change and write nothing");
    command->add_flag("--as-typed", arguments->asTyped,
                      "Take number values as text typed into the editor's box");
    addSaveFlags(*command, arguments->keepCodes);
    command->callback([&context, arguments] { importDocument(context, *arguments); });
}

} // namespace starfall::cli
