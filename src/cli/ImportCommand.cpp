#include "cli/CliContext.h"
#include "cli/CommandArguments.h"
#include "cli/DecodedNames.h"
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

[[noreturn]] void refuse(const std::string& path, const std::string& why) {
    throw UsageError(path + ": " + why);
}

// The entries of one list by their names as JSON carries them, built once so
// that naming N records costs N look-ups rather than N passes over the list.
// A record named by both, as `export` prints it, is most often told by its
// entry's own name: the map is built only when one is not.
class ListNames {
public:
    explicit ListNames(const NameList& list) : m_list(list), m_size(list.entries.size()) {}

    // The entry an import entry names by "index" or by a name that is unique
    // in the list; both must agree when both are given.
    template <typename Entry>
    [[nodiscard]] std::size_t namedIndex(const Entry& entry, const std::string& path) const {
        std::optional<std::size_t> byIndex;
        if (const json* index = entry.top("index")) {
            if (!index->is_number_unsigned() || index->get<std::size_t>() >= m_size)
                refuse(path + ".index", "no list entry " + index->dump());
            byIndex = index->get<std::size_t>();
        }
        const json* name = entry.top("name");
        if (name == nullptr) {
            if (!byIndex)
                refuse(path, "name the record by \"name\" or \"index\"");
            return *byIndex;
        }
        if (byIndex && name->is_string() &&
            nameJson(m_list.entries[*byIndex].name) == *name)
            return *byIndex;
        const std::vector<std::size_t>& matches = rowsNamed(*name);
        if (matches.empty())
            refuse(path + ".name", "no list entry named " + name->dump());
        if (byIndex) {
            // The rows of a name are in list order: a list that repeats a name
            // many times costs a few steps, not one per repeat.
            if (!std::binary_search(matches.begin(), matches.end(), *byIndex))
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
        if (m_rows.empty()) {
            for (std::size_t i = 0; i < m_size; ++i)
                m_rows[nameJson(m_list.entries[i].name).get<std::string>()].push_back(i);
        }
        const auto found = m_rows.find(name.get_ref<const std::string&>());
        return found == m_rows.end() ? kNone : found->second;
    }

    const NameList& m_list;
    std::size_t m_size;
    mutable std::unordered_map<std::string, std::vector<std::size_t>> m_rows;
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

bool holdsEmpty(const json& value) {
    if (!value.is_structured())
        return false;
    return value.empty() || std::any_of(value.begin(), value.end(), holdsEmpty);
}

// An entry of the document as the checks read it: its values by the keys
// that name it, and its leaves under their dotted keys in visitLeaves' order.
// Built whole, it is all an entry can be.
class WholeEntry {
public:
    explicit WholeEntry(const json& entry) : m_entry(entry) {}
    [[nodiscard]] const json* top(const char* key) const {
        const auto found = m_entry.find(key);
        return found == m_entry.end() ? nullptr : &*found;
    }
    template <typename Visit> void visit(Visit&& visit) const {
        visitLeaves(m_entry, [&visit](const std::string& key, const json& value) {
            visit(std::string_view(key), value);
        });
    }
    // The record is printed for the check only when there is an empty
    // value, as printing it costs more than the rest.
    void refuseEmptyValues(const RecordView& asRead, const std::string& path) const {
        if (!holdsEmpty(m_entry))
            return;
        const json printed = asRead.json();
        refuseEmpty(m_entry, &printed, path);
    }

private:
    const json& m_entry;
};

// Read flat, an entry holds no empty value (FlatRecord::flat).
class FlatEntry {
public:
    explicit FlatEntry(const FlatRecord& entry) : m_entry(entry) {}
    [[nodiscard]] const json* top(const char* key) const { return m_entry.top(key); }
    template <typename Visit> void visit(Visit&& visit) const { m_entry.visit(visit); }
    void refuseEmptyValues(const RecordView&, const std::string&) const {}

private:
    const FlatRecord& m_entry;
};

// Checked for every value of every record: a view's comparison looks at the
// lengths first.
bool namesRecord(std::string_view key) {
    return key == "name" || key == "index" || key == "number";
}

// Puts every value of `entry` into a copy of the record, checking each
// against the record as read; names and nulls are no values. The copy is
// made at the first value that differs: most records of an import change
// nothing, and give back null.
template <typename Entry>
std::unique_ptr<RecordView> applyEntry(const RecordView& asRead, const Entry& entry,
                                       const std::string& path, ValueRule rule) {
    entry.refuseEmptyValues(asRead, path);
    std::unique_ptr<RecordView> edited;
    entry.visit([&](std::string_view key, const json& value) {
        const RecordView& record = edited ? *edited : asRead;
        if (namesRecord(key) || value.is_null() || record.shown().contains(key))
            return;
        const auto where = [&] { return path + "." + std::string(key); };
        if (const std::optional<bool> same = record.holds(key, value)) {
            if (!*same) {
                if (!edited)
                    edited = asRead.copy();
                edited->assign(key, value, rule, where());
            }
        } else if (const auto reason = record.lacks(key)) {
            refuse(where(), *reason);
        } else if (record.fixed().contains(key)) {
            if (record.fixed()[key] != value)
                refuse(where(), "the image's record has " + record.fixed()[key].dump());
        } else {
            refuse(where(), "unknown key");
        }
    });
    return edited;
}

std::int64_t imageSize(const std::string& image) {
    struct stat info {};
    return ::stat(image.c_str(), &info) == 0 ? info.st_size : 0;
}

// A record the document changes: its line of the report and its writes.
struct Change {
    json report;
    std::vector<ByteWrite> writes;
};

// What one section of the document gives: the records it changes, or why it
// is refused. A section's first refusal ends its reading.
struct SectionResult {
    std::exception_ptr refusal;
    std::exception_ptr pastImageEnd;
    std::vector<bool> seen;
    std::vector<Change> changes;
};

// Takes the document a record at a time as it is parsed, keeping only the
// records that change something. Whatever it refuses is kept until the parse
// has ended, and then told in the order a whole document would have been
// checked: a text that is no JSON first, then the image, then the sections
// in the order of their names, each up to its first refusal, and last a
// write past the image's end.
class Importer : public ImportDocumentParts {
public:
    Importer(const std::string& image, const CliContext& context, ValueRule rule)
        : m_image(image), m_rule(rule) {
        try {
            // Read in blocks: the records lie in a few tables, and reading
            // each as asked cost two or three reads a record (820k reads for
            // 100k-entry lists). The blocks go before the save (endReading).
            m_scope = std::make_unique<ImageReadScope>(image, ScopeReads::Blocks);
            m_directory = context.listFolders(image);
            m_imageSize = imageSize(image);
        } catch (...) {
            m_setupError = std::current_exception();
        }
    }

    void notAnObject(json) override { m_notAnObject = true; }

    void section(const std::string& name, json value) override {
        begin(name, [&] {
            if (name == "upgrade")
                readUpgrade(value);
            else if (name == "weapons" || isListed(name))
                refuse("$." + name, "a list of records");
            else
                refuse("$." + name, "unknown section");
        });
    }

    void listSection(const std::string& name) override {
        m_elements = 0;
        begin(name, [&] {
            if (name == "upgrade")
                m_upgradeList = json::array();
            else if (isListed(name))
                loadList(name);
            else if (name != "weapons")
                refuse("$." + name, "unknown section");
        });
    }

    // The upgrade table's rows are taken whole, as a list.
    bool flatElement(const FlatRecord& record) override {
        if (m_upgradeList)
            return false;
        const std::string path = elementPath();
        within([&] { read(FlatEntry(record), path); });
        return true;
    }

    void element(json value) override {
        const std::string path = elementPath();
        within([&] {
            if (m_upgradeList) {
                m_upgradeList->push_back(std::move(value));
                return;
            }
            if (!value.is_object())
                refuse(path, "a record is an object");
            read(WholeEntry(value), path);
        });
    }

    void listEnd() override {
        if (m_upgradeList)
            within([&] { readUpgrade(*m_upgradeList); });
        m_upgradeList.reset();
        m_list.reset();
        m_names.reset();
    }

    // The document is read: the image's blocks are let go, so that nothing
    // read after the save comes from them.
    void endReading() { m_scope.reset(); }

    // Throws what the document is refused for; else gives the changes in the
    // order of the sections' names.
    [[nodiscard]] std::vector<Change> changes() {
        if (m_setupError)
            std::rethrow_exception(m_setupError);
        if (m_notAnObject)
            refuse("$", "an import file holds an object like `export` prints");
        for (const auto& [name, result] : m_sections) {
            if (result.refusal)
                std::rethrow_exception(result.refusal);
        }
        for (const auto& [name, result] : m_sections) {
            if (result.pastImageEnd)
                std::rethrow_exception(result.pastImageEnd);
        }
        std::vector<Change> all;
        for (auto& [name, result] : m_sections)
            std::move(result.changes.begin(), result.changes.end(), std::back_inserter(all));
        return all;
    }

private:
    std::string elementPath() {
        return "$." + m_section + "[" + std::to_string(m_elements++) + "]";
    }

    template <typename Entry> void read(const Entry& entry, const std::string& path) {
        if (m_section == "weapons")
            readWeapon(entry, path);
        else
            readListed(entry, path);
    }

    static bool isListed(const std::string& name) {
        return name == "units" || name == "pilots" || name == "skills";
    }

    template <typename Read>
    void begin(const std::string& name, Read read) {
        m_section = name;
        m_result = &m_sections[name];
        within(read);
    }

    // Reads nothing more once the image or the section is refused.
    template <typename Read>
    void within(Read read) {
        if (m_setupError || m_result->refusal)
            return;
        try {
            read();
        } catch (...) {
            m_result->refusal = std::current_exception();
        }
    }

    void loadList(const std::string& name) {
        m_list = std::make_unique<NameList>(
            loadNameList(m_directory, name == "units" ? ListKind::Units : ListKind::Pilots));
        m_names = std::make_unique<ListNames>(*m_list);
    }

    void readUpgrade(const json& value) {
        add("$.upgrade", 0, WholeEntry(value), [&] { return upgradeView(m_image); });
    }

    template <typename Entry> void readListed(const Entry& entry, const std::string& path) {
        const std::size_t index = m_names->namedIndex(entry, path);
        add(path, index, entry, [&] {
            if (m_section == "units")
                return unitView(m_image, *m_list, index);
            return m_section == "pilots" ? pilotView(m_image, *m_list, index)
                                         : skillTableView(m_image, *m_list, index);
        });
    }

    template <typename Entry> void readWeapon(const Entry& entry, const std::string& path) {
        static const json kNone;
        const json* given = entry.top("number");
        const json& number = given != nullptr ? *given : kNone;
        if (!number.is_number_unsigned() || number.get<int>() >= kWeaponNumberLimit)
            refuse(path + ".number", "name the weapon by its number, 0 to 2047");
        add(path, number.get<std::size_t>(), entry,
            [&] { return weaponView(m_image, number.get<int>()); });
    }

    template <typename Entry, typename Load>
    void add(const std::string& path, std::size_t id, const Entry& entry, Load load) {
        std::vector<bool>& seen = m_result->seen;
        if (id >= seen.size())
            seen.resize(id + 1);
        if (seen[id])
            refuse(path, "the record is given twice");
        seen[id] = true;
        const std::unique_ptr<RecordView> asRead = load();
        const std::unique_ptr<RecordView> edited = applyEntry(*asRead, entry, path, m_rule);
        if (edited || !insideImage(*asRead))
            keep(*asRead, edited ? *edited : *asRead);
    }

    // A record read whole that nothing changed reads back as it was read, and
    // its save plans nothing: most records of an import are so, and planning
    // costs a decoding. One that runs past the image's end is planned all the
    // same, for its plan is never empty and the import is refused for it.
    [[nodiscard]] bool insideImage(const RecordView& record) const {
        const std::vector<Position> positions = record.positions();
        return std::all_of(positions.begin(), positions.end(),
                           [this](Position at) { return at >= 0 && at < m_imageSize; });
    }

    void keep(const RecordView& asRead, const RecordView& edited) {
        auto writes = edited.savePlan();
        if (writes.empty())
            return;
        for (const ByteWrite& write : writes) {
            if (write.position >= m_imageSize && !m_result->pastImageEnd)
                m_result->pastImageEnd = std::make_exception_ptr(
                    CoreError(Failure::PastImageEnd, m_image, write.position, edited.label()));
        }
        json report = asRead.fixed();
        report.erase("position");
        report["section"] = m_section;
        report["changes"] = fieldChanges(asRead, *edited.afterSave());
        report["bytes"] = writes.size();
        m_result->changes.push_back({std::move(report), std::move(writes)});
    }

    std::string m_image;
    ValueRule m_rule;
    std::unique_ptr<ImageReadScope> m_scope;
    ListFolders m_directory;
    std::int64_t m_imageSize = 0;
    std::exception_ptr m_setupError;
    bool m_notAnObject = false;
    std::map<std::string, SectionResult> m_sections;
    std::string m_section;
    SectionResult* m_result = nullptr;
    std::size_t m_elements = 0;
    std::unique_ptr<NameList> m_list;
    std::unique_ptr<ListNames> m_names;
    std::optional<json> m_upgradeList;
};

void importDocument(CliContext& context, const ImportArguments& arguments) {
    // A record's name is decoded to find it, and again to print it.
    const DecodedNames names;
    Importer importer(arguments.image, context,
                      arguments.asTyped ? ValueRule::AsTyped : ValueRule::Checked);
    streamImportFile(arguments.file, importer);
    importer.endReading();
    std::vector<ByteWrite> plan;
    json records = json::array();
    for (Change& change : importer.changes()) {
        plan.insert(plan.end(), change.writes.begin(), change.writes.end());
        records.push_back(std::move(change.report));
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
