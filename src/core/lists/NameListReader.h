#pragma once

#include "core/lists/ListFiles.h"
#include "core/lists/ListFolders.h"
#include "core/lists/NameList.h"

#include <functional>
#include <string>
#include <string_view>

namespace starfall {

// The list format as the editor reads it: lines of at most 79 characters (the
// line feed included; the rest of a longer line is the next line), comment
// lines starting with ';', a header whose second token is the base offset,
// then one entry per line. CR LF counts as LF, as in a text-mode read.
[[nodiscard]] NameList parseNameList(std::string_view content);

// Whether entry `index` is the one a command is after.
using EntryWanted = std::function<bool(std::size_t index, const NameListEntry& entry)>;
// The list up to and with the first entry `wanted` takes, or whole when it
// takes none: a command after one entry parses no further.
[[nodiscard]] NameList parseNameListUntil(std::string_view content, const EntryWanted& wanted);

// Reads the kind's file, in one read, from the first of `folders` where it
// opens as a regular file; throws CoreError(ListFileMissing), the searched
// folders as its path, when none holds it.
[[nodiscard]] NameList loadNameList(const ListFolders& folders, ListKind kind);
[[nodiscard]] NameList loadNameListUntil(const ListFolders& folders, ListKind kind,
                                         const EntryWanted& wanted);

} // namespace starfall
