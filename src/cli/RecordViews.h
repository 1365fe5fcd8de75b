#pragma once

// The records of an image as the command line sees them, one factory a kind.
// Each loads its record once; the view then prints, changes and plans it.

#include "cli/RecordView.h"
#include "core/lists/ListFiles.h"
#include "core/lists/ListFolders.h"
#include "core/lists/NameList.h"

#include <memory>
#include <string>

namespace starfall::cli {

// Entry `index` of unitlist.ini / charlist.ini.
[[nodiscard]] std::unique_ptr<RecordView> unitView(const std::string& image, const NameList& units,
                                                   std::size_t index);
[[nodiscard]] std::unique_ptr<RecordView> pilotView(const std::string& image,
                                                    const NameList& pilots, std::size_t index);
// The skill table the pilot page opens for entry `index`; a UsageError for a
// StatsOnly pilot, which has none.
[[nodiscard]] std::unique_ptr<RecordView> skillTableView(const std::string& image,
                                                         const NameList& pilots, std::size_t index);
[[nodiscard]] std::unique_ptr<RecordView> weaponView(const std::string& image, int number);
[[nodiscard]] std::unique_ptr<RecordView> upgradeView(const std::string& image);

// The view of the entry SEL (#N or a name) of the kind's list in `directory` (the first of its
// folders holding the list), made by one of the factories above.
using ListedView = std::unique_ptr<RecordView> (*)(const std::string& image, const NameList& list,
                                                   std::size_t index);
[[nodiscard]] std::unique_ptr<RecordView> selectedView(const ListFolders& directory, ListKind kind,
                                                       const std::string& image,
                                                       std::string_view selector, ListedView make);

// Whether the pilot page opens a skill table for entry `index` (not for
// StatsOnly records).
[[nodiscard]] bool hasSkillTable(const NameList& pilots, std::size_t index);

// A unit's weapon list with the names of weapon.ini in `directory`.
[[nodiscard]] nlohmann::json weaponListJson(const std::string& image, const NameList& units,
                                            std::size_t index, const ListFolders& directory);

} // namespace starfall::cli
