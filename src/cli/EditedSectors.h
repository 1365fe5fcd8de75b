#pragma once

#include "core/lists/ListFolders.h"
#include "core/sector/SectorScan.h"

#include <string>
#include <vector>

namespace starfall::cli {

// The sectors holding every byte the editor can write: the pilot records and
// skill tables of charlist.ini, the unit records of unitlist.ini (both read
// from `directory`), the weapon table and the upgrade table.
[[nodiscard]] std::vector<SectorRange> editedSectors(const ListFolders& directory);

// "A-B" or "A", sector indexes from 0. Throws UsageError on anything else.
[[nodiscard]] SectorRange parseSectorRange(const std::string& text);

} // namespace starfall::cli
