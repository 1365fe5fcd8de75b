#pragma once

// Long lists name the same records over and over, under the same name and
// address: whatever follows from an entry alone is worked out once for each
// distinct entry, and its other rows share the answer.

#include "core/lists/NameList.h"

#include <cstddef>
#include <vector>

namespace starfall {

// For each row of `list`, the first row with the same name and address text
// (the row itself when it is the first).
[[nodiscard]] std::vector<std::size_t> firstRowsOfEntries(const NameList& list);

} // namespace starfall
