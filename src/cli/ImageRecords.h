#pragma once

// Every record of an image the editor can open, through the list files: the
// units and pilots of the lists, the skill tables the pilot page opens, each
// weapon some unit lists (once, in number order) and the upgrade table.
// `export` prints them; `import` and `diff` find records among them.

#include "cli/JsonStream.h"
#include "cli/RecordView.h"
#include "core/lists/ListFolders.h"

#include <nlohmann/json.hpp>

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace starfall::cli {

struct ImageRecords {
    std::vector<std::unique_ptr<RecordView>> units;
    std::vector<std::unique_ptr<RecordView>> pilots;
    std::vector<std::unique_ptr<RecordView>> skills;
    std::vector<std::unique_ptr<RecordView>> weapons;
    std::unique_ptr<RecordView> upgrade;

    // {"units", "pilots", "skills", "weapons", "upgrade"}, each as `get` prints it.
    [[nodiscard]] nlohmann::json json() const;
    // Every record, section by section, with the section's name.
    void
    visit(const std::function<void(std::string_view section, const RecordView&)>& visitor) const;
};

// The numbers of the weapons the units of `directory`'s unitlist.ini list in `image`.
[[nodiscard]] std::set<int> listedWeapons(const std::string& image, const ListFolders& directory);

// `directory` is where the list files are looked for. The weapons
// are those the image's units list, and `alsoWeapons` (another image's).
[[nodiscard]] ImageRecords loadImageRecords(const std::string& image, const ListFolders& directory,
                                            const std::set<int>& alsoWeapons = {});

// The records loadImageRecords makes, made one at a time and let go after
// `visit`, with the same record of `other` (read through the same lists)
// when one is given: what a comparison holds is one pair, whatever the size
// of the lists. `section` is "units", "pilots", "skills", "weapons" or "upgrade".
void visitImageRecords(const std::string& image, const std::string* other,
                       const ListFolders& directory, const std::set<int>& alsoWeapons,
                       const std::function<void(std::string_view section, const RecordView& record,
                                                const RecordView* inOther)>& visit);

// The same records as ImageRecords::json() holds them, written to `out` one
// record at a time: what `export` prints, whatever the size of the lists.
void writeImageRecords(const std::string& image, const ListFolders& directory, JsonStream& out);

} // namespace starfall::cli
