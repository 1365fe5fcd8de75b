#pragma once

#include "core/lists/ListFiles.h"
#include "core/lists/NameList.h"

#include <string>
#include <string_view>

namespace starfall {

// The list format as the editor reads it: lines of at most 79 characters (the
// line feed included; the rest of a longer line is the next line), comment
// lines starting with ';', a header whose second token is the base offset,
// then one entry per line. CR LF counts as LF, as in a text-mode read.
[[nodiscard]] NameList parseNameList(std::string_view content);

// Reads programDirectory + the kind's file name in one read; throws
// CoreError(ListFileMissing) when it cannot be opened or is not a regular file.
[[nodiscard]] NameList loadNameList(const std::string& programDirectory, ListKind kind);

} // namespace starfall
