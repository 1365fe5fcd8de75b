#pragma once

// The JSON form of pilot records and skill tables, as `pilot get` and
// `skills get` print them; `export` prints the same for every entry.

#include "lists/NameList.h"
#include "pilot/PilotRecord.h"
#include "pilot/SkillTable.h"

#include <nlohmann/json.hpp>

#include <cstddef>
#include <string>

namespace starfall::cli {

// name, address, position, kind; the stat block's fields and personality
// unless SpiritsOnly; the six spirits unless StatsOnly.
[[nodiscard]] nlohmann::json pilotRecordJson(const PilotReference& reference,
                                             const PilotRecord& record);
// Loads list entry `index` of charlist.ini from `image`.
[[nodiscard]] nlohmann::json pilotJson(const std::string& image, const NameList& list,
                                       std::size_t index);

// name, position (T) and the slots read with skill, level and locked.
[[nodiscard]] nlohmann::json skillTableJson(const SkillTable& table);

// Whether the pilot page opens a skill table for list entry `index` (it does
// not for StatsOnly records).
[[nodiscard]] bool hasSkillTable(const NameList& list, std::size_t index);
// Throws a UsageError unless hasSkillTable.
void requireSkillTable(const NameList& list, std::size_t index);
// Where the pilot page opens that skill table.
[[nodiscard]] Position skillTableStart(const NameList& list, std::size_t index);
// Loads the skill table of list entry `index`; a UsageError where the page
// opens none.
[[nodiscard]] nlohmann::json skillTableJson(const std::string& image, const NameList& list,
                                            std::size_t index);

} // namespace starfall::cli
